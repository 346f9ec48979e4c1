// Picture decoding and encoding: the same pixels back in both builds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/image.h"

namespace kodrin {
namespace {

using platform::Image;
using platform::ImageFormat;
using Bytes = std::vector<std::uint8_t>;

Bytes Hex(std::string_view hex) {
    Bytes out;
    auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(nibble(hex[i]) * 16 + nibble(hex[i + 1])));
    return out;
}

// An opaque test card with distinct values in every channel of every pixel
// and a width that needs row padding in a 24-bit BMP.
Image TestCard(int w, int h) {
    Image image;
    image.width = w;
    image.height = h;
    image.pixels.resize(static_cast<std::size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &image.pixels[(static_cast<std::size_t>(y) * w + x) * 4];
            p[0] = static_cast<std::uint8_t>(x * 40 + y);
            p[1] = static_cast<std::uint8_t>(y * 50 + 7);
            p[2] = static_cast<std::uint8_t>(255 - x * 20 - y * 3);
            p[3] = 255;
        }
    }
    return image;
}

// The same six pixels, rows from the top: red green blue / white black yellow.
const Bytes kSixPixels = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255,
                          255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 0, 255};

TEST(ImageCodec, PngAndBmpRoundTripExactly) {
    const Image card = TestCard(5, 3);
    for (const ImageFormat format : {ImageFormat::Png, ImageFormat::Bmp}) {
        SCOPED_TRACE(static_cast<int>(format));
        Bytes encoded;
        ASSERT_TRUE(platform::EncodeImage(card, format, encoded));
        if (format == ImageFormat::Png) {
            ASSERT_GE(encoded.size(), 8u);
            EXPECT_EQ(Bytes(encoded.begin(), encoded.begin() + 8), (Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10}));
        } else {
            ASSERT_GE(encoded.size(), 2u);
            EXPECT_EQ(encoded[0], 'B');
            EXPECT_EQ(encoded[1], 'M');
        }
        Image back;
        ASSERT_TRUE(platform::DecodeImage(encoded, back));
        EXPECT_EQ(back.width, 5);
        EXPECT_EQ(back.height, 3);
        EXPECT_EQ(back.pixels, card.pixels);
    }
}

TEST(ImageCodec, JpegKeepsTheSize) {
    const Image card = TestCard(17, 9);
    Bytes encoded;
    ASSERT_TRUE(platform::EncodeImage(card, ImageFormat::Jpeg, encoded));
    ASSERT_GE(encoded.size(), 3u);
    EXPECT_EQ(Bytes(encoded.begin(), encoded.begin() + 3), (Bytes{0xFF, 0xD8, 0xFF}));
    Image back;
    ASSERT_TRUE(platform::DecodeImage(encoded, back));
    EXPECT_EQ(back.width, 17);
    EXPECT_EQ(back.height, 9);
    EXPECT_EQ(back.pixels.size(), 17u * 9 * 4);
}

TEST(ImageCodec, DecodesFilesFromOtherTools) {
    // A 3x2 GIF and a 24-bit bottom-up BMP with padded rows.
    const Bytes gif = Hex(
        "47494638396103000200f20500000000ff000000ff00ffff000000ffffffff0000000000"
        "0021f90400000000002c000000000300020000030418420593003b");
    const Bytes bmp = Hex(
        "424d4e000000000000003600000028000000030000000200000001001800000000001800"
        "000000000000000000000000000000000000ffffff00000000ffff0000000000ff00ff00"
        "ff0000000000");
    for (const Bytes* file : {&gif, &bmp}) {
        Image image;
        ASSERT_TRUE(platform::DecodeImage(*file, image));
        EXPECT_EQ(image.width, 3);
        EXPECT_EQ(image.height, 2);
        EXPECT_EQ(image.pixels, kSixPixels);
    }
}

TEST(ImageCodec, RefusesWhatIsNotAPicture) {
    Image image = TestCard(2, 2);
    EXPECT_FALSE(platform::DecodeImage(Bytes{}, image));
    EXPECT_EQ(image.width, 0);
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_FALSE(platform::DecodeImage(Bytes{'<', 0, 'K', 0, 'O', 0}, image));
    // A PNG cut after its header.
    Bytes png;
    ASSERT_TRUE(platform::EncodeImage(TestCard(4, 4), ImageFormat::Png, png));
    png.resize(40);
    EXPECT_FALSE(platform::DecodeImage(png, image));

    Bytes out{1};
    Image empty;
    EXPECT_FALSE(platform::EncodeImage(empty, ImageFormat::Png, out));
    EXPECT_TRUE(out.empty());
    Image short_pixels = TestCard(3, 3);
    short_pixels.pixels.pop_back();
    EXPECT_FALSE(platform::EncodeImage(short_pixels, ImageFormat::Bmp, out));
}

TEST(ImageCodec, FormatFollowsTheFileName) {
    using platform::ImageFormatForName;
    EXPECT_EQ(ImageFormatForName(u"shot.jpg"), ImageFormat::Jpeg);
    EXPECT_EQ(ImageFormatForName(u"SHOT.JPG"), ImageFormat::Jpeg);
    EXPECT_EQ(ImageFormatForName(u"icon.png"), ImageFormat::Png);
    EXPECT_EQ(ImageFormatForName(u"icon.Png"), ImageFormat::Png);
    EXPECT_EQ(ImageFormatForName(u"icon.bmp"), ImageFormat::Bmp);
    EXPECT_EQ(ImageFormatForName(u"photo.jpeg"), ImageFormat::Bmp);
    EXPECT_EQ(ImageFormatForName(u"png"), ImageFormat::Bmp);
    EXPECT_EQ(ImageFormatForName(u"a.png.gif"), ImageFormat::Bmp);
    EXPECT_EQ(ImageFormatForName(u""), ImageFormat::Bmp);
}

}  // namespace
}  // namespace kodrin
