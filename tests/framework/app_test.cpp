// The application object: strings, version information, message boxes,
// dialogs, folders, the resource module and the catalog lock.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

#include "framework/app.h"
#include "framework/test_window.h"
#include "support/text.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {
namespace {

using QvLibrary::QvApp;
using QvLibrary::QvAppWindows;

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

bool Contains(const std::vector<std::u16string>& texts, const std::u16string& wanted) {
    for (const auto& text : texts) {
        if (text == wanted) return true;
    }
    return false;
}

std::u16string SystemFile(const char16_t* name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::u16string(reinterpret_cast<const char16_t*>(folder)) + u"\\" + name;
}

std::u16string OwnPath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return reinterpret_cast<const char16_t*>(path);
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        main_ = MakeRecordingWindow(nullptr, nullptr, 0, 0, 0, 300, 200);
        ASSERT_NE(main_, nullptr);
        // Names come from the test strings: ids 30000 and 30001.
        app_ = std::make_unique<QvAppWindows>(30000, 30001, 4109, main_);
    }
    void TearDown() override {
        app_.reset();
        ::DestroyWindow(main_);
        DrainMessages();
    }

    HWND main_ = nullptr;
    std::unique_ptr<QvAppWindows> app_;
};

TEST_F(AppTest, LoadStringReadsEntriesOfAnyLengthAndMissingOnesAsEmpty) {
    EXPECT_EQ(app_->LoadString(30000), u"FrameworkTest");
    const std::u16string longEntry = app_->LoadString(30002);
    ASSERT_EQ(longEntry.size(), 300u);
    EXPECT_EQ(longEntry.substr(290), u"0123456789");
    // The entry after a long one is found where it is.
    EXPECT_EQ(app_->LoadString(30003), u"after the long one");
    EXPECT_EQ(app_->LoadString(30004), u"");   // gap in a present block
    EXPECT_EQ(app_->LoadString(30005), U("Grüße — ok"));
    EXPECT_EQ(app_->LoadString(30020), u"");   // block missing
    EXPECT_EQ(app_->LoadString(-1), u"");
    EXPECT_EQ(app_->LoadString(0x10000 + 30000), u"");
    EXPECT_EQ(app_->LoadString(4109), u"Kodrin");
    EXPECT_EQ(app_->LoadString(4107), u"Kodrin");
    EXPECT_EQ(app_->LoadString(4103), u"Fenwold");
}

TEST_F(AppTest, NamesAndVersionOfTheRunningProgram) {
    EXPECT_EQ(app_->Name(), u"FrameworkTest");
    EXPECT_EQ(app_->LowerName(), u"frameworktest");
    EXPECT_EQ(app_->Company(), u"KodrinTestCo");
    EXPECT_EQ(app_->Title(), u"Kodrin");
    EXPECT_EQ(app_->MainWindow(), main_);

    std::u16string text;
    ASSERT_TRUE(app_->GetVersionString(text));
    EXPECT_EQ(text, u"3.14.159.26");
    ASSERT_TRUE(app_->GetVersionInfo(u"CompanyName", text));
    EXPECT_EQ(text, u"Fenwold Test Works");
    ASSERT_TRUE(app_->GetVersionInfo(u"FileDescription", text));
    EXPECT_EQ(text, U("Framework tests — ünïcode"));
    text = u"unchanged";
    EXPECT_FALSE(app_->GetVersionInfo(u"LegalTrademarks", text));
    EXPECT_EQ(text, u"unchanged");

    QvApp bare(0, 0, 0);
    EXPECT_EQ(bare.Name(), u"");
    EXPECT_EQ(bare.MainWindow(), nullptr);
}

TEST_F(AppTest, SetResourceModuleRefusesPathsThatAreNeitherProgramNorLibrary) {
    HINSTANCE own = ::GetModuleHandleW(nullptr);
    EXPECT_FALSE(app_->SetResourceModule(u"C:\\folder\\noextension"));
    EXPECT_EQ(app_->ResourceModule(), own);
    EXPECT_FALSE(app_->SetResourceModule(u"C:\\folder.d\\readme.txt"));
    EXPECT_EQ(app_->ResourceModule(), own);
    EXPECT_EQ(app_->LoadString(30000), u"FrameworkTest");
    std::u16string version;
    ASSERT_TRUE(app_->GetVersionString(version));
    EXPECT_EQ(version, u"3.14.159.26");
}

