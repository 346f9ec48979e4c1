// The program's update checks: one application's PAD file (Check
// Application) and every PAD file of a tab at once (Check All for Updates),
// each under the progress dialog with Cancel, and the result list of Check
// All (dialog 2150).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "update/check_all.h"
#include "update/pad_check.h"

namespace QvLibrary {
class QvApp;
class ProgressDialog;
}  // namespace QvLibrary

namespace kodrin::app {

// The checking's time-outs; tests shorten them.
struct CheckLimits {
    int connectTimeoutMs = update::kDefaultTimeoutMs;
    int receiveTimeoutMs = update::kDefaultTimeoutMs;
};

// Checks one PAD file on the progress dialog's worker. None when the user
// cancelled.
std::optional<update::PadCheckResult> RunPadCheck(QvLibrary::ProgressDialog& progress, HWND owner,
                                                  const std::u16string& padUrl, const std::u16string& installed,
                                                  const CheckLimits& limits = {});

// Checks every item, 8 at a time, on the progress dialog's worker, telling
// how many are done. None when the user cancelled.
std::optional<std::vector<update::PadCheckResult>> RunCheckAll(QvLibrary::ProgressDialog& progress, HWND owner,
                                                               const std::vector<update::CheckItem>& items,
                                                               const CheckLimits& limits = {});

// One row of the result list.
struct CheckRow {
    std::u16string application;
    std::u16string installed;
    update::PadCheckResult result;
};

// The result list (dialog 2150): application, installed and published
// version and the outcome of each check, a summary line, and "Open download
// page" for a selected row whose PAD file names one. notStored adds that a
// read-only catalog kept nothing.
void ShowCheckResults(const QvLibrary::QvApp& app, HWND owner, const std::vector<CheckRow>& rows, bool notStored);

}  // namespace kodrin::app
