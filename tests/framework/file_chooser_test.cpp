// The file chooser, driven through the system's own dialogs: filters, title,
// the starting name, the overwrite question and the folder browser.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/app.h"
#include "framework/file_chooser.h"
#include "platform/text.h"
#include "platform/utf.h"
#include "framework/test_window.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {
namespace {

using QvLibrary::FileChooser;

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::u16string TempFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, path);
    std::u16string folder = reinterpret_cast<const char16_t*>(path);
    folder += u"kodrin-chooser";
    ::CreateDirectoryW(Wide(folder), nullptr);
    return folder;
}

void WriteFile(const std::u16string& path) {
    HANDLE file = ::CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, "x", 1, &written, nullptr);
    ::CloseHandle(file);
}

// The file-name field of an open or save dialog.
HWND NameField(HWND dialog) {
    if (HWND combo = ::GetDlgItem(dialog, cmb13)) return combo;
    return ::GetDlgItem(dialog, edt1);
}

void ChooseName(HWND dialog, const std::u16string& path) {
    ::SetWindowTextW(NameField(dialog), Wide(path));
    Click(dialog, IDOK);
}

// The texts of the file-type list.
std::vector<std::u16string> FileTypes(HWND dialog) {
    std::vector<std::u16string> types;
    HWND list = ::GetDlgItem(dialog, cmb1);
    const LRESULT count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        types.emplace_back(reinterpret_cast<const char16_t*>(text));
    }
    return types;
}

bool Contains(const std::vector<std::u16string>& texts, const std::u16string& wanted) {
    for (const auto& text : texts) {
        if (text == wanted) return true;
    }
    return false;
}

class FileChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        main_ = MakeRecordingWindow(nullptr, nullptr, 0, 0, 0, 300, 200);
        ASSERT_NE(main_, nullptr);
        app_ = std::make_unique<QvLibrary::QvAppWindows>(30000, 30001, 4109, main_);
        folder_ = TempFolder();
        existing_ = folder_ + u"\\existing.xml";
        WriteFile(existing_);
    }
    void TearDown() override {
        ::DeleteFileW(Wide(existing_));
        ::RemoveDirectoryW(Wide(folder_ + u"\\inner"));
        ::RemoveDirectoryW(Wide(folder_));
        app_.reset();
        ::DestroyWindow(main_);
        DrainMessages();
    }

    HWND main_ = nullptr;
    std::unique_ptr<QvLibrary::QvAppWindows> app_;
    DialogDriver driver_;
    std::u16string folder_;
    std::u16string existing_;
};

TEST_F(FileChooserTest, SaveAsksBeforeOverwritingAndNoChoosesAgain) {
    FileChooser chooser(*app_);
    chooser.SetTitle(u"Export Software");
    chooser.SetDefaultExtension(u"xml");
    chooser.AddFilter(u"XML Files (*.xml)", u"*.xml");
    chooser.SetInitialFolder(folder_);
    chooser.SetFileName(u"Kodrin");

    std::u16string caption, startName, secondName, questionCaption;
    std::vector<std::u16string> types, question;
    HWND dialogOwner = nullptr, questionOwner = nullptr;
    driver_.Then([&](HWND dialog) {
        caption = WindowText(dialog);
        startName = WindowText(NameField(dialog));
        types = FileTypes(dialog);
        dialogOwner = ::GetWindow(dialog, GW_OWNER);
        ChooseName(dialog, folder_ + u"\\existing");   // the default extension makes it existing.xml
    });
    driver_.Then([&](HWND box) {
        questionCaption = WindowText(box);
        question = StaticTexts(box);
        questionOwner = ::GetWindow(box, GW_OWNER);
        Click(box, IDNO);
    });
    driver_.Then([&](HWND dialog) {
        secondName = WindowText(NameField(dialog));
        ChooseName(dialog, folder_ + u"\\fresh.xml");
    });
    const auto chosen = chooser.Save();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder_ + u"\\fresh.xml");
    EXPECT_EQ(chooser.FileName(), *chosen);
    EXPECT_EQ(caption, u"Export Software");
    EXPECT_EQ(startName, u"Kodrin");
    EXPECT_TRUE(Contains(types, u"XML Files (*.xml)"));
    EXPECT_EQ(dialogOwner, main_);
    EXPECT_EQ(questionCaption, u"Export Software");
    EXPECT_TRUE(Contains(question, existing_ + u" already exists. Do you want to overwrite the file?"));
    EXPECT_EQ(questionOwner, main_);
    EXPECT_NE(secondName.find(u"existing.xml"), std::u16string::npos);   // No keeps the chosen name
    EXPECT_EQ(driver_.Unexpected(), 0);
}

