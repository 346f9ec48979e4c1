// DatePicker: the modal dialog 20200 with a month calendar. A click on a day
// (or Enter) chooses the calendar's date, Today the current date, Erase (when
// allowed) asks the owner to clear its date, Cancel changes nothing.
#pragma once

#include <windows.h>

#include <memory>

namespace QvLibrary {

class QvApp;
struct DatePickerState;

class DatePicker {
public:
    static constexpr int kTemplate = 20200;
    static constexpr int kCalendarItem = 20201;
    static constexpr int kEraseButton = IDOK;     // 1
    static constexpr int kCancelButton = IDCANCEL;  // 2
    static constexpr int kTodayButton = 9;
    // Cancel's distance from the dialog's bottom edge when Erase is hidden.
    static constexpr int kCancelBottomGap = 10;

    explicit DatePicker(const QvApp& app);
    ~DatePicker();
    DatePicker(const DatePicker&) = delete;
    DatePicker& operator=(const DatePicker&) = delete;

    // Offers date (owner null: the main window). True when a date was chosen:
    // its year, month and day are then written into date and nothing else of
    // it changes. False after Cancel and after Erase; Erased() tells them apart.
    // A date that is not a valid calendar date leaves the calendar on today.
    bool Run(HWND owner, SYSTEMTIME& date, bool allowErase);
    // The last run ended with Erase.
    bool Erased() const;

private:
    class Binding;   // the dialog 20200 itself
    void OnInit(HWND dialog);
    void End(HWND dialog, const SYSTEMTIME& chosen);

    std::unique_ptr<DatePickerState> state_;
};

}  // namespace QvLibrary
