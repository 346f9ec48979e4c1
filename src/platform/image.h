// Decoding and encoding of pictures: BMP, PNG, JPEG and GIF in, BMP, PNG or
// JPEG out. GDI+ on Windows, stb_image and stb_image_write natively.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kodrin::platform {

// 8-bit RGBA pixels, rows from the top, no padding between rows.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 4 bytes
};

enum class ImageFormat { Bmp, Png, Jpeg };

// Largest side accepted in either direction, so that a hostile header cannot
// ask for gigabytes.
constexpr int kMaxImageSide = 16384;

// Decodes a BMP, PNG, JPEG or GIF (its first frame), recognised by its
// content. False when the bytes are not a picture either codec reads.
bool DecodeImage(std::span<const std::uint8_t> bytes, Image& image);

// Encodes the image; JPEG drops the alpha channel, and an image whose every
// pixel is opaque is written without one (24 bits per pixel). False when the
// image is empty, inconsistent or the codec fails.
bool EncodeImage(const Image& image, ImageFormat format, std::vector<std::uint8_t>& bytes);

// The format a picture file's name asks for: ".jpg" JPEG, ".png" PNG (both
// ignoring case), anything else BMP.
ImageFormat ImageFormatForName(std::u16string_view file_name);

// Draws the image over opaque black: each colour is weighted by its alpha
// and every pixel becomes opaque, so transparent parts turn black.
void FlattenOntoBlack(Image& image);

// True when every pixel's alpha is 255.
bool IsOpaque(const Image& image);

// True when the image's size and pixel buffer agree and are within limits.
bool IsValidImage(const Image& image);

}  // namespace kodrin::platform
