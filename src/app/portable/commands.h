// The main window's commands as plain data: the rows of command_table.h
// without their handlers, the enabling rules over a snapshot of the
// selection, and the decision of Check Application. Portable: no window is
// needed to ask which command is on, which key sends it or what it does
// with a record.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace kodrin {
struct ApplicationRecord;
}

namespace kodrin::app {

// When menus and toolbar offer a command. The field rules ask for exactly
// one selected record whose field is filled in.
enum class CommandRule {
    Always,
    Backup,         // the backup file exists and backups are kept
    AnySelected,    // one or more selected records
    EditSelection,  // menus: one selected record; toolbar: one or more
    UserName,
    Organization,
    RegistrationKey,
    SupportEmail,   // menus also offer it for several (mailed one by one)
    HomePage,
    LoginPage,
    Path,
    SupportPage,
    InstallFile,
    WebPassword,
    WebUserName,
    CheckApplication,
};

// The key that sends a command: a virtual key, with Ctrl or alone.
struct Accelerator {
    int virtualKey = 0;  // 0: no key
    bool control = false;
};

inline constexpr int kVirtualKeyDelete = 0x2E;
inline constexpr int kVirtualKeyF1 = 0x70;
inline constexpr int kToolbarButtonSlots = 30;

struct CommandInfo {
    int id;
    bool available;        // this build carries it out
    bool refusedReadOnly;  // a read-only catalog refuses it with "Read Only"
    CommandRule rule;
    int button;            // index among the toolbar's buttons, or -1
    Accelerator key;
};

// Every command, in the table's order.
std::span<const CommandInfo> Commands();
// The command's row; null for an id that is no command.
const CommandInfo* FindCommandInfo(int id);
// The command of toolbar button index, or 0.
int ToolbarButtonCommand(int index);
// How a menu names the key: "Ctrl-Y", "F8", "Del"; empty without a key.
std::u16string ShortcutText(const Accelerator& key);

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

// Whether the menus offer the command; ids without a row are on.
bool MenuEnabled(int commandId, const SelectionSnapshot& snapshot);
// Whether the toolbar offers the command's button; ids without a row are on.
bool ToolbarEnabled(int commandId, const SelectionSnapshot& snapshot);
bool MenuEnabled(CommandRule rule, const SelectionSnapshot& snapshot);
bool ToolbarEnabled(CommandRule rule, const SelectionSnapshot& snapshot);

// What Check Application does with one selected record: an application that
// updates itself is started; otherwise its PAD file is checked (when that
// check can run), else its upgrade page is opened. Nothing with no or
// several selected records. The command is on exactly when this is not
// Nothing.
enum class CheckAction { Nothing, StartApplication, CheckPadFile, OpenUpgradePage };
CheckAction DecideCheckApplication(const SelectionSnapshot& snapshot);

// The mail link of "Email Customer Support" for a record: "mailto:" and the
// support e-mail, then "?subject=" and the application name, and " v" and
// the version when they are set. Nothing without a support e-mail.
std::optional<std::u16string> SupportMailLink(const ApplicationRecord& record);

}  // namespace kodrin::app
