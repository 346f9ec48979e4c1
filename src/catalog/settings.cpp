// The settings object: defaults, the OPTIONS element of the data file, change
// detection and the date style.
#include "catalog/settings.h"

#include <climits>
#include <tuple>

#include "catalog/markup.h"
#include "catalog/strings.h"
#include "platform/screen.h"
#include "platform/text.h"

namespace kodrin {
namespace {

constexpr int kFirstCaptionId = 4409;  // "Custom Data #1" .. "Custom Data #5"
constexpr std::u16string_view kOptions = u"OPTIONS";
constexpr std::u16string_view kDefaultClearCommand = u"***";
constexpr std::u16string_view kDefaultReportFont = u"Times New Roman";

constexpr std::array<std::uint32_t, 5> kDefaultColors{0, 3371960, 10461023, 32767, 1513356};
constexpr std::array<std::u16string_view, 5> kColorKeys{u"COLOR1", u"COLOR2", u"COLOR3", u"COLOR4", u"COLOR5"};
constexpr std::array<std::u16string_view, 5> kCaptionKeys{u"CAPTION1", u"CAPTION2", u"CAPTION3", u"CAPTION4",
                                                          u"CAPTION5"};

std::u16string DefaultCaption(std::size_t index) { return LoadText(kFirstCaptionId + static_cast<int>(index)); }

// Every stored option, for comparison. Texts compare exactly.
auto StoredOptions(const Settings& s) {
    return std::tie(s.colors, s.toolbar, s.reportLabels, s.reportSize, s.dateStyle, s.cols, s.colWidths, s.captions,
                    s.clearCommand, s.curCategory, s.mediaType, s.lastPath, s.reportFont, s.x, s.y, s.width, s.height,
                    s.editX, s.editY, s.editWidth, s.editHeight, s.passwordExpire, s.sortCol, s.splitter,
                    s.passwordLength, s.reportSort, s.reportType, s.allowLower, s.allowNumber, s.allowSymbol,
                    s.allowUpper, s.autoDate, s.reportSoftware, s.backup, s.clickLogin, s.defaultBrowser,
                    s.hideStatus, s.showHidden, s.showHint, s.showPasswords, s.sortReverse, s.storeImages, s.track,
                    s.browser);
}

// Option keys by kind.
struct FlagKey {
    std::u16string_view name;
    bool Settings::*member;
};
struct IntKey {
    std::u16string_view name;
    std::int32_t Settings::*member;
};
struct UnsignedKey {
    std::u16string_view name;
    std::uint32_t Settings::*member;
};
struct TextKey {
    std::u16string_view name;
    std::u16string Settings::*member;
};

// The window numbers and the other signed integers, in the order written.
constexpr IntKey kIntKeys[] = {
    {u"X", &Settings::x},
    {u"Y", &Settings::y},
    {u"WIDTH", &Settings::width},
    {u"HEIGHT", &Settings::height},
    {u"EDITX", &Settings::editX},
    {u"EDITY", &Settings::editY},
    {u"EDITWIDTH", &Settings::editWidth},
    {u"EDITHEIGHT", &Settings::editHeight},
    {u"PASSWORDEXPIRE", &Settings::passwordExpire},
    {u"SORTCOL", &Settings::sortCol},
    {u"SPLITTER", &Settings::splitter},
};

constexpr UnsignedKey kUnsignedKeys[] = {
    {u"PASSWORDLENGTH", &Settings::passwordLength},
    {u"REPORTSORT", &Settings::reportSort},
    {u"REPORTTYPE", &Settings::reportType},
    {u"BROWSER", &Settings::browser},
};

constexpr TextKey kTextKeys[] = {
    {u"CLEARCOMMAND", &Settings::clearCommand}, {u"CURCATEGORY", &Settings::curCategory},
    {u"MEDIATYPE", &Settings::mediaType},       {u"LASTPATH", &Settings::lastPath},
    {u"REPORTFONT", &Settings::reportFont},
};

// The flags in the order written, each with its default.
struct Flag {
    FlagKey key;
    bool byDefault;
};
constexpr Flag kFlags[] = {
    {{u"ALLOWLOWER", &Settings::allowLower}, true},
    {{u"ALLOWNUMBER", &Settings::allowNumber}, true},
    {{u"ALLOWSYMBOL", &Settings::allowSymbol}, false},
    {{u"ALLOWUPPER", &Settings::allowUpper}, true},
    {{u"AUTODATE", &Settings::autoDate}, true},
    {{u"REPORTSOFTWARE", &Settings::reportSoftware}, false},
    {{u"BACKUP", &Settings::backup}, true},
    {{u"CLICKLOGIN", &Settings::clickLogin}, true},
    {{u"DEFAULTBROWSER", &Settings::defaultBrowser}, false},
    {{u"HIDESTATUS", &Settings::hideStatus}, false},
    {{u"SHOWHIDDEN", &Settings::showHidden}, false},
    {{u"SHOWHINT", &Settings::showHint}, true},
    {{u"SHOWPASSWORDS", &Settings::showPasswords}, false},
    {{u"SORTREVERSE", &Settings::sortReverse}, false},
    {{u"STOREIMAGES", &Settings::storeImages}, true},
    {{u"TRACK", &Settings::track}, true},
};

// The keys written even at their default (the eight window numbers and
// SPLITTER); every other number, text and flag is written only when it
// differs from its default.
bool AlwaysWritten(std::int32_t Settings::*member) {
    for (std::size_t i = 0; i < 8; ++i) {
        if (kIntKeys[i].member == member) return true;
    }
    return member == &Settings::splitter;
}

// An empty element (<X/>) is the form in which the writer stores false, 0,
// the empty text and the empty list, so it reads back as that value, but
// only for a key that the writer can write that way: a key written only
// when it differs from its default, whose default is that very value
// (SORTCOL, CURCATEGORY, SHOWHIDDEN, ...), is never written empty, and
// neither are DATESTYLE (1, 3, 5 or 6) and COLWIDTHS (always 49 widths).
// Those keep their value, as a missing element does. False when the name
// is no option key.
bool ReadEmptyKey(Settings& s, std::u16string_view name) {
    static const Settings defaults = NewSettings();
    for (std::size_t i = 0; i < kColorKeys.size(); ++i) {
        if (SameName(name, kColorKeys[i])) {
            if (kDefaultColors[i] != 0) s.colors[i] = 0;
            return true;
        }
    }
    for (const UnsignedKey& key : kUnsignedKeys) {
        if (SameName(name, key.name)) {
            if (defaults.*key.member != 0) s.*key.member = 0;
            return true;
        }
    }
    for (const IntKey& key : kIntKeys) {
        if (SameName(name, key.name)) {
            if (AlwaysWritten(key.member) || defaults.*key.member != 0) s.*key.member = 0;
            return true;
        }
    }
    for (const Flag& flag : kFlags) {
        if (SameName(name, flag.key.name)) {
            if (flag.byDefault) s.*flag.key.member = false;
            return true;
        }
    }
    for (const TextKey& key : kTextKeys) {
        if (SameName(name, key.name)) {
            if (!(defaults.*key.member).empty()) (s.*key.member).clear();
            return true;
        }
    }
    for (std::size_t i = 0; i < kCaptionKeys.size(); ++i) {
        if (SameName(name, kCaptionKeys[i])) {
            s.captions[i].clear();
            return true;
        }
    }
    if (SameName(name, u"TOOLBAR")) {
        s.toolbar.clear();
    } else if (SameName(name, u"COLS")) {
        s.cols.clear();
    } else if (SameName(name, u"REPORTLABELS")) {
        s.reportLabels.clear();
    } else if (SameName(name, u"REPORTSIZE")) {
        s.reportSize.clear();
    } else if (!SameName(name, u"COLWIDTHS") && !SameName(name, u"DATESTYLE")) {
        return false;
    }
    return true;
}

// Applies one element to the settings; false when the name is no option key.
bool ReadKey(Settings& s, std::u16string_view name, std::u16string_view text, int screenWidth) {
    if (text.empty()) return ReadEmptyKey(s, name);
    for (std::size_t i = 0; i < kColorKeys.size(); ++i) {
        if (SameName(name, kColorKeys[i])) {
            s.colors[i] = static_cast<std::uint32_t>(ReadInt(text));
            return true;
        }
    }
    for (const UnsignedKey& key : kUnsignedKeys) {
        if (SameName(name, key.name)) {
            s.*key.member = static_cast<std::uint32_t>(ReadInt(text));
            return true;
        }
    }
    for (const IntKey& key : kIntKeys) {
        if (SameName(name, key.name)) {
            const std::int32_t value = ReadInt(text);
            // The one value without a positive counterpart is read as its neighbour.
            s.*key.member = value == INT32_MIN ? INT32_MIN + 1 : value;
            return true;
        }
    }
    for (const Flag& flag : kFlags) {
        if (SameName(name, flag.key.name)) {
            s.*flag.key.member = ReadBool(text);
            return true;
        }
    }
    for (const TextKey& key : kTextKeys) {
        if (SameName(name, key.name)) {
            s.*key.member = Unescape(text);
            return true;
        }
    }
    for (std::size_t i = 0; i < kCaptionKeys.size(); ++i) {
        if (SameName(name, kCaptionKeys[i])) {
            s.captions[i] = Unescape(text);
            return true;
        }
    }
    if (SameName(name, u"TOOLBAR")) {
        s.toolbar = ReadByteList(text, 255);
    } else if (SameName(name, u"COLS")) {
        s.cols = ReadByteList(text, kNoField);
    } else if (SameName(name, u"REPORTLABELS")) {
        s.reportLabels = ReadIntList(text, kNoField);
    } else if (SameName(name, u"REPORTSIZE")) {
        s.reportSize = ReadIntList(text, 72);
    } else if (SameName(name, u"COLWIDTHS")) {
        s.colWidths = ReadIntList(text, screenWidth > 0 ? screenWidth : INT32_MAX);
        s.colWidths.resize(kFieldCount, 0);
    } else if (SameName(name, u"DATESTYLE")) {
        SetDateStyle(s, ReadInt(text));
    } else {
        return false;
    }
    return true;
}

}  // namespace

Settings NewSettings() {
    Settings s;
    s.colors = kDefaultColors;
    s.toolbar = {0, 1, 2, 15, 255, 3, 10, 12, 13, 255, 17, 4, 255, 5, 6, 7, 8, 9};
    s.reportLabels = {3, 20, 0, 0};
    s.reportSize = {16, 12, 12, 12};
    s.cols = {3, 20, 27, 22, 7, 32};
    s.colWidths.assign(kFieldCount, -1);
    for (std::size_t i = 0; i < s.captions.size(); ++i) s.captions[i] = DefaultCaption(i);
    s.clearCommand = kDefaultClearCommand;
    s.reportFont = kDefaultReportFont;
    SetDateStyle(s, 3);
    return s;
}

void WriteOptions(const Settings& s, MarkupWriter& w) {
    w.Open(kOptions);
    for (std::size_t i = 0; i < s.colors.size(); ++i) {
        if (s.colors[i] != kDefaultColors[i]) w.Unsigned(kColorKeys[i], s.colors[i]);
    }
    w.ByteList(u"TOOLBAR", s.toolbar);
    w.IntList(u"REPORTLABELS", s.reportLabels);
    w.IntList(u"REPORTSIZE", s.reportSize);
    if (s.dateStyle != 3) w.Unsigned(u"DATESTYLE", s.dateStyle);
    w.ByteList(u"COLS", s.cols);
    w.IntList(u"COLWIDTHS", s.colWidths);
    for (std::size_t i = 0; i < s.captions.size(); ++i) {
        if (!platform::EqualIgnoreCase(s.captions[i], DefaultCaption(i))) w.Text(kCaptionKeys[i], s.captions[i]);
    }
    if (!platform::EqualIgnoreCase(s.clearCommand, kDefaultClearCommand)) w.Text(u"CLEARCOMMAND", s.clearCommand);
    if (!s.curCategory.empty()) w.Text(u"CURCATEGORY", s.curCategory);
    if (!s.mediaType.empty()) w.Text(u"MEDIATYPE", s.mediaType);
    if (!s.lastPath.empty()) w.Text(u"LASTPATH", s.lastPath);
    if (s.reportFont != kDefaultReportFont) w.Text(u"REPORTFONT", s.reportFont);
    // The eight window numbers always; the rest only when not at the default.
    for (std::size_t i = 0; i < 8; ++i) w.Int(kIntKeys[i].name, s.*kIntKeys[i].member);
    if (s.passwordExpire != 6) w.Int(u"PASSWORDEXPIRE", s.passwordExpire);
    if (s.sortCol != 0) w.Int(u"SORTCOL", s.sortCol);
    w.Int(u"SPLITTER", s.splitter);
    if (s.passwordLength != 16) w.Unsigned(u"PASSWORDLENGTH", s.passwordLength);
    if (s.reportSort != 3) w.Unsigned(u"REPORTSORT", s.reportSort);
    if (s.reportType != kReportSummary) w.Unsigned(u"REPORTTYPE", s.reportType);
    for (const Flag& flag : kFlags) {
        const bool value = s.*flag.key.member;
        if (value != flag.byDefault) w.Bool(flag.key.name, value);
    }
    // The login's browser, after the flags.
    if (s.browser != 0) w.Unsigned(u"BROWSER", s.browser);
    w.Close();
}

bool ReadOptions(Settings& settings, MarkupReader& reader, int screenWidth) {
    while (const auto tag = reader.NextTag()) {
        if (reader.IsClosing()) {
            if (SameName(*tag, kOptions)) return true;
            continue;
        }
        const std::u16string name(*tag);
        // No text at all (a closing tag that does not match, or <X></X>)
        // leaves the value as it is.
        if (const auto text = reader.ElementText(name)) ReadKey(settings, name, *text, screenWidth);
    }
    return false;
}

bool ReadOptions(Settings& settings, MarkupReader& reader) {
    return ReadOptions(settings, reader, platform::ScreenWidth());
}

bool SettingsChanged(const Settings& current, const Settings& lastSaved) {
    return StoredOptions(current) != StoredOptions(lastSaved);
}

void CopyStoredOptions(const Settings& from, Settings& to) {
    std::u16string password = std::move(to.password);
    to = from;
    to.password = std::move(password);
}

void SetDateStyle(Settings& settings, int style) {
    settings.dateStyle = (style == 1 || style == 3 || style == 5) ? static_cast<std::uint32_t>(style) : 6u;
    settings.today = FormatDate(Today(), static_cast<int>(settings.dateStyle));
}

}  // namespace kodrin
