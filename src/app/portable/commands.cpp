#include "app/portable/commands.h"

#include "catalog/record.h"
#include "command_table.h"

namespace kodrin::app {

namespace {

// The table's words for the read-only column.
constexpr bool Refuse = true;
constexpr bool Allow = false;

constexpr Accelerator KeyNone() { return {}; }
constexpr Accelerator KeyCtrl(char letter) { return {letter, true}; }
constexpr Accelerator KeyFunction(int number) { return {kVirtualKeyF1 - 1 + number, false}; }
constexpr Accelerator KeyDelete() { return {kVirtualKeyDelete, false}; }

#define KODRIN_HANDLER(member) true
#define KODRIN_NO_HANDLER false
#define KODRIN_KEY_NONE(key) KeyNone()
#define KODRIN_KEY_CTRL(key) KeyCtrl((#key)[0])
#define KODRIN_KEY_FKEY(key) KeyFunction(key)
#define KODRIN_KEY_DEL(key) KeyDelete()
#define KODRIN_COMMAND_INFO(id, handler, readOnly, rule, button, keyKind, key) \
    CommandInfo{id, handler, readOnly, CommandRule::rule, button, KODRIN_KEY_##keyKind(key)},

constexpr CommandInfo kCommands[] = {KODRIN_COMMANDS(KODRIN_COMMAND_INFO)};

#undef KODRIN_COMMAND_INFO
#undef KODRIN_KEY_DEL
#undef KODRIN_KEY_FKEY
#undef KODRIN_KEY_CTRL
#undef KODRIN_KEY_NONE
#undef KODRIN_NO_HANDLER
#undef KODRIN_HANDLER

// For one selected record: is the field the rule asks for filled in.
std::optional<bool> FieldOfRule(CommandRule rule, const SelectionSnapshot& s) {
    switch (rule) {
        case CommandRule::UserName: return s.userName;
        case CommandRule::Organization: return s.organization;
        case CommandRule::RegistrationKey: return s.registrationKey;
        case CommandRule::SupportEmail: return s.supportEmail;
        case CommandRule::HomePage: return s.homePage;
        case CommandRule::LoginPage: return s.loginPage;
        case CommandRule::Path: return s.path;
        case CommandRule::SupportPage: return s.supportPage;
        case CommandRule::InstallFile: return s.installFile;
        case CommandRule::WebPassword: return s.webPassword;
        case CommandRule::WebUserName: return s.webUserName;
        case CommandRule::CheckApplication: return DecideCheckApplication(s) != CheckAction::Nothing;
        default: return std::nullopt;
    }
}

}  // namespace

std::span<const CommandInfo> Commands() { return kCommands; }

const CommandInfo* FindCommandInfo(int id) {
    for (const CommandInfo& command : kCommands) {
        if (command.id == id) return &command;
    }
    return nullptr;
}

int ToolbarButtonCommand(int index) {
    for (const CommandInfo& command : kCommands) {
        if (command.button == index) return command.id;
    }
    return 0;
}

std::u16string ShortcutText(const Accelerator& key) {
    if (key.virtualKey == 0) return {};
    std::u16string text = key.control ? u"Ctrl-" : u"";
    if (key.virtualKey == kVirtualKeyDelete) return text + u"Del";
    if (key.virtualKey >= kVirtualKeyF1 && key.virtualKey < kVirtualKeyF1 + 24) {
        text += u'F';
        const int number = key.virtualKey - kVirtualKeyF1 + 1;
        if (number >= 10) text += static_cast<char16_t>(u'0' + number / 10);
        return text + static_cast<char16_t>(u'0' + number % 10);
    }
    return text + static_cast<char16_t>(key.virtualKey);
}

SelectionSnapshot TakeSnapshot(const ApplicationRecord* single, int count, bool backupAvailable,
                               bool padCheckAvailable) {
    SelectionSnapshot s;
    s.count = count;
    s.backupAvailable = backupAvailable;
    s.padCheckAvailable = padCheckAvailable;
    if (count != 1 || single == nullptr) return s;
    const ApplicationRecord& r = *single;
    s.userName = !r.userName.empty();
    s.organization = !r.organization.empty();
    s.registrationKey = !r.registrationKey.empty();
    s.supportEmail = !r.email.empty();
    s.homePage = !r.homePage.empty();
    s.loginPage = !r.loginPage.empty();
    s.path = !r.path.empty();
    s.supportPage = !r.supportPage.empty();
    s.installFile = !r.installFile.empty();
    s.upgradePage = !r.upgradePage.empty();
    s.padFile = !r.padFile.empty();
    s.webUserName = !WebUserName(r).empty();
    s.webPassword = !WebPassword(r).empty();
    s.autoUpdate = r.autoUpdate;
    return s;
}

bool MenuEnabled(CommandRule rule, const SelectionSnapshot& s) {
    switch (rule) {
        case CommandRule::Always: return true;
        case CommandRule::Backup: return s.backupAvailable;
        case CommandRule::AnySelected: return s.count > 0;
        case CommandRule::EditSelection: return s.count == 1;
        case CommandRule::SupportEmail:
            // Several selected records are mailed one after the other.
            if (s.count > 1) return true;
            break;
        default: break;
    }
    return s.count == 1 && FieldOfRule(rule, s).value_or(true);
}

bool ToolbarEnabled(CommandRule rule, const SelectionSnapshot& s) {
    switch (rule) {
        case CommandRule::EditSelection:
            // The button stays on for several selected records; the command
            // then edits the first of them.
            return s.count > 0;
        case CommandRule::SupportEmail: return s.count == 1 && s.supportEmail;
        default: return MenuEnabled(rule, s);
    }
}

bool MenuEnabled(int commandId, const SelectionSnapshot& s) {
    const CommandInfo* command = FindCommandInfo(commandId);
    return command == nullptr || MenuEnabled(command->rule, s);
}

bool ToolbarEnabled(int commandId, const SelectionSnapshot& s) {
    const CommandInfo* command = FindCommandInfo(commandId);
    return command == nullptr || ToolbarEnabled(command->rule, s);
}

CheckAction DecideCheckApplication(const SelectionSnapshot& s) {
    if (s.count != 1) return CheckAction::Nothing;
    if (s.autoUpdate) return s.path ? CheckAction::StartApplication : CheckAction::Nothing;
    if (s.padFile) return s.padCheckAvailable ? CheckAction::CheckPadFile : CheckAction::Nothing;
    return s.upgradePage ? CheckAction::OpenUpgradePage : CheckAction::Nothing;
}

std::optional<std::u16string> SupportMailLink(const ApplicationRecord& record) {
    if (record.email.empty()) return std::nullopt;
    std::u16string link = u"mailto:" + record.email;
    if (!record.program.empty()) {
        link += u"?subject=" + record.program;
        if (!record.version.empty()) link += u" v" + record.version;
    }
    return link;
}

}  // namespace kodrin::app
