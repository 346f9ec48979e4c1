#include <gtest/gtest.h>

#include <map>

#include "discovery/program_file.h"
#include "support/text.h"

namespace kodrin::discovery {
namespace {

using test::U;

// A system with one program file: what it would report, and the files written.
struct FakeSource : ProgramFileSource {
    bool isProgram = true;
    bool hasVersion = false;
    std::u16string version;
    std::map<std::u16string, std::u16string> values;
    bool hasIcon = false;
    platform::Image icon;
    bool hasFolderDate = false;
    Date folderDate;
    bool writable = true;

    std::u16string openedPath;
    std::u16string askedFolder;
    std::map<std::u16string, std::vector<std::uint8_t>> files;

    bool OpenVersion(const std::u16string& path) override {
        openedPath = path;
        return isProgram;
    }
    bool VersionString(std::u16string& out) override {
        if (!isProgram || !hasVersion) return false;
        out = version;
        return true;
    }
    bool VersionValue(std::u16string_view key, std::u16string& out) override {
        if (!isProgram) return false;
        const auto found = values.find(std::u16string(key));
        if (found == values.end()) return false;
        out = found->second;
        return true;
    }
    bool FirstIcon(const std::u16string&, platform::Image& out) override {
        if (!hasIcon) return false;
        out = icon;
        return true;
    }
    std::u16string TempFolder() override { return u"C:\\Temp\\"; }
    bool WriteFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes) override {
        if (!writable) return false;
        files[path] = bytes;
        return true;
    }
    bool ReadFile(const std::u16string& path, std::vector<std::uint8_t>& bytes) override {
        const auto found = files.find(path);
        if (found == files.end()) return false;
        bytes = found->second;
        return true;
    }
    bool FolderDate(const std::u16string& folder, Date& date) override {
        askedFolder = folder;
        if (!hasFolderDate) return false;
        date = folderDate;
        return true;
    }
};

platform::Image RedIcon(int width, int height) {
    platform::Image image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < width * height; ++i) image.pixels.insert(image.pixels.end(), {200, 10, 20, 255});
    // Top-left pixel blue, to see the row order.
    image.pixels[0] = 0;
    image.pixels[2] = 250;
    return image;
}

Settings Options(int style) {
    Settings options = NewSettings();
    SetDateStyle(options, style);
    options.today = u"01/02/2024";
    return options;
}

TEST(ReadProgramFile, VersionCompanyProductTrimmedAndDates) {
    FakeSource source;
    source.hasVersion = true;
    source.version = u"1.2.3.4 \t";
    source.values[u"CompanyName"] = U("Fenwold Ltd \u3000\r\n");
    source.values[u"ProductName"] = u"  Kodrin  ";
    source.hasFolderDate = true;
    source.folderDate = Date{2003, 4, 5};
    ApplicationRecord record = NewRecord();
    EXPECT_TRUE(ReadProgramFile(source, Options(6), record, u"C:\\Program Files\\Kodrin\\kodrin.exe"));
    EXPECT_EQ(record.path, u"C:\\Program Files\\Kodrin\\kodrin.exe");
    EXPECT_EQ(source.openedPath, record.path);
    EXPECT_EQ(record.version, u"1.2.3.4");
    EXPECT_EQ(record.dateLastChecked, u"01/02/2024");
    EXPECT_EQ(record.company, u"Fenwold Ltd");
    EXPECT_EQ(record.program, u"  Kodrin");  // only trailing space goes
    EXPECT_EQ(source.askedFolder, u"C:\\Program Files\\Kodrin");
    EXPECT_EQ(record.installDate, u"05/04/2003");
    EXPECT_EQ(record.purchaseDate, u"05/04/2003");
    EXPECT_TRUE(record.picture.empty());
    EXPECT_TRUE(record.pictureName.empty());
}

TEST(ReadProgramFile, EachSourceAloneCountsAsFound) {
    {
        FakeSource source;
        source.hasVersion = true;
        source.version = u"   ";  // found, but blank: no check date
        ApplicationRecord record = NewRecord();
        EXPECT_TRUE(ReadProgramFile(source, Options(3), record, u"a\\b.exe"));
        EXPECT_EQ(record.version, u"");
        EXPECT_EQ(record.dateLastChecked, u"");
    }
    {
        FakeSource source;
        source.values[u"ProductName"] = u"Thing";
        ApplicationRecord record = NewRecord();
        EXPECT_TRUE(ReadProgramFile(source, Options(3), record, u"a\\b.exe"));
        EXPECT_EQ(record.program, u"Thing");
        EXPECT_EQ(record.company, u"");
    }
    {
        FakeSource source;
        source.isProgram = false;
        source.hasVersion = true;
        source.version = u"9.9";
        source.hasFolderDate = true;
        source.folderDate = Date{2010, 12, 31};
        ApplicationRecord record = NewRecord();
        EXPECT_TRUE(ReadProgramFile(source, Options(3), record, u"d:/tools/readme.txt"));
        EXPECT_EQ(record.version, u"");  // not a program: no version read
        EXPECT_EQ(source.askedFolder, u"d:/tools");
        EXPECT_EQ(record.installDate, u"12/31/2010");
    }
}

