#include "app/picture.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

#include "catalog/datafile.h"
#include "framework/app.h"
#include "framework/helpers.h"
#include "platform/image.h"

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
    SelectedBitmap(HDC like, HBITMAP bitmap) : dc_(::CreateCompatibleDC(like)) {
        if (dc_) old_ = ::SelectObject(dc_, bitmap);
    }
    ~SelectedBitmap() {
        if (!dc_) return;
        if (old_) ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
    }
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;
    HDC Dc() const { return old_ ? dc_ : nullptr; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
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
    if (bitmap_) ::DeleteObject(bitmap_);
    if (gdiplusStarted_) Gdiplus::GdiplusShutdown(gdiplusToken_);
}

std::unique_ptr<PictureImage> DecodePicture(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return nullptr;
    auto picture = std::make_unique<PictureImage>();
    if (!picture->gdiplusStarted_) return nullptr;
    StreamRelease stream{StreamOver(bytes)};
    if (!stream.stream) return nullptr;
    HBITMAP bitmap = nullptr;
    {
        // The image reads from the stream while it lives: it goes first.
        Gdiplus::Image image(stream.stream, FALSE);
        if (image.GetLastStatus() != Gdiplus::Ok) return nullptr;
        const UINT width = image.GetWidth(), height = image.GetHeight();
        if (width == 0 || height == 0 || width > static_cast<UINT>(platform::kMaxImageSide) ||
            height > static_cast<UINT>(platform::kMaxImageSide))
            return nullptr;
        HDC screen = ::GetDC(nullptr);
        if (!screen) return nullptr;
        bitmap = ::CreateCompatibleBitmap(screen, static_cast<int>(width), static_cast<int>(height));
        bool drawn = false;
        if (bitmap) {
            SelectedBitmap target(screen, bitmap);
            if (target.Dc()) {
                Gdiplus::Graphics graphics(target.Dc());
                // Transparent parts of the picture show black.
                drawn = graphics.Clear(Gdiplus::Color(0xFF000000)) == Gdiplus::Ok &&
                        graphics.DrawImage(&image, 0, 0, static_cast<INT>(width), static_cast<INT>(height)) ==
                                Gdiplus::Ok;
            }
        }
        ::ReleaseDC(nullptr, screen);
        if (!drawn) {
            if (bitmap) ::DeleteObject(bitmap);
            return nullptr;
        }
    }
    BITMAP info{};
    if (::GetObjectW(bitmap, sizeof info, &info) == 0) {
        ::DeleteObject(bitmap);
        return nullptr;
    }
    picture->bitmap_ = bitmap;
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

INT_PTR CALLBACK FullSizeProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* image = reinterpret_cast<const PictureImage*>(lp);
            ::SetWindowLongPtrW(dialog, DWLP_USER, lp);
            RECT window{}, client{};
            ::GetWindowRect(dialog, &window);
            ::GetClientRect(dialog, &client);
            const int border = ((window.right - window.left) - client.right) / 2;
            const int nonClient = (window.bottom - window.top) - client.bottom;
            ::SetWindowPos(dialog, nullptr, 0, 0, image->Width() + 2 * border + 2 * kPictureMargin,
                           image->Height() + nonClient - border + 2 * kPictureMargin,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::MoveWindow(::GetDlgItem(dialog, kPictureDialogFrame), kPictureMargin, kPictureMargin, image->Width(),
                         image->Height(), FALSE);
            QvLibrary::CentreOnParent(dialog);
            return TRUE;
        }
        case WM_DRAWITEM: {
            // The frame shows the picture in its own size; the dialog paints
            // the button face around it.
            const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            const auto* image = reinterpret_cast<const PictureImage*>(::GetWindowLongPtrW(dialog, DWLP_USER));
            if (!draw || !image || draw->CtlID != kPictureDialogFrame) return FALSE;
            SelectedBitmap source(draw->hDC, image->Bitmap());
            if (source.Dc())
                ::BitBlt(draw->hDC, 0, 0, image->Width(), image->Height(), source.Dc(), 0, 0, SRCCOPY);
            return TRUE;
        }
        case WM_LBUTTONDOWN:
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
                ::EndDialog(dialog, LOWORD(wp));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void ShowFullSize(const QvLibrary::QvApp& app, HWND owner, const PictureBox& box) {
    const PictureImage* image = box.Image();
    if (!image) return;
    app.RunDialog(owner, kPictureDialog, FullSizeProc,
                  reinterpret_cast<LPARAM>(const_cast<PictureImage*>(image)));
}

}  // namespace kodrin::app
