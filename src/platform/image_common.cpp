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

bool IsValidImage(const Image& image) {
    return image.width > 0 && image.height > 0 && image.width <= kMaxImageSide && image.height <= kMaxImageSide &&
           image.pixels.size() == static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4;
}

}  // namespace kodrin::platform
