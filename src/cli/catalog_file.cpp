#include "cli/catalog_file.h"

#include <cstdint>
#include <vector>

#include "catalog/catalog_crypto.h"
#include "catalog/catalog_document.h"
#include "catalog/markup.h"
#include "platform/files.h"

namespace kodrin::cli {

LoadStatus LoadCatalogFile(std::u16string_view path, Workspace& workspace, const PasswordFn& password, bool add,
                           bool* formatProblem) {
    if (formatProblem) *formatProblem = false;
    if (!platform::FileExists(path)) return LoadStatus::Missing;
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(path, bytes)) return LoadStatus::Unreadable;
    if (!add) {
        ClearCatalog(workspace.catalog);
        workspace.settings.password.clear();
    }
    if (bytes.empty()) return LoadStatus::Ok;

    MarkupReader reader;
    reader.SetBytes(bytes.data(), bytes.size());
    if (!reader.FindRoot(kRootTag)) {
        // An encrypting save always writes whole 16-byte blocks.
        if (bytes.size() % 16 != 0) return LoadStatus::Foreign;
        const std::optional<std::u16string> answer = password ? password(path) : std::nullopt;
        if (!answer || answer->empty()) return LoadStatus::NoPassword;
        std::optional<std::u16string> document = DecryptDocument(*answer, bytes);
        if (!document) return LoadStatus::WrongPassword;
        reader.SetText(std::move(*document));
        if (!reader.FindRoot(kRootTag)) return LoadStatus::WrongPassword;
        workspace.settings.password = *answer;
    }
    if (!reader.FindRoot(kDataVersionTag)) {
        return workspace.settings.password.empty() ? LoadStatus::Foreign : LoadStatus::WrongPassword;
    }
    const DocumentReadResult result = ReadCatalogDocument(reader, workspace.catalog, workspace.settings);
    if (formatProblem) *formatProblem = result.formatProblem;
    return LoadStatus::Ok;
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
