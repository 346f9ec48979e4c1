#include "app/portable/start_path.h"

namespace kodrin::app {

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
    std::vector<std::u16string> arguments;
    std::u16string current;
    bool inQuotes = false;
    bool inArgument = false;
    for (const char16_t c : line) {
        if (c == u'"') {
            inQuotes = !inQuotes;
            inArgument = true;
            continue;
        }
        if (!inQuotes && IsSpace(c)) {
            if (inArgument) arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
            continue;
        }
        current += c;
        inArgument = true;
    }
    if (inArgument) arguments.push_back(std::move(current));
    return arguments;
}

std::optional<std::u16string> CatalogFileArgument(const std::vector<std::u16string>& arguments) {
    std::optional<std::u16string> found;
    for (const std::u16string& argument : arguments) {
        if (argument.size() < 2) continue;
        if (argument[0] != u'/' && argument[0] != u'-') continue;
        if (argument[1] != u'F' && argument[1] != u'f') continue;
        found = argument.substr(2);
    }
    return found;
}

std::u16string ChooseStartPath(const StartPlaces& places) {
    if (const auto named = CatalogFileArgument(SplitCommandLine(places.commandLine))) {
        if (places.remember) places.remember(*named);
    }
    std::u16string path = places.remembered ? places.remembered() : std::u16string();
    if (path.empty() && places.fileBesideProgram) path = places.fileBesideProgram();
    if (path.empty() && places.defaultFile) path = places.defaultFile();
    return path;
}

}  // namespace kodrin::app
