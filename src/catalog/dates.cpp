// The date helper: formatting and parsing of the catalog's date texts, month
// arithmetic and comparison.
#include "catalog/dates.h"

#include <algorithm>
#include <cstdint>
#include <ctime>

#include "catalog/strings.h"
#include "platform/text.h"

namespace kodrin {
namespace {

constexpr int kSeparatorId = 20100;
constexpr int kMonthNameId = 20100;  // + month: "January " .. "December "
constexpr int kShortMonthId = 40212;  // + month: "Jan " .. "Dec "

// Numbers in date texts are capped here so that they never overflow.
constexpr std::int64_t kNumberCap = 999999999;

int ClampMonth(int month) { return std::clamp(month, 1, 12); }

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// At least `width` digits, zero-padded; negative values keep their sign.
void AppendNumber(std::u16string& out, std::int64_t value, int width) {
    if (value < 0) {
        out += u'-';
        value = -value;
    }
    char16_t digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int i = count; i < width; ++i) out += u'0';
    while (count > 0) out += digits[--count];
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Letters as far as month names need them: ASCII letters and anything beyond
// ASCII (month names of other languages).
bool IsLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c >= 0x80;
}

// Reads numbers one after another from a date text. Each number skips the
// non-digits before it; a "-" among them makes the number negative unless it
// directly follows a digit, where it separates two numbers (2007-03-05).
class NumberScanner {
public:
    NumberScanner(std::u16string_view text, std::size_t position) : text_(text), pos_(position) {}

    // The next number, or none when the text holds no more digits.
    bool Next(int& value) {
        bool negative = false;
        while (pos_ < text_.size() && !IsDigit(text_[pos_])) {
            if (text_[pos_] == u'-' && !(pos_ > 0 && IsDigit(text_[pos_ - 1]))) negative = true;
            ++pos_;
        }
        if (pos_ >= text_.size()) return false;
        std::int64_t number = 0;
        while (pos_ < text_.size() && IsDigit(text_[pos_])) {
            number = std::min(number * 10 + (text_[pos_] - u'0'), kNumberCap);
            ++pos_;
        }
        value = static_cast<int>(negative ? -number : number);
        return true;
    }

    // The next number, a missing one reading as 0.
    int NextOrZero() {
        int value = 0;
        return Next(value) ? value : 0;
    }

private:
    std::u16string_view text_;
    std::size_t pos_;
};

// The month whose full or short name starts `text`, compared ignoring case
// over the name's length; 0 when none does.
int MonthNamed(std::u16string_view text, std::size_t& nameLength) {
    for (int base : {kMonthNameId, kShortMonthId}) {
        for (int month = 1; month <= 12; ++month) {
            const std::u16string name = LoadText(base + month);
            if (name.empty() || name.size() > text.size()) continue;
            if (platform::EqualIgnoreCase(text.substr(0, name.size()), name)) {
                nameLength = name.size();
                return month;
            }
        }
    }
    return 0;
}

int Modulo(int value, int divisor) { return ((value % divisor) + divisor) % divisor; }

}  // namespace

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    month = ClampMonth(month);
    if (month == 2 && IsLeapYear(year)) return 29;
    return kDays[month - 1];
}

