// The main window as the documentation's pictures show it: on a catalog file
// of its own, 1000 × 600 pixels, with a registry key and an instance name of
// its own so that it never meets a real Kodrin's settings.
#pragma once

#include <windows.h>

#include <string>

#include "app/main_window.h"
#include "catalog/catalog.h"
#include "catalog/datafile.h"
#include "catalog/settings.h"
#include "support/temp_folder.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {

// The settings of the window in the pictures: "<All>", 1000 × 600 at 12, 12.
inline Settings PictureSettings() {
    Settings s = NewSettings();
    s.curCategory = u"<All>";
    s.splitter = 230;
    s.x = 12;
    s.y = 12;
    s.width = 1000;
    s.height = 600;
    return s;
}

// Saves the catalog as "Software.xml" in the folder and opens the main window
// on it; the window once it has started, or null.
inline HWND OpenPictureWindow(const TempFolder& folder, const Catalog& catalog, const Settings& settings) {
    std::u16string path = folder.Path() + u"\\Software.xml";
    for (std::size_t at; (at = path.find(u"\\\\")) != std::u16string::npos;) path.erase(at, 1);
    if (!SaveCatalog(catalog, settings, path, u"")) return nullptr;
    app::MainWindowConfig config;
    config.registryCompany = u"KodrinScreenshot";
    config.instanceName = u"KodrinScreenshot";
    config.commandLine = u"kodrin.exe /F" + path;
    config.userDataFolder = folder.Path() + u"\\";
    config.programFolder = folder.Path();
    if (!app::RegisterMainWindowClass(::GetModuleHandleW(nullptr))) return nullptr;
    HWND window = app::CreateMainWindow(::GetModuleHandleW(nullptr), config);
    if (window == nullptr) return nullptr;
    const bool started = PumpUntil([&] {
        app::MainWindow* w = app::MainWindow::FromHandle(window);
        return w != nullptr && w->Started();
    }, 20000);
    return started ? window : nullptr;
}

inline void ClosePictureWindow(HWND window) {
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    DrainMessages();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KodrinScreenshot");
}

}  // namespace kodrin::test
