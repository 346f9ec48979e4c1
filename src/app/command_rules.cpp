#include "app/command_rules.h"

#include "catalog/record.h"

namespace kodrin::app {

namespace {

enum : int {
    kAddApplication = 1100,
    kDeleteApplication = 1101,
    kEditApplication = 1102,
    kChangeCategory = 3000,
    kCopyApplication = 3001,
    kEmailSupport = 3002,
    kHomePage = 3003,
    kLaunchInstallation = 3004,
    kLogin = 3005,
    kMultipleEdit = 3006,
    kCopyOrganization = 3008,
    kCopyRegistrationKey = 3009,
    kLaunchApplication = 3010,
    kSupportPage = 3011,
    kCheckApplication = 3012,
    kCopyUserName = 3013,
    kCopyWebPassword = 3014,
    kCopyWebUserName = 3015,
    kRestore = 3210,
};

// For one selected record: is the field the command uses filled in.
bool SingleRule(int commandId, const SelectionSnapshot& s) {
    switch (commandId) {
        case kCopyUserName: return s.userName;
        case kCopyOrganization: return s.organization;
        case kCopyRegistrationKey: return s.registrationKey;
        case kEmailSupport: return s.supportEmail;
        case kHomePage: return s.homePage;
        case kLogin: return s.loginPage;
        case kLaunchApplication: return s.path;
        case kSupportPage: return s.supportPage;
        case kLaunchInstallation: return s.installFile;
        case kCopyWebPassword: return s.webPassword;
        case kCopyWebUserName: return s.webUserName;
        case kCheckApplication:
            // An application that updates itself is started; otherwise its
            // PAD file is checked (when that can run), else its upgrade page
            // is opened.
            if (s.autoUpdate) return s.path;
            if (s.padFile) return s.padCheckAvailable;
            return s.upgradePage;
        default: return true;
    }
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

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

const std::vector<int>& RuledCommands() {
    static const std::vector<int> commands{
        kAddApplication,   kCopyApplication,   kChangeCategory,    kDeleteApplication, kMultipleEdit,
        kEditApplication,  kCopyUserName,      kCopyOrganization,  kCopyRegistrationKey, kEmailSupport,
        kHomePage,         kLogin,             kLaunchApplication, kSupportPage,       kLaunchInstallation,
        kCheckApplication, kCopyWebPassword,   kCopyWebUserName,   kRestore,
    };
    return commands;
}

bool MenuEnabled(int commandId, const SelectionSnapshot& s) {
    switch (commandId) {
        case kAddApplication:
        case kCopyApplication:
            return true;
        case kRestore:
            return s.backupAvailable;
        case kChangeCategory:
        case kDeleteApplication:
        case kMultipleEdit:
            return s.count > 0;
        case kEditApplication:
            return s.count == 1;
        case kEmailSupport:
            // Several selected records are mailed one after the other.
            if (s.count > 1) return true;
            return s.count == 1 && SingleRule(commandId, s);
        case kCopyUserName:
        case kCopyOrganization:
        case kCopyRegistrationKey:
        case kHomePage:
        case kLogin:
        case kLaunchApplication:
        case kSupportPage:
        case kLaunchInstallation:
        case kCheckApplication:
        case kCopyWebPassword:
        case kCopyWebUserName:
            return s.count == 1 && SingleRule(commandId, s);
        default:
            return true;
    }
}

bool ToolbarEnabled(int commandId, const SelectionSnapshot& s) {
    switch (commandId) {
        case kEditApplication:
            // The button stays on for several selected records; the command
            // then edits the first of them.
            return s.count > 0;
        case kEmailSupport:
            return s.count == 1 && SingleRule(commandId, s);
        default:
            return MenuEnabled(commandId, s);
    }
}

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
    std::vector<std::u16string> arguments;
    std::u16string current;
    bool inQuotes = false;
    bool inArgument = false;
    for (const char16_t c : line) {
        if (c == u'"') {
            inQuotes = !inQuotes;
            inArgument = true;
            continue;
        }
        if (!inQuotes && IsSpace(c)) {
            if (inArgument) arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
            continue;
        }
        current += c;
        inArgument = true;
    }
    if (inArgument) arguments.push_back(std::move(current));
    return arguments;
}

std::optional<std::u16string> CatalogFileArgument(const std::vector<std::u16string>& arguments) {
    std::optional<std::u16string> found;
    for (const std::u16string& argument : arguments) {
        if (argument.size() < 2) continue;
        if (argument[0] != u'/' && argument[0] != u'-') continue;
        if (argument[1] != u'F' && argument[1] != u'f') continue;
        found = argument.substr(2);
    }
    return found;
}

}  // namespace kodrin::app
