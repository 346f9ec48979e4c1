// The program's own update and the maker's messages feed: the "Auto-Update"
// dialog and its schedule, the update job under the progress dialog, and the
// message window.
//
// An installer is started only when every check holds: the version file's
// ECDSA signature verifies with the key built into the program, it names a
// newer version than the running one, the downloaded installer has the
// SHA-256 the file names, and it carries a valid Authenticode signature by a
// certificate whose SHA-256 thumbprint the program pins. Any failure ends the
// check as "no update" and starts nothing.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/dates.h"
#include "platform/crypto.h"
#include "update/http.h"
#include "update/program_update.h"

namespace QvLibrary {
class QvApp;
class RegistryStore;
}  // namespace QvLibrary

namespace kodrin::app {

// The values under HKCU\Software\<company>\<program name>.
class RegistryValues : public update::ValueStore {
public:
    RegistryValues(std::u16string company, std::u16string program);
    std::optional<std::u16string> Read(std::u16string_view name) override;
    void Write(std::u16string_view name, std::u16string_view value) override;

private:
    std::u16string company_;
    std::u16string program_;
};

// Starts a downloaded installer.
class InstallerStarter {
public:
    virtual bool Start(const std::u16string& path) = 0;
    virtual ~InstallerStarter() = default;
};

// Whether a downloaded installer carries the pinned Authenticode signer.
class InstallerTrust {
public:
    virtual bool Trusted(const std::u16string& path) = 0;
    virtual ~InstallerTrust() = default;
};

using Thumbprint = std::array<std::uint8_t, 32>;

// WinVerifyTrust (no user interface, no revocation look-up), then the SHA-256
// of the signer's certificate must be one of the pinned thumbprints. No
// thumbprint: nothing is trusted.
bool AuthenticodeSignedBy(const std::u16string& path, const std::vector<Thumbprint>& pinned);

// The command line that starts the installer: its path in double quotes, so
// that a folder with blanks (C:\Users\Ann Lee\...) is never read as the
// program "C:\Users\Ann" with arguments. Empty for a path that cannot be
// quoted.
std::u16string InstallerCommandLine(const std::u16string& path);

// Thumbprints written as 64 hexadecimal digits each, separated by blanks,
// commas or semicolons; a malformed one is left out.
std::vector<Thumbprint> ThumbprintsFromHex(std::string_view text);

// Where the update and the feed come from and what they trust.
struct ProgramUpdateSetup {
    std::u16string folderUrl;   // the maker's folder of the program, ending with "/"
    std::u16string feedUrl;     // the messages feed
    std::optional<platform::EcdsaP256PublicKey> releaseKey;
    std::vector<Thumbprint> signers;
    std::u16string userDataFolder;  // empty: the program's per-user data folder
    update::ValueStore* store = nullptr;   // required
    InstallerStarter* starter = nullptr;   // null: CreateProcessW
    InstallerTrust* trust = nullptr;       // null: AuthenticodeSignedBy(signers)
    std::optional<Date> today;             // none: the local date
    int timeoutMs = update::kDefaultTimeoutMs;
};

// Asks in dialog 20707 (unless not forced and not due) and runs the update
// job. True when an installer was started: the caller then ends the program.
bool CheckForProgramUpdate(const QvLibrary::QvApp& app, HWND owner, const ProgramUpdateSetup& setup, bool forced,
                           bool silent);

// Shows the maker's messages.
class MessagePopup {
public:
    MessagePopup(const QvLibrary::QvApp& app, HWND owner, update::ValueStore& store);
    bool ShouldShowToday(const Date& today);
    void SetShowMessages(bool show);
    bool IsNewMessage(std::u16string_view date);
    void RememberMessage(std::u16string_view date);
    // Dialog 20250 with the HTML message; false when it could not be shown.
    bool ShowMessage(const std::u16string& text);

private:
    const QvLibrary::QvApp& app_;
    HWND owner_;
    update::ValueStore& store_;
};

// The start-up feed check: once a day, unless the messages are hidden; a
// message is shown once per DATE text.
void CheckMessages(const QvLibrary::QvApp& app, HWND owner, const ProgramUpdateSetup& setup);

}  // namespace kodrin::app
