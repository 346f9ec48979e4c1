#include "app/report_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <memory>

#include "framework/app.h"
#include "framework/combo_box.h"
#include "framework/dialog.h"
#include "framework/helpers.h"
#include "framework/wide.h"
#include "reports/report_choices.h"
#include "ids.h"

namespace kodrin::app {
namespace {

using QvLibrary::QvComboBox;
using QvLibrary::Wide;

constexpr int kStrAll = 4800;
constexpr int kStrOf = 4502;
constexpr int kStrPage = 4503;
constexpr int kStrPreviewTitle = 4510;
constexpr int kStrPreviewPrint = 4511;
constexpr int kStrPreviewPrevious = 4512;
constexpr int kStrPreviewNext = 4513;
constexpr int kStrPreviewClose = 4514;
constexpr int kStrPreviewNoPages = 4515;

constexpr std::array<int, 4> kLabelLists{IDC_REPORT_LABEL1, IDC_REPORT_LABEL2, IDC_REPORT_LABEL3, IDC_REPORT_LABEL4};
constexpr std::array<int, 4> kSizeLists{IDC_REPORT_SIZE1, IDC_REPORT_SIZE2, IDC_REPORT_SIZE3, IDC_REPORT_SIZE4};

// Takes the device context and a copy of the device mode out of a print
// dialog's answer, and frees the answer's memory.
void TakePrinter(PRINTDLGW& dialog, ChosenPrinter& printer) {
    printer.dc.Reset(dialog.hDC);
    printer.mode.clear();
    if (dialog.hDevMode != nullptr) {
        if (const auto* mode = static_cast<const DEVMODEW*>(::GlobalLock(dialog.hDevMode))) {
            const auto* bytes = reinterpret_cast<const BYTE*>(mode);
            printer.mode.assign(bytes, bytes + mode->dmSize + mode->dmDriverExtra);
            ::GlobalUnlock(dialog.hDevMode);
        }
        ::GlobalFree(dialog.hDevMode);
    }
    if (dialog.hDevNames != nullptr) ::GlobalFree(dialog.hDevNames);
}

// The report's pages as metafiles for the preview: the printer's metrics,
// turned to landscape for the summary.
std::vector<reports::Metafile> PreviewPages(const Catalog& catalog, const ReportRequest& request,
                                            const std::vector<std::int32_t>& selectedIds, ChosenPrinter& printer) {
    if (request.options.reportType != kReportDetail && request.options.reportType != kReportLabels &&
        printer.mode.size() >= sizeof(DEVMODEW)) {
        reports::ResetToLandscape(printer.dc.Get(), *reinterpret_cast<DEVMODEW*>(printer.mode.data()));
    }
    const auto applications = RequestedApplications(catalog, request, selectedIds);
    return reports::RecordReport(printer.dc.Get(), request.options.reportType, {applications, &request.options},
                                 reports::ReportFaceFor(request.options.reportFont));
}

class ReportDialog final : public QvLibrary::Dialog {
public:
    ReportDialog(const QvLibrary::QvApp& app, const Catalog& catalog, ReportRequest& request,
                 const std::vector<std::int32_t>& selectedIds, const PrintServices& services)
        : app_(app), catalog_(catalog), request_(request), selectedIds_(selectedIds), services_(services) {}

private:
    INT_PTR Init(HWND dialog) override {
        QvLibrary::CentreOnParent(dialog);
        const Settings& options = request_.options;
        // The radio buttons' ids interleave, so each pair is set by name.
        ::CheckDlgButton(dialog, IDC_REPORT_ALL, options.reportSoftware ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(dialog, IDC_REPORT_SELECTED, options.reportSoftware ? BST_UNCHECKED : BST_CHECKED);

        // Category names compare exactly: names that differ only in case are
        // different categories, and the list holds every one.
        categories_ = {app_.LoadString(kStrAll)};
        categories_.insert(categories_.end(), catalog_.categories.begin(), catalog_.categories.end());
        LRESULT chosen = 0;
        for (const std::u16string& name : categories_) {
            const LRESULT at = ::SendDlgItemMessageW(dialog, IDC_REPORT_CATEGORY, CB_ADDSTRING, 0,
                                                     reinterpret_cast<LPARAM>(Wide(name)));
            if (name == request_.category && chosen == 0) chosen = at;
        }
        ::SendDlgItemMessageW(dialog, IDC_REPORT_CATEGORY, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);

        const auto fieldChoices = reports::FieldChoices();
        const auto sizeChoices = reports::SizeChoices();
        for (std::size_t i = 0; i < 4; ++i) {
            labels_[i].Attach(::GetDlgItem(dialog, kLabelLists[i]));
            sizes_[i].Attach(::GetDlgItem(dialog, kSizeLists[i]));
            for (const auto& choice : fieldChoices) labels_[i].AddItem(choice.text, choice.value, false);
            for (const auto& choice : sizeChoices) sizes_[i].AddItem(choice.text, choice.value, false);
            if (i < options.reportLabels.size()) labels_[i].SelectData(static_cast<std::uint32_t>(options.reportLabels[i]));
            if (i < options.reportSize.size()) sizes_[i].SelectData(static_cast<std::uint32_t>(options.reportSize[i]));
        }

        font_.Attach(::GetDlgItem(dialog, IDC_REPORT_FONT));
        {
            const QvLibrary::WindowDC screen(dialog);
            std::uint32_t number = 0;
            for (const std::u16string& face : reports::FontFaces(screen.Get())) font_.AddItem(face, ++number, false);
        }
        // A face this system lacks stays the choice (the reports fall back
        // to another face while printing); it is not silently replaced.
        if (!options.reportFont.empty()) font_.AddItem(options.reportFont, 0, false);
        font_.SelectText(options.reportFont);

        sort_.Attach(::GetDlgItem(dialog, IDC_REPORT_SORT));
        for (const auto& choice : fieldChoices) sort_.AddItem(choice.text, choice.value, false);
        sort_.SelectData(options.reportSort);

        const int type = options.reportType == kReportDetail   ? IDC_REPORT_DETAIL
                         : options.reportType == kReportLabels ? IDC_REPORT_LABELS
                                                               : IDC_REPORT_SUMMARY;
        for (int button : {IDC_REPORT_DETAIL, IDC_REPORT_LABELS, IDC_REPORT_SUMMARY}) {
            ::CheckDlgButton(dialog, button, button == type ? BST_CHECKED : BST_UNCHECKED);
        }
        EnableLabelLists(dialog, type == IDC_REPORT_LABELS);
        return TRUE;
    }

    bool Command(HWND dialog, WORD id, WORD notification) override {
        switch (id) {
            case IDC_REPORT_LABELS:
            case IDC_REPORT_DETAIL:
            case IDC_REPORT_SUMMARY:
                if (notification == BN_CLICKED) EnableLabelLists(dialog, id == IDC_REPORT_LABELS);
                return true;
            case IDC_REPORT_PREVIEW:
                if (notification == BN_CLICKED) Preview(dialog);
                return true;
            default:
                return false;
        }
    }

    bool Ok(HWND dialog) override {
        Read(dialog, request_);
        return true;
    }

    void EnableLabelLists(HWND dialog, bool enable) {
        for (std::size_t i = 0; i < 4; ++i) {
            ::EnableWindow(::GetDlgItem(dialog, kLabelLists[i]), enable);
            ::EnableWindow(::GetDlgItem(dialog, kSizeLists[i]), enable);
        }
    }

    void Read(HWND dialog, ReportRequest& request) const {
        Settings& options = request.options;
        options.reportType = ::IsDlgButtonChecked(dialog, IDC_REPORT_SUMMARY) == BST_CHECKED  ? kReportSummary
                             : ::IsDlgButtonChecked(dialog, IDC_REPORT_LABELS) == BST_CHECKED ? kReportLabels
                                                                                              : kReportDetail;
        options.reportSoftware = ::IsDlgButtonChecked(dialog, IDC_REPORT_ALL) == BST_CHECKED;
        options.reportLabels.assign(4, 0);
        options.reportSize.assign(4, 0);
        for (std::size_t i = 0; i < 4; ++i) {
            options.reportLabels[i] = static_cast<std::int32_t>(labels_[i].SelectedData());
            options.reportSize[i] = static_cast<std::int32_t>(sizes_[i].SelectedData());
        }
        options.reportFont = font_.SelectedText();
        options.reportSort = sort_.SelectedData();
        const LRESULT category = ::SendDlgItemMessageW(dialog, IDC_REPORT_CATEGORY, CB_GETCURSEL, 0, 0);
        request.category = category >= 0 && static_cast<std::size_t>(category) < categories_.size()
                               ? categories_[static_cast<std::size_t>(category)]
                               : std::u16string();
    }

    void Preview(HWND dialog) {
        ReportRequest shown = request_;
        Read(dialog, shown);
        ChosenPrinter printer;
        const bool hasPrinter = services_.defaultPrinter && services_.defaultPrinter(printer) && printer.dc;
        if (!hasPrinter) {
            // Without a printer the pages take the screen's metrics.
            printer.dc.Reset(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
            printer.mode.clear();
        }
        const auto pages = PreviewPages(catalog_, shown, selectedIds_, printer);
        if (ShowPrintPreview(app_, dialog, pages, printer.dc.Get())) {
            request_ = std::move(shown);
            End(IDOK);
        }
    }

    const QvLibrary::QvApp& app_;
    const Catalog& catalog_;
    ReportRequest& request_;
    const std::vector<std::int32_t>& selectedIds_;
    const PrintServices& services_;
    std::vector<std::u16string> categories_;
    std::array<QvComboBox, 4> labels_;  // unsorted: the items keep the choices' order
    std::array<QvComboBox, 4> sizes_;
    QvComboBox font_{nullptr, true};
    QvComboBox sort_;
};

// ---------------------------------------------------------------------------
// The print preview window.

struct Preview {
    const QvLibrary::QvApp* app = nullptr;
    const std::vector<reports::Metafile>* pages = nullptr;
    int widthMils = 0;   // the page's printable area, in thousandths of an inch
    int heightMils = 0;
    int current = 0;
    bool print = false;
    bool done = false;
};

constexpr int kBarHeight = 40;

void ShowPage(HWND window, Preview& preview, int page) {
    const int count = static_cast<int>(preview.pages->size());
    preview.current = std::clamp(page, 0, std::max(0, count - 1));
    ::EnableWindow(::GetDlgItem(window, kPreviewPrevious), preview.current > 0);
    ::EnableWindow(::GetDlgItem(window, kPreviewNext), preview.current + 1 < count);
    ::InvalidateRect(window, nullptr, FALSE);
}

// The page zoomed to fit below the button bar, keeping its proportions.
RECT PageRectangle(const RECT& client, const Preview& preview) {
    const int margin = 12;
    const int areaW = std::max(1, static_cast<int>(client.right) - 2 * margin);
    const int areaH = std::max(1, static_cast<int>(client.bottom) - kBarHeight - 2 * margin);
    const int pageW = std::max(1, preview.widthMils);
    const int pageH = std::max(1, preview.heightMils);
    int w = areaW;
    int h = ::MulDiv(areaW, pageH, pageW);
    if (h > areaH) {
        h = areaH;
        w = ::MulDiv(areaH, pageW, pageH);
    }
    const int left = (static_cast<int>(client.right) - w) / 2;
    const int top = kBarHeight + margin + (areaH - h) / 2;
    return {left, top, left + w, top + h};
}

void Paint(HWND window, Preview& preview) {
    PAINTSTRUCT paint;
    HDC target = ::BeginPaint(window, &paint);
    RECT client;
    ::GetClientRect(window, &client);
    QvLibrary::MemoryDC memory(::CreateCompatibleDC(target));
    QvLibrary::Bitmap bitmap(::CreateCompatibleBitmap(target, std::max(1L, client.right), std::max(1L, client.bottom)));
    {
        const QvLibrary::Selection selected(memory.Get(), bitmap.Get());
        HDC dc = memory.Get();
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_APPWORKSPACE));
        RECT bar{0, 0, client.right, kBarHeight};
        ::FillRect(dc, &bar, ::GetSysColorBrush(COLOR_BTNFACE));
        const QvLibrary::Selection font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(dc, TRANSPARENT);
        const int count = static_cast<int>(preview.pages->size());
        std::u16string status = preview.app->LoadString(kStrPreviewNoPages);
        if (count > 0) {
            const std::string n = std::to_string(preview.current + 1), m = std::to_string(count);
            status = preview.app->LoadString(kStrPage) + std::u16string(n.begin(), n.end()) +
                     preview.app->LoadString(kStrOf) + std::u16string(m.begin(), m.end());
            const RECT page = PageRectangle(client, preview);
            RECT shadow{page.left + 4, page.top + 4, page.right + 4, page.bottom + 4};
            ::FillRect(dc, &shadow, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
            ::FillRect(dc, &page, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
            ::PlayEnhMetaFile(dc, (*preview.pages)[static_cast<std::size_t>(preview.current)].Get(), &page);
        }
        RECT text{0, 0, client.right - 12, kBarHeight};
        ::DrawTextW(dc, Wide(status), -1, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        ::BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    }
    ::EndPaint(window, &paint);
}

LRESULT CALLBACK PreviewProcedure(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_NCCREATE) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    }
    auto* preview = reinterpret_cast<Preview*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (preview == nullptr) return ::DefWindowProcW(window, message, wp, lp);
    switch (message) {
        case WM_CREATE: {
            const std::array<std::pair<int, int>, 4> buttons{{{kPreviewPrint, kStrPreviewPrint},
                                                              {kPreviewPrevious, kStrPreviewPrevious},
                                                              {kPreviewNext, kStrPreviewNext},
                                                              {kPreviewClose, kStrPreviewClose}}};
            int x = 8;
            for (const auto& [id, text] : buttons) {
                HWND button = ::CreateWindowExW(0, L"BUTTON", Wide(preview->app->LoadString(text)),
                                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x, 7, 110, 26,
                                                window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                                                nullptr);
                ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), 0);
                x += 116;
            }
            ::EnableWindow(::GetDlgItem(window, kPreviewPrint), !preview->pages->empty());
            ShowPage(window, *preview, 0);
            return 0;
        }
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kPreviewPrint:
                    if (preview->pages->empty()) return 0;
                    preview->print = true;
                    preview->done = true;
                    return 0;
                case kPreviewPrevious:
                    ShowPage(window, *preview, preview->current - 1);
                    return 0;
                case kPreviewNext:
                    ShowPage(window, *preview, preview->current + 1);
                    return 0;
                case kPreviewClose:
                case IDCANCEL:
                    preview->done = true;
                    return 0;
            }
            break;
        case WM_KEYDOWN:
            if (wp == VK_PRIOR || wp == VK_NEXT) {
                ShowPage(window, *preview, preview->current + (wp == VK_NEXT ? 1 : -1));
                return 0;
            }
            if (wp == VK_ESCAPE) {
                preview->done = true;
                return 0;
            }
            break;
        case WM_SIZE:
            ::InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(window, *preview);
            return 0;
        case WM_CLOSE:
            preview->done = true;
            return 0;
    }
    return ::DefWindowProcW(window, message, wp, lp);
}

