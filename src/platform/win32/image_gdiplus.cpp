#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <gdiplus.h>

#include <climits>
#include <cstring>
#include <mutex>

#include "platform/image.h"

namespace kodrin::platform {

namespace {

// GDI+ is started once for the process, on first use, and left running.
bool StartGdiplus() {
    static bool started = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

struct Stream {
    IStream* p = nullptr;
    ~Stream() { if (p) p->Release(); }
};

bool EncoderFor(ImageFormat format, CLSID& clsid) {
    const wchar_t* mime = format == ImageFormat::Png ? L"image/png" : format == ImageFormat::Jpeg ? L"image/jpeg"
                                                                                                  : L"image/bmp";
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<std::uint8_t> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, mime) == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

}  // namespace

bool DecodeImage(std::span<const std::uint8_t> bytes, Image& image) {
    image = {};
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(UINT_MAX) || !StartGdiplus()) return false;
    Stream stream{::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()))};
    if (!stream.p) return false;
    // The bitmap reads from the stream for as long as it lives: it is
    // destroyed first.
    Gdiplus::Bitmap bitmap(stream.p, FALSE);
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return false;
    const UINT w = bitmap.GetWidth(), h = bitmap.GetHeight();
    if (w == 0 || h == 0 || w > static_cast<UINT>(kMaxImageSide) || h > static_cast<UINT>(kMaxImageSide)) return false;
    Gdiplus::Rect rect(0, 0, static_cast<INT>(w), static_cast<INT>(h));
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&rect, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return false;
    image.width = static_cast<int>(w);
    image.height = static_cast<int>(h);
    image.pixels.resize(static_cast<std::size_t>(w) * h * 4);
    for (UINT y = 0; y < h; ++y) {
        const auto* src = static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
        std::uint8_t* dst = image.pixels.data() + static_cast<std::size_t>(y) * w * 4;
        for (UINT x = 0; x < w; ++x) {  // BGRA to RGBA
            dst[x * 4 + 0] = src[x * 4 + 2];
            dst[x * 4 + 1] = src[x * 4 + 1];
            dst[x * 4 + 2] = src[x * 4 + 0];
            dst[x * 4 + 3] = src[x * 4 + 3];
        }
    }
    bitmap.UnlockBits(&data);
    return true;
}

bool EncodeImage(const Image& image, ImageFormat format, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (!IsValidImage(image) || !StartGdiplus()) return false;
    CLSID clsid{};
    if (!EncoderFor(format, clsid)) return false;
    // An opaque image loses its alpha channel: 24-bit rows, each padded to a
    // multiple of four bytes as GDI+ wants its strides.
    const bool opaque = IsOpaque(image);
    const std::size_t width = static_cast<std::size_t>(image.width);
    const std::size_t stride = opaque ? (width * 3 + 3) / 4 * 4 : width * 4;
    std::vector<std::uint8_t> bgr(stride * static_cast<std::size_t>(image.height));
    for (std::size_t y = 0; y < static_cast<std::size_t>(image.height); ++y) {
        const std::uint8_t* src = image.pixels.data() + y * width * 4;
        std::uint8_t* dst = bgr.data() + y * stride;
        for (std::size_t x = 0; x < width; ++x, src += 4) {
            *dst++ = src[2];
            *dst++ = src[1];
            *dst++ = src[0];
            if (!opaque) *dst++ = src[3];
        }
    }
    Stream stream;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream.p))) return false;
    {
        Gdiplus::Bitmap bitmap(image.width, image.height, static_cast<INT>(stride),
                               opaque ? PixelFormat24bppRGB : PixelFormat32bppARGB, bgr.data());
        if (bitmap.GetLastStatus() != Gdiplus::Ok) return false;
        ULONG quality = 90;
        Gdiplus::EncoderParameters params{};
        params.Count = 1;
        params.Parameter[0].Guid = Gdiplus::EncoderQuality;
        params.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
        params.Parameter[0].NumberOfValues = 1;
        params.Parameter[0].Value = &quality;
        if (bitmap.Save(stream.p, &clsid, format == ImageFormat::Jpeg ? &params : nullptr) != Gdiplus::Ok)
            return false;
    }
    STATSTG stat{};
    if (FAILED(stream.p->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart == 0 ||
        stat.cbSize.QuadPart > 0x7FFFFFFF)
        return false;
    LARGE_INTEGER start{};
    if (FAILED(stream.p->Seek(start, STREAM_SEEK_SET, nullptr))) return false;
    bytes.resize(static_cast<std::size_t>(stat.cbSize.QuadPart));
    ULONG got = 0;
    if (FAILED(stream.p->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &got)) || got != bytes.size()) {
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace kodrin::platform
