// Program-file reading against program files the test build makes with the
// resource compiler (see tests/discovery/win32/fixtures).
#include <windows.h>

#include <gtest/gtest.h>

#include "discovery/win32/program_file_win32.h"
#include "platform/files.h"
#include "platform/image.h"

namespace kodrin::discovery {
namespace {

std::u16string FromWide(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::u16string FixturePath(const char16_t* name) {
    wchar_t buffer[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::u16string path = FromWide(buffer);
    path.erase(path.find_last_of(u"\\/") + 1);
    return path + u"fixtures\\" + name;
}

FILETIME Utc(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    FILETIME file{};
    ::SystemTimeToFileTime(&time, &file);
    return file;
}

bool SetTimes(const std::u16string& path, const FILETIME& created, const FILETIME& written) {
    HANDLE handle = ::CreateFileW(Wide(path), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const BOOL set = ::SetFileTime(handle, &created, nullptr, &written);
    ::CloseHandle(handle);
    return set != FALSE;
}

Settings Options() {
    Settings options = NewSettings();
    SetDateStyle(options, 6);
    options.today = u"02/01/2024";
    return options;
}

TEST(SystemProgramFile, VersionResourceAndIcon) {
    const std::u16string path = FixturePath(u"fixture_full.exe");
    ApplicationRecord record = NewRecord();
    ASSERT_TRUE(ReadProgramFile(Options(), record, path));
    EXPECT_EQ(record.path, path);
    EXPECT_EQ(record.version, u"1.2.3.4");  // the fixed file version, not the FileVersion text
    EXPECT_EQ(record.dateLastChecked, u"02/01/2024");
    EXPECT_EQ(record.company, u"Fenwold Test Co");
    EXPECT_EQ(record.program, u"Kodrin Fixture");

    SystemProgramFileSource source;
    const std::u16string expectedPicture = source.TempFolder() + u"Kodrin Fixture.bmp";
    EXPECT_EQ(record.pictureName, expectedPicture);
    std::vector<std::uint8_t> onDisk;
    ASSERT_TRUE(platform::ReadWholeFile(expectedPicture, onDisk));
    EXPECT_EQ(record.picture, onDisk);
    ASSERT_GT(record.picture.size(), 54u);
    EXPECT_EQ(record.picture[28], 24);  // 24 bits per pixel
    platform::Image picture;
    ASSERT_TRUE(platform::DecodeImage(record.picture, picture));
    EXPECT_GT(picture.width, 0);
    EXPECT_EQ(picture.width, picture.height);
    // The icon is plain red.
    const std::size_t middle = (static_cast<std::size_t>(picture.height / 2) * picture.width + picture.width / 2) * 4;
    EXPECT_EQ(picture.pixels[middle + 0], 255);
    EXPECT_EQ(picture.pixels[middle + 1], 0);
    EXPECT_EQ(picture.pixels[middle + 2], 0);
    platform::RemoveFile(expectedPicture);
}

TEST(SystemProgramFile, LibraryWithoutProductNameNamesItsPictureIcon) {
    const std::u16string path = FixturePath(u"fixture_noproduct.dll");
    ApplicationRecord record = NewRecord();
    ASSERT_TRUE(ReadProgramFile(Options(), record, path));
    EXPECT_EQ(record.version, u"5.0.0.17");
    EXPECT_EQ(record.company, u"Nur Firma");
    EXPECT_EQ(record.program, u"");
    SystemProgramFileSource source;
    EXPECT_EQ(record.pictureName, source.TempFolder() + u"icon.bmp");
    EXPECT_FALSE(record.picture.empty());
}

TEST(SystemProgramFile, NoTranslationTableGivesNoVersionTexts) {
    const std::u16string path = FixturePath(u"fixture_notranslation.exe");
    ApplicationRecord record = NewRecord();
    ReadProgramFile(Options(), record, path);
    EXPECT_EQ(record.version, u"");
    EXPECT_EQ(record.dateLastChecked, u"");
    EXPECT_EQ(record.company, u"");
    EXPECT_EQ(record.program, u"");
    EXPECT_TRUE(record.pictureName.empty());  // no icon either
    EXPECT_TRUE(record.picture.empty());
}

TEST(SystemProgramFile, WithoutVersionResourceOnlyTheFolderDateCounts) {
    const std::u16string path = FixturePath(u"fixture_noversion.exe");
    ApplicationRecord record = NewRecord();
    EXPECT_TRUE(ReadProgramFile(Options(), record, path));  // the folder is there
    EXPECT_EQ(record.version, u"");
    EXPECT_EQ(record.program, u"");
    EXPECT_FALSE(record.installDate.empty());

    ApplicationRecord missing = NewRecord();
    EXPECT_FALSE(ReadProgramFile(Options(), missing, u"C:\\no such folder\\nothing.exe"));
    EXPECT_EQ(missing.path, u"C:\\no such folder\\nothing.exe");
    EXPECT_TRUE(missing.installDate.empty());
}

TEST(SystemProgramFile, DatesComeFromTheFolderInUtc) {
    SystemProgramFileSource source;
    const std::u16string folder = source.TempFolder() + u"kodrin-program-file-test";
    ASSERT_TRUE(platform::CreateFolders(folder));
    const std::u16string path = folder + u"\\copy.exe";
    ASSERT_TRUE(platform::CopyFileTo(FixturePath(u"fixture_noversion.exe"), path));
    ASSERT_TRUE(SetTimes(path, Utc(2010, 6, 7, 12, 0), Utc(2011, 6, 7, 12, 0)));
    // Late in the UTC day: a local-time conversion east of Greenwich would move it.
    // Wine keeps no creation time of its own (it reports the last write), so
    // both are set alike; the file's own dates differ from the folder's.
    ASSERT_TRUE(SetTimes(folder, Utc(2003, 4, 5, 23, 30), Utc(2003, 4, 5, 23, 30)));

    ApplicationRecord record = NewRecord();
    EXPECT_TRUE(ReadProgramFile(Options(), record, path));
    EXPECT_EQ(record.installDate, u"05/04/2003");  // the folder's date, not the file's
    EXPECT_EQ(record.purchaseDate, u"05/04/2003");

    Settings american = Options();
    SetDateStyle(american, 3);
    ApplicationRecord other = NewRecord();
    ReadProgramFile(american, other, path);
    EXPECT_EQ(other.installDate, u"04/05/2003");
    platform::RemoveFile(path);
    ::RemoveDirectoryW(Wide(folder));
}

TEST(SystemProgramFile, OtherFilesHaveNoVersion) {
    SystemProgramFileSource source;
    EXPECT_FALSE(source.OpenVersion(u"C:\\windows\\win.ini"));
    EXPECT_TRUE(source.OpenVersion(FixturePath(u"fixture_full.EXE")));
    std::u16string version;
    EXPECT_TRUE(source.VersionString(version));
    EXPECT_EQ(version, u"1.2.3.4");
    std::u16string missing;
    EXPECT_FALSE(source.VersionValue(u"LegalTrademarks", missing));
}

}  // namespace
}  // namespace kodrin::discovery
