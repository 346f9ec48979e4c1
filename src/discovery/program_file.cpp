#include "discovery/program_file.h"

#include <utility>

namespace kodrin::discovery {

namespace {

void PutLittleEndian(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

bool ReadVersionText(ProgramFileSource& source, std::u16string_view key, std::u16string& field) {
    std::u16string text;
    if (!source.VersionValue(key, text)) return false;
    TrimTrailingSpace(text);
    field = std::move(text);
    return true;
}

}  // namespace

bool IsSpaceCharacter(char16_t c) {
    switch (c) {
        case u' ': case u'\t': case u'\n': case u'\v': case u'\f': case u'\r':
        case u'\u0085': case u'\u00A0': case u'\u1680': case u'\u2028': case u'\u2029':
        case u'\u202F': case u'\u205F': case u'\u3000':
            return true;
        default:
            return c >= u'\u2000' && c <= u'\u200A';
    }
}

void TrimTrailingSpace(std::u16string& text) {
    while (!text.empty() && IsSpaceCharacter(text.back())) text.pop_back();
}

std::u16string_view FolderOfPath(std::u16string_view path) {
    const std::size_t separator = path.find_last_of(u"\\/");
    if (separator == std::u16string_view::npos) return {};
    return path.substr(0, separator);
}

std::u16string SafeFileName(std::u16string_view name) {
    std::u16string safe(name);
    for (char16_t& c : safe) {
        if (c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) c = u'_';
    }
    return safe;
}

std::vector<std::uint8_t> EncodeBitmap24(const platform::Image& image) {
    if (!platform::IsValidImage(image) || image.width == 0 || image.height == 0) return {};
    const auto width = static_cast<std::size_t>(image.width);
    const auto height = static_cast<std::size_t>(image.height);
    const std::size_t stride = (width * 3 + 3) / 4 * 4;
    constexpr std::size_t kHeaders = 14 + 40;
    std::vector<std::uint8_t> out(kHeaders + stride * height, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutLittleEndian(out, 2, static_cast<std::uint32_t>(out.size()), 4);
    PutLittleEndian(out, 10, kHeaders, 4);
    PutLittleEndian(out, 14, 40, 4);  // BITMAPINFOHEADER
    PutLittleEndian(out, 18, static_cast<std::uint32_t>(width), 4);
    PutLittleEndian(out, 22, static_cast<std::uint32_t>(height), 4);  // positive: bottom-up
    PutLittleEndian(out, 26, 1, 2);   // planes
    PutLittleEndian(out, 28, 24, 2);  // bits per pixel
    PutLittleEndian(out, 34, static_cast<std::uint32_t>(stride * height), 4);
    PutLittleEndian(out, 38, 2835, 4);  // 72 dots per inch
    PutLittleEndian(out, 42, 2835, 4);
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* source = image.pixels.data() + y * width * 4;
        std::uint8_t* row = out.data() + kHeaders + (height - 1 - y) * stride;
        for (std::size_t x = 0; x < width; ++x) {
            row[x * 3 + 0] = source[x * 4 + 2];  // blue
            row[x * 3 + 1] = source[x * 4 + 1];  // green
            row[x * 3 + 2] = source[x * 4 + 0];  // red
        }
    }
    return out;
}

bool ReadProgramFile(ProgramFileSource& source, const Settings& options, ApplicationRecord& record,
                     const std::u16string& path) {
    record.path = path;
    bool found = false;

    if (source.OpenVersion(path)) {
        std::u16string version;
        if (source.VersionString(version)) {
            TrimTrailingSpace(version);
            record.version = version;
            if (!record.version.empty()) record.dateLastChecked = options.today;
            found = true;
        }
        if (ReadVersionText(source, u"CompanyName", record.company)) found = true;
        if (ReadVersionText(source, u"ProductName", record.program)) found = true;
    }

    // The icon becomes the picture; it does not count as found.
    platform::Image icon;
    if (source.FirstIcon(path, icon)) {
        const std::u16string picturePath =
            source.TempFolder() + (record.program.empty() ? std::u16string(u"icon") : SafeFileName(record.program)) +
            u".bmp";
        const std::vector<std::uint8_t> bitmap = EncodeBitmap24(icon);
        std::vector<std::uint8_t> bytes;
        if (!bitmap.empty() && source.WriteFile(picturePath, bitmap) && source.ReadFile(picturePath, bytes)) {
            record.picture = std::move(bytes);
            record.pictureName = picturePath;
        }
    }

    Date date;
    if (source.FolderDate(std::u16string(FolderOfPath(path)), date)) {
        const std::u16string text = FormatDate(date, static_cast<int>(options.dateStyle));
        record.installDate = text;
        record.purchaseDate = text;
        found = true;
    }
    return found;
}

}  // namespace kodrin::discovery
