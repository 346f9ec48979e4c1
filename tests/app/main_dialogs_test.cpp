// The main window's small dialogs, driven in-process: About, the category
// name, Customize Columns, Change Category and Export.
#include <windows.h>

#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_dialogs.h"
#include "catalog/catalog.h"
#include "catalog/settings.h"
#include "framework/app.h"
#include "framework/progress_dialog.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "support/win32/dialog_driver.h"
#include "ids.h"
#include "string_ids.h"

namespace kodrin::app {
namespace {

using test::Click;
using test::DialogDriver;
using test::ItemText;
using test::SetItemText;

bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }
bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// Commands sent straight to the dialog, as a click or a list notification
// would send them, so that the script sees their effect at once.
void Press(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}
void Select(HWND dialog, int list, int index) {
    HWND control = ::GetDlgItem(dialog, list);
    ::SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
}
void DoubleClick(HWND dialog, int list, int index) {
    Select(dialog, list, index);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(list, LBN_DBLCLK), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, list)));
}

// The item data (FieldIds) of a list, in order.
std::vector<int> Ids(HWND dialog, int list) {
    std::vector<int> ids;
    const auto count = ::SendDlgItemMessageW(dialog, list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        ids.push_back(static_cast<int>(::SendDlgItemMessageW(dialog, list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
    return ids;
}

int IndexOf(HWND dialog, int list, int id) {
    const std::vector<int> ids = Ids(dialog, list);
    for (std::size_t i = 0; i < ids.size(); ++i)
        if (ids[i] == id) return static_cast<int>(i);
    return -1;
}

std::u16string ListText(HWND dialog, int list, int index) {
    wchar_t text[256] = {};
    ::SendDlgItemMessageW(dialog, list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return reinterpret_cast<const char16_t*>(text);
}

bool Contains(const std::vector<std::u16string>& texts, const std::u16string& wanted) {
    for (const auto& text : texts)
        if (text == wanted) return true;
    return false;
}

class MainDialogsTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(driver_.Unexpected(), 0);
        EXPECT_LE(driver_.Pending(), allowedPending_);
        test::DrainMessages();
    }

    QvLibrary::QvApp app_{STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE};
    DialogDriver driver_;
    // The progress dialog of a short export may close before the driver
    // sees it, leaving its script unused.
    int allowedPending_ = 0;
};

TEST_F(MainDialogsTest, AboutShowsTheNameAndVersionInformation) {
    std::u16string name, company, copyright;
    bool doneIsDefault = false;
    driver_.Then([&](HWND dialog) {
        name = ItemText(dialog, IDC_ABOUT_LINE1);
        copyright = ItemText(dialog, IDC_ABOUT_LINE3);
        company = ItemText(dialog, IDC_ABOUT_LINE4);
        doneIsDefault = LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0)) == IDCANCEL;
        Click(dialog, IDCANCEL);
    });
    ShowAboutDialog(app_, nullptr);
    EXPECT_EQ(driver_.Answered(), 1);
    EXPECT_EQ(name, u"Kodrin " KODRIN_FILE_VERSION);
    EXPECT_EQ(company, u"Fenwold");
    EXPECT_NE(copyright.find(u"Fenwold"), std::u16string::npos);
    EXPECT_TRUE(doneIsDefault);
}

TEST_F(MainDialogsTest, CategoryNameIsTrimmedAndMustNameACategory) {
    std::vector<bool> okEnabled;
    driver_.Then([&](HWND dialog) {
        okEnabled.push_back(Enabled(dialog, IDOK));  // empty
        SetItemText(dialog, IDC_CATEGORY_NAME, u"   ");
        okEnabled.push_back(Enabled(dialog, IDOK));
        SetItemText(dialog, IDC_CATEGORY_NAME, u"<All>");
        okEnabled.push_back(Enabled(dialog, IDOK));
        SetItemText(dialog, IDC_CATEGORY_NAME, u"  Games ");
        okEnabled.push_back(Enabled(dialog, IDOK));
        Click(dialog, IDOK);
    });
    EXPECT_EQ(AskCategoryName(app_, nullptr, u""), std::optional<std::u16string>(u"Games"));
    EXPECT_EQ(okEnabled, (std::vector<bool>{false, false, false, true}));

    // Renaming starts from the old name; Cancel gives nothing.
    std::u16string shown;
    driver_.Then([&](HWND dialog) {
        shown = ItemText(dialog, IDC_CATEGORY_NAME);
        SetItemText(dialog, IDC_CATEGORY_NAME, u"Utilities");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(AskCategoryName(app_, nullptr, u"Tools"), std::optional<std::u16string>(u"Utilities"));
    EXPECT_EQ(shown, u"Tools");
    driver_.Then([&](HWND dialog) {
        SetItemText(dialog, IDC_CATEGORY_NAME, u"Other");
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(AskCategoryName(app_, nullptr, u"Tools"), std::nullopt);
}

TEST_F(MainDialogsTest, ColumnsMoveBetweenTheListsAndUpAndDown) {
    std::vector<std::uint8_t> columns{3, 20, 27, 3, 200};  // a twice-named column and no field are dropped
    std::vector<int> displayed, available;
    std::u16string firstCaption;
    std::vector<std::vector<bool>> states;  // -->, <--, Up, Down after each step
    auto state = [&](HWND dialog) {
        states.push_back({Enabled(dialog, IDC_COLUMNS_ADD), Enabled(dialog, IDC_COLUMNS_REMOVE), Enabled(dialog, IDC_COLUMNS_UP),
                          Enabled(dialog, IDC_COLUMNS_DOWN)});
    };
    driver_.Then([&](HWND dialog) {
        displayed = Ids(dialog, IDC_COLUMNS_DISPLAYED);
        available = Ids(dialog, IDC_COLUMNS_AVAILABLE);
        firstCaption = ListText(dialog, IDC_COLUMNS_DISPLAYED, 0);
        state(dialog);  // nothing selected
        Select(dialog, IDC_COLUMNS_DISPLAYED, 1);
        state(dialog);
        Select(dialog, IDC_COLUMNS_AVAILABLE, IndexOf(dialog, IDC_COLUMNS_AVAILABLE, 0));
        state(dialog);
        EXPECT_EQ(::SendDlgItemMessageW(dialog, IDC_COLUMNS_DISPLAYED, LB_GETCURSEL, 0, 0), LB_ERR);
        Press(dialog, IDC_COLUMNS_ADD);  // 3 20 27 0
        Select(dialog, IDC_COLUMNS_DISPLAYED, 3);
        EXPECT_EQ(::SendDlgItemMessageW(dialog, IDC_COLUMNS_AVAILABLE, LB_GETCURSEL, 0, 0), LB_ERR);
        Press(dialog, IDC_COLUMNS_UP);
        Press(dialog, IDC_COLUMNS_UP);  // 3 0 20 27
        Press(dialog, IDC_COLUMNS_DOWN);
        Press(dialog, IDC_COLUMNS_UP);
        Press(dialog, IDC_COLUMNS_UP);
        Press(dialog, IDC_COLUMNS_UP);  // already at the top: 0 3 20 27
        Select(dialog, IDC_COLUMNS_DISPLAYED, 1);
        Press(dialog, IDC_COLUMNS_REMOVE);  // 0 20 27; 3 goes to the end of the available list
        DoubleClick(dialog, IDC_COLUMNS_AVAILABLE, IndexOf(dialog, IDC_COLUMNS_AVAILABLE, 5));  // 0 20 27 5
        DoubleClick(dialog, IDC_COLUMNS_DISPLAYED, 1);                                      // 0 27 5
        available = Ids(dialog, IDC_COLUMNS_AVAILABLE);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(CustomizeColumns(app_, nullptr, columns));
    EXPECT_EQ(columns, (std::vector<std::uint8_t>{0, 27, 5}));
    EXPECT_EQ(displayed, (std::vector<int>{3, 20, 27}));
    EXPECT_EQ(firstCaption, app_.LoadString(6003));
    ASSERT_EQ(states.size(), 3u);
    EXPECT_EQ(states[0], (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(states[1], (std::vector<bool>{false, true, true, true}));
    EXPECT_EQ(states[2], (std::vector<bool>{true, false, false, false}));
    ASSERT_EQ(available.size(), 46u);
    EXPECT_EQ(available[44], 3);  // moved back to the end
    EXPECT_EQ(available[45], 20);
}

TEST_F(MainDialogsTest, ColumnsRefuseAnEmptyListAndStayOpen) {
    std::vector<std::uint8_t> columns{3};
    HWND columnsDialog = nullptr;
    bool emptyAfterMove = false, stillOpen = false;
    std::vector<std::u16string> warning;
    driver_.Then([&](HWND dialog) {
        columnsDialog = dialog;
        Select(dialog, IDC_COLUMNS_DISPLAYED, 0);
        Press(dialog, IDC_COLUMNS_REMOVE);
        emptyAfterMove = Ids(dialog, IDC_COLUMNS_DISPLAYED).empty() && !Enabled(dialog, IDC_COLUMNS_REMOVE) &&
                         !Enabled(dialog, IDC_COLUMNS_UP) && !Enabled(dialog, IDC_COLUMNS_ADD);
        Click(dialog, IDOK);
    });
    driver_.Then([&](HWND box) {
        warning = test::StaticTexts(box);
        stillOpen = ::IsWindow(columnsDialog) && ::IsWindowVisible(columnsDialog);
        Click(box, IDOK);
        ::PostMessageW(columnsDialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(CustomizeColumns(app_, nullptr, columns));
    EXPECT_EQ(driver_.Answered(), 2);
    EXPECT_TRUE(emptyAfterMove);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(Contains(warning, u"You must select at least one column to display."));
    EXPECT_EQ(columns, (std::vector<std::uint8_t>{3}));  // Cancel keeps the old list
}

TEST_F(MainDialogsTest, ChangeCategoryPreselectsAndReturnsTheSelection) {
    const std::vector<std::u16string> categories{u"Games", u"Tools", u"Office"};
    std::vector<std::u16string> chosen{u"Tools", u"tools"};
    std::vector<bool> preselected;
    driver_.Then([&](HWND dialog) {
        for (int i = 0; i < 3; ++i)
            preselected.push_back(::SendDlgItemMessageW(dialog, IDC_CHANGE_CATEGORY_LIST, LB_GETSEL, i, 0) > 0);
        ::SendDlgItemMessageW(dialog, IDC_CHANGE_CATEGORY_LIST, LB_SETSEL, TRUE, 0);
        ::SendDlgItemMessageW(dialog, IDC_CHANGE_CATEGORY_LIST, LB_SETSEL, FALSE, 1);
        ::SendDlgItemMessageW(dialog, IDC_CHANGE_CATEGORY_LIST, LB_SETSEL, TRUE, 2);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(ChooseCategories(app_, nullptr, categories, chosen));
    EXPECT_EQ(preselected, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(chosen, (std::vector<std::u16string>{u"Games", u"Office"}));

    driver_.Then([&](HWND dialog) {
        ::SendDlgItemMessageW(dialog, IDC_CHANGE_CATEGORY_LIST, LB_SETSEL, TRUE, 1);
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(ChooseCategories(app_, nullptr, categories, chosen));
    EXPECT_EQ(chosen, (std::vector<std::u16string>{u"Games", u"Office"}));
}

class ExportDialogTest : public MainDialogsTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.Created());
        settings_ = NewSettings();
        catalog_.options = &settings_;
        ApplicationRecord r = NewRecord();
        r.program = u"Editor";
        r.company = u"Fenwold";
        r.categories = {u"Tools"};
        AddRecord(catalog_, r, false);
        r.program = u"Chess";
        r.categories = {u"Games"};
        AddRecord(catalog_, r, false);
        file_.path = folder_.Path() + u"\\Kodrin.xml";
        file_.catalog = &catalog_;
        file_.settings = &settings_;
    }

    test::TempFolder folder_{u"kodrin-export-"};
    Settings settings_;
    Catalog catalog_;
    DataFile file_;
};

TEST_F(ExportDialogTest, CsvNamesEnableTheCsvChoicesAndOtherNamesMeanAllData) {
    std::vector<std::u16string> categories;
    std::vector<std::vector<bool>> states;  // All Data, Selected Columns, Preserve Unicode enabled; All Data checked
    auto state = [&](HWND dialog) {
        states.push_back({Enabled(dialog, IDC_EXPORT_ALL_DATA), Enabled(dialog, IDC_EXPORT_SELECTED_COLUMNS),
                          Enabled(dialog, IDC_EXPORT_UNICODE), Checked(dialog, IDC_EXPORT_ALL_DATA)});
    };
    driver_.Then([&](HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_EXPORT_CATEGORY);
        for (LRESULT i = 0; i < ::SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t text[64] = {};
            ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            categories.emplace_back(reinterpret_cast<const char16_t*>(text));
        }
        categories.push_back(::SendMessageW(list, CB_GETCURSEL, 0, 0) == 0 ? u"first selected" : u"");
        state(dialog);  // no name yet
        SetItemText(dialog, IDC_EXPORT_FILE, u"C:\\out\\list.CSV");
        state(dialog);
        ::CheckRadioButton(dialog, IDC_EXPORT_ALL_DATA, IDC_EXPORT_SELECTED_COLUMNS, IDC_EXPORT_SELECTED_COLUMNS);
        SetItemText(dialog, IDC_EXPORT_FILE, u"C:\\out.csv\\list.xml");
        state(dialog);
        SetItemText(dialog, IDC_EXPORT_FILE, u"C:\\out\\list.csv");
        ::CheckRadioButton(dialog, IDC_EXPORT_ALL_DATA, IDC_EXPORT_SELECTED_COLUMNS, IDC_EXPORT_SELECTED_COLUMNS);
        ::CheckDlgButton(dialog, IDC_EXPORT_UNICODE, BST_UNCHECKED);
        ::CheckDlgButton(dialog, IDC_EXPORT_PICTURES, BST_CHECKED);
        ::SendMessageW(list, CB_SETCURSEL, 2, 0);
        Click(dialog, IDOK);
    });
    auto options = AskExportOptions(app_, nullptr, catalog_, settings_);
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(categories, (std::vector<std::u16string>{u"<All>", u"Tools", u"Games", u"first selected"}));
    ASSERT_EQ(states.size(), 3u);
    EXPECT_EQ(states[0], (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(states[1], (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(states[2], (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(options->path, u"C:\\out\\list.csv");
    EXPECT_EQ(options->category, u"Games");
    EXPECT_FALSE(options->allData);
    EXPECT_FALSE(options->preserveUnicode);
    EXPECT_TRUE(options->exportPictures);

    // Markup always holds all data in UTF-16, whatever the boxes say.
    driver_.Then([&](HWND dialog) {
        SetItemText(dialog, IDC_EXPORT_FILE, u"C:\\out\\list.csv");
        ::CheckRadioButton(dialog, IDC_EXPORT_ALL_DATA, IDC_EXPORT_SELECTED_COLUMNS, IDC_EXPORT_SELECTED_COLUMNS);
        ::CheckDlgButton(dialog, IDC_EXPORT_UNICODE, BST_UNCHECKED);
        SetItemText(dialog, IDC_EXPORT_FILE, u"C:\\out\\list.xml");
        Click(dialog, IDOK);
    });
    options = AskExportOptions(app_, nullptr, catalog_, settings_);
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(options->category, u"<All>");
    EXPECT_TRUE(options->allData);
    EXPECT_TRUE(options->preserveUnicode);
    EXPECT_FALSE(options->exportPictures);
}

TEST_F(ExportDialogTest, TheFileChosenWithTheButtonBecomesThePathAndTheLastPath) {
    settings_.lastPath = folder_.Path() + u"\\earlier.xml";
    const std::u16string picked = folder_.Path() + u"\\picked.csv";
    std::u16string startName, shown;
    bool csvEnabled = false;
    driver_.Then([&](HWND dialog) {
        // Sent, not posted: the save dialog runs inside this script.
        Press(dialog, IDC_EXPORT_BROWSE);
        shown = ItemText(dialog, IDC_EXPORT_FILE);
        csvEnabled = Enabled(dialog, IDC_EXPORT_UNICODE);
        Click(dialog, IDCANCEL);
    });
    driver_.Then([&](HWND chooser) {
        HWND name = ::GetDlgItem(chooser, cmb13) ? ::GetDlgItem(chooser, cmb13) : ::GetDlgItem(chooser, edt1);
        startName = test::WindowText(name);
        ::SetWindowTextW(name, reinterpret_cast<const wchar_t*>(picked.c_str()));
        Click(chooser, IDOK);
    });
    EXPECT_FALSE(AskExportOptions(app_, nullptr, catalog_, settings_).has_value());
    EXPECT_EQ(driver_.Answered(), 2);
    EXPECT_EQ(startName, u"Kodrin");
    EXPECT_EQ(shown, picked);
    EXPECT_TRUE(csvEnabled);
    EXPECT_EQ(settings_.lastPath, picked);
}

TEST_F(ExportDialogTest, OkWithoutAPathCancels) {
    QvLibrary::ProgressDialog progress(app_);
    driver_.Then([&](HWND dialog) {
        SetItemText(dialog, IDC_EXPORT_FILE, u"   ");
        Click(dialog, IDOK);
    });
    EXPECT_FALSE(RunExport(app_, nullptr, file_, progress));
    EXPECT_EQ(driver_.Answered(), 1);  // no progress dialog, no warning
}

// After OK: the progress dialog ends by itself (it may also close before
// the driver sees it); a message box is read and answered.
DialogDriver::Script AfterOk(std::vector<std::u16string>& warning) {
    return [&warning](HWND dialog) {
        if (::GetDlgItem(dialog, QvLibrary::ProgressDialog::kBarItem) != nullptr) {
            EXPECT_EQ(ItemText(dialog, QvLibrary::ProgressDialog::kTextItem), u"Saving Software");
            return;
        }
        warning = test::StaticTexts(dialog);
        Click(dialog, IDOK);
    };
}

TEST_F(ExportDialogTest, ExportWritesTheFileOfTheCategory) {
    allowedPending_ = 1;
    QvLibrary::ProgressDialog progress(app_);
    const std::u16string target = folder_.Path() + u"\\tools.csv";
    driver_.Then([&](HWND dialog) {
        SetItemText(dialog, IDC_EXPORT_FILE, target);
        ::SendDlgItemMessageW(dialog, IDC_EXPORT_CATEGORY, CB_SETCURSEL, 1, 0);  // Tools
        Click(dialog, IDOK);
    });
    std::vector<std::u16string> warning;
    driver_.Then(AfterOk(warning));
    ASSERT_TRUE(RunExport(app_, nullptr, file_, progress));
    EXPECT_TRUE(warning.empty());
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(target, bytes));
    std::u16string text(bytes.size() / 2, u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    EXPECT_EQ(text.rfind(u"\"Login Data\",", 0), 0u);
    EXPECT_NE(text.find(u"\"Editor\""), std::u16string::npos);
    EXPECT_EQ(text.find(u"\"Chess\""), std::u16string::npos);  // another category
}

TEST_F(ExportDialogTest, AFailedExportWarnsAndWritesNothing) {
    allowedPending_ = 1;
    QvLibrary::ProgressDialog progress(app_);
    const std::u16string target = folder_.Path() + u"\\missing\\all.csv";
    driver_.Then([&](HWND dialog) {
        SetItemText(dialog, IDC_EXPORT_FILE, target);
        Click(dialog, IDOK);
    });
    std::vector<std::u16string> warning;
    driver_.Then(AfterOk(warning));
    driver_.Then(AfterOk(warning));
    EXPECT_FALSE(RunExport(app_, nullptr, file_, progress));
    EXPECT_TRUE(Contains(warning, app_.LoadString(4214)));
    EXPECT_FALSE(platform::FileExists(target));
}

}  // namespace
}  // namespace kodrin::app
