// The statistics dialog driven in-process: its filter lists, the figures for
// the category it opens with, and the figures after each filter change.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/statistics_dialog.h"
#include "catalog/catalog.h"
#include "catalog/record.h"
#include "framework/app.h"
#include "support/win32/dialog_driver.h"
#include "ids.h"
#include "string_ids.h"

namespace {

using kodrin::test::Click;
using kodrin::test::DialogDriver;
using kodrin::test::ItemText;


kodrin::ApplicationRecord App(std::u16string category, std::u16string media, double price, int disks,
                              std::u16string version, std::u16string latest, double upgrade) {
    kodrin::ApplicationRecord r = kodrin::NewRecord();
    r.categories = {std::move(category)};
    r.originalMedia = std::move(media);
    r.purchasePrice = price;
    r.diskCount = disks;
    r.version = std::move(version);
    r.latestVersion = std::move(latest);
    r.upgradePrice = upgrade;
    return r;
}

std::vector<std::u16string> Items(HWND dialog, int id) {
    std::vector<std::u16string> items;
    const int count = static_cast<int>(::SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        ::SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.emplace_back(reinterpret_cast<const char16_t*>(text));
    }
    return items;
}

int Selected(HWND dialog, int id) { return static_cast<int>(::SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

// As a choice in the list: select the item, then tell the dialog.
void Choose(HWND dialog, int id, int index) {
    ::SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// applications, disks, total cost, upgrade cost, out of date.
std::vector<std::u16string> Figures(HWND dialog) {
    return {ItemText(dialog, IDC_STATISTICS_APPLICATIONS), ItemText(dialog, IDC_STATISTICS_DISKS), ItemText(dialog, IDC_STATISTICS_TOTAL_COST), ItemText(dialog, IDC_STATISTICS_UPGRADE_COST),
            ItemText(dialog, IDC_STATISTICS_OUT_OF_DATE)};
}

using Texts = std::vector<std::u16string>;

class StatisticsDialogTest : public ::testing::Test {
protected:
    void TearDown() override { kodrin::test::DrainMessages(); }

    void Show(DialogDriver& driver, const kodrin::Catalog& catalog, const std::u16string& category) {
        const int expected = driver.Answered() + driver.Pending();
        kodrin::app::ShowStatistics(app_, nullptr, catalog, category);
        EXPECT_EQ(driver.Answered(), expected);
        EXPECT_EQ(driver.Unexpected(), 0);
    }

    QvLibrary::QvApp app_{STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE};
};

TEST_F(StatisticsDialogTest, FiguresFollowTheCategoryAndTheMedia) {
    kodrin::Catalog catalog;
    kodrin::AddRecord(catalog, App(u"Tools", u"CD", 1000.25, 2, u"1.0", u"1.1", 100), false);      // out of date
    kodrin::AddRecord(catalog, App(u"Tools", u"Other", 234.25, 1, u"1.0", u"1.0 ", 50.5), false);  // blank differs
    kodrin::AddRecord(catalog, App(u"Tools", u"other", 10, 4, u"2.0", u"", 7), false);             // never out of date
    kodrin::AddRecord(catalog, App(u"Games", u"CD", 5, 1, u"1.0a", u"1.0A", 3), false);            // case differs
    kodrin::AddRecord(catalog, App(u"tools", u"Other", -20, 1, u"1", u"1", 1), false);              // another category
    ASSERT_EQ(catalog.categories.size(), 3u);

    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(kodrin::test::WindowText(dialog), u"Application Statistics");
        EXPECT_EQ(Items(dialog, IDC_STATISTICS_CATEGORY), (Texts{u"<All>", u"Tools", u"Games", u"tools"}));
        EXPECT_EQ(Selected(dialog, IDC_STATISTICS_CATEGORY), 1);
        EXPECT_EQ(Items(dialog, IDC_STATISTICS_MEDIA), (Texts{u"<All>", u"CD", u"Download", u"DVD", u"Floppy", u"Other"}));
        EXPECT_EQ(Selected(dialog, IDC_STATISTICS_MEDIA), 0);
        EXPECT_EQ(Figures(dialog), (Texts{u"3", u"7", u"$1244.50", u"$150.50", u"2"}));

        Choose(dialog, IDC_STATISTICS_MEDIA, 5);   // "Other", exactly
        EXPECT_EQ(Figures(dialog), (Texts{u"1", u"1", u"$234.25", u"$50.50", u"1"}));
        Choose(dialog, IDC_STATISTICS_CATEGORY, 3);   // "tools", not "Tools"
        EXPECT_EQ(Figures(dialog), (Texts{u"1", u"1", u"$-20.00", u"$0.00", u"0"}));
        Choose(dialog, IDC_STATISTICS_CATEGORY, 0);
        EXPECT_EQ(Figures(dialog), (Texts{u"2", u"2", u"$214.25", u"$50.50", u"1"}));
        Choose(dialog, IDC_STATISTICS_MEDIA, 0);
        EXPECT_EQ(Figures(dialog), (Texts{u"5", u"9", u"$1229.50", u"$153.50", u"3"}));
        Choose(dialog, IDC_STATISTICS_MEDIA, 3);   // "DVD": none
        EXPECT_EQ(Figures(dialog), (Texts{u"0", u"0", u"$0.00", u"$0.00", u"0"}));
        Click(dialog, IDOK);
    });
    Show(driver, catalog, u"Tools");

    // The other "tools" is chosen as itself; a category that is gone gives "<All>".
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(Selected(dialog, IDC_STATISTICS_CATEGORY), 3);
        EXPECT_EQ(Figures(dialog), (Texts{u"1", u"1", u"$-20.00", u"$0.00", u"0"}));
        // Only OK is there; Escape closes the dialog as well.
        EXPECT_EQ(::GetDlgItem(dialog, IDCANCEL), nullptr);
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Show(driver, catalog, u"tools");
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(Selected(dialog, IDC_STATISTICS_CATEGORY), 0);
        EXPECT_EQ(Figures(dialog)[0], u"5");
        Click(dialog, IDOK);
    });
    Show(driver, catalog, u"Gone");
}

TEST_F(StatisticsDialogTest, AnEmptyCatalogShowsZeros) {
    const kodrin::Catalog catalog;
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(Items(dialog, IDC_STATISTICS_CATEGORY), (Texts{u"<All>"}));
        EXPECT_EQ(Selected(dialog, IDC_STATISTICS_CATEGORY), 0);
        EXPECT_EQ(Figures(dialog), (Texts{u"0", u"0", u"$0.00", u"$0.00", u"0"}));
        Click(dialog, IDOK);
    });
    Show(driver, catalog, u"");
}

}  // namespace
