#include "reports/statistics.h"

#include <algorithm>
#include <charconv>

#include "catalog/strings.h"
#include "platform/text.h"

namespace kodrin {

namespace {

std::u16string Ascii(const char* begin, const char* end) { return std::u16string(begin, end); }

std::u16string Decimal(std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return Ascii(buffer, result.ptr);
}

}  // namespace

Statistics ComputeStatistics(const Catalog& catalog, std::u16string_view category, std::u16string_view media) {
    Statistics s;
    const std::u16string all = LoadText(kStrAllCategory);
    const bool anyMedia = media == all;
    for (const ApplicationRecord& r : catalog.records) {
        if (!InCategory(category, r)) continue;
        if (!anyMedia && r.originalMedia != media) continue;
        ++s.applications;
        s.totalCost += r.purchasePrice;
        // Summed in 64 bits: a sum beyond 32 bits shows as it is instead of
        // wrapping round.
        s.disks += r.diskCount;
        if (!r.latestVersion.empty() && r.version != r.latestVersion) {
            ++s.outOfDate;
            s.upgradeCost += r.upgradePrice;
        }
    }
    return s;
}

std::u16string StatisticsAmount(double amount) {
    // A finite double has at most 309 integral digits.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, amount, std::chars_format::fixed, 2);
    std::u16string text = LoadText(kStrCurrency);
    if (result.ec == std::errc()) text += Ascii(buffer, result.ptr);
    return text;
}

StatisticsTexts FormatStatistics(const Statistics& s) {
    return {Decimal(s.applications), Decimal(s.disks), StatisticsAmount(s.totalCost),
            StatisticsAmount(s.upgradeCost), Decimal(s.outOfDate)};
}

std::vector<std::u16string> StatisticsCategoryChoices(const Catalog& catalog) {
    std::vector<std::u16string> choices{LoadText(kStrAllCategory)};
    choices.insert(choices.end(), catalog.categories.begin(), catalog.categories.end());
    return choices;
}

int InitialStatisticsCategory(const std::vector<std::u16string>& choices, std::u16string_view current) {
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (choices[i] == current) return static_cast<int>(i);
    }
    return 0;
}

std::vector<MediaChoice> StatisticsMediaChoices() {
    std::vector<MediaChoice> choices;
    for (int i = 0; i < kMediaNameCount; ++i) choices.push_back({LoadText(kStrFirstMedia + i), i + 1});
    std::stable_sort(choices.begin(), choices.end(), [](const MediaChoice& a, const MediaChoice& b) {
        return platform::CompareIgnoreCase(a.text, b.text) < 0;
    });
    choices.insert(choices.begin(), MediaChoice{LoadText(kStrAllCategory), 0});
    return choices;
}

}  // namespace kodrin
