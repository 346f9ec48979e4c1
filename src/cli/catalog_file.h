// kodrin-cli's access to data files: a catalog with its settings, loaded and
// saved the way the program does it, with the password supplied by the
// command line instead of a dialog.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/catalog.h"
#include "catalog/datafile.h"
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
    Truncated,      // a plain catalog that breaks off before its end
    NoPassword,     // encrypted, and no password was supplied
    WrongPassword,  // the password did not give a catalog (or the file is foreign)
};

// The path made absolute (against the current folder); unchanged when that
// fails. Files are replaced through their full paths: Wine's ReplaceFileW
// fails on a relative one.
std::u16string FullPath(std::u16string_view path);

// Answers the data file's questions from the command line: the password
// from the caller's sources (asked at most as the load needs it); a failed
// load is never retried; messages are dropped (the caller reports).
class CommandLineUser final : public DataFileUser {
public:
    CommandLineUser(PasswordFn password, std::u16string_view path)
        : password_(std::move(password)), path_(path) {}
    std::optional<std::u16string> AskPassword() override;
    void Inform(int) override {}
    LoadFailureAnswer AskAfterFailedLoad() override { return LoadFailureAnswer::Quit; }

    bool asked = false;     // a password was asked for
    bool answered = false;  // and a non-empty one was given

private:
    PasswordFn password_;
    std::u16string path_;
};

// What can be told about a file before loading it: Missing, Unreadable,
// Truncated (the opening of a plain document without its end), Foreign
// (neither a plain document nor whole 16-byte cipher blocks), or Ok.
// empty is set for a file of no bytes.
LoadStatus ProbeCatalogFile(std::u16string_view path, bool* empty = nullptr);

// Why a load that asked `user` failed, once the probe found nothing wrong.
LoadStatus FailedLoadStatus(const CommandLineUser& user);

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
