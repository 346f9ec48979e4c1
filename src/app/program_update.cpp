#include "app/program_update.h"

#include <commctrl.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <atomic>
#include <memory>

#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/helpers.h"
#include "framework/html2rtf_window.h"
#include "framework/markup_label.h"
#include "framework/progress_dialog.h"
#include "framework/wide.h"
#include "ids.h"
#include "platform/utf.h"
#include "string_ids.h"
#include "update/release_file.h"
#include "update/schedule.h"
#include "update/transfer.h"

namespace kodrin::app {

namespace {

using QvLibrary::QvApp;
using QvLibrary::Wide;

constexpr std::size_t kMaxFeedBytes = 1u << 20;
constexpr std::size_t kMaxCommandLine = 4095;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The whole file, read through one handle; none when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadWhole(HANDLE file) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0 || size.QuadPart > (1ll << 31)) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!::ReadFile(file, bytes.data() + done, ask, &got, nullptr) || got == 0) return std::nullopt;
        done += got;
    }
    return bytes;
}

// Opened for reading while no one may write, rename or delete it.
HANDLE OpenLocked(const std::u16string& path) {
    return ::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::u16string& path) {
    const QvLibrary::FileHandle file(OpenLocked(path));
    if (!file) return std::nullopt;
    return ReadWhole(file.Get());
}

class CreateProcessStarter : public InstallerStarter {
public:
    bool Start(const std::u16string& path) override {
        std::u16string commandLine = InstallerCommandLine(path);
        if (commandLine.empty() || commandLine.size() > kMaxCommandLine) return false;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOW;
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(commandLine.data()), nullptr, nullptr, FALSE,
                              CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &process)) {
            return false;
        }
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return true;
    }
};

class PinnedTrust : public InstallerTrust {
public:
    explicit PinnedTrust(const std::vector<Thumbprint>& pinned) : pinned_(pinned) {}
    bool Trusted(const std::u16string& path) override { return AuthenticodeSignedBy(path, pinned_); }

private:
    const std::vector<Thumbprint>& pinned_;
};

// Shows a transfer's progress on the progress dialog; the job ends the dialog itself.
class ProgressBar final : public QvLibrary::TransferProgress {
public:
    explicit ProgressBar(QvLibrary::ProgressDialog& dialog) : dialog_(dialog) {}
    void SetPosition(int position) override { dialog_.SetProgress(position); }
    void End(bool) override {}

private:
    QvLibrary::ProgressDialog& dialog_;
};

// The update job: true when the installer was started.
bool RunUpdateJob(const QvApp& app, QvLibrary::ProgressDialog& progress, QvLibrary::QvXferHTTP& transfer,
                  const std::atomic<bool>& cancel, const ProgramUpdateSetup& setup) {
    ProgressBar bar(progress);
    progress.SetProgress(0);
    std::u16string folder = setup.userDataFolder.empty() ? app.GetUserDataFolder() : setup.userDataFolder;
    if (folder.empty()) return false;
    if (folder.back() != u'\\' && folder.back() != u'/') folder += u'\\';
    const std::u16string versionName = app.LowerName() + u".ver";
    const std::u16string signatureName = versionName + u".sig";
    const std::u16string installerName = app.LowerName() + u"setup.exe";

    transfer.SetTarget(versionName, folder + versionName);
    if (transfer.Transfer(bar, 0, 5) != 0 || cancel) return false;
    transfer.SetTarget(signatureName, folder + signatureName);
    if (transfer.Transfer(bar, 5, 8) != 0 || cancel) return false;

    std::u16string current;
    if (!app.GetVersionString(current) || current.empty()) return false;
    progress.SetProgress(10);
    const auto versionFile = ReadFileBytes(folder + versionName);
    const auto signature = ReadFileBytes(folder + signatureName);
    if (!versionFile || !signature) return false;
    const update::ReleaseCheck release = update::CheckRelease(setup.releaseKey, *versionFile, *signature, current);
    progress.SetProgress(15);
    if (cancel || release.verdict != update::ReleaseVerdict::Newer) return false;

    transfer.SetTargetPath(installerName, folder + installerName);
    if (transfer.Transfer(bar, 20, 95) != 0 || cancel) return false;
    const std::u16string installer = folder + installerName;
    // Held open without write or delete sharing from the digest until the
    // process has started, so the checked bytes are the bytes started.
    const QvLibrary::FileHandle locked(OpenLocked(installer));
    if (!locked) return false;
    const auto bytes = ReadWhole(locked.Get());
    if (!bytes || !update::InstallerMatches(*bytes, release.installerDigest)) return false;
    PinnedTrust pinned(setup.signers);
    InstallerTrust& trust = setup.trust != nullptr ? *setup.trust : pinned;
    if (!trust.Trusted(installer) || cancel) return false;
    CreateProcessStarter processes;
    InstallerStarter& starter = setup.starter != nullptr ? *setup.starter : processes;
    return starter.Start(installer);
}

