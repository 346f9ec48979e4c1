// The program's own update and the maker's messages against a server on the
// loopback address: dialog 20707, the update job's checks (signature,
// version, installer digest, signer) seen through a starter that only
// records, and dialog 20250 of the messages feed.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "app/main_window.h"
#include "app/program_update.h"
#include "catalog/datafile.h"
#include "framework/app.h"
#include "platform/files.h"
#include "support/map_store.h"
#include "support/temp_folder.h"
#include "support/win32/capture.h"
#include "support/win32/dialog_driver.h"
#include "update/loopback_server.h"
#include "update/release_file.h"
#include "update/schedule.h"
#include "update/signed_releases.h"
#include "ids.h"
#include "string_ids.h"

namespace kodrin::test {
namespace {

class RecordingStarter : public app::InstallerStarter {
public:
    bool Start(const std::u16string& path) override {
        started.push_back(path);
        return true;
    }
    std::vector<std::u16string> started;
};

class FixedTrust : public app::InstallerTrust {
public:
    bool Trusted(const std::u16string& path) override {
        asked.push_back(path);
        return trusted;
    }
    bool trusted = true;
    std::vector<std::u16string> asked;
};

Date Day(int year, int month, int day) {
    Date date;
    date.year = year;
    date.month = month;
    date.day = day;
    return date;
}

bool HasText(HWND dialog, const std::u16string& text) {
    for (const std::u16string& s : StaticTexts(dialog)) {
        if (s.find(text) != std::u16string::npos) return true;
    }
    return false;
}

class ProgramUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Running());
        ASSERT_TRUE(folder_.Created());
        setup_.folderUrl = server_.Url16("/kodrin/");
        setup_.feedUrl = server_.Url16("/popup.xml");
        setup_.releaseKey = update::PublicKeyFromHex(kReleaseKey);
        setup_.userDataFolder = folder_.Path() + u"\\";
        setup_.store = &store_;
        setup_.starter = &starter_;
        setup_.trust = &trust_;
        setup_.today = Day(2026, 8, 31);
        setup_.timeoutMs = 5000;
        driver_.Ignore([](HWND dialog) { return ::GetDlgItem(dialog, IDC_PROGRESS_BAR) != nullptr; });
    }
    void TearDown() override {
        DrainMessages();
        EXPECT_EQ(driver_.Pending(), 0);
        EXPECT_EQ(driver_.Unexpected(), 0);
    }

    void Publish(const SignedRelease& release, std::string_view signatureHex, const std::string& installer) {
        server_.Serve("/kodrin/kodrin.ver", {200, VersionFile(release.version), "text/xml"});
        const std::vector<std::uint8_t> signature = HexBytes(signatureHex);
        server_.Serve("/kodrin/kodrin.ver.sig", {200, std::string(signature.begin(), signature.end()), "application/octet-stream"});
        server_.Serve("/kodrin/kodrinsetup.exe", {200, installer, "application/octet-stream"});
    }
    // Answers dialog 20707 with Yes, then (failing) the "no update" message.
    void AnswerYes(bool expectNoUpdate, const char16_t* frequency = u"1 Week") {
        driver_.Then([frequency](HWND dialog) {
            EXPECT_EQ(WindowText(dialog), u"Kodrin Auto-Update");
            EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_AUTO_UPDATE_FREQUENCY)));
            EXPECT_EQ(ItemText(dialog, IDC_AUTO_UPDATE_FREQUENCY), frequency);
            EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_AUTO_UPDATE_YES), BST_CHECKED);
            EXPECT_EQ(ItemText(dialog, IDC_AUTO_UPDATE_QUESTION),
                      u"<body>Would you like to check for a new version of: <b>Kodrin</b>?</body>");
            Click(dialog, IDOK);
        });
        if (expectNoUpdate) {
            driver_.Then([](HWND box) {
                EXPECT_TRUE(HasText(box, u"There is no update available at this time."));
                EXPECT_EQ(WindowText(box), u"Automatic Update");
                Click(box, IDOK);
            });
        }
    }
    bool Downloaded(const char16_t* name) { return platform::FileExists(folder_.Path() + u"\\" + name); }

    LoopbackServer server_;
    TempFolder folder_{u"kodrin-update-"};
    MapStore store_;
    RecordingStarter starter_;
    FixedTrust trust_;
    app::ProgramUpdateSetup setup_;
    QvLibrary::QvApp app_{STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE};
    DialogDriver driver_;
};

