// The quote-aware tokeniser shared by the CSV reader (lines and cells) and
// the version comparison of the update check (version components).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kodrin {

// White space as the tokeniser skips it: the ASCII blanks (tab, line feed,
// vertical tab, form feed, carriage return, space) and the Unicode space
// characters (U+0085, U+00A0, U+1680, U+2000..U+200A, U+2028, U+2029,
// U+202F, U+205F, U+3000). The same in every build.
bool IsBlank(char16_t c);

struct SplitOptions {
    char16_t separator = u',';
    bool skipLeadingBlanks = false;  // drop white space at the start of each part (outside quotes)
    bool keepQuotes = false;         // copy the double quotes into the parts
    // Keep a last part that is empty but was written as a quoted empty
    // value (a line ending in ,""). Without it a trailing empty part is
    // never added.
    bool keepQuotedEmptyLast = false;
};

// Splits text into parts. A double quote toggles the quoted state; inside
// quotes the separator and line feeds are ordinary characters, so values
// spanning lines stay together. Two double quotes in a row inside quotes
// stand for one quote character in the value: with quotes dropped they
// give one ", with quotes kept both are copied (the state does not change).
// Outside quotes the separator ends the part (always added, also when
// empty). After the last character the current part is added only when it
// is not empty (see keepQuotedEmptyLast).
//
// Examples with separator ".": "1.2." gives 1 and 2; "1..2" gives 1, "" and
// 2; "3. 4" with skipLeadingBlanks gives 3 and 4.
std::vector<std::u16string> Split(std::u16string_view text, const SplitOptions& options);

// The CSV form: CsvSplit(text, separator, skip leading blanks, keep quotes).
std::vector<std::u16string> CsvSplit(std::u16string_view text, char16_t separator, bool skipLeadingBlanks,
                                     bool keepQuotes);

}  // namespace kodrin