// Dialog 20707 "Auto-Update".
class AutoUpdateDialog : public QvLibrary::Dialog {
public:
    AutoUpdateDialog(const QvApp& app, update::ValueStore& store, int frequency, const Date& today)
        : app_(app), store_(store), frequency_(frequency), today_(today) {}

protected:
    INT_PTR Init(HWND dialog) override {
        QvLibrary::CentreOnParent(dialog);
        HWND question = ::GetDlgItem(dialog, IDC_AUTO_UPDATE_QUESTION);
        const std::u16string text = Text(question) + u"<b>" + app_.LoadString(STR_TITLE) + u"</b>?</body>";
        ::SetWindowTextW(question, Wide(text));
        QvLibrary::MarkupLabel::Attach(question);
        ::SetWindowTextW(dialog, Wide(app_.LoadString(STR_TITLE) + u" " + Text(dialog)));
        // The ids of the two buttons do not ascend in their order, so each is
        // set on its own.
        ::CheckDlgButton(dialog, IDC_AUTO_UPDATE_YES, BST_CHECKED);
        ::CheckDlgButton(dialog, IDC_AUTO_UPDATE_NO, BST_UNCHECKED);
        HWND list = ::GetDlgItem(dialog, IDC_AUTO_UPDATE_FREQUENCY);
        for (std::size_t i = 0; i < update::kFrequencies.size(); ++i) {
            ::SendMessageW(list, CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(Wide(app_.LoadString(update::kFrequencies[i]))));
            if (update::kFrequencies[i] == frequency_) ::SendMessageW(list, CB_SETCURSEL, i, 0);
        }
        ::EnableWindow(list, FALSE);
        return TRUE;
    }
    bool Command(HWND dialog, WORD id, WORD) override {
        if (id != IDC_AUTO_UPDATE_YES && id != IDC_AUTO_UPDATE_NO) return false;
        ::EnableWindow(::GetDlgItem(dialog, IDC_AUTO_UPDATE_FREQUENCY),
                       ::IsDlgButtonChecked(dialog, IDC_AUTO_UPDATE_NO) == BST_CHECKED);
        return true;
    }
    bool Ok(HWND dialog) override {
        const LRESULT at = ::SendDlgItemMessageW(dialog, IDC_AUTO_UPDATE_FREQUENCY, CB_GETCURSEL, 0, 0);
        // A stored frequency the list does not know leaves no selection: the
        // default is stored then.
        const int frequency = at >= 0 && static_cast<std::size_t>(at) < update::kFrequencies.size()
                                  ? update::kFrequencies[static_cast<std::size_t>(at)]
                                  : update::kDefaultFrequency;
        update::StoreSchedule(store_, frequency, today_);
        End(::IsDlgButtonChecked(dialog, IDC_AUTO_UPDATE_YES) == BST_CHECKED ? 1 : 0);
        return false;
    }
    bool Cancel(HWND) override {
        End(0);
        return false;
    }

private:
    static std::u16string Text(HWND window) {
        const int length = ::GetWindowTextLengthW(window);
        std::u16string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, u'\0');
        const int got = ::GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
        text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        return text;
    }

    const QvApp& app_;
    update::ValueStore& store_;
    int frequency_;
    Date today_;
};