TEST_F(ProgramUpdate, OnlyASignedNewerReleaseWithItsOwnInstallerIsStarted) {
    std::u16string running;
    ASSERT_TRUE(app_.GetVersionString(running));
    ASSERT_EQ(running, u"1.0.0.0");
    const std::string good(kInstaller);
    const std::string tampered = good + "!";
    struct Case {
        const char* what;
        const SignedRelease* release;
        std::string_view signature;
        const std::string* installer;
        bool keyed;
        bool trusted;
        bool started;
        bool installerFetched;
    };
    const Case cases[] = {
        {"same version", &kSame, kSame.signatureHex, &good, true, true, false, false},
        {"older version", &kOlder, kOlder.signatureHex, &good, true, true, false, false},
        {"signed by another key", &kByOtherKey, kByOtherKey.signatureHex, &good, true, true, false, false},
        {"signature of another file", &kNewer, kOlder.signatureHex, &good, true, true, false, false},
        {"no signature", &kNewer, "", &good, true, true, false, false},
        {"no key in the program", &kNewer, kNewer.signatureHex, &good, false, true, false, false},
        {"tampered installer", &kNewer, kNewer.signatureHex, &tampered, true, true, false, true},
        {"foreign signer", &kNewer, kNewer.signatureHex, &good, true, false, false, true},
        {"newer", &kNewer, kNewer.signatureHex, &good, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::DeleteFileW(reinterpret_cast<const wchar_t*>((folder_.Path() + u"\\kodrinsetup.exe").c_str()));
        starter_.started.clear();
        trust_.trusted = c.trusted;
        setup_.releaseKey = c.keyed ? update::PublicKeyFromHex(kReleaseKey) : std::nullopt;
        Publish(*c.release, c.signature, *c.installer);
        AnswerYes(!c.started);
        EXPECT_EQ(app::CheckForProgramUpdate(app_, nullptr, setup_, true, false), c.started);
        EXPECT_EQ(Downloaded(u"kodrinsetup.exe"), c.installerFetched);
        if (c.started) {
            ASSERT_EQ(starter_.started.size(), 1u);
            EXPECT_EQ(starter_.started[0], folder_.Path() + u"\\kodrinsetup.exe");
        } else {
            EXPECT_TRUE(starter_.started.empty());
        }
    }
    // The OK stored the schedule of the default frequency, a week ahead.
    EXPECT_EQ(store_.values[update::kFrequencyValue], u"20714");
    EXPECT_EQ(update::StoredFrequency(store_), 20714);
}

// Cancel on the progress dialog while the installer is on its way (its
// server holds the bytes back for 3 s, well within the time-out): the check
// ends as "no update" and nothing is started or left under the installer's
// name, where without the Cancel the installer would have been started.
TEST_F(ProgramUpdate, CancelDuringTheInstallersDownloadStartsNothing) {
    Publish(kNewer, kNewer.signatureHex, std::string(kInstaller));
    LoopbackServer::Answer held{200, std::string(kInstaller), "application/octet-stream"};
    held.holdMs = 3000;
    server_.Serve("/kodrin/kodrinsetup.exe", held);
    AnswerYes(false);
    driver_.Ignore([](HWND) { return false; });
    driver_.Then([this](HWND progress) {
        ASSERT_NE(::GetDlgItem(progress, IDC_PROGRESS_BAR), nullptr);
        // The version file and its signature (each asked for twice: its
        // length, then its bytes), then the installer's first request.
        EXPECT_TRUE(PumpUntil([this] { return server_.Requests() >= 5; }, 10000));
        PumpUntil([] { return false; }, 300);
        Click(progress, IDCANCEL);
    });
    driver_.Then([](HWND box) {
        EXPECT_TRUE(HasText(box, u"There is no update available at this time."));
        Click(box, IDOK);
    });
    EXPECT_FALSE(app::CheckForProgramUpdate(app_, nullptr, setup_, true, false));
    EXPECT_TRUE(starter_.started.empty());
    EXPECT_FALSE(Downloaded(u"kodrinsetup.exe"));
}

TEST_F(ProgramUpdate, TheScheduleDecidesAtStartAndTheDialogStoresIt) {
    Publish(kNewer, kNewer.signatureHex, std::string(kInstaller));
    // Nothing stored: the check at start-up is not due and asks nothing.
    EXPECT_FALSE(app::CheckForProgramUpdate(app_, nullptr, setup_, false, true));
    EXPECT_EQ(server_.Requests(), 0);

    // "No, check again in" "6 Months" on 31 August: stored, nothing checked.
    driver_.Then([](HWND dialog) {
        Click(dialog, IDC_AUTO_UPDATE_NO);
        DrainMessages();
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_AUTO_UPDATE_FREQUENCY)));
        ::SendDlgItemMessageW(dialog, IDC_AUTO_UPDATE_FREQUENCY, CB_SETCURSEL, 6, 0);
        Click(dialog, IDOK);
    });
    EXPECT_FALSE(app::CheckForProgramUpdate(app_, nullptr, setup_, true, false));
    EXPECT_EQ(store_.values[update::kFrequencyValue], u"20703");
    EXPECT_EQ(store_.values[update::kDueDateValue], std::u16string(u"") + [] {
        const std::string n = std::to_string(update::PackScheduleDate(Day(2027, 2, 28)));
        return std::u16string(n.begin(), n.end());
    }());
    EXPECT_EQ(server_.Requests(), 0);

    // Due on the day, with the stored frequency preselected; Cancel stores nothing.
    setup_.today = Day(2027, 2, 28);
    driver_.Then([](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_AUTO_UPDATE_FREQUENCY), u"6 Months");
        Click(dialog, IDCANCEL);
    });
    const auto before = store_.values;
    EXPECT_FALSE(app::CheckForProgramUpdate(app_, nullptr, setup_, false, true));
    EXPECT_EQ(store_.values, before);

}