bool RegisterPreviewClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kPreviewClass, &windowClass)) return true;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = PreviewProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kPreviewClass;
    return ::RegisterClassExW(&windowClass) != 0;
}

bool DefaultPrinterFromDialog(ChosenPrinter& printer) {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!::PrintDlgW(&dialog)) return false;
    TakePrinter(dialog, printer);
    return static_cast<bool>(printer.dc);
}

bool PrinterFromDialog(HWND owner, ChosenPrinter& printer) {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE;
    dialog.nCopies = 1;
    if (!::PrintDlgW(&dialog)) return false;
    TakePrinter(dialog, printer);
    return static_cast<bool>(printer.dc);
}

}  // namespace

PrintServices SystemPrintServices() { return {PrinterFromDialog, DefaultPrinterFromDialog, {}}; }

std::vector<const ApplicationRecord*> RequestedApplications(const Catalog& catalog, const ReportRequest& request,
                                                            const std::vector<std::int32_t>& selectedIds) {
    return reports::CollectApplications(catalog, request.options.reportSoftware, request.category, selectedIds,
                                        request.options.reportSort);
}

bool RunReportDialog(const QvLibrary::QvApp& app, HWND owner, const Catalog& catalog, ReportRequest& request,
                     const std::vector<std::int32_t>& selectedIds, const PrintServices& services) {
    ReportDialog dialog(app, catalog, request, selectedIds, services);
    return dialog.Run(app, owner, DLG_REPORT);
}

