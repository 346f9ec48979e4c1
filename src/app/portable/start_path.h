// Which catalog file the program opens at start: the command line, the
// remembered name, a file beside the program or a default name.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kodrin::app {

// Splits a command line into arguments at runs of white space outside
// double quotes; the quotes themselves are dropped.
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);
// The catalog file named by the last argument made of "/F" or "-f" (either
// case) directly followed by the path; nothing when no argument names one.
std::optional<std::u16string> CatalogFileArgument(const std::vector<std::u16string>& arguments);

// Where the start looks; the program backs these with the registry value
// "Filename" and the folders.
struct StartPlaces {
    std::u16string commandLine;
    // Reads and writes the remembered catalog file name.
    std::function<std::u16string()> remembered;
    std::function<void(const std::u16string&)> remember;
    // The first catalog file in the program's folder, or empty.
    std::function<std::u16string()> fileBesideProgram;
    // The per-user default, asked only when nothing else names a file.
    std::function<std::u16string()> defaultFile;
};

// A file named on the command line is remembered first; then the
// remembered name, a file beside the program or the default, in that order.
std::u16string ChooseStartPath(const StartPlaces& places);

}  // namespace kodrin::app
