#include "discovery/win32/program_file_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <memory>

#include "framework/handles.h"
#include "framework/wide.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kodrin::discovery {

namespace {

using QvLibrary::Wide;
using QvLibrary::FromWide;

bool EndsWithIgnoreCase(std::u16string_view text, std::u16string_view ending) {
    return text.size() >= ending.size() &&
           platform::EqualIgnoreCase(text.substr(text.size() - ending.size()), ending);
}

using IconHandle = QvLibrary::Icon;
using BitmapHandle = QvLibrary::Bitmap;
using DcHandle = QvLibrary::MemoryDC;

bool ToDate(const FILETIME& time, Date& date) {
    if (time.dwLowDateTime == 0 && time.dwHighDateTime == 0) return false;
    SYSTEMTIME calendar{};
    if (!::FileTimeToSystemTime(&time, &calendar)) return false;
    date = Date{};
    date.year = calendar.wYear;
    date.month = calendar.wMonth;
    date.day = calendar.wDay;
    return true;
}

// The colour bitmap as top-down RGBA pixels.
bool ReadColourBitmap(HBITMAP bitmap, platform::Image& image) {
    BITMAP info{};
    if (::GetObjectW(bitmap, sizeof(info), &info) != sizeof(info)) return false;
    if (info.bmWidth <= 0 || info.bmHeight <= 0 || info.bmWidth > platform::kMaxImageSide ||
        info.bmHeight > platform::kMaxImageSide) {
        return false;
    }
    DcHandle dc(::CreateCompatibleDC(nullptr));
    if (!dc) return false;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;  // top-down
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(info.bmWidth) * static_cast<std::size_t>(info.bmHeight) * 4);
    if (::GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), bgra.data(), &header, DIB_RGB_COLORS) !=
        info.bmHeight) {
        return false;
    }
    image.width = info.bmWidth;
    image.height = info.bmHeight;
    image.pixels.resize(bgra.size());
    for (std::size_t i = 0; i < bgra.size(); i += 4) {
        image.pixels[i + 0] = bgra[i + 2];
        image.pixels[i + 1] = bgra[i + 1];
        image.pixels[i + 2] = bgra[i + 0];
        image.pixels[i + 3] = 255;
    }
    return true;
}

}  // namespace

bool SystemProgramFileSource::OpenVersion(const std::u16string& path) {
    version_.clear();
    hasTranslation_ = false;
    if (!EndsWithIgnoreCase(path, u".exe") && !EndsWithIgnoreCase(path, u".dll")) return false;
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(Wide(path), &ignored);
    if (size == 0) return true;
    version_.resize(size);
    if (!::GetFileVersionInfoW(Wide(path), 0, size, version_.data())) {
        version_.clear();
        return true;
    }
    void* translation = nullptr;
    UINT length = 0;
    if (::VerQueryValueW(version_.data(), L"\\VarFileInfo\\Translation", &translation, &length) &&
        translation != nullptr && length >= 2 * sizeof(WORD)) {
        language_ = static_cast<const WORD*>(translation)[0];
        codePage_ = static_cast<const WORD*>(translation)[1];
        hasTranslation_ = true;
    }
    return true;
}

bool SystemProgramFileSource::VersionString(std::u16string& out) {
    // A version resource without a translation table gives nothing at all.
    if (version_.empty() || !hasTranslation_) return false;
    void* data = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(version_.data(), L"\\", &data, &length) || data == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
    char text[64];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
                  static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)),
                  static_cast<unsigned>(HIWORD(fixed->dwFileVersionLS)),
                  static_cast<unsigned>(LOWORD(fixed->dwFileVersionLS)));
    out.assign(text, text + std::char_traits<char>::length(text));
    return true;
}

bool SystemProgramFileSource::VersionValue(std::u16string_view key, std::u16string& out) {
    if (version_.empty() || !hasTranslation_) return false;
    wchar_t block[64];
    std::swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", static_cast<unsigned>(language_),
                  static_cast<unsigned>(codePage_));
    const std::u16string query = FromWide(block, std::wcslen(block)) + std::u16string(key);
    void* data = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(version_.data(), Wide(query), &data, &length) || data == nullptr) return false;
    const auto* text = static_cast<const wchar_t*>(data);
    std::size_t size = 0;
    while (size < length && text[size] != 0) ++size;
    out = FromWide(text, size);
    return true;
}

bool SystemProgramFileSource::FirstIcon(const std::u16string& path, platform::Image& icon) {
    HICON large = nullptr;
    HICON little = nullptr;
    const UINT extracted = ::ExtractIconExW(Wide(path), 0, &large, &little, 1);
    const IconHandle largeIcon(large);
    const IconHandle smallIcon(little);
    if (extracted == 0 || extracted == UINT_MAX) return false;
    ICONINFO info{};
    if (!(large != nullptr && ::GetIconInfo(large, &info)) && !(little != nullptr && ::GetIconInfo(little, &info))) {
        return false;
    }
    const BitmapHandle colour(info.hbmColor);
    const BitmapHandle mask(info.hbmMask);
    return colour && ReadColourBitmap(colour.Get(), icon);
}

std::u16string SystemProgramFileSource::TempFolder() {
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH + 1) return u"C:\\";
    std::u16string folder = FromWide(buffer, length);
    if (folder.back() != u'\\' && folder.back() != u'/') folder.push_back(u'\\');
    return folder;
}

bool SystemProgramFileSource::WriteFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes) {
    // A scratch file in the temporary folder, read back at once: written
    // plainly, without the flush and the replace that a data file needs
    // (they would cost a scan of many programs more than the rest of its
    // work).
    const QvLibrary::FileHandle file(::CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool SystemProgramFileSource::ReadFile(const std::u16string& path, std::vector<std::uint8_t>& bytes) {
    return platform::ReadWholeFile(path, bytes);
}

bool SystemProgramFileSource::FolderDate(const std::u16string& folder, Date& date) {
    if (folder.empty()) return false;
    WIN32_FIND_DATAW found{};
    if (!QvLibrary::FindHandle(::FindFirstFileW(Wide(folder), &found))) return false;
    // The file times are UTC; the UTC calendar date is taken.
    return ToDate(found.ftCreationTime, date) || ToDate(found.ftLastWriteTime, date);
}

bool ReadProgramFile(const Settings& options, ApplicationRecord& record, const std::u16string& path) {
    SystemProgramFileSource source;
    return ReadProgramFile(source, options, record, path);
}

}  // namespace kodrin::discovery
