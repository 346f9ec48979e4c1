#include "cli/catalog_file.h"

#include <cstdint>
#include <vector>

#include "catalog/catalog_crypto.h"
#include "catalog/catalog_document.h"
#include "catalog/markup.h"
#include "platform/files.h"

namespace kodrin::cli {
namespace {

// Until the data file's own LoadCatalog is linked in.
LoadResult InterimLoadCatalog(std::u16string_view path, Catalog& catalog, Settings& settings, bool add, DataFileUser* user) {
    LoadResult result;
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(path, bytes)) return result;
    if (!add) {
        ClearCatalog(catalog);
        settings.password.clear();
    }
    MarkupReader reader;
    reader.SetBytes(bytes.data(), bytes.size());
    if (!reader.FindRoot(kRootTag)) {
        std::optional<std::u16string> answer = user ? user->AskPassword() : std::nullopt;
        if (!answer || answer->empty()) return result;
        std::optional<std::u16string> document = DecryptDocument(*answer, bytes);
        if (!document) return result;
        reader.SetText(std::move(*document));
        if (!reader.FindRoot(kRootTag)) return result;
        settings.password = *answer;
    }
    if (!reader.FindRoot(kDataVersionTag)) return result;
    result.formatProblem = ReadCatalogDocument(reader, catalog, settings).formatProblem;
    result.ok = true;
    return result;
}

}  // namespace

std::optional<std::u16string> CommandLineUser::AskPassword() {
    asked = true;
    std::optional<std::u16string> answer = password_ ? password_(path_) : std::nullopt;
    answered = answer && !answer->empty();
    return answer;
}

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
    if (!probe.FindRoot(kRootTag) && bytes.size() % 16 != 0) return LoadStatus::Foreign;
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
    const LoadResult result = InterimLoadCatalog(path, workspace.catalog, workspace.settings, add, &user);
    if (formatProblem) *formatProblem = result.formatProblem;
    return result.ok ? LoadStatus::Ok : FailedLoadStatus(user);
}

bool SaveCatalogFile(Workspace& workspace, std::u16string_view path, std::u16string_view filter,
                     std::u16string_view) {
    const std::u16string document = WriteCatalogDocument(workspace.catalog, workspace.settings, filter);
    std::vector<std::uint8_t> bytes;
    if (workspace.settings.password.empty()) {
        bytes = Utf16LeBytes(document);
    } else if (!EncryptDocument(workspace.settings.password, document, bytes)) {
        return false;
    }
    return platform::WriteFileAtomically(path, bytes);
}

}  // namespace kodrin::cli