TEST_F(AppTest, SetResourceModuleReadsAnotherFilesResourcesAndVersion) {
    HINSTANCE own = ::GetModuleHandleW(nullptr);
    std::u16string version;

    // A program not loaded here: strings stay the program's, the version is the file's.
    ASSERT_TRUE(app_->SetResourceModule(SystemFile(u"MSIEXEC.EXE")));
    EXPECT_EQ(app_->ResourceModule(), own);
    EXPECT_EQ(app_->Name(), u"FrameworkTest");
    ASSERT_TRUE(app_->GetVersionString(version));
    EXPECT_NE(version, u"3.14.159.26");

    // A library: its resources and its version.
    ASSERT_TRUE(app_->SetResourceModule(SystemFile(u"Comctl32.DLL")));
    EXPECT_NE(app_->ResourceModule(), own);
    EXPECT_EQ(app_->LoadString(30000), u"");
    EXPECT_EQ(app_->Name(), u"");
    ASSERT_TRUE(app_->GetVersionString(version));
    EXPECT_NE(version, u"3.14.159.26");

    // A refused path after a library: back to the running program.
    EXPECT_FALSE(app_->SetResourceModule(u"plain"));
    EXPECT_EQ(app_->ResourceModule(), own);
    EXPECT_EQ(app_->LoadString(30000), u"FrameworkTest");
    EXPECT_EQ(app_->Name(), u"FrameworkTest");

    // A library that cannot be loaded: the running program, no version.
    ASSERT_TRUE(app_->SetResourceModule(u"C:\\no such folder\\missing.dll"));
    EXPECT_EQ(app_->ResourceModule(), own);
    EXPECT_FALSE(app_->GetVersionString(version));

    ASSERT_TRUE(app_->SetResourceModule(OwnPath()));
    ASSERT_TRUE(app_->GetVersionString(version));
    EXPECT_EQ(version, u"3.14.159.26");
}

TEST_F(AppTest, MessageBoxesAskWithTheProgramTitleAndGiveTheAnswer) {
    DialogDriver driver;
    HWND owner = nullptr;
    std::u16string caption;
    std::vector<std::u16string> texts;
    auto answer = [&](int button) {
        return [&, button](HWND box) {
            owner = ::GetWindow(box, GW_OWNER);
            caption = WindowText(box);
            texts = StaticTexts(box);
            Click(box, button);
        };
    };

    driver.Then(answer(IDNO));
    EXPECT_EQ(app_->AskQuestion(30000), IDNO);
    EXPECT_EQ(owner, main_);
    EXPECT_EQ(caption, u"Kodrin");
    EXPECT_TRUE(Contains(texts, u"FrameworkTest"));

    driver.Then(answer(IDCANCEL));
    EXPECT_EQ(app_->AskQuestion(30003), IDCANCEL);
    EXPECT_TRUE(Contains(texts, u"after the long one"));

    driver.Then(answer(IDOK));
    app_->ShowWarning(30003);
    EXPECT_EQ(caption, u"Kodrin");

    driver.Then(answer(IDYES));
    EXPECT_TRUE(app_->Confirm(u"Title", u"Sure?"));
    EXPECT_EQ(caption, u"Title");
    EXPECT_TRUE(Contains(texts, u"Sure?"));
    driver.Then(answer(IDNO));
    EXPECT_FALSE(app_->Confirm(30003, 30000));
    EXPECT_EQ(caption, u"FrameworkTest");
    EXPECT_TRUE(Contains(texts, u"after the long one"));

    driver.Then(answer(IDOK));
    app_->ShowError(u"Error title", u"Went wrong");
    EXPECT_EQ(caption, u"Error title");
    EXPECT_TRUE(Contains(texts, u"Went wrong"));
    driver.Then(answer(IDOK));
    app_->ShowInfo(30000, 4109);
    EXPECT_EQ(caption, u"Kodrin");
    EXPECT_TRUE(Contains(texts, u"FrameworkTest"));

    EXPECT_EQ(driver.Answered(), 7);
    EXPECT_EQ(driver.Unexpected(), 0);
}

