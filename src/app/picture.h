// Pictures on the screen: decoding a record's picture bytes into a bitmap the
// screen can draw, the box that shows one reduced to fit a place (the
// details dialog's picture page, the main window's pane), and the full-size
// view (dialog 1900).
//
// The record keeps the raw bytes; a box decodes them once per setting and
// paints from its bitmap. Writing a picture out as a file is the core's
// SavePicture (catalog/datafile.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "catalog/record.h"
#include "framework/handles.h"

namespace QvLibrary {
class QvApp;
}

namespace kodrin::app {

// Gap between the full-size view's edge and its picture.
inline constexpr int kPictureMargin = 10;

// A decoded picture: a bitmap compatible with the screen and its size. Each
// one keeps GDI+ started for as long as it lives.
class PictureImage {
public:
    PictureImage();
    ~PictureImage();
    PictureImage(const PictureImage&) = delete;
    PictureImage& operator=(const PictureImage&) = delete;

    HBITMAP Bitmap() const { return bitmap_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    friend std::unique_ptr<PictureImage> DecodePicture(std::span<const std::uint8_t> bytes);

    ULONG_PTR gdiplusToken_ = 0;
    bool gdiplusStarted_ = false;
    QvLibrary::Bitmap bitmap_;
    int width_ = 0;
    int height_ = 0;
};

// Decodes BMP, GIF, JPEG or PNG bytes, drawn over opaque black (transparent
// parts show black). Nothing when the bytes are no picture GDI+ reads, or
// when a side exceeds the largest picture accepted anywhere (16384).
std::unique_ptr<PictureImage> DecodePicture(std::span<const std::uint8_t> bytes);

// Gives the record the picture file at path; see kodrin::LoadPictureFile in
// catalog/datafile.h, which the data-file reader shares.
void LoadPictureFile(const std::u16string& path, kodrin::ApplicationRecord& record, bool acceptBareName);

// The size a w x h picture is shown at in a place of at most maxWidth x
// maxHeight: its own size when it fits, otherwise reduced keeping its
// proportions to the largest size that fits. Never enlarged; a place with a
// negative side counts as empty.
SIZE FitPicture(int width, int height, int maxWidth, int maxHeight);

// A place where a picture is shown, reduced to fit.
class PictureBox {
public:
    // No picture: the display rectangle is empty, at the corner.
    void Clear();
    // Decodes the bytes (undecodable bytes leave the box empty) and lays out.
    void SetPicture(std::span<const std::uint8_t> bytes);
    // The top-left corner in the window and the greatest size; lays out again.
    void SetPlace(int x, int y, int maxWidth, int maxHeight);
    // Where the picture is painted, in window coordinates.
    RECT DisplayRect() const { return rect_; }
    bool Empty() const { return !image_; }
    // Stretches the bitmap into the display rectangle (COLORONCOLOR).
    void Paint(HDC dc) const;
    const PictureImage* Image() const { return image_.get(); }

private:
    void Layout();

    std::unique_ptr<PictureImage> image_;
    int x_ = 0;
    int y_ = 0;
    int maxWidth_ = 0;
    int maxHeight_ = 0;
    RECT rect_{};
};

// The full-size view, dialog 1900: a frame sized to the picture with a
// margin, centred on its owner, closed by a click, Enter or Escape. Nothing
// happens for an empty box.
void ShowFullSize(const QvLibrary::QvApp& app, HWND owner, const PictureBox& box);

}  // namespace kodrin::app
