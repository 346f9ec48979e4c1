#include "app/picture.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>
#include <utility>

#include "catalog/datafile.h"
#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/helpers.h"
#include "platform/image.h"
#include "ids.h"

namespace kodrin::app {

namespace {

struct StreamRelease {
    IStream* stream = nullptr;
    ~StreamRelease() {
        if (stream) stream->Release();
    }
};

// Memory device context with one bitmap selected, released in reverse order.
class SelectedBitmap {
public:
    SelectedBitmap(HDC like, HBITMAP bitmap) : dc_(::CreateCompatibleDC(like)), selected_(dc_.Get(), bitmap) {}
    HDC Dc() const { return selected_.Selected() ? dc_.Get() : nullptr; }

private:
    QvLibrary::MemoryDC dc_;
    QvLibrary::Selection selected_;   // goes before the context
};

// Copies the bytes into a movable memory block owned by a new stream.
IStream* StreamOver(std::span<const std::uint8_t> bytes) {
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) return nullptr;
    void* target = ::GlobalLock(memory);
    if (!target) {
        ::GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, bytes.data(), bytes.size());
    ::GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        ::GlobalFree(memory);
        return nullptr;
    }
    return stream;
}

}  // namespace

PictureImage::PictureImage() {
    Gdiplus::GdiplusStartupInput input;  // version 1
    gdiplusStarted_ = Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr) == Gdiplus::Ok;
}

PictureImage::~PictureImage() {
    bitmap_.Reset();
    if (gdiplusStarted_) Gdiplus::GdiplusShutdown(gdiplusToken_);
}

std::unique_ptr<PictureImage> DecodePicture(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return nullptr;
    auto picture = std::make_unique<PictureImage>();
    if (!picture->gdiplusStarted_) return nullptr;
    StreamRelease stream{StreamOver(bytes)};
    if (!stream.stream) return nullptr;
    QvLibrary::Bitmap bitmap;
    {
        // The image reads from the stream while it lives: it goes first.
        Gdiplus::Image image(stream.stream, FALSE);
        if (image.GetLastStatus() != Gdiplus::Ok) return nullptr;
        const UINT width = image.GetWidth(), height = image.GetHeight();
        if (width == 0 || height == 0 || width > static_cast<UINT>(platform::kMaxImageSide) ||
            height > static_cast<UINT>(platform::kMaxImageSide))
            return nullptr;
        const QvLibrary::WindowDC screen(nullptr);
        if (!screen) return nullptr;
        bitmap.Reset(::CreateCompatibleBitmap(screen.Get(), static_cast<int>(width), static_cast<int>(height)));
        bool drawn = false;
        if (bitmap) {
            SelectedBitmap target(screen.Get(), bitmap.Get());
            if (target.Dc()) {
                Gdiplus::Graphics graphics(target.Dc());
                // Transparent parts of the picture show black.
                drawn = graphics.Clear(Gdiplus::Color(0xFF000000)) == Gdiplus::Ok &&
                        graphics.DrawImage(&image, 0, 0, static_cast<INT>(width), static_cast<INT>(height)) ==
                                Gdiplus::Ok;
            }
        }
        if (!drawn) return nullptr;
    }
    BITMAP info{};
    if (::GetObjectW(bitmap.Get(), sizeof info, &info) == 0) return nullptr;
    picture->bitmap_ = std::move(bitmap);
    picture->width_ = info.bmWidth;
    picture->height_ = info.bmHeight;
    return picture;
}

void LoadPictureFile(const std::u16string& path, kodrin::ApplicationRecord& record, bool acceptBareName) {
    kodrin::LoadPictureFile(path, record, acceptBareName);
}

SIZE FitPicture(int width, int height, int maxWidth, int maxHeight) {
    if (width <= 0 || height <= 0) return SIZE{0, 0};
    const long long w = width, h = height;
    const long long W = maxWidth < 0 ? 0 : maxWidth, H = maxHeight < 0 ? 0 : maxHeight;
    if (w <= W && h <= H) return SIZE{width, height};
    if (W * h < w * H) return SIZE{static_cast<LONG>(W), static_cast<LONG>(W * h / w)};
    return SIZE{static_cast<LONG>(w * H / h), static_cast<LONG>(H)};
}

void PictureBox::Clear() {
    image_.reset();
    Layout();
}

void PictureBox::SetPicture(std::span<const std::uint8_t> bytes) {
    image_ = DecodePicture(bytes);
    Layout();
}

void PictureBox::SetPlace(int x, int y, int maxWidth, int maxHeight) {
    x_ = x;
    y_ = y;
    maxWidth_ = maxWidth;
    maxHeight_ = maxHeight;
    Layout();
}

void PictureBox::Layout() {
    const SIZE size = image_ ? FitPicture(image_->Width(), image_->Height(), maxWidth_, maxHeight_) : SIZE{0, 0};
    rect_ = RECT{x_, y_, x_ + size.cx, y_ + size.cy};
}

void PictureBox::Paint(HDC dc) const {
    if (!image_ || rect_.right <= rect_.left || rect_.bottom <= rect_.top) return;
    SelectedBitmap source(dc, image_->Bitmap());
    if (!source.Dc()) return;
    const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, source.Dc(), 0, 0,
                 image_->Width(), image_->Height(), SRCCOPY);
    if (oldMode) ::SetStretchBltMode(dc, oldMode);
}

namespace {

// The picture in its own size; a click anywhere closes it.
class FullSizeDialog final : public QvLibrary::Dialog {
public:
    explicit FullSizeDialog(const PictureImage& image) : image_(image) {}

private:
    INT_PTR Init(HWND dialog) override {
        RECT window{}, client{};
        ::GetWindowRect(dialog, &window);
        ::GetClientRect(dialog, &client);
        const int border = ((window.right - window.left) - client.right) / 2;
        const int nonClient = (window.bottom - window.top) - client.bottom;
        ::SetWindowPos(dialog, nullptr, 0, 0, image_.Width() + 2 * border + 2 * kPictureMargin,
                       image_.Height() + nonClient - border + 2 * kPictureMargin,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::MoveWindow(::GetDlgItem(dialog, IDC_PICTURE), kPictureMargin, kPictureMargin, image_.Width(),
                     image_.Height(), FALSE);
        QvLibrary::CentreOnParent(dialog);
        return TRUE;
    }
    bool Message(HWND, UINT message, WPARAM, LPARAM lp, INT_PTR& result) override {
        result = TRUE;
        if (message == WM_LBUTTONDOWN) {
            End(IDCANCEL);
            return true;
        }
        if (message != WM_DRAWITEM) return false;
        // The frame shows the picture in its own size; the dialog paints
        // the button face around it.
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (!draw || draw->CtlID != IDC_PICTURE) return false;
        SelectedBitmap source(draw->hDC, image_.Bitmap());
        if (source.Dc()) ::BitBlt(draw->hDC, 0, 0, image_.Width(), image_.Height(), source.Dc(), 0, 0, SRCCOPY);
        return true;
    }

    const PictureImage& image_;
};

}  // namespace

void ShowFullSize(const QvLibrary::QvApp& app, HWND owner, const PictureBox& box) {
    const PictureImage* image = box.Image();
    if (!image) return;
    FullSizeDialog dialog(*image);
    dialog.Run(app, owner, DLG_PICTURE);
}

}  // namespace kodrin::app