int RunPrintCommand(const QvLibrary::QvApp& app, HWND owner, const Catalog& catalog, const Settings& settings,
                    const std::u16string& currentCategory, const std::vector<std::int32_t>& selectedIds,
                    const std::function<void(const Settings&)>& storeOptions, const PrintServices& services) {
    ReportRequest request{settings, currentCategory};
    if (!RunReportDialog(app, owner, catalog, request, selectedIds, services)) return -1;
    if (storeOptions) storeOptions(request.options);
    ChosenPrinter printer;
    if (!services.choosePrinter || !services.choosePrinter(owner, printer) || !printer.dc) return -1;
    if (request.options.reportType != kReportDetail && request.options.reportType != kReportLabels &&
        printer.mode.size() >= sizeof(DEVMODEW)) {
        reports::ResetToLandscape(printer.dc.Get(), *reinterpret_cast<DEVMODEW*>(printer.mode.data()));
    }
    const auto applications = RequestedApplications(catalog, request, selectedIds);
    const int pages = reports::PrintReport(printer.dc.Get(), services.output, request.options.reportType,
                                           {applications, &request.options},
                                           reports::ReportFaceFor(request.options.reportFont));
    return pages;
}

bool ShowPrintPreview(const QvLibrary::QvApp& app, HWND owner, const std::vector<reports::Metafile>& pages,
                      HDC reference) {
    if (!RegisterPreviewClass()) return false;
    Preview preview;
    preview.app = &app;
    preview.pages = &pages;
    const int dpiX = std::max(1, ::GetDeviceCaps(reference, LOGPIXELSX));
    const int dpiY = std::max(1, ::GetDeviceCaps(reference, LOGPIXELSY));
    preview.widthMils = ::MulDiv(::GetDeviceCaps(reference, HORZRES), 1000, dpiX);
    preview.heightMils = ::MulDiv(::GetDeviceCaps(reference, VERTRES), 1000, dpiY);

    RECT work{0, 0, 1024, 768};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = (work.right - work.left) * 3 / 4;
    const int height = (work.bottom - work.top) * 9 / 10;
    HWND window = ::CreateWindowExW(0, kPreviewClass, Wide(app.LoadString(kStrPreviewTitle)),
                                    WS_OVERLAPPEDWINDOW, work.left + (work.right - work.left - width) / 2,
                                    work.top + (work.bottom - work.top - height) / 2, width, height, owner, nullptr,
                                    ::GetModuleHandleW(nullptr), &preview);
    if (window == nullptr) return false;
    const bool ownerWasEnabled = owner != nullptr && !::EnableWindow(owner, FALSE);
    ::ShowWindow(window, SW_SHOW);
    ::SetFocus(window);
    MSG message;
    bool quit = false;
    while (!preview.done) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            break;
        }
        // Page Up, Page Down and Escape page and close wherever the focus is
        // inside the preview (a button has it after a click).
        if (message.message == WM_KEYDOWN &&
            (message.wParam == VK_PRIOR || message.wParam == VK_NEXT || message.wParam == VK_ESCAPE) &&
            (message.hwnd == window || ::IsChild(window, message.hwnd))) {
            ::SendMessageW(window, WM_KEYDOWN, message.wParam, message.lParam);
            continue;
        }
        if (::IsDialogMessageW(window, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
    ::DestroyWindow(window);
    if (owner != nullptr) ::SetActiveWindow(owner);
    if (quit) ::PostQuitMessage(static_cast<int>(message.wParam));
    return preview.print;
}

}  // namespace kodrin::app
