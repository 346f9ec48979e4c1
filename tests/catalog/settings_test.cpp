// The settings: defaults, the OPTIONS element as written and as read, the
// survival of every choice across a save and a load, and change detection.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "catalog/dates.h"
#include "catalog/markup.h"
#include "catalog/settings.h"
#include "platform/screen.h"

namespace kodrin {
namespace {

std::u16string Written(const Settings& s) {
    MarkupWriter w;
    WriteOptions(s, w);
    EXPECT_EQ(w.OpenCount(), 0u);
    return w.TakeResult();
}

// The names of the elements inside OPTIONS, in document order.
std::vector<std::u16string> ElementNames(std::u16string doc) {
    MarkupReader r;
    r.SetText(std::move(doc));
    std::vector<std::u16string> names;
    while (auto tag = r.NextTag()) {
        const std::u16string name(*tag);
        if (r.IsClosing() || name == u"OPTIONS") continue;
        names.push_back(name);
        r.ElementText(name);
    }
    return names;
}

// Reads the body of an OPTIONS element (everything after its opening tag).
bool ReadBody(Settings& s, std::u16string body, int screenWidth = 1920) {
    MarkupReader r;
    r.SetText(std::move(body));
    return ReadOptions(s, r, screenWidth);
}

// Writes `s` and reads the result into fresh defaults.
Settings RoundTrip(const Settings& s) {
    MarkupReader r;
    r.SetText(Written(s));
    const auto open = r.NextTag();
    EXPECT_TRUE(open && *open == u"OPTIONS");
    Settings back = NewSettings();
    EXPECT_TRUE(ReadOptions(back, r, 1920));
    return back;
}

// One change per stored option away from its default, including the values
// the writer stores as an empty element (false, 0, empty text, empty list).
const std::vector<std::pair<const char*, std::function<void(Settings&)>>>& Changes() {
    static const std::vector<std::pair<const char*, std::function<void(Settings&)>>> changes = {
        {"COLOR1", [](Settings& s) { s.colors[0] = 255; }},
        {"COLOR2", [](Settings& s) { s.colors[1] = 0; }},
        {"COLOR3", [](Settings& s) { s.colors[2] = 16777215; }},
        {"COLOR3 0", [](Settings& s) { s.colors[2] = 0; }},
        {"COLOR4 0", [](Settings& s) { s.colors[3] = 0; }},
        {"COLOR5 0", [](Settings& s) { s.colors[4] = 0; }},
        {"COLOR4", [](Settings& s) { s.colors[3] = 65280; }},
        {"COLOR5", [](Settings& s) { s.colors[4] = 1; }},
        {"TOOLBAR", [](Settings& s) { s.toolbar = {9, 255, 0}; }},
        {"TOOLBAR empty", [](Settings& s) { s.toolbar.clear(); }},
        {"REPORTLABELS", [](Settings& s) { s.reportLabels = {49, 1, 2, 48}; }},
        {"REPORTLABELS empty", [](Settings& s) { s.reportLabels.clear(); }},
        {"REPORTSIZE", [](Settings& s) { s.reportSize = {72, 8, 10, 9}; }},
        {"REPORTSIZE empty", [](Settings& s) { s.reportSize.clear(); }},
        {"DATESTYLE 1", [](Settings& s) { SetDateStyle(s, 1); }},
        {"DATESTYLE 5", [](Settings& s) { SetDateStyle(s, 5); }},
        {"DATESTYLE 6", [](Settings& s) { SetDateStyle(s, 6); }},
        {"COLS", [](Settings& s) { s.cols = {20, 3, 49}; }},
        {"COLS empty", [](Settings& s) { s.cols.clear(); }},
        {"COLWIDTHS",
         [](Settings& s) {
             for (int i = 0; i < kFieldCount; ++i) s.colWidths[i] = i * 10 - 1;
         }},
        {"CAPTION1", [](Settings& s) { s.captions[0] = u"Warranty & <notes>"; }},
        {"CAPTION2 empty", [](Settings& s) { s.captions[1].clear(); }},
        {"CAPTION3", [](Settings& s) { s.captions[2] = u"Seat count"; }},
        {"CAPTION1 empty", [](Settings& s) { s.captions[0].clear(); }},
        {"CAPTION3 empty", [](Settings& s) { s.captions[2].clear(); }},
        {"CAPTION4 empty", [](Settings& s) { s.captions[3].clear(); }},
        {"CAPTION5 empty", [](Settings& s) { s.captions[4].clear(); }},
        {"CAPTION4", [](Settings& s) { s.captions[3] = u"Custom Data #5"; }},
        {"CAPTION5", [](Settings& s) { s.captions[4] = u"x"; }},
        {"CLEARCOMMAND", [](Settings& s) { s.clearCommand = u"<erase>"; }},
        {"CLEARCOMMAND empty", [](Settings& s) { s.clearCommand.clear(); }},
        {"CURCATEGORY", [](Settings& s) { s.curCategory = u"Games"; }},
        {"MEDIATYPE", [](Settings& s) { s.mediaType = u"DVD"; }},
        {"LASTPATH", [](Settings& s) { s.lastPath = u"C:\\Data\\Kodrin & co.dat"; }},
        {"REPORTFONT", [](Settings& s) { s.reportFont = u"times new roman"; }},
        {"REPORTFONT empty", [](Settings& s) { s.reportFont.clear(); }},
        {"X", [](Settings& s) { s.x = -8; }},
        {"Y", [](Settings& s) { s.y = 12; }},
        {"WIDTH", [](Settings& s) { s.width = 800; }},
        {"HEIGHT", [](Settings& s) { s.height = 600; }},
        {"EDITX", [](Settings& s) { s.editX = 10; }},
        {"EDITY", [](Settings& s) { s.editY = 20; }},
        {"EDITWIDTH", [](Settings& s) { s.editWidth = 410; }},
        {"EDITHEIGHT", [](Settings& s) { s.editHeight = 520; }},
        {"PASSWORDEXPIRE", [](Settings& s) { s.passwordExpire = 12; }},
        {"PASSWORDEXPIRE never", [](Settings& s) { s.passwordExpire = 0; }},
        {"SORTCOL", [](Settings& s) { s.sortCol = 2; }},
        {"SPLITTER", [](Settings& s) { s.splitter = 310; }},
        {"SPLITTER 0", [](Settings& s) { s.splitter = 0; }},
        {"PASSWORDLENGTH", [](Settings& s) { s.passwordLength = 24; }},
        {"PASSWORDLENGTH 0", [](Settings& s) { s.passwordLength = 0; }},
        {"REPORTSORT", [](Settings& s) { s.reportSort = kNoField; }},
        {"REPORTSORT 0", [](Settings& s) { s.reportSort = 0; }},
        {"REPORTTYPE", [](Settings& s) { s.reportType = kReportLabels; }},
        {"REPORTTYPE 0", [](Settings& s) { s.reportType = 0; }},
        {"ALLOWLOWER", [](Settings& s) { s.allowLower = false; }},
        {"ALLOWNUMBER", [](Settings& s) { s.allowNumber = false; }},
        {"ALLOWSYMBOL", [](Settings& s) { s.allowSymbol = true; }},
        {"ALLOWUPPER", [](Settings& s) { s.allowUpper = false; }},
        {"AUTODATE", [](Settings& s) { s.autoDate = false; }},
        {"REPORTSOFTWARE", [](Settings& s) { s.reportSoftware = true; }},
        {"BACKUP", [](Settings& s) { s.backup = false; }},
        {"CLICKLOGIN", [](Settings& s) { s.clickLogin = false; }},
        {"DEFAULTBROWSER", [](Settings& s) { s.defaultBrowser = true; }},
        {"HIDESTATUS", [](Settings& s) { s.hideStatus = true; }},
        {"SHOWHIDDEN", [](Settings& s) { s.showHidden = true; }},
        {"SHOWHINT", [](Settings& s) { s.showHint = false; }},
        {"SHOWPASSWORDS", [](Settings& s) { s.showPasswords = true; }},
        {"SORTREVERSE", [](Settings& s) { s.sortReverse = true; }},
        {"STOREIMAGES", [](Settings& s) { s.storeImages = false; }},
        {"TRACK", [](Settings& s) { s.track = false; }},
        {"BROWSER", [](Settings& s) { s.browser = 2; }},
    };
    return changes;
}

TEST(NewSettings, Defaults) {
    const Settings s = NewSettings();
    EXPECT_EQ(s.toolbar, (std::vector<std::uint8_t>{0, 1, 2, 15, 255, 3, 10, 12, 13, 255, 17, 4, 255, 5, 6, 7, 8, 9}));
    EXPECT_EQ(s.reportLabels, (std::vector<std::int32_t>{3, 20, 0, 0}));
    EXPECT_EQ(s.reportSize, (std::vector<std::int32_t>{16, 12, 12, 12}));
    EXPECT_EQ(s.cols, (std::vector<std::uint8_t>{3, 20, 27, 22, 7, 32}));
    EXPECT_EQ(s.colWidths, std::vector<std::int32_t>(49, -1));
    EXPECT_EQ(s.captions[0], u"Custom Data #1");
    EXPECT_EQ(s.captions[4], u"Custom Data #5");
    EXPECT_EQ(s.clearCommand, u"***");
    EXPECT_EQ(s.reportFont, u"Times New Roman");
    EXPECT_EQ(s.dateStyle, 3u);
    EXPECT_EQ(s.today, FormatDate(Today(), 3));
    EXPECT_TRUE(s.password.empty());
}

TEST(WriteOptions, AllDefaultsWriteOnlyTheAlwaysWrittenKeys) {
    const std::u16string text = Written(NewSettings());
    EXPECT_EQ(ElementNames(text),
              (std::vector<std::u16string>{u"TOOLBAR", u"REPORTLABELS", u"REPORTSIZE", u"COLS", u"COLWIDTHS", u"X", u"Y",
                                           u"WIDTH", u"HEIGHT", u"EDITX", u"EDITY", u"EDITWIDTH", u"EDITHEIGHT",
                                           u"SPLITTER"}));
    std::u16string widths;
    for (int i = 0; i < 49; ++i) widths += i ? u",-1" : u"-1";
    EXPECT_EQ(text, u"<OPTIONS>\r\n"
                    u"<TOOLBAR>0,1,2,15,255,3,10,12,13,255,17,4,255,5,6,7,8,9</TOOLBAR>\r\n"
                    u"<REPORTLABELS>3,20,0,0</REPORTLABELS>\r\n"
                    u"<REPORTSIZE>16,12,12,12</REPORTSIZE>\r\n"
                    u"<COLS>3,20,27,22,7,32</COLS>\r\n"
                    u"<COLWIDTHS>" + widths + u"</COLWIDTHS>\r\n"
                    u"<X/>\r\n<Y/>\r\n<WIDTH/>\r\n<HEIGHT/>\r\n"
                    u"<EDITX/>\r\n<EDITY/>\r\n<EDITWIDTH/>\r\n<EDITHEIGHT/>\r\n"
                    u"<SPLITTER>20</SPLITTER>\r\n"
                    u"</OPTIONS>\r\n");
}

TEST(WriteOptions, EveryKeyInItsOrder) {
    Settings s = NewSettings();
    for (const auto& [name, change] : Changes()) {
        if (std::string(name).find(' ') == std::string::npos) change(s);
    }
    SetDateStyle(s, 5);
    EXPECT_EQ(ElementNames(Written(s)),
              (std::vector<std::u16string>{
                  u"COLOR1",        u"COLOR2",         u"COLOR3",        u"COLOR4",         u"COLOR5",
                  u"TOOLBAR",       u"REPORTLABELS",   u"REPORTSIZE",    u"DATESTYLE",      u"COLS",
                  u"COLWIDTHS",     u"CAPTION1",       u"CAPTION3",      u"CAPTION4",       u"CAPTION5",
                  u"CLEARCOMMAND",  u"CURCATEGORY",    u"MEDIATYPE",     u"LASTPATH",       u"REPORTFONT",
                  u"X",             u"Y",              u"WIDTH",         u"HEIGHT",         u"EDITX",
                  u"EDITY",         u"EDITWIDTH",      u"EDITHEIGHT",    u"PASSWORDEXPIRE", u"SORTCOL",
                  u"SPLITTER",      u"PASSWORDLENGTH", u"REPORTSORT",    u"REPORTTYPE",     u"ALLOWLOWER",
                  u"ALLOWNUMBER",   u"ALLOWSYMBOL",    u"ALLOWUPPER",    u"AUTODATE",       u"REPORTSOFTWARE",
                  u"BACKUP",        u"CLICKLOGIN",     u"DEFAULTBROWSER", u"HIDESTATUS",    u"SHOWHIDDEN",
                  u"SHOWHINT",      u"SHOWPASSWORDS",  u"SORTREVERSE",   u"STOREIMAGES",    u"TRACK",
                  u"BROWSER"}));
    const std::u16string text = Written(s);
    EXPECT_NE(text.find(u"<BACKUP/>\r\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"<ALLOWSYMBOL>1</ALLOWSYMBOL>\r\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"<CAPTION1>Warranty &amp; &lt;notes&gt;</CAPTION1>\r\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"<X>-8</X>\r\n"), std::u16string::npos);
}

TEST(WriteOptions, TextsEqualToTheirDefaultIgnoringCaseAreNotWritten) {
    Settings s = NewSettings();
    s.captions[0] = u"CUSTOM DATA #1";
    s.clearCommand = u"***";
    const std::u16string text = Written(s);
    EXPECT_EQ(text.find(u"CAPTION1"), std::u16string::npos);
    EXPECT_EQ(text.find(u"CLEARCOMMAND"), std::u16string::npos);
    EXPECT_EQ(RoundTrip(s).captions[0], u"Custom Data #1");
    // The report font compares exactly.
    s.reportFont = u"TIMES NEW ROMAN";
    EXPECT_EQ(RoundTrip(s).reportFont, u"TIMES NEW ROMAN");
}

// Every setting in every form the writer produces (its default, a chosen
// value, and false, 0, the empty text or the empty list, which it writes as
// an empty element) reads back as written. An empty element that the
// writer never produced for a key keeps the default, as a missing one does;
// an element without any text (<X></X>) also leaves the value.
TEST(ReadOptions, EveryWrittenFormReadsBackAndOtherEmptyElementsKeepTheDefault) {
    std::vector<std::u16string> written, writtenEmpty;  // keys the writer wrote, and wrote as <KEY/>
    const auto check = [&](const Settings& one) {
        const std::u16string text = Written(one);
        for (const std::u16string& name : ElementNames(text)) {
            written.push_back(name);
            if (text.find(u"<" + name + u"/>") != std::u16string::npos) writtenEmpty.push_back(name);
        }
        const Settings back = RoundTrip(one);
        EXPECT_FALSE(SettingsChanged(back, one));
        return back;
    };
    check(NewSettings());
    Settings all = NewSettings();
    for (const auto& [name, change] : Changes()) {
        SCOPED_TRACE(name);
        Settings one = NewSettings();
        change(one);
        ASSERT_TRUE(SettingsChanged(one, NewSettings()));
        check(one);
        change(all);
    }
    const Settings back = check(all);
    EXPECT_FALSE(back.backup);
    EXPECT_FALSE(back.track);
    EXPECT_FALSE(back.allowLower);
    EXPECT_EQ(back.passwordExpire, 0);
    EXPECT_EQ(back.clearCommand, u"");
    EXPECT_EQ(back.captions[1], u"");
    EXPECT_TRUE(back.toolbar.empty());
    EXPECT_EQ(back.today, FormatDate(Today(), 6));

    // Every key, alone as an empty element.
    ASSERT_EQ(std::set<std::u16string>(written.begin(), written.end()).size(), 52u);
    for (const std::u16string& name : written) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        Settings s = NewSettings();
        ASSERT_TRUE(ReadBody(s, u"<" + name + u"/></OPTIONS>"));
        if (std::find(writtenEmpty.begin(), writtenEmpty.end(), name) == writtenEmpty.end()) {
            EXPECT_FALSE(SettingsChanged(s, NewSettings()));
        }
    }
    Settings s = NewSettings();
    ASSERT_TRUE(ReadBody(s, u"<COLWIDTHS/><DATESTYLE/><SORTCOL/><SHOWHIDDEN/><CURCATEGORY/></OPTIONS>"));
    EXPECT_FALSE(SettingsChanged(s, NewSettings()));
    EXPECT_EQ(s.colWidths, std::vector<std::int32_t>(49, -1));
    EXPECT_EQ(s.dateStyle, 3u);
    s.x = 50;
    ASSERT_TRUE(ReadBody(s, u"<X></X><CLEARCOMMAND></CLEARCOMMAND><TRACK></TRACK></OPTIONS>"));
    EXPECT_EQ(s.x, 50);
    EXPECT_EQ(s.clearCommand, u"***");
    EXPECT_TRUE(s.track);
}

TEST(ReadOptions, AbsentAndUnknownKeysLeaveValuesAndNamesIgnoreCase) {
    Settings s = NewSettings();
    s.curCategory = u"Games";
    s.sortReverse = true;
    ASSERT_TRUE(ReadBody(s, u"\r\n<FUTUREKEY>7</FUTUREKEY>\r\n<backup/>\r\n<Splitter>99</Splitter>\r\n</options>\r\n"));
    EXPECT_EQ(s.curCategory, u"Games");
    EXPECT_TRUE(s.sortReverse);
    EXPECT_FALSE(s.backup);
    EXPECT_EQ(s.splitter, 99);
}

TEST(ReadOptions, DateStyle) {
    Settings s = NewSettings();
    ASSERT_TRUE(ReadBody(s, u"<DATESTYLE>2</DATESTYLE></OPTIONS>"));
    EXPECT_EQ(s.dateStyle, 6u);
    EXPECT_EQ(s.today, FormatDate(Today(), 6));
    ASSERT_TRUE(ReadBody(s, u"<DATESTYLE>5</DATESTYLE></OPTIONS>"));
    EXPECT_EQ(s.dateStyle, 5u);
    EXPECT_EQ(s.today, FormatDate(Today(), 5));
}

TEST(ReadOptions, ListsAreCapped) {
    Settings s = NewSettings();
    ASSERT_TRUE(ReadBody(s, u"<COLS>3,60</COLS><REPORTLABELS>50,1</REPORTLABELS><REPORTSIZE>100,8</REPORTSIZE>"
                            u"<TOOLBAR>255,3</TOOLBAR></OPTIONS>"));
    EXPECT_EQ(s.cols, (std::vector<std::uint8_t>{3, 49}));
    EXPECT_EQ(s.reportLabels, (std::vector<std::int32_t>{49, 1}));
    EXPECT_EQ(s.reportSize, (std::vector<std::int32_t>{72, 8}));
    EXPECT_EQ(s.toolbar, (std::vector<std::uint8_t>{255, 3}));
}

TEST(ReadOptions, ColumnWidthsArePaddedAndCappedAtTheScreen) {
    Settings s = NewSettings();
    ASSERT_TRUE(ReadBody(s, u"<COLWIDTHS>100</COLWIDTHS></OPTIONS>"));
    std::vector<std::int32_t> expected(49, 0);
    expected[0] = 100;
    EXPECT_EQ(s.colWidths, expected);

    ASSERT_TRUE(ReadBody(s, u"<COLWIDTHS>5000,-1,1024,1025</COLWIDTHS></OPTIONS>", 1024));
    expected = std::vector<std::int32_t>(49, 0);
    expected[0] = 1024;
    expected[1] = -1;
    expected[2] = 1024;
    expected[3] = 1024;
    EXPECT_EQ(s.colWidths, expected);

    // More entries than fields: the list keeps one width per field.
    std::u16string many = u"<COLWIDTHS>";
    for (int i = 0; i < 60; ++i) many += i ? u",7" : u"7";
    ASSERT_TRUE(ReadBody(s, many + u"</COLWIDTHS></OPTIONS>"));
    EXPECT_EQ(s.colWidths, std::vector<std::int32_t>(49, 7));

    // Without a width the platform's screen decides.
    MarkupReader r;
    r.SetText(u"<COLWIDTHS>50000</COLWIDTHS></OPTIONS>");
    ASSERT_TRUE(ReadOptions(s, r));
    const int screen = platform::ScreenWidth();
    EXPECT_EQ(s.colWidths[0], screen > 0 ? std::min(screen, 50000) : 50000);
}

TEST(ReadOptions, MostNegativeWindowNumberReadsAsItsNeighbour) {
    Settings s = NewSettings();
    ASSERT_TRUE(ReadBody(s, u"<X>-2147483648</X><EDITHEIGHT>-2147483648</EDITHEIGHT><SPLITTER>-2147483647</SPLITTER>"
                            u"<Y>-5</Y><COLOR1>-2147483648</COLOR1></OPTIONS>"));
    EXPECT_EQ(s.x, -2147483647);
    EXPECT_EQ(s.editHeight, -2147483647);
    EXPECT_EQ(s.splitter, -2147483647);
    EXPECT_EQ(s.y, -5);
    EXPECT_EQ(s.colors[0], 2147483648u);  // colours are not window numbers
}

TEST(ReadOptions, MissingClosingTagKeepsWhatWasRead) {
    Settings s = NewSettings();
    EXPECT_FALSE(ReadBody(s, u"<SPLITTER>40</SPLITTER><BACKUP/>"));
    EXPECT_EQ(s.splitter, 40);
    EXPECT_FALSE(s.backup);
    Settings t = NewSettings();
    EXPECT_FALSE(ReadBody(t, u"<TRACK/></KODRIN>"));  // another closing tag does not end the block
    EXPECT_FALSE(t.track);
    Settings e = NewSettings();
    EXPECT_FALSE(ReadBody(e, u""));
    EXPECT_FALSE(SettingsChanged(e, NewSettings()));
}

TEST(SettingsChanged, PasswordAndTodayAreNotCompared) {
    Settings a = NewSettings();
    Settings b = NewSettings();
    b.password = u"secret";
    b.today = u"01/01/1999";
    EXPECT_FALSE(SettingsChanged(a, b));
    b.curCategory = u"games";
    a.curCategory = u"Games";
    EXPECT_TRUE(SettingsChanged(a, b));  // texts compare exactly
}

TEST(CopyStoredOptions, CopiesEverythingButThePassword) {
    Settings from = NewSettings();
    for (const auto& [name, change] : Changes()) change(from);
    from.password = u"from";
    from.today = u"today";
    Settings to = NewSettings();
    to.password = u"kept";
    CopyStoredOptions(from, to);
    EXPECT_FALSE(SettingsChanged(from, to));
    EXPECT_EQ(to.password, u"kept");
    EXPECT_EQ(to.today, u"today");
}

TEST(SetDateStyle, OnlyChoosableStylesAreKept) {
    Settings s = NewSettings();
    for (int style : {1, 3, 5}) {
        SetDateStyle(s, style);
        EXPECT_EQ(s.dateStyle, static_cast<std::uint32_t>(style));
        EXPECT_EQ(s.today, FormatDate(Today(), style));
    }
    for (int style : {0, 2, 4, 6, 7, -3, 1000}) {
        SetDateStyle(s, style);
        EXPECT_EQ(s.dateStyle, 6u);
    }
}

}  // namespace
}  // namespace kodrin
