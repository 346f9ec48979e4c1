// The figures of the "Application Statistics" dialog: counts and sums over
// the catalog's applications, filtered by category and by media. The dialog
// recomputes them whenever either filter changes; nothing is stored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.h"

namespace kodrin {

struct Statistics {
    std::int64_t applications = 0;  // pass both filters
    std::int64_t disks = 0;         // sum of their DISKCOUNT
    double totalCost = 0;           // sum of their PURCHASEPRICE
    double upgradeCost = 0;         // sum of UPGRADEPRICE over the out-of-date ones
    std::int64_t outOfDate = 0;     // LATESTVERSION set and VERSION not exactly equal to it
};

// Over all applications in catalog order: the category test is InCategory
// (empty or "<All>" passes every application, any other text must equal one
// of its categories exactly); the media text "<All>" passes every
// application, any other must equal ORIGINALMEDIA exactly.
Statistics ComputeStatistics(const Catalog& catalog, std::u16string_view category, std::u16string_view media);

// An amount as the dialog shows it: "$" and the number in fixed notation with
// two decimals, no thousands separator; a negative sum keeps its minus sign
// after the "$" ("$-3.50").
std::u16string StatisticsAmount(double amount);

// The five texts of the dialog's read-only boxes.
struct StatisticsTexts {
    std::u16string applications;  // control 2103 "# Applications:"
    std::u16string disks;         // control 2104 "# Disks:"
    std::u16string totalCost;     // control 2102 "Total Cost:"
    std::u16string upgradeCost;   // control 2107 "Cost to Upgrade:"
    std::u16string outOfDate;     // control 2106 "# Out of Date:"
};
StatisticsTexts FormatStatistics(const Statistics& statistics);

// The category filter list: "<All>" first, then the catalog's categories in
// tab order; and the index of the initial choice (the given category when
// it is in the list, otherwise "<All>").
std::vector<std::u16string> StatisticsCategoryChoices(const Catalog& catalog);
int InitialStatisticsCategory(const std::vector<std::u16string>& choices, std::u16string_view current);

// The media filter list as the sorted list shows it, "<All>" (value 0)
// first, then "CD", "DVD", "Floppy", "Download", "Other" (values 1..5) in
// ascending order ignoring case.
struct MediaChoice {
    std::u16string text;
    int value = 0;
};
std::vector<MediaChoice> StatisticsMediaChoices();

}  // namespace kodrin
