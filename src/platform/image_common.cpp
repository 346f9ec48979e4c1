#include "platform/image.h"
#include "platform/text.h"

namespace kodrin::platform {

namespace {
bool EndsWith(std::u16string_view name, std::u16string_view extension) {
    return name.size() >= extension.size() &&
           EqualIgnoreCase(name.substr(name.size() - extension.size()), extension);
}
}  // namespace

ImageFormat ImageFormatForName(std::u16string_view file_name) {
    if (EndsWith(file_name, u".jpg")) return ImageFormat::Jpeg;
    if (EndsWith(file_name, u".png")) return ImageFormat::Png;
    return ImageFormat::Bmp;
}

void FlattenOntoBlack(Image& image) {
    for (std::size_t i = 0; i + 3 < image.pixels.size(); i += 4) {
        const unsigned alpha = image.pixels[i + 3];
        for (std::size_t c = 0; c < 3; ++c)
            image.pixels[i + c] = static_cast<std::uint8_t>((image.pixels[i + c] * alpha + 127) / 255);
        image.pixels[i + 3] = 255;
    }
}

bool IsOpaque(const Image& image) {
    for (std::size_t i = 3; i < image.pixels.size(); i += 4)
        if (image.pixels[i] != 255) return false;
    return true;
}

bool IsValidImage(const Image& image) {
    return image.width > 0 && image.height > 0 && image.width <= kMaxImageSide && image.height <= kMaxImageSide &&
           image.pixels.size() == static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4;
}

}  // namespace kodrin::platform
