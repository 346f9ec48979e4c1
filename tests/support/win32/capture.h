// Pictures of windows as the screen shows them, for the documentation's
// screenshots.
#pragma once

#include <windows.h>

#include <string>

#include "platform/image.h"

namespace kodrin::test {

// The window's rectangle on the screen as opaque RGBA pixels.
platform::Image CaptureWindow(HWND window);

// Captures the window into folder\name as a PNG. False when it could not be
// written.
bool SaveWindowPicture(HWND window, const std::u16string& folder, const std::u16string& name);

// The folder named by KODRIN_SCREENSHOTS, "" when unset.
std::u16string ScreenshotFolder();

}  // namespace kodrin::test
