// The main window's enabling rules and its command line, as plain functions
// of plain data: which commands the menus and the toolbar offer for the
// current selection, and which catalog file the command line names.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kodrin {
struct ApplicationRecord;
}

namespace kodrin::app {

// What the enabling rules look at: the selection and, with exactly one
// selected record, which of its fields are filled in.
struct SelectionSnapshot {
    int count = 0;
    bool userName = false;
    bool organization = false;
    bool registrationKey = false;
    bool supportEmail = false;
    bool homePage = false;
    bool loginPage = false;
    bool path = false;
    bool supportPage = false;
    bool installFile = false;
    bool upgradePage = false;
    bool padFile = false;
    bool webUserName = false;
    bool webPassword = false;
    bool autoUpdate = false;
    // The backup file exists and backups are kept.
    bool backupAvailable = false;
    // The update check of an application's PAD file can run.
    bool padCheckAvailable = false;
};

// The snapshot for count selected rows; single is the selected record when
// exactly one is selected (null otherwise).
SelectionSnapshot TakeSnapshot(const ApplicationRecord* single, int count, bool backupAvailable,
                               bool padCheckAvailable);

// Whether the menus offer the command. Commands without a rule are on.
bool MenuEnabled(int commandId, const SelectionSnapshot& snapshot);
// Whether the toolbar offers the command's button. Commands without a rule
// are on.
bool ToolbarEnabled(int commandId, const SelectionSnapshot& snapshot);
// The commands that have a rule (the menu side).
const std::vector<int>& RuledCommands();

// Splits a command line into arguments at runs of white space outside
// double quotes; the quotes themselves are dropped.
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);
// The catalog file named by the last argument made of "/F" or "-f" (either
// case) directly followed by the path; nothing when no argument names one.
std::optional<std::u16string> CatalogFileArgument(const std::vector<std::u16string>& arguments);

}  // namespace kodrin::app
