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
    // Category names compare exactly, so names that differ only in case are
    // different categories: the list holds every one, in tab order.
    std::vector<std::u16string> categories;
    QvLibrary::QvComboBox media{nullptr, true};
};

std::u16string ChosenCategory(HWND dialog, const StatisticsDialog& context) {
    const LRESULT index = ::SendDlgItemMessageW(dialog, kCategoryList, CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= context.categories.size()) return {};
    return context.categories[static_cast<std::size_t>(index)];
}

void Recalculate(HWND dialog, const StatisticsDialog& context) {
    const Statistics figures =
        ComputeStatistics(context.catalog, ChosenCategory(dialog, context), context.media.SelectedText());
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

    context.categories = StatisticsCategoryChoices(context.catalog);
    for (const std::u16string& name : context.categories) {
        ::SendDlgItemMessageW(dialog, kCategoryList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name)));
    }
    const int initial = InitialStatisticsCategory(context.categories, context.category);
    ::SendDlgItemMessageW(dialog, kCategoryList, CB_SETCURSEL, initial < 0 ? 0 : initial, 0);

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
