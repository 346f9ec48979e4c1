#include "app/web_login.h"

#include <objbase.h>

#include "app/login_dialogs.h"
#include "framework/progress_dialog.h"
#include "weblogin/browser_login.h"
#include "weblogin/win32/login_browsers.h"

namespace kodrin::app {

bool RunBrowserLogin(const QvLibrary::QvApp& app, HWND owner, const Settings& settings, const std::u16string& url,
                     std::vector<LoginField>* fields, bool autoLogin) {
    weblogin::LoginServices services;
    const weblogin::BrowserSetup setup = weblogin::LoginBrowserSetup(settings.browser, app.GetUserDataFolder());
    services.createBrowser = [setup] { return weblogin::CreateLoginBrowser(setup); };
    services.openWithShell = [&app](const std::u16string& address) { return app.OpenDocument(address); };
    // The question is owned by the main window and stays above the browser.
    services.selectField = SelectFieldWithDialog(app, app.MainWindow());
    services.runWorker = [&app, owner](const std::function<bool(const weblogin::Progress&)>& work,
                                       const std::function<void()>& cancel) {
        QvLibrary::ProgressDialog progress(app);
        return progress.Run(
            owner, weblogin::kOpeningWebSiteText,
            [&work](QvLibrary::ProgressDialog& dialog) {
                // Every browser call stays on this thread, in its own apartment.
                const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
                const bool result = work([&dialog](int percent) { dialog.SetProgress(percent); });
                if (SUCCEEDED(com)) ::CoUninitialize();
                dialog.Finish(!result);
            },
            cancel);
    };
    weblogin::BrowserLogin login(std::move(services));
    return login.Run(url, fields, autoLogin);
}

}  // namespace kodrin::app