INT_PTR CALLBACK EndWithButtonId(HWND dialog, UINT message, WPARAM wp, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        ::EndDialog(dialog, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

TEST_F(AppTest, RunDialogIsTrueOnlyWhenTheDialogEndsWithOne) {
    DialogDriver driver;
    HWND parent = nullptr;
    driver.Then([&](HWND dialog) {
        parent = ::GetParent(dialog);
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(app_->RunDialog(nullptr, 20000, EndWithButtonId, 0));
    EXPECT_EQ(parent, main_);
    driver.Then([](HWND dialog) { Click(dialog, IDCANCEL); });
    EXPECT_FALSE(app_->RunDialog(nullptr, 20000, EndWithButtonId, 0));
    EXPECT_FALSE(app_->RunDialog(nullptr, 29999, EndWithButtonId, 0));   // no such template
    EXPECT_EQ(driver.Unexpected(), 0);
}

TEST_F(AppTest, InputBoxOkStoresTheTextAndCancelLeavesTheValue) {
    DialogDriver driver;
    std::u16string caption, prompt, shown;
    LRESULT passwordChar = -1;
    DWORD selStart = 1, selEnd = 0;
    auto look = [&](HWND dialog) {
        caption = WindowText(dialog);
        prompt = ItemText(dialog, 20001);
        shown = ItemText(dialog, 20002);
        HWND edit = ::GetDlgItem(dialog, 20002);
        passwordChar = ::SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0);
        ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    };

    std::u16string value = u"old value";
    driver.Then([&](HWND dialog) {
        look(dialog);
        SetItemText(dialog, 20002, U("new välue"));
        Click(dialog, IDOK);
    });
    const auto entered = app_->InputBox(value, u"Find", u"Enter the text:", false);
    ASSERT_TRUE(entered.has_value());
    EXPECT_EQ(*entered, U("new välue"));
    EXPECT_EQ(value, U("new välue"));
    EXPECT_EQ(caption, u"Find");
    EXPECT_EQ(prompt, u"Enter the text:");
    EXPECT_EQ(shown, u"old value");
    EXPECT_EQ(passwordChar, 0);
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, 9u);

    driver.Then([&](HWND dialog) {
        look(dialog);
        SetItemText(dialog, 20002, u"typed but cancelled");
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(app_->InputBox(value, u"Password", u"Catalog password:", true).has_value());
    EXPECT_EQ(value, U("new välue"));
    EXPECT_EQ(passwordChar, L'*');

    std::u16string empty;
    driver.Then([&](HWND dialog) { Click(dialog, IDOK); });
    const auto none = app_->InputBox(empty, u"", u"", false);
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(*none, u"");
    EXPECT_EQ(driver.Unexpected(), 0);
}

bool IsFolder(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool EndsWith(const std::u16string& text, const std::u16string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void RemoveDataFolder(const std::u16string& folder) {
    // <base>\KodrinTestCo\FrameworkTest\ : remove both levels.
    std::u16string path = folder.substr(0, folder.size() - 1);
    ::RemoveDirectoryW(Wide(path));
    path = path.substr(0, path.find_last_of(u'\\'));
    ::RemoveDirectoryW(Wide(path));
}

TEST_F(AppTest, DataFoldersAreMadeUnderCompanyAndProgramName) {
    const std::u16string user = app_->GetUserDataFolder();
    const std::u16string common = app_->GetCommonDataFolder();
    EXPECT_TRUE(EndsWith(user, u"\\KodrinTestCo\\FrameworkTest\\")) << platform::ToUtf8(user);
    EXPECT_TRUE(EndsWith(common, u"\\KodrinTestCo\\FrameworkTest\\")) << platform::ToUtf8(common);
    EXPECT_NE(user, common);
    EXPECT_TRUE(IsFolder(user));
    EXPECT_TRUE(IsFolder(common));
    RemoveDataFolder(user);
    RemoveDataFolder(common);
    EXPECT_FALSE(IsFolder(user));
}

TEST_F(AppTest, ProgramCurrentAndTemporaryFoldersEndWithABackslash) {
    const std::u16string module = app_->GetModuleFolder();
    EXPECT_EQ(module, OwnPath().substr(0, OwnPath().find_last_of(u'\\') + 1));

    const std::u16string current = app_->GetCurrentFolder();
    ASSERT_FALSE(current.empty());
    EXPECT_EQ(current.back(), u'\\');
    EXPECT_TRUE(IsFolder(current));

    const std::u16string temp = app_->GetTempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), u'\\');
    EXPECT_TRUE(IsFolder(temp));
}

TEST_F(AppTest, OpenDocumentReportsAMissingTargetAsFailure) {
    EXPECT_FALSE(app_->OpenDocument(u"C:\\no such folder\\no such file.kodrin-test"));
}

TEST_F(AppTest, CatalogLockExcludesOtherThreadsAndNestsOnOne) {
    struct Shared {
        const QvApp* app;
        std::atomic<bool> inside{false};
    } shared{app_.get()};
    HANDLE thread = nullptr;
    {
        QvLibrary::CatalogLock lock(*app_);
        QvLibrary::CatalogLock again(*app_);   // the window thread may nest
        thread = ::CreateThread(
            nullptr, 0,
            [](void* data) -> DWORD {
                auto* s = static_cast<Shared*>(data);
                QvLibrary::CatalogLock lock(*s->app);
                s->inside = true;
                return 0;
            },
            &shared, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        EXPECT_EQ(::WaitForSingleObject(thread, 150), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_FALSE(shared.inside);
    }
    EXPECT_EQ(::WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(shared.inside);
    ::CloseHandle(thread);
    // Released by the other thread as well: taking it again does not block.
    EXPECT_EQ(::WaitForSingleObject(app_->CatalogMutex(), 0), WAIT_OBJECT_0);
    ::ReleaseMutex(app_->CatalogMutex());
}

}  // namespace
}  // namespace kodrin::test
