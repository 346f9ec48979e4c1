// A printer for tests: Wine's PostScript driver on the FILE: port, installed
// into the test's prefix on first use. Its jobs go to the file StartDocW
// names (never without one: the port would wait for a prompt).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kodrin::test {

// The printer's name, installed if need be and made the default printer;
// empty (and a test failure message in error) when it cannot be installed.
std::wstring PostScriptPrinter(std::string* error = nullptr);

// A device context of that printer (portrait, the driver's default paper),
// or null. The caller deletes it.
HDC CreatePostScriptDC(DEVMODEW* mode = nullptr);

// The printer's default device mode (its own size, driver part included).
std::vector<BYTE> PostScriptDevMode();

}  // namespace kodrin::test
