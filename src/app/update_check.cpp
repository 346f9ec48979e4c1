#include "app/update_check.h"

#include <commctrl.h>

#include <atomic>

#include "catalog/strings.h"
#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/progress_dialog.h"
#include "framework/wide.h"
#include "ids.h"
#include "platform/utf.h"
#include "string_ids.h"

namespace kodrin::app {

namespace {

update::HttpLimits Limits(const CheckLimits& limits, const std::atomic<bool>& cancel) {
    update::HttpLimits http;
    http.connectTimeoutMs = limits.connectTimeoutMs;
    http.receiveTimeoutMs = limits.receiveTimeoutMs;
    http.cancel = &cancel;
    return http;
}

std::u16string Number(std::size_t n) { return platform::FromUtf8(std::to_string(n)); }

// text with %1, %2, ... replaced by the values.
std::u16string Fill(std::u16string text, const std::vector<std::u16string>& values) {
    for (std::size_t i = values.size(); i-- > 0;) {
        const std::u16string mark = u"%" + Number(i + 1);
        for (std::size_t at = text.find(mark); at != std::u16string::npos; at = text.find(mark, at + values[i].size())) {
            text.replace(at, mark.size(), values[i]);
        }
    }
    return text;
}

class ResultsDialog final : public QvLibrary::Dialog {
public:
    ResultsDialog(const std::vector<CheckRow>& rows, bool notStored, const QvLibrary::QvApp& app)
        : rows_(rows), notStored_(notStored), app_(app) {}

    INT_PTR Init(HWND dialog) override {
        HWND list = ::GetDlgItem(dialog, IDC_CHECK_RESULTS_LIST);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        RECT area{};
        ::GetClientRect(list, &area);
        const int width = area.right - area.left - ::GetSystemMetrics(SM_CXVSCROLL);
        const int columns[] = {STR_CHECK_COLUMN_APPLICATION, STR_CHECK_COLUMN_INSTALLED, STR_CHECK_COLUMN_PUBLISHED,
                               STR_CHECK_COLUMN_OUTCOME};
        const int shares[] = {29, 21, 21, 29};
        for (int i = 0; i < 4; ++i) {
            std::wstring caption = QvLibrary::WideCopy(LoadText(columns[i]));
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = caption.data();
            column.cx = width * shares[i] / 100;
            ListView_InsertColumn(list, i, &column);
        }
        for (std::size_t row = 0; row < rows_.size(); ++row) {
            const CheckRow& r = rows_[row];
            const std::u16string cells[] = {r.application, r.installed, r.result.published,
                                            update::OutcomeCaption(r.result)};
            for (int i = 0; i < 4; ++i) {
                std::wstring text = QvLibrary::WideCopy(cells[i]);
                if (i == 0) {
                    LVITEMW item{};
                    item.mask = LVIF_TEXT | LVIF_PARAM;
                    item.iItem = static_cast<int>(row);
                    item.pszText = text.data();
                    item.lParam = static_cast<LPARAM>(row);
                    ListView_InsertItem(list, &item);
                } else {
                    ListView_SetItemText(list, static_cast<int>(row), i, text.data());
                }
            }
        }
        const update::CheckCounts counts = update::CountOutcomes(Results());
        std::u16string summary = Fill(LoadText(STR_CHECK_ALL_SUMMARY),
                                      {Number(rows_.size()), Number(counts.newer), Number(counts.current),
                                       Number(counts.noVersion), Number(counts.failed)});
        if (notStored_) summary += u" " + LoadText(STR_CHECK_ALL_NOT_STORED);
        ::SetDlgItemTextW(dialog, IDC_CHECK_RESULTS_SUMMARY, QvLibrary::Wide(summary));
        ::EnableWindow(::GetDlgItem(dialog, IDC_CHECK_RESULTS_OPEN), FALSE);
        return TRUE;
    }

