// Which controls belong to which page of the details dialog, and where they
// stand. Rows start at y 60 (80 under the multiple-edit warning) and follow
// each other 30 pixels apart: a label on the left, its control from x 200.
#include <array>
#include <vector>

#include "app/details_internal.h"

namespace kodrin::app {
namespace {

using namespace details_ids;

enum class RowKind {
    Text,      // edit from x 200 to the right margin
    Location,  // edit with a "..." button at the right
    Web,       // edit with an "Open in Browser" button at the right
    Date,      // 120 wide, with its "..." button at x 320
    Short,     // 120 wide
    Number,    // 60 wide
    Check,     // a check box
    Combo,     // a drop-down list
    Disks,     // the disk-count static with its up-down control
    Multi,     // a multi-line edit down to the bottom of the page
};

struct PageRow {
    int label;
    int control;
    RowKind kind;
    int button = 0;
};

constexpr PageRow kApplicationRows[] = {
    {7000, kPath, RowKind::Location, kChooseProgram},
    {7001, kCompany, RowKind::Text},
    {7008, kHomePage, RowKind::Web, kOpenHomePage},
    {7002, kProgram, RowKind::Text},
    {7003, kVersion, RowKind::Short},
    {7004, kInstallDate, RowKind::Date, kInstallDateButton},
    {7005, kReleasedDate, RowKind::Date, kReleasedDateButton},
    {7006, kHide, RowKind::Check},
    {7007, kAutoRemove, RowKind::Check},
};
constexpr PageRow kSupportRows[] = {
    {7100, kSupportPage, RowKind::Web, kOpenSupportPage},
    {7101, kEmail, RowKind::Text},
    {7102, kSupportPhone, RowKind::Text},
    {7103, kSupportAddress, RowKind::Multi},
};
constexpr PageRow kLoginRows[] = {
    {7200, login_tab_ids::kLoginPage, RowKind::Web, login_tab_ids::kOpenInBrowser},
    {7201, login_tab_ids::kAutoLogin, RowKind::Check},
};
constexpr PageRow kPurchaseRows[] = {
    {7300, kPurchaseDate, RowKind::Date, kPurchaseDateButton},
    {7301, kPurchasePrice, RowKind::Short},
    {7302, kMedia, RowKind::Combo},
    {7303, kDiskCount, RowKind::Disks, kDiskSpin},
    {7304, kInstallFile, RowKind::Location, kChooseInstaller},
    {7305, kLicenseType, RowKind::Combo},
    {7306, kPaymentMethod, RowKind::Combo},
};
constexpr PageRow kUpgradeRows[] = {
    {7400, kDateLastChecked, RowKind::Date, kDateLastCheckedButton},
    {7401, kLatestVersion, RowKind::Short},
    {7402, kUpgradePrice, RowKind::Short},
    {7403, kAutoUpdate, RowKind::Check},
    {7404, kComments, RowKind::Text},
    {7405, kUpgradePage, RowKind::Web, kOpenUpgradePage},
    {7406, kPadFile, RowKind::Text},
};
constexpr PageRow kRegistrationRows[] = {
    {7500, kUserName, RowKind::Text},
    {7501, kOrganization, RowKind::Text},
    {7502, kRegistrationEmail, RowKind::Text},
    {7503, kSerialNumber, RowKind::Text},
    {7504, kRegistrationType, RowKind::Text},
    {7505, kRegistrationExpire, RowKind::Date, kRegistrationExpireButton},
    {7506, kRegistrationKey, RowKind::Text},
};
constexpr PageRow kCustomRows[] = {
    {kFirstCustomLabel, kFirstCustom, RowKind::Text},
    {kFirstCustomLabel + 1, kFirstCustom + 1, RowKind::Text},
    {kFirstCustomLabel + 2, kFirstCustom + 2, RowKind::Text},
    {kFirstCustomLabel + 3, kFirstCustom + 3, RowKind::Text},
    {kFirstCustomLabel + 4, kFirstCustom + 4, RowKind::Text},
};

// Controls that the page tables above do not name.
constexpr int kDescriptionControls[] = {kSortOrderLabel, kSortOrder, kCategoriesLabel, kCategories,
                                        kDescriptionLabel, kDescription};
constexpr int kLoginButtons[] = {login_tab_ids::kAdd, login_tab_ids::kEdit, login_tab_ids::kDelete,
                                 login_tab_ids::kCopy};
constexpr int kPictureControls[] = {kPictureName, kPictureBrowse, kPictureClear, kPictureFrame};

std::span<const PageRow> RowsOf(int page) {
    switch (page) {
    case 4707: return kApplicationRows;
    case 4709: return kSupportRows;
    case 4710: return kLoginRows;
    case 4711: return kPurchaseRows;
    case 4712: return kUpgradeRows;
    case 4713: return kRegistrationRows;
    case 4714: return kCustomRows;
    default: return {};
    }
}

std::span<const int> ExtraControlsOf(int page) {
    switch (page) {
    case 4708: return kDescriptionControls;
    case 4710: return kLoginButtons;
    case 4715: return kPictureControls;
    default: return {};
    }
}

void Place(HWND dialog, int id, int x, int y, int width, int height) {
    if (HWND control = ::GetDlgItem(dialog, id)) ::MoveWindow(control, x, y, width, height, FALSE);
}

// Geometry of the pages for a dialog of outer width W and height H.
struct Frame {
    int width;    // W
    int height;   // H
    int top;      // first row
    int bottom;   // lowest edge of a page's control
};

constexpr int kRowStep = 30;
constexpr int kRowHeight = 20;
constexpr int kControlX = 200;
constexpr int kLabelX = 30;
constexpr int kLabelWidth = 165;

void PlaceRows(HWND dialog, std::span<const PageRow> rows, const Frame& f) {
    const int w = f.width;
    int y = f.top;
    for (const PageRow& row : rows) {
        Place(dialog, row.label, kLabelX, y + 3, kLabelWidth, kRowHeight - 4);
        switch (row.kind) {
        case RowKind::Text:
            Place(dialog, row.control, kControlX, y, w - 250, kRowHeight);
            break;
        case RowKind::Location:
            Place(dialog, row.control, kControlX, y, w - 280, kRowHeight);
            Place(dialog, row.button, w - 80, y, 30, kRowHeight);
            break;
        case RowKind::Web:
            Place(dialog, row.control, kControlX, y, w - 350, kRowHeight);
            Place(dialog, row.button, w - 140, y, 110, kRowHeight);
            break;
        case RowKind::Date:
            Place(dialog, row.control, kControlX, y, 120, kRowHeight);
            Place(dialog, row.button, 320, y, 30, kRowHeight);
            break;
        case RowKind::Short:
            Place(dialog, row.control, kControlX, y, 120, kRowHeight);
            break;
        case RowKind::Number:
            Place(dialog, row.control, kControlX, y, 60, kRowHeight);
            break;
        case RowKind::Check:
            Place(dialog, row.control, kControlX, y + 2, 20, kRowHeight - 4);
            break;
        case RowKind::Combo:
            // The height includes the dropped-down list.
            Place(dialog, row.control, kControlX, y, 200, 200);
            break;
        case RowKind::Disks:
            Place(dialog, row.control, kControlX, y + 1, 50, kRowHeight - 2);
            Place(dialog, row.button, kControlX + 52, y, 18, kRowHeight);
            break;
        case RowKind::Multi:
            Place(dialog, row.control, kControlX, y, w - 250, std::max(kRowHeight, f.bottom - y));
            break;
        }
        y += kRowStep;
    }
}

void PlaceDescription(DetailsContext& context, const Frame& f) {
    HWND dialog = context.dialog;
    PlaceRows(dialog, std::array{PageRow{kSortOrderLabel, kSortOrder, RowKind::Number}}, f);
    const int listTop = f.top + kRowStep;
    const int listHeight = std::max(40, (f.bottom - listTop - 50) / 2);
    Place(dialog, kCategoriesLabel, kLabelX, listTop + 3, kLabelWidth, kRowHeight - 4);
    Place(dialog, kCategories, kControlX, listTop, f.width - 250, listHeight);
    const int descriptionTop = listTop + listHeight + 10;
    Place(dialog, kDescriptionLabel, kLabelX, descriptionTop + 3, kLabelWidth, kRowHeight - 4);
    Place(dialog, kDescription, kControlX, descriptionTop, f.width - 250,
          std::max(kRowHeight, f.bottom - descriptionTop));
}

void PlaceLogin(DetailsContext& context, const Frame& f) {
    PlaceRows(context.dialog, kLoginRows, f);
    const int listTop = f.top + 2 * kRowStep;
    constexpr int kButtonWidth = 115;
    const int listWidth = std::max(100, f.width - 60 - kButtonWidth - 40);
    if (context.login) context.login->Move(kLabelX, listTop, listWidth, std::max(60, f.bottom - listTop));
    int y = listTop;
    for (int id : kLoginButtons) {
        Place(context.dialog, id, kLabelX + listWidth + 10, y, kButtonWidth, 24);
        y += kRowStep;
    }
}

void PlacePicturePage(DetailsContext& context, const Frame& f) {
    HWND dialog = context.dialog;
    const int w = f.width;
    Place(dialog, kPictureName, kLabelX, f.top, w - 310, kRowHeight);
    Place(dialog, kPictureBrowse, w - 270, f.top - 2, 110, 24);
    Place(dialog, kPictureClear, w - 150, f.top - 2, 110, 24);
    const int frameTop = f.top + 35;
    PlacePicture(context, kLabelX, frameTop, std::max(20, w - 80), std::max(20, f.bottom - frameTop));
}

}  // namespace

void ShowPage(DetailsContext& context, int page, bool show) {
    HWND dialog = context.dialog;
    auto showOne = [&](int id) {
        bool visible = show;
        // Multiple edit never offers the sort order.
        if (context.Multiple() && (id == kSortOrderLabel || id == kSortOrder)) visible = false;
        if (HWND control = ::GetDlgItem(dialog, id)) ::ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
    };
    for (const PageRow& row : RowsOf(page)) {
        showOne(row.label);
        showOne(row.control);
        if (row.button != 0) showOne(row.button);
    }
    for (int id : ExtraControlsOf(page)) showOne(id);
    if (page == kLoginPage && context.login) {
        ::ShowWindow(context.login->List().Handle(), show ? SW_SHOW : SW_HIDE);
    }
    if (page == kPicturePage) ShowPicturePage(context, show);
}

void LayOut(DetailsContext& context) {
    HWND dialog = context.dialog;
    RECT window{};
    ::GetWindowRect(dialog, &window);
    // Not while minimised: the rectangle would lie far off the screen.
    if (!::IsIconic(dialog)) {
        context.settings.editX = window.left;
        context.settings.editY = window.top;
        context.settings.editWidth = window.right;    // the right edge
        context.settings.editHeight = window.bottom;  // the bottom edge
    }
    const int w = window.right - window.left;
    const int h = window.bottom - window.top;

    Place(dialog, kTabs, 20, 20, w - 40, h - 100);
    Place(dialog, kWarning, 25, 50, w - 60, 20);
    const Frame frame{w, h, context.Multiple() ? 80 : 60, 20 + (h - 100) - 10};

    for (int page = kFirstPage; page < kFirstPage + kPageCount; ++page) PlaceRows(dialog, RowsOf(page), frame);
    PlaceDescription(context, frame);
    PlaceLogin(context, frame);
    PlacePicturePage(context, frame);

    RECT client{};
    ::GetClientRect(dialog, &client);
    const int buttonTop = std::min(20 + (h - 100) + 12, static_cast<int>(client.bottom) - 32);
    Place(dialog, IDCANCEL, client.right - 110, buttonTop, 90, 25);
    Place(dialog, IDOK, client.right - 210, buttonTop, 90, 25);
    // The controls moved without drawing: draw everything once.
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace kodrin::app