TEST_F(ProgramUpdate, AMessageIsShownOncePerDateAndHidingStopsTheFeed) {
    server_.Serve("/popup.xml", {200, "<POPUP><MESSAGE>Version &lt;b&gt;2&lt;/b&gt; is near.</MESSAGE><DATE>d1</DATE></POPUP>", "text/xml"});
    driver_.Then([](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), u"Kodrin");
        EXPECT_NE(::GetDlgItem(dialog, IDC_MAKER_MESSAGE_TEXT), nullptr);
        Click(dialog, IDOK);
    });
    app::CheckMessages(app_, nullptr, setup_);
    EXPECT_EQ(store_.values[update::kHintDateValue], u"d1");
    EXPECT_EQ(store_.values[update::kLastHintValue], u"31082026");
    const int fetched = server_.Requests();
    EXPECT_EQ(fetched, 1);

    // The same day: no fetch. The next day, the same DATE: nothing shown.
    app::CheckMessages(app_, nullptr, setup_);
    EXPECT_EQ(server_.Requests(), 1);
    setup_.today = Day(2026, 9, 1);
    app::CheckMessages(app_, nullptr, setup_);
    EXPECT_EQ(server_.Requests(), 2);

    // A new DATE is shown once; hiding it stops the feed.
    server_.Serve("/popup.xml", {200, "<POPUP><MESSAGE>News</MESSAGE><DATE>d2</DATE></POPUP>", "text/xml"});
    setup_.today = Day(2026, 9, 2);
    driver_.Then([](HWND dialog) {
        Click(dialog, IDC_MAKER_MESSAGE_HIDE);
        Click(dialog, IDOK);
    });
    app::CheckMessages(app_, nullptr, setup_);
    EXPECT_EQ(store_.values[update::kHintShowValue], u"0");
    setup_.today = Day(2026, 9, 3);
    app::CheckMessages(app_, nullptr, setup_);
    EXPECT_EQ(server_.Requests(), 3);
    EXPECT_EQ(store_.values[update::kLastHintValue], u"02092026");
}

// The main window: the check at start-up when due (silent), the feed after
// it, and command 3304; an installer started at start-up refuses the window.
TEST_F(ProgramUpdate, TheMainWindowChecksAtStartAndOnCommand) {
    ASSERT_TRUE(app::RegisterMainWindowClass(::GetModuleHandleW(nullptr)));
    const std::u16string company = u"KodrinTest-" + std::u16string(platform::FileNamePart(folder_.Path()));
    Settings settings = NewSettings();
    Catalog catalog;
    catalog.options = &settings;
    const std::u16string path = folder_.Path() + u"\\catalog.xml";
    ASSERT_TRUE(SaveCatalog(catalog, settings, path, u""));
    app::MainWindowConfig config;
    config.commandLine = u"kodrin.exe /F" + path;
    config.registryCompany = company;
    config.instanceName = company;
    config.programFolder = folder_.Path();
    config.userDataFolder = folder_.Path() + u"\\";
    config.programUpdate = setup_;
    store_.values[update::kDueDateValue] = [] {
        const std::string n = std::to_string(update::PackScheduleDate(Day(2026, 8, 31)));
        return std::u16string(n.begin(), n.end());
    }();
    server_.Serve("/popup.xml", {200, "<POPUP><MESSAGE>&lt;body&gt;Hello&lt;/body&gt;</MESSAGE><DATE>d1</DATE></POPUP>", "text/xml"});

    // Due, the same version: asked, nothing said (silent), then the message.
    Publish(kSame, kSame.signatureHex, std::string(kInstaller));
    AnswerYes(false);
    driver_.Then([](HWND dialog) { Click(dialog, IDOK); });
    HWND window = app::CreateMainWindow(::GetModuleHandleW(nullptr), config);
    ASSERT_NE(window, nullptr);
    PumpUntil([&] { return driver_.Pending() == 0; });
    EXPECT_EQ(store_.values[update::kHintDateValue], u"d1");
    EXPECT_TRUE(starter_.started.empty());

    // Command 3304: asked even though the schedule is a week ahead; a newer
    // release is started and the window closes.
    Publish(kNewer, kNewer.signatureHex, std::string(kInstaller));
    AnswerYes(false);
    app::MainWindow* main = app::MainWindow::FromHandle(window);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->RunCommand(CMD_CHECK_FOR_UPDATE));
    EXPECT_EQ(starter_.started.size(), 1u);
    PumpUntil([&] { return !::IsWindow(window); });
    EXPECT_FALSE(::IsWindow(window));
    if (::IsWindow(window)) ::DestroyWindow(window);

    // Due again at start-up with the newer release: started, no window.
    update::StoreSchedule(store_, 20706, Day(2026, 8, 30));
    AnswerYes(false, u"1 Day");
    EXPECT_EQ(app::CreateMainWindow(::GetModuleHandleW(nullptr), config), nullptr);
    EXPECT_EQ(starter_.started.size(), 2u);
    DrainMessages();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>((u"Software\\" + company).c_str()));
}