// Dialog 20250: the maker's message.
class MessageDialog : public QvLibrary::Dialog {
public:
    MessageDialog(const QvApp& app, update::ValueStore& store, const std::u16string& text)
        : app_(app), store_(store), text_(text) {}

protected:
    INT_PTR Init(HWND dialog) override {
        RECT client{};
        ::GetClientRect(dialog, &client);
        if (!view_.Create(dialog, IDC_MAKER_MESSAGE_TEXT, 10, 10, client.right - 20, client.bottom - 55)) {
            End(0);
            return TRUE;
        }
        view_.SetText(text_);
        ::SetWindowTextW(dialog, Wide(app_.LoadString(STR_TITLE)));
        return TRUE;
    }
    bool Ok(HWND dialog) override {
        if (::IsDlgButtonChecked(dialog, IDC_MAKER_MESSAGE_HIDE) == BST_CHECKED) update::SetShowMessages(store_, false);
        End(1);
        return false;
    }
    // Only Close ends the dialog.
    bool Cancel(HWND) override { return false; }

private:
    const QvApp& app_;
    update::ValueStore& store_;
    const std::u16string& text_;
    QvLibrary::QvHTML2RTF view_;
};

}  // namespace

RegistryValues::RegistryValues(std::u16string company, std::u16string program)
    : company_(std::move(company)), program_(std::move(program)) {}

std::optional<std::u16string> RegistryValues::Read(std::u16string_view name) {
    QvLibrary::RegistryStore store(company_);
    std::u16string value;
    if (!store.Read(program_, std::u16string(name), value)) return std::nullopt;
    return value;
}

void RegistryValues::Write(std::u16string_view name, std::u16string_view value) {
    QvLibrary::RegistryStore store(company_);
    store.Write(program_, std::u16string(name), std::u16string(value));
}

std::vector<Thumbprint> ThumbprintsFromHex(std::string_view text) {
    std::vector<Thumbprint> prints;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = text.find_first_of(" \t\r\n,;", i);
        const std::string_view word = text.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
        Thumbprint print{};
        bool ok = word.size() == 64;
        for (std::size_t k = 0; ok && k < 32; ++k) {
            const int high = HexDigit(word[2 * k]), low = HexDigit(word[2 * k + 1]);
            ok = high >= 0 && low >= 0;
            print[k] = static_cast<std::uint8_t>(high << 4 | low);
        }
        if (ok) prints.push_back(print);
        if (end == std::string_view::npos) break;
        i = end + 1;
    }
    return prints;
}

std::u16string InstallerCommandLine(const std::u16string& path) {
    if (path.empty() || path.find(u'"') != std::u16string::npos) return {};
    return u"\"" + path + u"\"";
}

bool AuthenticodeSignedBy(const std::u16string& path, const std::vector<Thumbprint>& pinned) {
    if (pinned.empty()) return false;
    std::u16string file = path;
    WINTRUST_FILE_INFO fileInfo{};
    fileInfo.cbStruct = sizeof fileInfo;
    fileInfo.pcwszFilePath = reinterpret_cast<const wchar_t*>(file.c_str());
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG status = ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    bool trusted = false;
    if (status == ERROR_SUCCESS) {
        CRYPT_PROVIDER_DATA* provider = ::WTHelperProvDataFromStateData(data.hWVTStateData);
        CRYPT_PROVIDER_SGNR* signer = provider != nullptr ? ::WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
        CRYPT_PROVIDER_CERT* certificate = signer != nullptr ? ::WTHelperGetProvCertFromChain(signer, 0) : nullptr;
        if (certificate != nullptr && certificate->pCert != nullptr) {
            platform::Sha256Digest digest{};
            const std::span<const std::uint8_t> encoded(certificate->pCert->pbCertEncoded,
                                                        certificate->pCert->cbCertEncoded);
            if (platform::Sha256(encoded, digest)) {
                for (const Thumbprint& print : pinned) trusted = trusted || std::equal(print.begin(), print.end(), digest.begin());
            }
        }
    }
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return trusted;
}