TEST_F(FileChooserTest, SaveOverAnExistingFileWithYesOrGivingUpWithCancel) {
    FileChooser chooser(*app_);
    chooser.AddFilter(u"All Files (*.*)", u"*.*");
    driver_.Then([&](HWND dialog) { ChooseName(dialog, existing_); });
    std::u16string questionCaption;
    driver_.Then([&](HWND box) {
        questionCaption = WindowText(box);
        Click(box, IDYES);
    });
    EXPECT_EQ(chooser.Save(), existing_);
    EXPECT_EQ(questionCaption, u"Kodrin");   // no title of its own: the program's

    driver_.Then([&](HWND dialog) { ChooseName(dialog, existing_); });
    driver_.Then([](HWND box) { Click(box, IDCANCEL); });
    EXPECT_FALSE(chooser.Save().has_value());

    driver_.Then([](HWND dialog) { Click(dialog, IDCANCEL); });
    EXPECT_FALSE(chooser.Save().has_value());
    EXPECT_EQ(driver_.Unexpected(), 0);
    EXPECT_EQ(driver_.Pending(), 0);
}

TEST_F(FileChooserTest, OpenShowsTheFiltersAndHidesTheReadOnlyBox) {
    FileChooser chooser(*app_);
    chooser.SetTitle(u"Select a picture");
    chooser.AddFilter(u"Image Files (*.bmp *.png)", u"*.bmp;*.png");
    chooser.AddFilter(u"All Files (*.*)", u"*.*");
    chooser.SetInitialFolder(folder_);
    std::u16string caption;
    std::vector<std::u16string> types;
    bool readOnlyShown = true;
    HWND owner = nullptr;
    driver_.Then([&](HWND dialog) {
        caption = WindowText(dialog);
        types = FileTypes(dialog);
        HWND readOnly = ::GetDlgItem(dialog, chx1);
        readOnlyShown = readOnly != nullptr && ::IsWindowVisible(readOnly);
        owner = ::GetWindow(dialog, GW_OWNER);
        ChooseName(dialog, existing_);
    });
    HWND dialogOwner = MakeRecordingWindow(nullptr);
    EXPECT_EQ(chooser.Open(dialogOwner), existing_);
    EXPECT_EQ(caption, u"Select a picture");
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0], u"Image Files (*.bmp *.png)");
    EXPECT_EQ(types[1], u"All Files (*.*)");
    EXPECT_FALSE(readOnlyShown);
    EXPECT_EQ(owner, dialogOwner);
    ::DestroyWindow(dialogOwner);

    driver_.Then([](HWND dialog) { Click(dialog, IDCANCEL); });
    EXPECT_FALSE(chooser.Open(nullptr).has_value());
    EXPECT_EQ(driver_.Unexpected(), 0);
}

TEST_F(FileChooserTest, FileNamesAreCutToTheDialogsBufferAndFiltersEndProperly) {
    FileChooser chooser(*app_);
    chooser.SetFileName(std::u16string(400, u'a'));
    EXPECT_EQ(chooser.FileName().size(), FileChooser::kFileNameCapacity - 1);

    // A filter set without its final zero still reaches the dialog whole.
    chooser.SetFilter(std::u16string(u"Text (*.txt)\0*.txt\0CSV (*.csv)\0*.csv", 36));
    chooser.SetFileName(u"");
    std::vector<std::u16string> types;
    driver_.Then([&](HWND dialog) {
        types = FileTypes(dialog);
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(chooser.Open(nullptr).has_value());
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[1], u"CSV (*.csv)");
}

HWND FindTreeView(HWND dialog) {
    HWND found = nullptr;
    ::EnumChildWindows(
        dialog,
        [](HWND child, LPARAM out) -> BOOL {
            wchar_t name[32] = {};
            ::GetClassNameW(child, name, 32);
            if (std::wstring(name) != L"SysTreeView32") return TRUE;
            *reinterpret_cast<HWND*>(out) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::u16string SelectedTreeText(HWND tree) {
    if (tree == nullptr) return {};
    TVITEMW item{};
    item.hItem = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (item.hItem == nullptr) return {};
    wchar_t text[MAX_PATH] = {};
    item.mask = TVIF_TEXT;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<const char16_t*>(text);
}

TEST_F(FileChooserTest, BrowseForFolderStartsAtTheInitialFolderAndShowsThePrompt) {
    const std::u16string inner = folder_ + u"\\inner";
    ::CreateDirectoryW(Wide(inner), nullptr);
    FileChooser chooser(*app_);
    chooser.SetTitle(u"Where are your programs?");
    chooser.SetInitialFolder(inner);
    std::vector<std::u16string> texts;
    driver_.Then([&](HWND dialog) {
        texts = StaticTexts(dialog);
        // The folder browser may move to the initial folder a moment after it
        // shows; a busy machine would otherwise press OK on its first folder.
        const HWND tree = FindTreeView(dialog);
        PumpUntil([&] { return SelectedTreeText(tree) == u"inner"; }, 10000);
        Click(dialog, IDOK);
    });
    const auto chosen = chooser.BrowseForFolder(main_);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_TRUE(platform::EqualIgnoreCase(*chosen, inner)) << platform::ToUtf8(*chosen);
    EXPECT_TRUE(Contains(texts, u"Where are your programs?"));

    driver_.Then([](HWND dialog) { Click(dialog, IDCANCEL); });
    EXPECT_FALSE(chooser.BrowseForFolder(main_).has_value());
    EXPECT_EQ(driver_.Unexpected(), 0);
}

}  // namespace
}  // namespace kodrin::test
