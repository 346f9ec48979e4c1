// Process entry of kodrin.exe: the main window class, the hidden main window
// (the window shows itself once the catalog is loaded) and the message loop
// with the accelerator table. The program updates itself as it was built to
// (update_settings.cpp).
#include <windows.h>
#include <objbase.h>

#include "app/main_window.h"
#include "app/update_settings.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The shell's "open" may use COM objects of the window thread.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int code = 1;
    kodrin::app::MainWindowConfig config;
    config.programUpdate = kodrin::app::BuildUpdateSetup();
    if (kodrin::app::RegisterMainWindowClass(instance)) {
        if (HWND window = kodrin::app::CreateMainWindow(instance, config)) {
            code = kodrin::app::RunMessageLoop(window, instance);
        }
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return code;
}
