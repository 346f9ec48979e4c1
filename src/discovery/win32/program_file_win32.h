// The Windows ProgramFileSource: version resources through the version
// library, the first icon through the shell, folder dates through the file
// system. One object per found file, as a stand-alone version reader.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/program_file.h"

namespace kodrin::discovery {

class SystemProgramFileSource final : public ProgramFileSource {
public:
    bool OpenVersion(const std::u16string& path) override;
    bool VersionString(std::u16string& out) override;
    bool VersionValue(std::u16string_view key, std::u16string& out) override;
    bool FirstIcon(const std::u16string& path, platform::Image& icon) override;
    std::u16string TempFolder() override;
    bool WriteFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes) override;
    bool ReadFile(const std::u16string& path, std::vector<std::uint8_t>& bytes) override;
    bool FolderDate(const std::u16string& folder, Date& date) override;

private:
    std::vector<std::uint8_t> version_;  // the file's version-information block
    std::uint16_t language_ = 0;         // its first translation
    std::uint16_t codePage_ = 0;
    bool hasTranslation_ = false;
};

// ReadProgramFile with the system's source.
bool ReadProgramFile(const Settings& options, ApplicationRecord& record, const std::u16string& path);

}  // namespace kodrin::discovery
