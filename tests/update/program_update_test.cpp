// The program's own update and the messages feed, without windows: the
// schedule and message state in the store, and the feed.
#include <gtest/gtest.h>

#include <map>

#include "support/map_store.h"
#include "update/program_update.h"
#include "update/schedule.h"

namespace kodrin::update {
namespace {

using test::MapStore;

Date Day(int year, int month, int day) {
    Date date;
    date.year = year;
    date.month = month;
    date.day = day;
    return date;
}

std::u16string Packed(int year, int month, int day) {
    const std::string digits = std::to_string(PackScheduleDate(Day(year, month, day)));
    return {digits.begin(), digits.end()};
}

TEST(ProgramUpdateSchedule, TheStoredDateDecidesAndOnlyTheDialogStoresIt) {
    MapStore store;
    // Nothing stored: never due, and the dialog would offer "1 Week".
    EXPECT_FALSE(ScheduledCheckDue(store, Day(2031, 3, 5)));
    EXPECT_EQ(StoredFrequency(store), kDefaultFrequency);
    EXPECT_TRUE(store.values.empty());

    store.values[kDueDateValue] = Packed(2031, 3, 5);
    EXPECT_FALSE(ScheduledCheckDue(store, Day(2031, 3, 4)));
    EXPECT_TRUE(ScheduledCheckDue(store, Day(2031, 3, 5)));
    EXPECT_TRUE(ScheduledCheckDue(store, Day(2032, 1, 1)));
    for (const char16_t* junk : {u"", u"abc", u"-5", u"99999999999"}) {
        store.values[kDueDateValue] = junk;
        EXPECT_FALSE(ScheduledCheckDue(store, Day(2031, 3, 5))) ;
    }

    // "6 Months" on 31 August: the end of February of the next year.
    StoreSchedule(store, 20703, Day(2026, 8, 31));
    EXPECT_EQ(store.values[kFrequencyValue], u"20703");
    EXPECT_EQ(store.values[kDueDateValue], Packed(2027, 2, 28));
    EXPECT_EQ(StoredFrequency(store), 20703);
    EXPECT_FALSE(ScheduledCheckDue(store, Day(2027, 2, 27)));
    EXPECT_TRUE(ScheduledCheckDue(store, Day(2027, 2, 28)));

    // "Never": year 9999, never due, not even on the day itself.
    StoreSchedule(store, 20710, Day(2026, 8, 31));
    EXPECT_EQ(store.values[kDueDateValue], Packed(9999, 1, 1));
    EXPECT_FALSE(ScheduledCheckDue(store, Day(9999, 1, 1)));
}

// The day, once-a-day and once-per-DATE flow is shown through the window
// (tests/app); here the texts: the day's digits and how "HintShow" reads.
TEST(MessagesFeedState, TheStoredTexts) {
    EXPECT_EQ(HintDay(Day(2026, 3, 7)), u"07032026");
    EXPECT_EQ(HintDay(Day(987, 12, 31)), u"31120987");
    MapStore store;
    for (const auto& [show, shown] : std::initializer_list<std::pair<const char16_t*, bool>>{
             {u"0", false}, {u" 00", false}, {u"-0", false}, {u"1", true}, {u"yes", true}, {u"", true}, {u"01", true}}) {
        store.values = {{kHintShowValue, show}};
        EXPECT_EQ(ShouldShowToday(store, Day(2026, 3, 7)), shown);
        EXPECT_EQ(store.values.count(kLastHintValue), shown ? 1u : 0u);
    }
    RememberMessage(store, u"d");
    EXPECT_FALSE(IsNewMessage(store, u"d"));
    EXPECT_TRUE(IsNewMessage(store, u"d "));
}

TEST(MessagesFeedState, TheFeedsLastElementsCountWhateverTheirCase) {
    const std::string bytes =
        "<?xml version=\"1.0\"?><FEED><message>old</message><DATE>d1</DATE>"
        "<Message>Hello &amp; &lt;b&gt;welcome&lt;/b&gt;\xE9</Message><date>d2</date></FEED>";
    const FeedMessage feed = ReadFeed(FeedTextFromBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
    EXPECT_EQ(feed.message, u"Hello & <b>welcome</b>\u00E9");
    EXPECT_EQ(feed.date, u"d2");
    const FeedMessage none = ReadFeed(u"<FEED><DATE>x</DATE></FEED>");
    EXPECT_TRUE(none.message.empty());
    EXPECT_TRUE(ReadFeed(u"not markup").message.empty());
}

}  // namespace
}  // namespace kodrin::update
