// Internet Explorer driven over COM automation (IWebBrowser2 and the MSHTML
// document interfaces) as the login's Browser. Every call runs on the
// login's worker thread, whose apartment is single-threaded.
#pragma once

#include <windows.h>
#include <exdisp.h>

#include <memory>

#include "weblogin/browser.h"

namespace kodrin::weblogin {

// A new, hidden Internet Explorer window (class InternetExplorer, local
// server); null when it cannot be created.
std::unique_ptr<Browser> CreateInternetExplorer();

// The login's Browser over a given IWebBrowser2 (held with a reference of its own).
std::unique_ptr<Browser> InternetExplorerBrowser(IWebBrowser2* browser);

}  // namespace kodrin::weblogin
