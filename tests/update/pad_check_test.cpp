// The PAD check: reading PAD files of every shape, the version comparison,
// and what a check stores in the record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/dates.h"
#include "catalog/record.h"
#include "catalog/settings.h"
#include "support/text.h"
#include "update/pad_check.h"

namespace kodrin::update {
namespace {

using test::U;

TEST(PadCheck, VersionComparisonFollowsTheComponentRule) {
    struct Case {
        const char16_t* installed;
        const char16_t* published;
        bool newer;
    };
    const Case cases[] = {
        {u"1.9", u"2.0", true},        {u"2.0.5", u"2.1.0", true},   {u"1.2", u"1.2.1", false},
        {u"3.0", u"2.9.9", false},     {u"", u"anything", true},     {u"", u"", true},
        {u"1.10", u"1.9", false},      {u"1.9", u"1.10", true},      {u"4.0", u" 4. 1 ", true},
        {u"2.0b", u"2.1beta3", true},  {u"-1.0", u"0.0", true},      {u"1..2", u"1.0.3", true},
        {u"1.2.", u"1.2", false},      {u"\"1.5\".2", u"1.5.3", true}, {u"7", u"7.0.1", false},
        {u"99999999999999999999", u"1", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsNewerVersion(c.installed, c.published), c.newer)
            << platform::ToUtf8(c.installed) << " vs " << platform::ToUtf8(c.published);
    }
    const std::pair<const char16_t*, long long> integers[] = {
        {u"10b", 10}, {u"beta3", 3}, {u"-1", -1}, {u"", 0}, {u"2a7", 2}, {u"x-y5", -5}, {u"rc", 0}, {u"007", 7},
    };
    for (const auto& [part, value] : integers) EXPECT_EQ(LenientInteger(part), value) << platform::ToUtf8(part);
}

// A PAD document in the shape of the public description: the root
// XML_DIZ_INFO, the MASTER_PAD_VERSION_INFO of its format version, the
// program's Program_Info and its Web_Info.
std::string PadDocument(const std::string& formatVersion, const std::string& versionElement,
                        const std::string& downloadUrl, const std::string& lineEnd = "\r\n") {
    const std::string& n = lineEnd;
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>" + n + "<XML_DIZ_INFO>" + n +
           "  <MASTER_PAD_VERSION_INFO>" + n + "    <MASTER_PAD_VERSION>" + formatVersion +
           "</MASTER_PAD_VERSION>" + n + "  </MASTER_PAD_VERSION_INFO>" + n + "  <Company_Info>" + n +
           "    <Company_Name>Example Software</Company_Name>" + n + "  </Company_Info>" + n + "  <Program_Info>" +
           n + "    <Program_Name>Example Editor</Program_Name>" + n + "    " + versionElement + n +
           "    <Program_Release_Month>03</Program_Release_Month>" + n + "  </Program_Info>" + n +
           "  <Web_Info>" + n + "    <Download_URLs>" + n + "      <Primary_Download_URL>" + downloadUrl +
           "</Primary_Download_URL>" + n + "    </Download_URLs>" + n + "  </Web_Info>" + n + "</XML_DIZ_INFO>" + n;
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> Utf16(const std::string& ascii, bool bigEndian, bool mark) {
    std::vector<std::uint8_t> bytes;
    if (mark) bytes = bigEndian ? std::vector<std::uint8_t>{0xFE, 0xFF} : std::vector<std::uint8_t>{0xFF, 0xFE};
    for (const char c : ascii) {
        const auto b = static_cast<std::uint8_t>(c);
        if (bigEndian) bytes.insert(bytes.end(), {0, b});
        else bytes.insert(bytes.end(), {b, 0});
    }
    return bytes;
}

TEST(PadCheck, EveryShapeOfPadFileGivesItsVersionAndAddress) {
    const std::string url = "http://www.example.com/download/editor-setup.exe";
    const std::string page = "http://www.example.com/download.html";
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        CheckOutcome outcome;  // installed version 2.0
        const char* published;
        const char* download;
    };
    std::string cp1252 = PadDocument("3.11", "<Program_Version>2.5</Program_Version>", url);
    cp1252.replace(cp1252.find("Example Software"), 16, "Soci\xE9t\xE9 \x93" "Example\x94");
    std::string mixed = PadDocument("2.0", "<Program_Version>2.1.3</Program_Version>", url, "\n");
    mixed.replace(mixed.find("\n  <Company_Info>"), 1, "\r");
    mixed.replace(mixed.find("\n  <Web_Info>"), 1, "\r\n");
    const Case cases[] = {
        {"PAD 1.15", Bytes(PadDocument("1.15", "<Program_Version>2.0.1</Program_Version>", url)),
         CheckOutcome::Current, "2.0.1", url.c_str()},
        {"PAD 2.0", Bytes(PadDocument("2.0", "<Program_Version>2.1</Program_Version>", url)), CheckOutcome::Newer,
         "2.1", url.c_str()},
        {"PAD 3.11 in Windows-1252", Bytes(cp1252), CheckOutcome::Newer, "2.5", url.c_str()},
        {"PAD 4.0 with a byte-order mark",
         Bytes("\xEF\xBB\xBF" + PadDocument("4.0", "<Program_Version>10.0</Program_Version>", url)),
         CheckOutcome::Newer, "10.0", url.c_str()},
        {"UTF-16LE with mark", Utf16(PadDocument("3.11", "<Program_Version>3.0</Program_Version>", url), false, true),
         CheckOutcome::Newer, "3.0", url.c_str()},
        {"UTF-16BE with mark", Utf16(PadDocument("3.11", "<Program_Version>1.0</Program_Version>", url), true, true),
         CheckOutcome::Current, "1.0", url.c_str()},
        {"UTF-16LE without mark",
         Utf16(PadDocument("4.0", "<Program_Version>2.0.0.1</Program_Version>", url), false, false),
         CheckOutcome::Current, "2.0.0.1", url.c_str()},
        {"self-closed version", Bytes(PadDocument("4.0", "<Program_Version />", url)), CheckOutcome::NoVersion, "",
         ""},
        {"empty version", Bytes(PadDocument("4.0", "<Program_Version></Program_Version>", url)),
         CheckOutcome::NoVersion, "", ""},
        {"tag in lower case", Bytes(PadDocument("2.0", "<program_version>9.0</program_version>", url)),
         CheckOutcome::NoVersion, "", ""},
        {"mixed line ends", Bytes(mixed), CheckOutcome::Newer, "2.1.3", url.c_str()},
        {"download address is a web page", Bytes(PadDocument("3.11", "<Program_Version>2.2</Program_Version>", page)),
         CheckOutcome::Newer, "2.2", page.c_str()},
        {"blanks kept", Bytes(PadDocument("3.11", "<Program_Version> 4.1 </Program_Version>", url)),
         CheckOutcome::Newer, " 4.1 ", url.c_str()},
        {"no closing tag", Bytes("<XML_DIZ_INFO><Program_Version>2.9"), CheckOutcome::Newer, "2.9", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PadCheckResult result = EvaluatePadText(PadTextFromBytes(c.bytes), u"2.0");
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.published, U(c.published));
        EXPECT_EQ(result.downloadUrl, U(c.download));
    }
    // An HTML page (a site's start page served with 200) is no PAD file.
    const PadCheckResult html = EvaluatePadText(
        PadTextFromBytes(Bytes("<!DOCTYPE html>\n<html><head><title>Example</title></head><body>Program_Version "
                               "2.0</body></html>")),
        u"1.0");
    EXPECT_EQ(html.outcome, CheckOutcome::Failed);
    EXPECT_EQ(html.failure, CheckFailure::NotPad);
    EXPECT_EQ(OutcomeWord(html), "failed: not a PAD file");
}

// A check stores the published version as the latest version and leaves
// the installed one alone, so the row shows as out of date until the
// program itself is updated.
TEST(PadCheck, ANewerVersionBecomesTheLatestVersionAndTheInstalledOneStays) {
    Settings settings = NewSettings();
    ApplicationRecord record = NewRecord();
    record.path = u"C:\\Program Files\\Editor\\editor.exe";
    record.version = u"1.9";
    const Date today = Today();
    const std::u16string todayText = FormatDate(today, static_cast<int>(settings.dateStyle));

    PadCheckResult newer = EvaluatePadText(u"<Program_Version>2.0</Program_Version>", record.version);
    ASSERT_EQ(newer.outcome, CheckOutcome::Newer);
    EXPECT_TRUE(StoreCheckResult(record, newer, true, todayText));
    EXPECT_EQ(record.version, u"1.9");
    EXPECT_EQ(record.latestVersion, u"2.0");
    EXPECT_EQ(record.dateLastChecked, todayText);
    EXPECT_EQ(RecordStatus(settings, record, today), RecordStatusCode::OutOfDate);

    // Checked again: still out of date, nothing new to store.
    EXPECT_FALSE(StoreCheckResult(record, newer, true, todayText));
    // Once the program is updated, a check that finds it current clears the colour.
    record.version = u"2.0.0";
    const PadCheckResult current = EvaluatePadText(u"<Program_Version>2.0</Program_Version>", record.version);
    ASSERT_EQ(current.outcome, CheckOutcome::Current);
    EXPECT_TRUE(StoreCheckResult(record, current, false, u"never"));
    EXPECT_EQ(record.latestVersion, u"2.0.0");
    EXPECT_NE(RecordStatus(settings, record, today), RecordStatusCode::OutOfDate);
    EXPECT_EQ(record.dateLastChecked, todayText);  // no date without AUTODATE

    // Without an answer nothing is stored, not even the date.
    PadCheckResult failed;
    failed.failure = CheckFailure::TimedOut;
    EXPECT_FALSE(StoreCheckResult(record, failed, true, u"01/01/2030"));
    PadCheckResult none;
    none.outcome = CheckOutcome::NoVersion;
    EXPECT_TRUE(StoreCheckResult(record, none, true, u"01/01/2030"));
    EXPECT_EQ(record.latestVersion, u"2.0.0");
    EXPECT_EQ(record.dateLastChecked, u"01/01/2030");
}

}  // namespace
}  // namespace kodrin::update
