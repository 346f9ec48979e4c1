// Search for Applications (command 3211): dialog 1600 asks where to search,
// whether the built-in filter list sorts what is found and which media name
// the new records get; the scan then walks the folder tree on the progress
// dialog's worker and adds every program file to the catalog under the
// catalog lock.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "catalog/catalog.h"
#include "catalog/settings.h"
#include "discovery/scan.h"

namespace QvLibrary {
class QvApp;
class ProgressDialog;
}  // namespace QvLibrary

namespace kodrin::app {

// What dialog 1600 chose.
struct ScanChoice {
    discovery::ScanRequest request;
    bool erase = false;  // Yes to "erase your current Kodrin before scanning"
};

// Runs dialog 1600 (owned by owner); nothing when cancelled. An "Other"
// folder that is empty or does not exist is refused with a message, and the
// dialog stays open; so does Cancel at the erase question.
std::optional<ScanChoice> AskScanChoice(const QvLibrary::QvApp& app, HWND owner);

class ApplicationScanner {
public:
    // busy(true) is called before the job starts and busy(false) after it
    // ends: the catalog changes on another thread meanwhile.
    ApplicationScanner(const QvLibrary::QvApp& app, HWND owner, QvLibrary::ProgressDialog& progress,
                       const Settings& settings, Catalog& catalog, std::function<void(bool busy)> busy = {})
        : app_(app), owner_(owner), progress_(progress), settings_(settings), catalog_(catalog), busy_(std::move(busy)) {}

    // The dialog and, after OK, the scan. True when the catalog changed: it
    // was erased, or a program file was read.
    bool Run();
    // The scan alone, as the dialog's choice asks.
    bool Scan(const ScanChoice& choice);

    std::uint32_t FoldersVisited() const { return foldersVisited_; }
    std::uint32_t FoldersCounted() const { return foldersCounted_; }

private:
    const QvLibrary::QvApp& app_;
    HWND owner_;
    QvLibrary::ProgressDialog& progress_;
    const Settings& settings_;
    Catalog& catalog_;
    std::function<void(bool)> busy_;
    std::uint32_t foldersVisited_ = 0;
    std::uint32_t foldersCounted_ = 0;
};

}  // namespace kodrin::app