    bool Command(HWND dialog, WORD id, WORD) override {
        if (id != IDC_CHECK_RESULTS_OPEN) return false;
        if (const CheckRow* row = Selected(dialog); row != nullptr && !row->result.downloadUrl.empty()) {
            app_.OpenDocument(row->result.downloadUrl);
        }
        return true;
    }

    bool Message(HWND dialog, UINT message, WPARAM, LPARAM lp, INT_PTR&) override {
        if (message != WM_NOTIFY) return false;
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        if (header->idFrom != IDC_CHECK_RESULTS_LIST || header->code != LVN_ITEMCHANGED) return false;
        const CheckRow* row = Selected(dialog);
        ::EnableWindow(::GetDlgItem(dialog, IDC_CHECK_RESULTS_OPEN),
                       row != nullptr && !row->result.downloadUrl.empty());
        return true;
    }

private:
    std::vector<update::PadCheckResult> Results() const {
        std::vector<update::PadCheckResult> results;
        for (const CheckRow& r : rows_) results.push_back(r.result);
        return results;
    }

    const CheckRow* Selected(HWND dialog) const {
        HWND list = ::GetDlgItem(dialog, IDC_CHECK_RESULTS_LIST);
        const int index = ListView_GetNextItem(list, -1, LVNI_SELECTED);
        if (index < 0) return nullptr;
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        if (!ListView_GetItem(list, &item)) return nullptr;
        const auto row = static_cast<std::size_t>(item.lParam);
        return row < rows_.size() ? &rows_[row] : nullptr;
    }

    const std::vector<CheckRow>& rows_;
    bool notStored_;
    const QvLibrary::QvApp& app_;
};

}  // namespace

std::optional<update::PadCheckResult> RunPadCheck(QvLibrary::ProgressDialog& progress, HWND owner,
                                                  const std::u16string& padUrl, const std::u16string& installed,
                                                  const CheckLimits& limits) {
    std::atomic<bool> cancel{false};
    update::PadCheckResult result;
    const bool finished = progress.Run(
        owner, STR_CHECK_ONE_TITLE,
        [&](QvLibrary::ProgressDialog& job) {
            job.SetProgress(10);
            const auto session = update::OpenHttpSession(u"PadFileDownload", Limits(limits, cancel));
            if (session) {
                result = update::CheckPadFile(*session, padUrl, installed);
            } else {
                result.failure = update::CheckFailure::Unreachable;
            }
            job.SetProgress(100);
            job.Finish(cancel.load());
        },
        [&] { cancel = true; });
    if (!finished || cancel.load()) return std::nullopt;
    return result;
}

std::optional<std::vector<update::PadCheckResult>> RunCheckAll(QvLibrary::ProgressDialog& progress, HWND owner,
                                                               const std::vector<update::CheckItem>& items,
                                                               const CheckLimits& limits) {
    std::atomic<bool> cancel{false};
    std::vector<update::PadCheckResult> results;
    const std::u16string format = LoadText(STR_CHECK_PROGRESS);
    const bool finished = progress.Run(
        owner, STR_CHECK_ALL_TITLE,
        [&](QvLibrary::ProgressDialog& job) {
            job.SetText(Fill(format, {Number(0), Number(items.size())}));
            results = update::CheckAll(items, Limits(limits, cancel), update::kChecksAtOnce, {},
                                       [&](std::size_t done, std::size_t total) {
                                           job.SetProgress(static_cast<int>(done * 100 / total));
                                           job.SetText(Fill(format, {Number(done), Number(total)}));
                                       });
            job.Finish(cancel.load());
        },
        [&] { cancel = true; });
    if (!finished || cancel.load()) return std::nullopt;
    return results;
}

void ShowCheckResults(const QvLibrary::QvApp& app, HWND owner, const std::vector<CheckRow>& rows, bool notStored) {
    ResultsDialog dialog(rows, notStored, app);
    dialog.Run(app, owner, DLG_CHECK_RESULTS);
}

}  // namespace kodrin::app
