// Which controls belong to which page of the details dialog, and where they
// stand. Rows start at y 60 (80 under the multiple-edit warning) and follow
// each other 30 pixels apart: a label on the left, its control from x 200.
#include <array>
#include <vector>

#include "app/details_internal.h"
#include "string_ids.h"

namespace kodrin::app {
namespace {

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
    {IDC_DETAILS_PATH_LABEL, IDC_DETAILS_PATH, RowKind::Location, IDC_DETAILS_CHOOSE_PROGRAM},
    {IDC_DETAILS_COMPANY_LABEL, IDC_DETAILS_COMPANY, RowKind::Text},
    {IDC_DETAILS_HOME_PAGE_LABEL, IDC_DETAILS_HOME_PAGE, RowKind::Web, IDC_DETAILS_OPEN_HOME_PAGE},
    {IDC_DETAILS_PROGRAM_LABEL, IDC_DETAILS_PROGRAM, RowKind::Text},
    {IDC_DETAILS_VERSION_LABEL, IDC_DETAILS_VERSION, RowKind::Short},
    {IDC_DETAILS_INSTALL_DATE_LABEL, IDC_DETAILS_INSTALL_DATE, RowKind::Date, IDC_DETAILS_INSTALL_DATE_BUTTON},
    {IDC_DETAILS_RELEASED_DATE_LABEL, IDC_DETAILS_RELEASED_DATE, RowKind::Date, IDC_DETAILS_RELEASED_DATE_BUTTON},
    {IDC_DETAILS_HIDE_LABEL, IDC_DETAILS_HIDE, RowKind::Check},
    {IDC_DETAILS_AUTO_REMOVE_LABEL, IDC_DETAILS_AUTO_REMOVE, RowKind::Check},
};
constexpr PageRow kSupportRows[] = {
    {IDC_DETAILS_SUPPORT_PAGE_LABEL, IDC_DETAILS_SUPPORT_PAGE, RowKind::Web, IDC_DETAILS_OPEN_SUPPORT_PAGE},
    {IDC_DETAILS_EMAIL_LABEL, IDC_DETAILS_EMAIL, RowKind::Text},
    {IDC_DETAILS_SUPPORT_PHONE_LABEL, IDC_DETAILS_SUPPORT_PHONE, RowKind::Text},
    {IDC_DETAILS_SUPPORT_ADDRESS_LABEL, IDC_DETAILS_SUPPORT_ADDRESS, RowKind::Multi},
};
constexpr PageRow kLoginRows[] = {
    {IDC_DETAILS_LOGIN_PAGE_LABEL, IDC_DETAILS_LOGIN_PAGE, RowKind::Web, IDC_DETAILS_OPEN_LOGIN_PAGE},
    {IDC_DETAILS_AUTO_LOGIN_LABEL, IDC_DETAILS_AUTO_LOGIN, RowKind::Check},
};
constexpr PageRow kPurchaseRows[] = {
    {IDC_DETAILS_PURCHASE_DATE_LABEL, IDC_DETAILS_PURCHASE_DATE, RowKind::Date, IDC_DETAILS_PURCHASE_DATE_BUTTON},
    {IDC_DETAILS_PURCHASE_PRICE_LABEL, IDC_DETAILS_PURCHASE_PRICE, RowKind::Short},
    {IDC_DETAILS_MEDIA_LABEL, IDC_DETAILS_MEDIA, RowKind::Combo},
    {IDC_DETAILS_DISK_COUNT_LABEL, IDC_DETAILS_DISK_COUNT, RowKind::Disks, IDC_DETAILS_DISK_SPIN},
    {IDC_DETAILS_INSTALL_FILE_LABEL, IDC_DETAILS_INSTALL_FILE, RowKind::Location, IDC_DETAILS_CHOOSE_INSTALLER},
    {IDC_DETAILS_LICENSE_TYPE_LABEL, IDC_DETAILS_LICENSE_TYPE, RowKind::Combo},
    {IDC_DETAILS_PAYMENT_METHOD_LABEL, IDC_DETAILS_PAYMENT_METHOD, RowKind::Combo},
};
constexpr PageRow kUpgradeRows[] = {
    {IDC_DETAILS_DATE_LAST_CHECKED_LABEL, IDC_DETAILS_DATE_LAST_CHECKED, RowKind::Date, IDC_DETAILS_DATE_LAST_CHECKED_BUTTON},
    {IDC_DETAILS_LATEST_VERSION_LABEL, IDC_DETAILS_LATEST_VERSION, RowKind::Short},
    {IDC_DETAILS_UPGRADE_PRICE_LABEL, IDC_DETAILS_UPGRADE_PRICE, RowKind::Short},
    {IDC_DETAILS_AUTO_UPDATE_LABEL, IDC_DETAILS_AUTO_UPDATE, RowKind::Check},
    {IDC_DETAILS_COMMENTS_LABEL, IDC_DETAILS_COMMENTS, RowKind::Text},
    {IDC_DETAILS_UPGRADE_PAGE_LABEL, IDC_DETAILS_UPGRADE_PAGE, RowKind::Web, IDC_DETAILS_OPEN_UPGRADE_PAGE},
    {IDC_DETAILS_PAD_FILE_LABEL, IDC_DETAILS_PAD_FILE, RowKind::Text},
};
constexpr PageRow kRegistrationRows[] = {
    {IDC_DETAILS_USER_NAME_LABEL, IDC_DETAILS_USER_NAME, RowKind::Text},
    {IDC_DETAILS_ORGANIZATION_LABEL, IDC_DETAILS_ORGANIZATION, RowKind::Text},
    {IDC_DETAILS_REGISTRATION_EMAIL_LABEL, IDC_DETAILS_REGISTRATION_EMAIL, RowKind::Text},
    {IDC_DETAILS_SERIAL_NUMBER_LABEL, IDC_DETAILS_SERIAL_NUMBER, RowKind::Text},
    {IDC_DETAILS_REGISTRATION_TYPE_LABEL, IDC_DETAILS_REGISTRATION_TYPE, RowKind::Text},
    {IDC_DETAILS_REGISTRATION_EXPIRE_LABEL, IDC_DETAILS_REGISTRATION_EXPIRE, RowKind::Date, IDC_DETAILS_REGISTRATION_EXPIRE_BUTTON},
    {IDC_DETAILS_REGISTRATION_KEY_LABEL, IDC_DETAILS_REGISTRATION_KEY, RowKind::Text},
};
constexpr PageRow kCustomRows[] = {
    {IDC_DETAILS_CUSTOM1_LABEL, IDC_DETAILS_CUSTOM1, RowKind::Text},
    {IDC_DETAILS_CUSTOM2_LABEL, IDC_DETAILS_CUSTOM2, RowKind::Text},
    {IDC_DETAILS_CUSTOM3_LABEL, IDC_DETAILS_CUSTOM3, RowKind::Text},
    {IDC_DETAILS_CUSTOM4_LABEL, IDC_DETAILS_CUSTOM4, RowKind::Text},
    {IDC_DETAILS_CUSTOM5_LABEL, IDC_DETAILS_CUSTOM5, RowKind::Text},
};

// Controls that the page tables above do not name.
constexpr int kDescriptionControls[] = {IDC_DETAILS_SORT_ORDER_LABEL, IDC_DETAILS_SORT_ORDER, IDC_DETAILS_CATEGORIES_LABEL, IDC_DETAILS_CATEGORIES,
                                        IDC_DETAILS_DESCRIPTION_LABEL, IDC_DETAILS_DESCRIPTION};
constexpr int kLoginButtons[] = {IDC_DETAILS_LOGIN_ADD, IDC_DETAILS_LOGIN_EDIT, IDC_DETAILS_LOGIN_DELETE,
                                 IDC_DETAILS_LOGIN_COPY};
constexpr int kPictureControls[] = {IDC_DETAILS_PICTURE_NAME, IDC_DETAILS_PICTURE_BROWSE, IDC_DETAILS_PICTURE_CLEAR, IDC_DETAILS_PICTURE_FRAME};

std::span<const PageRow> RowsOf(int page) {
    switch (page) {
    case STR_PAGE_APPLICATION: return kApplicationRows;
    case STR_PAGE_SUPPORT: return kSupportRows;
    case STR_PAGE_LOGIN: return kLoginRows;
    case STR_PAGE_PURCHASE: return kPurchaseRows;
    case STR_PAGE_UPGRADE: return kUpgradeRows;
    case STR_PAGE_REGISTRATION: return kRegistrationRows;
    case STR_PAGE_CUSTOM: return kCustomRows;
    default: return {};
    }
}

std::span<const int> ExtraControlsOf(int page) {
    switch (page) {
    case STR_PAGE_DESCRIPTION: return kDescriptionControls;
    case STR_PAGE_LOGIN: return kLoginButtons;
    case STR_PAGE_PICTURE: return kPictureControls;
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
    PlaceRows(dialog, std::array{PageRow{IDC_DETAILS_SORT_ORDER_LABEL, IDC_DETAILS_SORT_ORDER, RowKind::Number}}, f);
    const int listTop = f.top + kRowStep;
    const int listHeight = std::max(40, (f.bottom - listTop - 50) / 2);
    Place(dialog, IDC_DETAILS_CATEGORIES_LABEL, kLabelX, listTop + 3, kLabelWidth, kRowHeight - 4);
    Place(dialog, IDC_DETAILS_CATEGORIES, kControlX, listTop, f.width - 250, listHeight);
    const int descriptionTop = listTop + listHeight + 10;
    Place(dialog, IDC_DETAILS_DESCRIPTION_LABEL, kLabelX, descriptionTop + 3, kLabelWidth, kRowHeight - 4);
    Place(dialog, IDC_DETAILS_DESCRIPTION, kControlX, descriptionTop, f.width - 250,
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
    Place(dialog, IDC_DETAILS_PICTURE_NAME, kLabelX, f.top, w - 310, kRowHeight);
    Place(dialog, IDC_DETAILS_PICTURE_BROWSE, w - 270, f.top - 2, 110, 24);
    Place(dialog, IDC_DETAILS_PICTURE_CLEAR, w - 150, f.top - 2, 110, 24);
    const int frameTop = f.top + 35;
    PlacePicture(context, kLabelX, frameTop, std::max(20, w - 80), std::max(20, f.bottom - frameTop));
}

}  // namespace

void ShowPage(DetailsContext& context, int page, bool show) {
    HWND dialog = context.dialog;
    auto showOne = [&](int id) {
        bool visible = show;
        // Multiple edit never offers the sort order.
        if (context.Multiple() && (id == IDC_DETAILS_SORT_ORDER_LABEL || id == IDC_DETAILS_SORT_ORDER)) visible = false;
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

    Place(dialog, IDC_DETAILS_TABS, 20, 20, w - 40, h - 100);
    Place(dialog, IDC_DETAILS_WARNING, 25, 50, w - 60, 20);
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
