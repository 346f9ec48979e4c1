#include "app/statistics_dialog.h"

#include <vector>

#include "framework/app.h"
#include "framework/combo_box.h"
#include "framework/dialog.h"
#include "framework/helpers.h"
#include "framework/wide.h"
#include "reports/statistics.h"
#include "ids.h"

namespace kodrin::app {
namespace {

using QvLibrary::QvApp;


using QvLibrary::Wide;

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
    const LRESULT index = ::SendDlgItemMessageW(dialog, IDC_STATISTICS_CATEGORY, CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= context.categories.size()) return {};
    return context.categories[static_cast<std::size_t>(index)];
}

void Recalculate(HWND dialog, const StatisticsDialog& context) {
    const Statistics figures =
        ComputeStatistics(context.catalog, ChosenCategory(dialog, context), context.media.SelectedText());
    const StatisticsTexts texts = FormatStatistics(figures);
    ::SetDlgItemTextW(dialog, IDC_STATISTICS_APPLICATIONS, Wide(texts.applications));
    ::SetDlgItemTextW(dialog, IDC_STATISTICS_DISKS, Wide(texts.disks));
    ::SetDlgItemTextW(dialog, IDC_STATISTICS_TOTAL_COST, Wide(texts.totalCost));
    ::SetDlgItemTextW(dialog, IDC_STATISTICS_UPGRADE_COST, Wide(texts.upgradeCost));
    ::SetDlgItemTextW(dialog, IDC_STATISTICS_OUT_OF_DATE, Wide(texts.outOfDate));
}

void Open(HWND dialog, StatisticsDialog& context) {
    QvLibrary::CentreOnParent(dialog);

    context.categories = StatisticsCategoryChoices(context.catalog);
    for (const std::u16string& name : context.categories) {
        ::SendDlgItemMessageW(dialog, IDC_STATISTICS_CATEGORY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name)));
    }
    const int initial = InitialStatisticsCategory(context.categories, context.category);
    ::SendDlgItemMessageW(dialog, IDC_STATISTICS_CATEGORY, CB_SETCURSEL, initial < 0 ? 0 : initial, 0);

    context.media.Attach(::GetDlgItem(dialog, IDC_STATISTICS_MEDIA));
    for (const MediaChoice& choice : StatisticsMediaChoices()) {
        context.media.AddItem(choice.text, static_cast<std::uint32_t>(choice.value), false);
    }
    context.media.SelectData(0);   // "<All>"
    Recalculate(dialog, context);
}

// Only shows figures: Cancel closes it as OK does.
class StatisticsBinding final : public QvLibrary::Dialog {
public:
    explicit StatisticsBinding(StatisticsDialog& context) : context_(context) {}

private:
    INT_PTR Init(HWND dialog) override {
        Open(dialog, context_);
        return TRUE;
    }
    bool Command(HWND dialog, WORD id, WORD notification) override {
        if (id != IDC_STATISTICS_CATEGORY && id != IDC_STATISTICS_MEDIA) return false;
        if (notification == CBN_SELCHANGE) Recalculate(dialog, context_);
        return true;
    }
    bool Cancel(HWND) override {
        End(IDOK);
        return false;
    }
    bool Message(HWND, UINT message, WPARAM, LPARAM, INT_PTR&) override {
        if (message == WM_DESTROY) context_.media.Detach();
        return false;
    }

    StatisticsDialog& context_;
};

}  // namespace

void ShowStatistics(const QvApp& app, HWND owner, const Catalog& catalog, const std::u16string& category) {
    StatisticsDialog context(catalog, category);
    StatisticsBinding dialog(context);
    dialog.Run(app, owner, DLG_STATISTICS);
}

}  // namespace kodrin::app
