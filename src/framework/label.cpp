#include "framework/label.h"

namespace QvLibrary {

QvLabel::QvLabel(const std::u16string& text, bool isButton, bool pushLike, bool ownerDraw, bool rightAligned)
    : isButton_(isButton), pushLike_(pushLike), ownerDraw_(ownerDraw), rightAligned_(rightAligned) {
    state_->text = text;
}

QvLabel::~QvLabel() = default;

bool QvLabel::Create(HWND parent, int id) { return Create(parent, id, 0, 0, 0, 0); }

bool QvLabel::Create(HWND parent, int id, int x, int y, int width, int height) {
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (pushLike_) style |= BS_PUSHLIKE;
    if (ownerDraw_) style |= isButton_ ? BS_OWNERDRAW : SS_OWNERDRAW;
    const DWORD exStyle = rightAligned_ ? WS_EX_RIGHT : 0;
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    HWND window = ::CreateWindowExW(exStyle, isButton_ ? L"Button" : L"Static", L"", style, x, y, width, height,
                                    parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    return Bind(window);
}

}  // namespace QvLibrary
