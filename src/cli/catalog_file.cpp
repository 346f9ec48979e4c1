#include "cli/catalog_file.h"

#include <cstdint>
#include <filesystem>
#include <vector>

#include "catalog/catalog_document.h"
#include "catalog/markup.h"
#include "platform/files.h"

namespace kodrin::cli {

std::u16string FullPath(std::u16string_view path) {
    if (path.empty()) return std::u16string();
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(std::u16string(path)), ec);
    if (ec) return std::u16string(path);
    return full.u16string();
}

std::optional<std::u16string> CommandLineUser::AskPassword() {
    asked = true;
    std::optional<std::u16string> answer = password_ ? password_(path_) : std::nullopt;
    answered = answer && !answer->empty();
    return answer;
}

namespace {

// The root element's opening tag appears in the bytes, as 8-bit text or as
// UTF-16LE. Cipher text holds it only by a chance of about 2^-56 a place.
bool HasRootOpening(const std::vector<std::uint8_t>& bytes) {
    std::string narrow = "<";
    for (const char16_t c : kRootTag) narrow += static_cast<char>(c);
    std::string wide;
    for (const char c : narrow) {
        wide += c;
        wide += '\0';
    }
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return all.find(narrow) != std::string_view::npos || all.find(wide) != std::string_view::npos;
}

}  // namespace

LoadStatus ProbeCatalogFile(std::u16string_view path, bool* empty) {
    if (empty) *empty = false;
    if (!platform::FileExists(path)) return LoadStatus::Missing;
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(path, bytes)) return LoadStatus::Unreadable;
    if (bytes.empty()) {
        if (empty) *empty = true;
        return LoadStatus::Ok;
    }
    MarkupReader probe;
    probe.SetBytes(bytes.data(), bytes.size());
    if (!probe.FindRoot(kRootTag)) {
        // Not a whole plain document: the start of one, cut off, is never
        // taken for cipher text (which would ask for a password).
        if (HasRootOpening(bytes)) return LoadStatus::Truncated;
        if (bytes.size() % 16 != 0) return LoadStatus::Foreign;
    }
    return LoadStatus::Ok;
}

LoadStatus FailedLoadStatus(const CommandLineUser& user) {
    if (!user.asked) return LoadStatus::Foreign;
    if (!user.answered) return LoadStatus::NoPassword;
    return LoadStatus::WrongPassword;
}

LoadStatus LoadCatalogFile(std::u16string_view path, Workspace& workspace, const PasswordFn& password, bool add,
                           bool* formatProblem) {
    if (formatProblem) *formatProblem = false;
    bool empty = false;
    if (const LoadStatus probe = ProbeCatalogFile(path, &empty); probe != LoadStatus::Ok) return probe;
    if (empty) {
        // As the program treats it: nothing to load.
        if (!add) {
            ClearCatalog(workspace.catalog);
            workspace.settings.password.clear();
        }
        return LoadStatus::Ok;
    }
    CommandLineUser user(password, path);
    const LoadResult result = LoadCatalog(path, workspace.catalog, workspace.settings, add, &user);
    if (formatProblem) *formatProblem = result.formatProblem;
    return result.ok ? LoadStatus::Ok : FailedLoadStatus(user);
}

bool SaveCatalogFile(Workspace& workspace, std::u16string_view path, std::u16string_view filter,
                     std::u16string_view dataFile) {
    SaveOptions options;
    const std::u16string fullDataFile = FullPath(dataFile);
    options.dataFile = fullDataFile;
    return SaveCatalog(workspace.catalog, workspace.settings, FullPath(path), filter, options);
}

}  // namespace kodrin::cli
