// kodrin-cli's access to data files: a catalog with its settings, loaded and
// saved the way the program does it, with the password supplied by the
// command line instead of a dialog.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/catalog.h"
#include "catalog/settings.h"

namespace kodrin::cli {

// One catalog and the settings that travel with it in its data file.
struct Workspace {
    Workspace() { catalog.options = &settings; }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    Settings settings = NewSettings();
    Catalog catalog;
};

// Supplies the password of an encrypted file (named by path); none when the
// user gave none.
using PasswordFn = std::function<std::optional<std::u16string>(std::u16string_view path)>;

enum class LoadStatus {
    Ok,
    Missing,        // no such file
    Unreadable,     // exists but cannot be read
    Foreign,        // not a catalog (and cannot be an encrypted one)
    NoPassword,     // encrypted, and no password was supplied
    WrongPassword,  // the password did not give a catalog (or the file is foreign)
};

// Reads the data file at path into the workspace. Unless adding, the catalog
// and its password are cleared first. An empty file is an empty catalog. An
// encrypted file takes its password from `password`, which then becomes the
// catalog password; a file that cannot be encrypted (its length is not whole
// 16-byte blocks) is foreign without asking. On failure the workspace may
// hold part of the file. formatProblem (may be null) tells of misplaced
// elements in a file that loaded.
LoadStatus LoadCatalogFile(std::u16string_view path, Workspace& workspace, const PasswordFn& password, bool add,
                           bool* formatProblem = nullptr);

// Writes the catalog as a data file (encrypted when the settings hold a
// password); filter as for a markup export: empty for the whole catalog.
// Pictures kept beside the data file go beside dataFile (empty: path). The
// file is replaced in one step: on failure it is unchanged.
bool SaveCatalogFile(Workspace& workspace, std::u16string_view path, std::u16string_view filter,
                     std::u16string_view dataFile = {});

}  // namespace kodrin::cli
