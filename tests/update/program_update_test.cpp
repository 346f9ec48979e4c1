// The program's own update and the messages feed, without windows: the
// schedule and message state in the store, the feed, and what a downloaded
// version file allows.
#include <gtest/gtest.h>

#include <map>

#include "update/program_update.h"
#include "update/release_file.h"
#include "update/schedule.h"
#include "update/signed_releases.h"

namespace kodrin::update {
namespace {

class MapStore : public ValueStore {
public:
    std::optional<std::u16string> Read(std::u16string_view name) override {
        ++reads;
        const auto found = values.find(std::u16string(name));
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
    void Write(std::u16string_view name, std::u16string_view value) override {
        values[std::u16string(name)] = std::u16string(value);
    }
    std::map<std::u16string, std::u16string> values;
    int reads = 0;
};

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

TEST(MessagesFeedState, OnceADayAndOncePerMessage) {
    MapStore store;
    EXPECT_EQ(HintDay(Day(2026, 3, 7)), u"07032026");
    EXPECT_EQ(HintDay(Day(987, 12, 31)), u"31120987");

    EXPECT_TRUE(ShouldShowToday(store, Day(2026, 3, 7)));
    EXPECT_EQ(store.values[kLastHintValue], u"07032026");
    EXPECT_FALSE(ShouldShowToday(store, Day(2026, 3, 7)));
    EXPECT_TRUE(ShouldShowToday(store, Day(2026, 3, 8)));

    // Hidden: no day is counted any more until the messages are switched on.
    SetShowMessages(store, false);
    EXPECT_EQ(store.values[kHintShowValue], u"0");
    EXPECT_FALSE(ShouldShowToday(store, Day(2026, 3, 9)));
    EXPECT_EQ(store.values[kLastHintValue], u"08032026");
    store.values[kHintShowValue] = u" 00";
    EXPECT_FALSE(ShouldShowToday(store, Day(2026, 3, 9)));
    store.values[kHintShowValue] = u"yes";
    EXPECT_TRUE(ShouldShowToday(store, Day(2026, 3, 9)));
    SetShowMessages(store, true);
    EXPECT_EQ(store.values[kHintShowValue], u"1");
    EXPECT_TRUE(ShouldShowToday(store, Day(2026, 3, 10)));

    EXPECT_TRUE(IsNewMessage(store, u""));
    RememberMessage(store, u"2026-03-09");
    EXPECT_FALSE(IsNewMessage(store, u"2026-03-09"));
    EXPECT_TRUE(IsNewMessage(store, u"2026-03-09 "));
    EXPECT_TRUE(IsNewMessage(store, u"2026-03-10"));
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

TEST(ProgramUpdateRelease, OnlyASignedNewerVersionIsWanted) {
    const auto key = PublicKeyFromHex(test::kReleaseKey);
    const auto other = PublicKeyFromHex(test::kOtherKey);
    ASSERT_TRUE(key && other);
    const auto file = [](const test::SignedRelease& r) {
        const std::string text = test::VersionFile(r.version);
        return std::vector<std::uint8_t>(text.begin(), text.end());
    };
    struct Case {
        std::optional<platform::EcdsaP256PublicKey> key;
        const test::SignedRelease* release;
        std::u16string current;
        ReleaseVerdict verdict;
    };
    const Case cases[] = {
        {key, &test::kNewer, u"1.0.0.0", ReleaseVerdict::Newer},
        {key, &test::kNewer, u"9.0.0.0", ReleaseVerdict::NotNewer},
        {key, &test::kNewer, u"9.0.0.1", ReleaseVerdict::NotNewer},
        {key, &test::kNewer, u"10.0", ReleaseVerdict::NotNewer},
        {key, &test::kOlder, u"1.0.0.0", ReleaseVerdict::NotNewer},
        {key, &test::kByOtherKey, u"1.0.0.0", ReleaseVerdict::BadSignature},
        {other, &test::kNewer, u"1.0.0.0", ReleaseVerdict::BadSignature},
        {std::nullopt, &test::kNewer, u"1.0.0.0", ReleaseVerdict::BadSignature},
    };
    for (const Case& c : cases) {
        const ReleaseCheck check = CheckRelease(c.key, file(*c.release), test::HexBytes(c.release->signatureHex), c.current);
        EXPECT_EQ(check.verdict, c.verdict) << c.release->version;
    }
    const ReleaseCheck newer = CheckRelease(key, file(test::kNewer), test::HexBytes(test::kNewer.signatureHex), u"1.0");
    EXPECT_EQ(newer.published, u"9.0.0.0");
    const std::string_view installer = test::kInstaller;
    EXPECT_TRUE(InstallerMatches({reinterpret_cast<const std::uint8_t*>(installer.data()), installer.size()},
                                 newer.installerDigest));
    // No signature at all, or the signature of another file.
    EXPECT_EQ(CheckRelease(key, file(test::kNewer), {}, u"1.0").verdict, ReleaseVerdict::BadSignature);
    EXPECT_EQ(CheckRelease(key, file(test::kNewer), test::HexBytes(test::kOlder.signatureHex), u"1.0").verdict,
              ReleaseVerdict::BadSignature);
}

}  // namespace
}  // namespace kodrin::update
