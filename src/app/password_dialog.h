// The "Password Generator" dialog (template 1500): random passwords from the
// character classes the options allow, shown and put on the clipboard.
#pragma once

#include <windows.h>

#include "catalog/settings.h"

namespace QvLibrary {
class QvApp;
}

namespace kodrin::app {

// Modal dialog 1500 owned by owner (null: the application's main window),
// which also owns the clipboard while a password is put there. Each press of
// "Generate Password and Copy to Clipboard" stores the four class options and
// PASSWORDLENGTH into settings, makes a password, puts it on the clipboard
// and shows it; those changes stay when the dialog is then cancelled. True
// when the dialog ended with OK (a login dialog then takes the clipboard's
// text as the new password).
bool RunPasswordGenerator(const QvLibrary::QvApp& app, HWND owner, kodrin::Settings& settings);

}  // namespace kodrin::app
