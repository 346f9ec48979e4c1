// The options dialog (template 1800, "Kodrin Options"): the general settings
// on five pages (program, display, passwords, row colours, custom captions)
// and the catalog password. It works on the caller's settings and writes into
// them only when the user confirms with OK.
#pragma once

#include <windows.h>

#include "catalog/settings.h"

namespace QvLibrary {
class QvApp;
}

namespace kodrin::app {

// Modal dialog 1800 owned by owner (null: the application's main window).
// True when it ended with OK; settings (the catalog password included) are
// then updated, otherwise left exactly as they were. "Show Kodrin Messages"
// starts from the message feed's registry value and, when the user changes
// it, is written back there (SetShowMessages) as well as into SHOWHINT.
//
// The dialog does not touch the catalog. On OK the caller compares the date
// style it had before with settings.dateStyle and, when they differ, calls
// ConvertDates(catalog, oldStyle, settings.dateStyle) under CatalogLock
// before refilling the list. Run the dialog itself under no lock.
bool RunOptionsDialog(const QvLibrary::QvApp& app, HWND owner, kodrin::Settings& settings);

// "Show Kodrin Messages" as the message feed keeps it: the string value
// "HintShow" under HKEY_CURRENT_USER\Software\<company>\<program name>.
// Only a number equal to 0 switches the messages off; a missing value or any
// other text leaves them on. Reading has no side effect.
bool ReadShowMessages(const QvLibrary::QvApp& app);
// Writes "HintShow" as "1" or "0"; false when the registry refused it.
bool SetShowMessages(const QvLibrary::QvApp& app, bool show);

}  // namespace kodrin::app
