// The program's web logins: a BrowserLogin (weblogin/browser_login.h) run
// under the progress dialog with the browser the options choose, the field
// question of the login dialogs and the shell as the fallback.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "catalog/record.h"
#include "catalog/settings.h"
#include "framework/app.h"

namespace kodrin::app {

// Opens url in the program's browser window and, with fields, logs in with
// them (names learned and automation marks set in the list); autoLogin
// submits the form. The modal progress dialog "Opening Web Site..." is owned
// by owner. True as BrowserLogin::Run says.
bool RunBrowserLogin(const QvLibrary::QvApp& app, HWND owner, const Settings& settings, const std::u16string& url,
                     std::vector<LoginField>* fields, bool autoLogin);

}  // namespace kodrin::app
