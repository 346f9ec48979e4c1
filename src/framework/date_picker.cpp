#include "framework/date_picker.h"

#include <commctrl.h>

#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/helpers.h"

namespace QvLibrary {

struct DatePickerState {
    const QvApp* app = nullptr;
    SYSTEMTIME* date = nullptr;   // the owner's date
    SYSTEMTIME chosen{};
    bool allowErase = false;
    bool erased = false;
};

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool IsCalendarDate(const SYSTEMTIME& date) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.wYear < 1601 || date.wYear > 9999 || date.wMonth < 1 || date.wMonth > 12 || date.wDay < 1) return false;
    const int days = kDays[date.wMonth - 1] + (date.wMonth == 2 && IsLeapYear(date.wYear) ? 1 : 0);
    return date.wDay <= days;
}

// The calendar wants a whole SYSTEMTIME: only the date of the owner's is used.
SYSTEMTIME DateOnly(const SYSTEMTIME& date) {
    SYSTEMTIME day{};
    day.wYear = date.wYear;
    day.wMonth = date.wMonth;
    day.wDay = date.wDay;
    return day;
}

}  // namespace

class DatePicker::Binding final : public Dialog {
public:
    explicit Binding(DatePicker& picker) : picker_(picker) {}

private:
    INT_PTR Init(HWND dialog) override {
        picker_.OnInit(dialog);
        return FALSE;   // the focus is set
    }
    bool Message(HWND dialog, UINT message, WPARAM, LPARAM lp, INT_PTR& result) override {
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        if (message != WM_NOTIFY || header->idFrom != static_cast<UINT_PTR>(kCalendarItem) ||
            header->code != MCN_SELECT) {
            return false;
        }
        picker_.End(dialog, reinterpret_cast<const NMSELCHANGE*>(lp)->stSelStart);
        result = TRUE;
        return true;
    }
    bool Command(HWND dialog, WORD id, WORD) override {
        switch (id) {
            case kCalendarItem: {   // Enter
                SYSTEMTIME selected{};
                if (::SendDlgItemMessageW(dialog, kCalendarItem, MCM_GETCURSEL, 0,
                                          reinterpret_cast<LPARAM>(&selected)) != 0) {
                    picker_.End(dialog, selected);
                }
                return true;
            }
            case kTodayButton: {
                // The user's own calendar day, not the one at Greenwich.
                SYSTEMTIME now{};
                ::GetLocalTime(&now);
                picker_.End(dialog, now);
                return true;
            }
            default:
                return false;
        }
    }
    // Erase is the dialog's OK button.
    bool Ok(HWND) override {
        // A hidden Erase button cannot be pressed.
        if (!picker_.state_->allowErase) return false;
        picker_.state_->erased = true;
        return true;
    }
    bool Cancel(HWND) override {
        End(0);
        return false;
    }

    DatePicker& picker_;
};

DatePicker::DatePicker(const QvApp& app) : state_(std::make_unique<DatePickerState>()) {
    state_->app = &app;
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&init);
}

DatePicker::~DatePicker() = default;

bool DatePicker::Run(HWND owner, SYSTEMTIME& date, bool allowErase) {
    DatePickerState& s = *state_;
    s.date = &date;
    s.chosen = SYSTEMTIME{};
    s.allowErase = allowErase;
    s.erased = false;
    Binding dialog(*this);
    const bool ended = dialog.Run(*s.app, owner, kTemplate);
    s.date = nullptr;
    if (!ended || s.erased || !IsCalendarDate(s.chosen)) return false;
    date.wYear = s.chosen.wYear;
    date.wMonth = s.chosen.wMonth;
    date.wDay = s.chosen.wDay;
    return true;
}

bool DatePicker::Erased() const { return state_->erased; }

void DatePicker::OnInit(HWND dialog) {
    DatePickerState& s = *state_;
    CentreOnParent(dialog);
    HWND calendar = ::GetDlgItem(dialog, kCalendarItem);
    if (s.date != nullptr && IsCalendarDate(*s.date)) {
        SYSTEMTIME day = DateOnly(*s.date);
        ::SendMessageW(calendar, MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&day));
        ::SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
    }
    if (!s.allowErase) {
        ::ShowWindow(::GetDlgItem(dialog, kEraseButton), SW_HIDE);
        HWND cancel = ::GetDlgItem(dialog, kCancelButton);
        RECT client{}, button{};
        ::GetClientRect(dialog, &client);
        ::GetWindowRect(cancel, &button);
        const int width = button.right - button.left;
        const int height = button.bottom - button.top;
        ::SetWindowPos(cancel, nullptr, (client.right - width) / 2, client.bottom - height - kCancelBottomGap, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Enter chooses the calendar's date; as the dialog's default IDOK it
    // would otherwise press Erase.
    ::SendMessageW(dialog, DM_SETDEFID, kCalendarItem, 0);
    ::SetFocus(calendar);
}

void DatePicker::End(HWND dialog, const SYSTEMTIME& chosen) {
    state_->chosen = chosen;
    ::EndDialog(dialog, 1);
}

}  // namespace QvLibrary
