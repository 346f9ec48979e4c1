// The statistics figures: both filters, the exact out-of-date test and the
// texts of the dialog's boxes.
#include <gtest/gtest.h>

#include "reports/statistics.h"

namespace kodrin {
namespace {

ApplicationRecord App(std::u16string category, std::u16string media, double price, int disks,
                      std::u16string version, std::u16string latest, double upgrade) {
    ApplicationRecord r = NewRecord();
    r.categories = {std::move(category)};
    r.originalMedia = std::move(media);
    r.purchasePrice = price;
    r.diskCount = disks;
    r.version = std::move(version);
    r.latestVersion = std::move(latest);
    r.upgradePrice = upgrade;
    return r;
}

TEST(Statistics, EmptyCatalogShowsZeros) {
    const Catalog catalog;
    const StatisticsTexts t = FormatStatistics(ComputeStatistics(catalog, u"<All>", u"<All>"));
    EXPECT_EQ(t.applications, u"0");
    EXPECT_EQ(t.disks, u"0");
    EXPECT_EQ(t.totalCost, u"$0.00");
    EXPECT_EQ(t.upgradeCost, u"$0.00");
    EXPECT_EQ(t.outOfDate, u"0");
}

TEST(Statistics, SumsAndOutOfDateOverBothFilters) {
    Catalog catalog;
    catalog.records = {
        App(u"Tools", u"CD", 1000.25, 2, u"1.0", u"1.1", 100),       // out of date
        App(u"Tools", u"Other", 234.25, 1, u"1.0", u"1.0 ", 50.5),   // trailing blank differs
        App(u"Tools", u"other", 10, 4, u"2.0", u"", 7),              // latest empty: never out of date
        App(u"Games", u"CD", 5, 1, u"1.0a", u"1.0A", 3),             // case differs
        App(u"tools", u"CD", 1, 1, u"1", u"1", 1),                   // category differs in case
    };
    Statistics s = ComputeStatistics(catalog, u"<All>", u"<All>");
    EXPECT_EQ(s.applications, 5);
    EXPECT_EQ(s.disks, 9);
    EXPECT_EQ(s.outOfDate, 3);
    StatisticsTexts t = FormatStatistics(s);
    EXPECT_EQ(t.totalCost, u"$1250.50");
    EXPECT_EQ(t.upgradeCost, u"$153.50");

    s = ComputeStatistics(catalog, u"Tools", u"<All>");
    EXPECT_EQ(s.applications, 3);
    EXPECT_EQ(s.disks, 7);
    EXPECT_EQ(FormatStatistics(s).totalCost, u"$1244.50");
    EXPECT_EQ(s.outOfDate, 2);

    // The media test is exact: "Other" does not take "other".
    s = ComputeStatistics(catalog, u"", u"Other");
    EXPECT_EQ(s.applications, 1);
    EXPECT_EQ(FormatStatistics(s).upgradeCost, u"$50.50");

    s = ComputeStatistics(catalog, u"Tools", u"CD");
    EXPECT_EQ(s.applications, 1);
    EXPECT_EQ(s.outOfDate, 1);
    EXPECT_EQ(ComputeStatistics(catalog, u"Games", u"DVD").applications, 0);
}

TEST(Statistics, AmountsKeepSignAndNeverGroupDigits) {
    EXPECT_EQ(StatisticsAmount(1234.5), u"$1234.50");
    EXPECT_EQ(StatisticsAmount(-3.5), u"$-3.50");
    EXPECT_EQ(StatisticsAmount(1234567.891), u"$1234567.89");
    EXPECT_EQ(StatisticsAmount(0), u"$0.00");
}

TEST(Statistics, DiskSumDoesNotWrap) {
    Catalog catalog;
    catalog.records = {App(u"A", u"CD", 0, 2000000000, u"", u"", 0), App(u"A", u"CD", 0, 2000000000, u"", u"", 0)};
    EXPECT_EQ(FormatStatistics(ComputeStatistics(catalog, u"<All>", u"<All>")).disks, u"4000000000");
}

TEST(Statistics, FilterChoices) {
    Catalog catalog;
    catalog.categories = {u"Tools", u"Games"};
    const auto categories = StatisticsCategoryChoices(catalog);
    ASSERT_EQ(categories, (std::vector<std::u16string>{u"<All>", u"Tools", u"Games"}));
    EXPECT_EQ(InitialStatisticsCategory(categories, u"Games"), 2);
    EXPECT_EQ(InitialStatisticsCategory(categories, u"games"), 0);
    EXPECT_EQ(InitialStatisticsCategory(categories, u"Filtered"), 0);

    const auto media = StatisticsMediaChoices();
    std::vector<std::u16string> texts;
    std::vector<int> values;
    for (const MediaChoice& m : media) {
        texts.push_back(m.text);
        values.push_back(m.value);
    }
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"<All>", u"CD", u"Download", u"DVD", u"Floppy", u"Other"}));
    EXPECT_EQ(values, (std::vector<int>{0, 1, 4, 2, 3, 5}));
}

}  // namespace
}  // namespace kodrin
