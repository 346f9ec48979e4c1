// The one translation unit that holds stb_image and stb_image_write.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STBI_NO_STDIO
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_MAX_DIMENSIONS 16384
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

#include <climits>
#include <cstring>

#include "platform/image.h"

namespace kodrin::platform {

namespace {
void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* p = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), p, p + size);
}
}  // namespace

bool DecodeImage(std::span<const std::uint8_t> bytes, Image& image) {
    image = {};
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return false;
    int w = 0, h = 0, channels = 0;
    stbi_uc* data = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4);
    if (!data) return false;
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) {
        stbi_image_free(data);
        return false;
    }
    image.width = w;
    image.height = h;
    image.pixels.assign(data, data + static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    stbi_image_free(data);
    return true;
}

bool EncodeImage(const Image& image, ImageFormat format, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (!IsValidImage(image)) return false;
    // An opaque image loses its alpha channel: three bytes a pixel.
    const bool opaque = IsOpaque(image);
    std::vector<std::uint8_t> rgb;
    if (opaque) {
        rgb.reserve(image.pixels.size() / 4 * 3);
        for (std::size_t i = 0; i < image.pixels.size(); i += 4)
            rgb.insert(rgb.end(), image.pixels.begin() + static_cast<std::ptrdiff_t>(i),
                       image.pixels.begin() + static_cast<std::ptrdiff_t>(i) + 3);
    }
    const int channels = opaque ? 3 : 4;
    const std::uint8_t* data = opaque ? rgb.data() : image.pixels.data();
    int ok = 0;
    switch (format) {
        case ImageFormat::Png:
            ok = stbi_write_png_to_func(AppendBytes, &bytes, image.width, image.height, channels, data,
                                        image.width * channels);
            break;
        case ImageFormat::Bmp:
            ok = stbi_write_bmp_to_func(AppendBytes, &bytes, image.width, image.height, channels, data);
            break;
        case ImageFormat::Jpeg:
            ok = stbi_write_jpg_to_func(AppendBytes, &bytes, image.width, image.height, channels, data, 90);
            break;
    }
    if (!ok) bytes.clear();
    return ok != 0 && !bytes.empty();
}

}  // namespace kodrin::platform