std::u16string FormatDate(const Date& date, int style) {
    const std::u16string sep = LoadText(kSeparatorId);
    const int month = ClampMonth(date.month);
    const std::int64_t year = date.year;
    std::u16string out;
    switch (style) {
        case 1:  // MM/DD/YY
        case 5:  // DD/MM/YY
            AppendNumber(out, style == 1 ? month : date.day, 2);
            out += sep;
            AppendNumber(out, style == 1 ? date.day : month, 2);
            out += sep;
            AppendNumber(out, ((year % 100) + 100) % 100, 2);
            break;
        case 2:  // "Mar 05, 2007"
        case 4:  // "March 05, 2007"
            out = LoadText((style == 2 ? kShortMonthId : kMonthNameId) + month);
            AppendNumber(out, date.day, 2);
            out += u", ";
            AppendNumber(out, year, 4);
            break;
        case 6:  // DD/MM/YYYY
            AppendNumber(out, date.day, 2);
            out += sep;
            AppendNumber(out, month, 2);
            out += sep;
            AppendNumber(out, year, 4);
            break;
        case 7:  // YYYY-MM-DD
            AppendNumber(out, year, 4);
            out += u'-';
            AppendNumber(out, month, 2);
            out += u'-';
            AppendNumber(out, date.day, 2);
            break;
        default:  // 3 and anything unknown: MM/DD/YYYY, as ParseDate reads it
            AppendNumber(out, month, 2);
            out += sep;
            AppendNumber(out, date.day, 2);
            out += sep;
            AppendNumber(out, year, 4);
            break;
    }
    if (date.timeStyle != TimeStyle::None) {
        out += u' ';
        AppendNumber(out, date.hour, 2);
        out += u':';
        AppendNumber(out, date.minute, 2);
        if (date.timeStyle == TimeStyle::HoursMinutesSeconds) {
            out += u':';
            AppendNumber(out, date.second, 2);
        }
    }
    return out;
}

Date ParseDate(std::u16string_view text, int style) {
    Date date;
    date.dateStyle = style;

    std::size_t letter = 0;
    while (letter < text.size() && !IsLetter(text[letter])) ++letter;
    std::size_t nameLength = 0;
    const int namedMonth = letter < text.size() ? MonthNamed(text.substr(letter), nameLength) : 0;

    int month = 0, day = 0, year = 0;
    std::size_t start = 0;
    if (namedMonth != 0) {
        start = letter + nameLength;
    }
    NumberScanner numbers(text, start);
    if (namedMonth != 0) {
        month = namedMonth;
        day = numbers.NextOrZero();
        year = numbers.NextOrZero();
    } else {
        const int a = numbers.NextOrZero();
        const int b = numbers.NextOrZero();
        const int c = numbers.NextOrZero();
        switch (style) {
            case 5:
            case 6: day = a; month = b; year = c; break;
            case 7: year = a; month = b; day = c; break;
            default: month = a; day = b; year = c; break;
        }
        if ((style == 1 || style == 5) && year <= 99) year += 2000;
    }

    date.year = year;
    date.month = ClampMonth(month);
    date.day = std::clamp(day, 1, DaysInMonth(date.year, date.month));

    int value = 0;
    if (numbers.Next(value)) date.hour = Modulo(value, 24);
    if (numbers.Next(value)) date.minute = Modulo(value, 60);
    if (numbers.Next(value)) date.second = Modulo(value, 60);
    return date;
}

Date AddMonths(const Date& date, int n) {
    Date result = date;
    std::int64_t year = date.year;
    int month = ClampMonth(date.month);
    const std::int64_t count = n < 0 ? -static_cast<std::int64_t>(n) : n;
    const int years = static_cast<int>(count / 12);
    const int months = static_cast<int>(count % 12);
    if (n < 0) {
        year = std::max<std::int64_t>(year - years, 0);
        month -= months;
        if (month <= 0) {
            month += 12;
            year = std::max<std::int64_t>(year - 1, 0);
        }
    } else {
        year += years;
        month += months;
        if (month > 12) {
            month -= 12;
            ++year;
        }
    }
    result.year = static_cast<int>(std::min<std::int64_t>(year, INT32_MAX));
    result.month = month;
    result.day = std::min(date.day, DaysInMonth(result.year, month));
    return result;
}

int CompareDates(const Date& a, const Date& b) {
    if (a.year != b.year) return a.year < b.year ? -1 : 1;
    if (a.month != b.month) return a.month < b.month ? -1 : 1;
    if (a.day != b.day) return a.day < b.day ? -1 : 1;
    return 0;
}

Date Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    Date date;
    date.year = local.tm_year + 1900;
    date.month = local.tm_mon + 1;
    date.day = local.tm_mday;
    date.hour = local.tm_hour;
    date.minute = local.tm_min;
    date.second = local.tm_sec;
    return date;
}

}  // namespace kodrin
