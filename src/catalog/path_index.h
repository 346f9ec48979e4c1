// Finding a text among many, equal ignoring case, without comparing it with
// each of them.
//
// Texts of printable ASCII (the usual program paths and file names) are
// filed under a key: the text in lower case without hyphens and
// apostrophes, the only printable ASCII characters that a locale's
// comparison may weigh lightly. Two such texts that compare equal ignoring
// case have the same key, so only the texts under the key are compared, by
// the locale's own comparison. Every other text is compared with each
// query, and a query that is not printable ASCII is compared with every
// text: the answer is always the one a walk through all texts in order
// with platform::EqualIgnoreCase gives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalog/record.h"

namespace kodrin {

struct Catalog;

class IgnoreCaseIndex {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Files the text as the next position (0, 1, 2, ...).
    void Append(std::u16string_view text);
    // The first position whose text equals the given one ignoring case, or npos.
    std::size_t Find(std::u16string_view text) const;
    std::size_t Size() const { return texts_.size(); }

    // The key of a text of printable ASCII; false for any other text.
    static bool KeyOf(std::u16string_view text, std::u16string& key);

private:
    std::vector<std::u16string> texts_;
    std::unordered_map<std::u16string, std::vector<std::size_t>> keyed_;  // key -> positions, ascending
    std::vector<std::size_t> unkeyed_;                                     // ascending
};

// AddRecord with dedupe by path, for many additions in a row (a scan): the
// same result, record for record, without a walk through the catalog for
// each one. The catalog's records must change only through this object
// while it is used.
class RecordPathIndex {
public:
    explicit RecordPathIndex(const Catalog& catalog);
    // As AddRecord(catalog, record, true).
    bool AddRecord(Catalog& catalog, ApplicationRecord record);

private:
    IgnoreCaseIndex paths_;  // position i: the path of catalog.records[i]
};

}  // namespace kodrin
