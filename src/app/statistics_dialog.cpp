#include "app/statistics_dialog.h"

#include <vector>

#include "framework/app.h"
#include "framework/combo_box.h"
#include "framework/helpers.h"
#include "reports/statistics.h"

namespace kodrin::app {
namespace {

using QvLibrary::QvApp;

constexpr int kTemplate = 2100;
constexpr int kCategoryList = 2101;
constexpr int kTotalCost = 2102;
constexpr int kApplications = 2103;
constexpr int kDisks = 2104;
constexpr int kMediaList = 2105;
constexpr int kOutOfDate = 2106;
constexpr int kUpgradeCost = 2107;

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

struct StatisticsDialog {
    StatisticsDialog(const Catalog& c, const std::u16string& initial) : catalog(c), category(initial) {}

    const Catalog& catalog;
    const std::u16string& category;
    QvLibrary::QvComboBox categories;
    QvLibrary::QvComboBox media{nullptr, true};
};

// Selects the item whose text is exactly text; false when there is none.
bool SelectExactly(HWND dialog, int id, const QvLibrary::QvComboBox& box, const std::u16string& text) {
    const auto& items = box.Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].text == text) {
            ::SendDlgItemMessageW(dialog, id, CB_SETCURSEL, i, 0);
            return true;
        }
    }
    return false;
}

void Recalculate(HWND dialog, const StatisticsDialog& context) {
    const Statistics figures =
        ComputeStatistics(context.catalog, context.categories.SelectedText(), context.media.SelectedText());
    const StatisticsTexts texts = FormatStatistics(figures);
    ::SetDlgItemTextW(dialog, kApplications, Wide(texts.applications));
    ::SetDlgItemTextW(dialog, kDisks, Wide(texts.disks));
    ::SetDlgItemTextW(dialog, kTotalCost, Wide(texts.totalCost));
    ::SetDlgItemTextW(dialog, kUpgradeCost, Wide(texts.upgradeCost));
    ::SetDlgItemTextW(dialog, kOutOfDate, Wide(texts.outOfDate));
}

void Open(HWND dialog, StatisticsDialog& context) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&context));
    QvLibrary::CentreOnParent(dialog);

    context.categories.Attach(::GetDlgItem(dialog, kCategoryList));
    const std::vector<std::u16string> choices = StatisticsCategoryChoices(context.catalog);
    for (std::size_t i = 0; i < choices.size(); ++i) {
        context.categories.AddItem(choices[i], static_cast<std::uint32_t>(i), false);
    }
    const int initial = InitialStatisticsCategory(choices, context.category);
    if (initial < 0 || initial >= static_cast<int>(choices.size()) ||
        !SelectExactly(dialog, kCategoryList, context.categories, choices[static_cast<std::size_t>(initial)])) {
        ::SendDlgItemMessageW(dialog, kCategoryList, CB_SETCURSEL, 0, 0);
    }

    context.media.Attach(::GetDlgItem(dialog, kMediaList));
    for (const MediaChoice& choice : StatisticsMediaChoices()) {
        context.media.AddItem(choice.text, static_cast<std::uint32_t>(choice.value), false);
    }
    context.media.SelectData(0);   // "<All>"
    Recalculate(dialog, context);
}

INT_PTR CALLBACK StatisticsProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    auto* context = reinterpret_cast<StatisticsDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            Open(dialog, *reinterpret_cast<StatisticsDialog*>(lp));
            return TRUE;
        case WM_COMMAND:
            if (context == nullptr) return FALSE;
            switch (LOWORD(wp)) {
                case kCategoryList:
                case kMediaList:
                    if (HIWORD(wp) == CBN_SELCHANGE) Recalculate(dialog, *context);
                    return TRUE;
                case IDOK:
                case IDCANCEL:
                    ::EndDialog(dialog, IDOK);
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_DESTROY:
            if (context != nullptr) {
                context->categories.Detach();
                context->media.Detach();
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void ShowStatistics(const QvApp& app, HWND owner, const Catalog& catalog, const std::u16string& category) {
    StatisticsDialog context(catalog, category);
    app.RunDialog(owner, kTemplate, StatisticsProc, reinterpret_cast<LPARAM>(&context));
}

}  // namespace kodrin::app