TEST(ReadProgramFile, NothingFoundIsFalseAndKeepsTheScannerFields) {
    FakeSource source;
    source.hasIcon = true;
    source.icon = RedIcon(2, 2);  // an icon alone does not count
    ApplicationRecord record = NewRecord();
    record.originalMedia = u"CD";
    record.diskCount = 2;
    EXPECT_FALSE(ReadProgramFile(source, Options(3), record, u"x.exe"));
    EXPECT_EQ(record.path, u"x.exe");
    EXPECT_EQ(source.askedFolder, u"");
    EXPECT_EQ(record.originalMedia, u"CD");
    EXPECT_EQ(record.diskCount, 2);
    EXPECT_FALSE(record.picture.empty());
}

TEST(ReadProgramFile, IconBecomesAPictureNamedAfterTheProgram) {
    FakeSource source;
    source.values[u"ProductName"] = u"Kodrin ";
    source.hasIcon = true;
    source.icon = RedIcon(3, 2);
    ApplicationRecord record = NewRecord();
    ReadProgramFile(source, Options(3), record, u"c:\\k\\kodrin.exe");
    EXPECT_EQ(record.pictureName, u"C:\\Temp\\Kodrin.bmp");
    ASSERT_EQ(source.files.count(u"C:\\Temp\\Kodrin.bmp"), 1u);
    EXPECT_EQ(record.picture, source.files[u"C:\\Temp\\Kodrin.bmp"]);

    platform::Image decoded;
    ASSERT_TRUE(platform::DecodeImage(record.picture, decoded));
    EXPECT_EQ(decoded.width, 3);
    EXPECT_EQ(decoded.height, 2);
    EXPECT_EQ(decoded.pixels[0], 0);  // top-left stays top-left
    EXPECT_EQ(decoded.pixels[2], 250);
    EXPECT_EQ(decoded.pixels[4], 200);
    EXPECT_EQ(decoded.pixels[5], 10);
    EXPECT_EQ(decoded.pixels[6], 20);
    EXPECT_EQ(record.picture[28], 24);  // bits per pixel
}

TEST(ReadProgramFile, IconWithoutProductNameAndUnwritablePicture) {
    FakeSource source;
    source.hasIcon = true;
    source.icon = RedIcon(1, 1);
    ApplicationRecord record = NewRecord();
    ReadProgramFile(source, Options(3), record, u"c:\\k\\tool.exe");
    EXPECT_EQ(record.pictureName, u"C:\\Temp\\icon.bmp");

    FakeSource readOnly;
    readOnly.hasIcon = true;
    readOnly.icon = RedIcon(1, 1);
    readOnly.writable = false;
    ApplicationRecord other = NewRecord();
    ReadProgramFile(readOnly, Options(3), other, u"c:\\k\\tool.exe");
    EXPECT_TRUE(other.pictureName.empty());
    EXPECT_TRUE(other.picture.empty());
}

TEST(ReadProgramFile, ProductNameCannotLeadThePictureOutOfTheTempFolder) {
    FakeSource source;
    source.values[u"ProductName"] = u"..\\..\\Windows\\System32\\evil";
    source.hasIcon = true;
    source.icon = RedIcon(1, 1);
    ApplicationRecord record = NewRecord();
    ReadProgramFile(source, Options(3), record, u"c:\\k\\tool.exe");
    EXPECT_EQ(record.program, u"..\\..\\Windows\\System32\\evil");
    EXPECT_EQ(record.pictureName, u"C:\\Temp\\.._.._Windows_System32_evil.bmp");
}

TEST(ProgramFileHelpers, SpacesFoldersAndNames) {
    std::u16string text = U("a b\u00A0\u2003\u0085\v\f");
    TrimTrailingSpace(text);
    EXPECT_EQ(text, u"a b");
    std::u16string blank = u" \t\r\n";
    TrimTrailingSpace(blank);
    EXPECT_EQ(blank, u"");
    EXPECT_FALSE(IsSpaceCharacter(u'\u200B'));  // zero width space is not white space
    EXPECT_FALSE(IsSpaceCharacter(u'x'));

    EXPECT_EQ(FolderOfPath(u"c:\\a\\b/c.exe"), u"c:\\a\\b");
    EXPECT_EQ(FolderOfPath(u"c.exe"), u"");
    EXPECT_EQ(FolderOfPath(u"\\c.exe"), u"");

    EXPECT_EQ(SafeFileName(u"A:b*c?d\"e<f>g|h/i\x01"), u"A_b_c_d_e_f_g_h_i_");
    EXPECT_EQ(SafeFileName(u"Office 2003 (SP1)"), u"Office 2003 (SP1)");
}

TEST(Bitmap24, RowsArePaddedAndInvalidImagesGiveNothing) {
    const std::vector<std::uint8_t> bytes = EncodeBitmap24(RedIcon(5, 3));
    // 5 pixels * 3 bytes = 15, padded to 16 per row.
    ASSERT_EQ(bytes.size(), 54u + 16u * 3u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[2], bytes.size() & 0xFF);
    EXPECT_EQ(bytes[10], 54);
    EXPECT_TRUE(EncodeBitmap24(platform::Image{}).empty());
    platform::Image broken = RedIcon(2, 2);
    broken.pixels.pop_back();
    EXPECT_TRUE(EncodeBitmap24(broken).empty());
}

}  // namespace
}  // namespace kodrin::discovery