bool CheckForProgramUpdate(const QvApp& app, HWND owner, const ProgramUpdateSetup& setup, bool forced, bool silent) {
    if (setup.store == nullptr) return false;
    update::ValueStore& store = *setup.store;
    const Date today = setup.today ? *setup.today : Today();
    if (!forced && !update::ScheduledCheckDue(store, today)) return false;
    const int frequency = update::StoredFrequency(store);

    AutoUpdateDialog question(app, store, frequency, today);
    if (!question.Run(app, owner, DLG_AUTO_UPDATE)) return false;

    std::atomic<bool> cancel{false};
    const int timeout = setup.timeoutMs;
    QvLibrary::QvXferHTTP transfer(setup.folderUrl, [timeout, &cancel](const update::HttpLimits& limits) {
        update::HttpLimits bounded = limits;
        bounded.connectTimeoutMs = timeout;
        bounded.receiveTimeoutMs = timeout;
        if (bounded.cancel == nullptr) bounded.cancel = &cancel;
        return update::OpenHttpSession(u"QvXferHTTP", bounded);
    });
    QvLibrary::ProgressDialog progress(app);
    const bool started = progress.Run(
        owner, STR_CHECKING_NEWER_VERSION,
        [&](QvLibrary::ProgressDialog& dialog) {
            bool ok = false;
            try {
                ok = RunUpdateJob(app, dialog, transfer, cancel, setup);
            } catch (...) {
                ok = false;
            }
            dialog.Finish(!ok);
        },
        [&] {
            cancel = true;
            transfer.Cancel();
        });
    if (started) return true;
    if (!silent) app.ShowInfo(STR_NO_UPDATE, STR_AUTO_UPDATE_TITLE);
    return false;
}

MessagePopup::MessagePopup(const QvApp& app, HWND owner, update::ValueStore& store)
    : app_(app), owner_(owner), store_(store) {}

bool MessagePopup::ShouldShowToday(const Date& today) { return update::ShouldShowToday(store_, today); }
void MessagePopup::SetShowMessages(bool show) { update::SetShowMessages(store_, show); }
bool MessagePopup::IsNewMessage(std::u16string_view date) { return update::IsNewMessage(store_, date); }
void MessagePopup::RememberMessage(std::u16string_view date) { update::RememberMessage(store_, date); }

bool MessagePopup::ShowMessage(const std::u16string& text) {
    MessageDialog dialog(app_, store_, text);
    return dialog.Run(app_, owner_, DLG_MAKER_MESSAGE);
}

void CheckMessages(const QvApp& app, HWND owner, const ProgramUpdateSetup& setup) {
    if (setup.store == nullptr) return;
    MessagePopup popup(app, owner, *setup.store);
    if (!popup.ShouldShowToday(setup.today ? *setup.today : Today())) return;
    if (setup.feedUrl.empty()) return;
    update::HttpLimits limits;
    limits.connectTimeoutMs = setup.timeoutMs;
    limits.receiveTimeoutMs = setup.timeoutMs;
    const auto session = update::OpenHttpSession(app.Name(), limits);
    if (!session) return;
    const auto response = session->Open(setup.feedUrl, 0);
    if (!response || response->Status() != 200) return;
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[4096];
    for (;;) {
        std::size_t got = 0;
        if (!response->Read(block, sizeof block, got)) return;
        bytes.insert(bytes.end(), block, block + got);
        if (got < sizeof block || bytes.size() > kMaxFeedBytes) break;
    }
    if (bytes.size() > kMaxFeedBytes) return;
    const update::FeedMessage feed = update::ReadFeed(update::FeedTextFromBytes(bytes));
    if (feed.message.empty() || !popup.IsNewMessage(feed.date)) return;
    popup.RememberMessage(feed.date);
    popup.ShowMessage(feed.message);
}

}  // namespace kodrin::app
