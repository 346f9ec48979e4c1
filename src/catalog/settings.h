// The program's settings. They travel with the catalog in the data file's
// OPTIONS element; only the data file's path lives in the registry.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/dates.h"

namespace kodrin {

class MarkupReader;
class MarkupWriter;

constexpr int kFieldCount = 49;  // FieldId 0..48; 49 means "no field"
constexpr int kNoField = 49;

// Report types, as the control ids of their radio buttons.
constexpr std::uint32_t kReportSummary = 2017;
constexpr std::uint32_t kReportDetail = 2008;
constexpr std::uint32_t kReportLabels = 2010;

struct Settings {
    // Stored options, in the order they are written.
    std::array<std::uint32_t, 5> colors{0, 3371960, 10461023, 32767, 1513356};  // COLOR1..COLOR5
    std::vector<std::uint8_t> toolbar;       // TOOLBAR: button indexes, 255 a separator
    std::vector<std::int32_t> reportLabels;  // REPORTLABELS: FieldId per label line
    std::vector<std::int32_t> reportSize;    // REPORTSIZE: point size per label line
    std::uint32_t dateStyle = 3;             // DATESTYLE: 1, 3, 5 or 6
    std::vector<std::uint8_t> cols;          // COLS: displayed FieldIds in display order
    std::vector<std::int32_t> colWidths;     // COLWIDTHS: 49 widths indexed by FieldId, -1 = even share
    std::array<std::u16string, 5> captions;  // CAPTION1..CAPTION5
    std::u16string clearCommand;             // CLEARCOMMAND
    std::u16string curCategory;              // CURCATEGORY
    std::u16string mediaType;                // MEDIATYPE
    std::u16string lastPath;                 // LASTPATH
    std::u16string reportFont;               // REPORTFONT
    std::int32_t x = 0, y = 0, width = 0, height = 0;                          // X, Y, WIDTH, HEIGHT
    std::int32_t editX = 0, editY = 0, editWidth = 0, editHeight = 0;          // EDITX.. (right/bottom edges)
    std::int32_t passwordExpire = 6;         // PASSWORDEXPIRE, months; 0 never
    std::int32_t sortCol = 0;                // SORTCOL
    std::int32_t splitter = 20;              // SPLITTER
    std::uint32_t passwordLength = 16;       // PASSWORDLENGTH
    std::uint32_t reportSort = 3;            // REPORTSORT, 49 none
    std::uint32_t reportType = kReportSummary;  // REPORTTYPE
    bool allowLower = true;                  // ALLOWLOWER
    bool allowNumber = true;                 // ALLOWNUMBER
    bool allowSymbol = false;                // ALLOWSYMBOL
    bool allowUpper = true;                  // ALLOWUPPER
    bool autoDate = true;                    // AUTODATE
    bool reportSoftware = false;             // REPORTSOFTWARE
    bool backup = true;                      // BACKUP
    bool clickLogin = true;                  // CLICKLOGIN
    bool defaultBrowser = false;             // DEFAULTBROWSER
    bool hideStatus = false;                 // HIDESTATUS
    bool showHidden = false;                 // SHOWHIDDEN
    bool showHint = true;                    // SHOWHINT
    bool showPasswords = false;              // SHOWPASSWORDS
    bool sortReverse = false;                // SORTREVERSE
    bool storeImages = true;                 // STOREIMAGES
    bool track = true;                       // TRACK
    std::uint32_t browser = 0;               // BROWSER: the login's browser, 0 automatic (weblogin/browser_choice.h)

    // Not stored.
    std::u16string password;  // the catalog password
    std::u16string today;     // today's date in the current style, set with the style
};

// Every option at its default; today's text in style 3.
Settings NewSettings();
void WriteOptions(const Settings& settings, MarkupWriter& writer);
// Reads after the opening OPTIONS tag up to its closing tag; false when the
// document ends first. Stored column widths are capped at screenWidth.
bool ReadOptions(Settings& settings, MarkupReader& reader, int screenWidth);
bool ReadOptions(Settings& settings, MarkupReader& reader);  // the platform's screen width
bool SettingsChanged(const Settings& current, const Settings& lastSaved);
void CopyStoredOptions(const Settings& from, Settings& to);
void SetDateStyle(Settings& settings, int style);

}  // namespace kodrin
