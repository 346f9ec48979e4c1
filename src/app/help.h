// The help command: the compiled help document travels inside the program
// (raw data 1006) and is written out before every showing, so that an old or
// damaged copy on the disk never stays in use.
#pragma once

#include <windows.h>

#include <string>

namespace QvLibrary {
class QvApp;
}

namespace kodrin::app {

inline constexpr char16_t kHelpFileName[] = u"Kodrin.chm";

// Writes the help document into folder (which ends with a backslash) as
// Kodrin.chm. Returns the file's path, or "" when the resource is missing or
// the file could not be written.
std::u16string WriteHelpFile(const QvLibrary::QvApp& app, const std::u16string& folder);

// Writes the help document into the all-users data folder and opens it with
// HTML Help at its default topic, owned by owner. The help window, or null
// when the document could not be written or opened.
HWND ShowHelp(const QvLibrary::QvApp& app, HWND owner);

}  // namespace kodrin::app
