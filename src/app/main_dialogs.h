// The main window's small dialogs: About (1000), the category name (1200),
// Customize Columns (1300), Export (1400) and Change Category (1700). Each
// fills its controls from its arguments when it opens and gives its result
// back only on OK.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/exchange.h"
#include "string_ids.h"

namespace QvLibrary {
class QvApp;
class ProgressDialog;
}  // namespace QvLibrary

namespace kodrin::app {

// Strings.
inline constexpr int kStrHomePageAddress = STR_MAKER_HOME_PAGE;  // the maker's home page
inline constexpr int kStrNoColumns = STR_NO_COLUMNS;        // "You must select at least one column to display."

// About Kodrin: the name and version information; Home Page opens the
// maker's home page with the shell, Done closes.
void ShowAboutDialog(const QvLibrary::QvApp& app, HWND owner);

// The name of a new category (oldName empty) or the new name of oldName.
// OK is offered only for a name that is not blank and not "<All>"; the
// result is trimmed. Nothing when cancelled.
std::optional<std::u16string> AskCategoryName(const QvLibrary::QvApp& app, HWND owner, const std::u16string& oldName);

// The displayed list columns (FieldIds in display order). On OK, with at
// least one column displayed, columns holds the new order and the result is
// true; an empty list is refused with a warning and the dialog stays open.
bool CustomizeColumns(const QvLibrary::QvApp& app, HWND owner, std::vector<std::uint8_t>& columns);

// A multiple choice among the categories: chosen holds the preselected
// names on entry and, after OK (true), the selected ones in tab order.
bool ChooseCategories(const QvLibrary::QvApp& app, HWND owner, const std::vector<std::u16string>& categories,
                      std::vector<std::u16string>& chosen);

// The Export command: dialog 1400, then the export of file's catalog under
// the catalog lock in progress (titled "Saving Software"). A failed export
// is told with warning 4214 (through file.user when there is one). True when
// a file was written; false when cancelled or failed.
bool RunExport(const QvLibrary::QvApp& app, HWND owner, kodrin::DataFile& file, QvLibrary::ProgressDialog& progress);

// What dialog 1400 chose, without running the export: the options, or
// nothing when cancelled or left without a path. A file chosen with "..."
// becomes settings.lastPath. RunExport's first half.
std::optional<kodrin::ExportOptions> AskExportOptions(const QvLibrary::QvApp& app, HWND owner,
                                                      const kodrin::Catalog& catalog, kodrin::Settings& settings);

}  // namespace kodrin::app
