// The system's reader of program files against the portable PE reader on
// the same files (the walk through FindFirstFileW is in the program's scan
// test and the end-to-end comparison of the two builds).
#include <windows.h>

#include <gtest/gtest.h>

#include "discovery/pe_version.h"
#include "discovery/program_file.h"
#include "discovery/win32/program_file_win32.h"
#include "platform/files.h"

namespace kodrin::discovery {
namespace {

std::u16string ModuleFolder() {
    wchar_t buffer[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::u16string path(reinterpret_cast<const char16_t*>(buffer));
    return path.erase(path.find_last_of(u"\\/") + 1);
}

TEST(ScanWin32Test, SystemReaderAndPortableReaderAgreeOnEveryProgramFile) {
    const std::u16string wine = u"Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\";
    const std::u16string fixtures = ModuleFolder() + u"fixtures\\";
    const std::vector<std::u16string> files = {
        wine + u"iexplore.exe",     wine + u"explorer.exe",        wine + u"notepad.exe",
        wine + u"winecfg.exe",      wine + u"regedit.exe",         fixtures + u"fixture_full.exe",
        fixtures + u"fixture_notranslation.exe", fixtures + u"fixture_noversion.exe", fixtures + u"fixture_noproduct.dll",
    };
    Settings options = NewSettings();
    int withVersion = 0;
    int withPicture = 0;
    for (const std::u16string& file : files) {
        SCOPED_TRACE(std::string(file.begin(), file.end()));
        ApplicationRecord system = NewRecord();
        ASSERT_TRUE(ReadProgramFile(options, system, file));  // the folder date at least

        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(platform::ReadWholeFile(file, bytes));
        PeVersionInfo info;
        ReadPeVersion(bytes, info);
        ProgramVersionFields portable = ProgramFields(info);
        for (auto* field : {&portable.version, &portable.company, &portable.product}) {
            if (*field) TrimTrailingSpace(**field);
        }
        EXPECT_EQ(system.version, portable.version.value_or(u""));
        EXPECT_EQ(system.company, portable.company.value_or(u""));
        EXPECT_EQ(system.program, portable.product.value_or(u""));
        EXPECT_EQ(!system.picture.empty(), info.hasIcon);
        withVersion += !system.version.empty();
        withPicture += !system.picture.empty();
    }
    // The files differ where it matters: some with a version, some with an icon.
    EXPECT_EQ(withVersion, 5);  // iexplore, explorer, regedit, full, noproduct
    EXPECT_EQ(withPicture, 6);
}

}  // namespace
}  // namespace kodrin::discovery
