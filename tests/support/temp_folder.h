// A fresh folder under the system's temporary folder, removed with everything
// in it (read-only files included) when the object goes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/crypto.h"
#include "platform/files.h"

namespace kodrin::test {

class TempFolder {
public:
    explicit TempFolder(std::u16string_view prefix) {
        std::uint8_t r[6] = {};
        platform::RandomBytes(r);
        std::u16string name(prefix);
        for (const std::uint8_t b : r) name += static_cast<char16_t>(u'a' + b % 26);
        path_ = std::filesystem::temp_directory_path().u16string() + u"\\" + name;
        created_ = platform::CreateFolders(path_);
    }
    ~TempFolder() {
        for (const auto& f : platform::ListFiles(path_)) platform::SetReadOnly(path_ + u"\\" + f, false);
        // The program writes "\\" between folders on every build; natively
        // the file system wants "/".
        std::u16string native = path_;
#ifndef _WIN32
        for (char16_t& c : native) {
            if (c == u'\\') c = u'/';
        }
#endif
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(native), ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool Created() const { return created_; }
    const std::u16string& Path() const { return path_; }

private:
    std::u16string path_;
    bool created_ = false;
};

}  // namespace kodrin::test