TEST(ProgramUpdateTrust, TheInstallerIsStartedByItsQuotedPath) {
    EXPECT_EQ(app::InstallerCommandLine(u"C:\\Users\\Ann Lee\\kodrinsetup.exe"), u"\"C:\\Users\\Ann Lee\\kodrinsetup.exe\"");
    EXPECT_EQ(app::InstallerCommandLine(u"C:\\a\"b.exe"), u"");
}

// Wine accepts a self-signed Authenticode signature: only the pinned
// thumbprint tells the test certificate from any other.
TEST(ProgramUpdateTrust, OnlyThePinnedSignerIsTrusted) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::u16string folder = reinterpret_cast<const char16_t*>(self);
    const std::u16string unsigned_ = folder;
    folder.erase(folder.find_last_of(u"\\/") + 1);
    const std::u16string signed_ = folder + u"fixtures\\signed_fixture.exe";
    std::vector<std::uint8_t> printText;
    ASSERT_TRUE(platform::ReadWholeFile(signed_ + u".sha256", printText));
    const auto pinned = app::ThumbprintsFromHex(std::string(printText.begin(), printText.begin() + 64));
    ASSERT_EQ(pinned.size(), 1u);
    const auto others = app::ThumbprintsFromHex(std::string(64, 'a') + ", " + std::string(64, '0') + ";xyz");
    EXPECT_EQ(others.size(), 2u);

    EXPECT_TRUE(app::AuthenticodeSignedBy(signed_, pinned));
    EXPECT_FALSE(app::AuthenticodeSignedBy(signed_, others));
    EXPECT_FALSE(app::AuthenticodeSignedBy(signed_, {}));
    EXPECT_FALSE(app::AuthenticodeSignedBy(unsigned_, pinned));
    EXPECT_FALSE(app::AuthenticodeSignedBy(signed_ + u".missing", pinned));

    // One changed byte of the program breaks its signature.
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(signed_, bytes));
    bytes[0x600] ^= 0x01;
    TempFolder temp{u"kodrin-signed-"};
    const std::u16string changed = temp.Path() + u"\\changed.exe";
    ASSERT_TRUE(platform::WriteFileAtomically(changed, bytes));
    EXPECT_FALSE(app::AuthenticodeSignedBy(changed, pinned));
}

TEST(Screenshots, DISABLED_ProgramUpdate) {
    const std::u16string folder = ScreenshotFolder();
    ASSERT_FALSE(folder.empty()) << "KODRIN_SCREENSHOTS names the output folder";
    QvLibrary::QvApp program(STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE);
    MapStore store;
    app::ProgramUpdateSetup setup;
    setup.store = &store;
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        DrainMessages();
        ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        EXPECT_TRUE(SaveWindowPicture(dialog, folder, u"auto-update.png"));
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(app::CheckForProgramUpdate(program, nullptr, setup, true, false));
    driver.Then([&](HWND dialog) {
        DrainMessages();
        ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        EXPECT_TRUE(SaveWindowPicture(dialog, folder, u"maker-message.png"));
        Click(dialog, IDOK);
    });
    app::MessagePopup popup(program, nullptr, store);
    popup.ShowMessage(u"<body><b>Kodrin 1.1</b> is out.<p>It checks the <i>signature</i> of every update before "
                      u"it installs it.</p><p><font color=#C00000>Faster scans</font> and signed releases.</p></body>");
}

}  // namespace
}  // namespace kodrin::test
