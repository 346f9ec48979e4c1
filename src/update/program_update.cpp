#include "update/program_update.h"

#include "catalog/markup.h"
#include "update/pad_check.h"
#include "update/release_file.h"
#include "update/schedule.h"

namespace kodrin::update {

namespace {

// A decimal number of 1 to 10 digits, nothing else.
std::optional<std::uint64_t> Decimal(std::u16string_view text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
    }
    return value;
}

std::u16string DecimalText(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// A number (blanks, an optional sign, digits) whose digits are all 0, as the
// Options dialog reads "HintShow" too.
bool ReadsAsZero(std::u16string_view value) {
    std::size_t i = 0;
    while (i < value.size() && (value[i] == u' ' || value[i] == u'\t')) ++i;
    if (i < value.size() && (value[i] == u'-' || value[i] == u'+')) ++i;
    bool digits = false;
    for (; i < value.size() && value[i] >= u'0' && value[i] <= u'9'; ++i) {
        if (value[i] != u'0') return false;
        digits = true;
    }
    return digits;
}

}  // namespace

bool ScheduledCheckDue(ValueStore& store, const Date& today) {
    std::optional<std::uint32_t> packed;
    if (const auto text = store.Read(kDueDateValue)) {
        if (const auto value = Decimal(*text); value && *value <= 0xFFFFFFFFu) {
            packed = static_cast<std::uint32_t>(*value);
        }
    }
    return UpdateCheckDue(packed, today);
}

int StoredFrequency(ValueStore& store) {
    if (const auto text = store.Read(kFrequencyValue)) {
        if (const auto value = Decimal(*text); value && *value <= 0x7FFFFFFF) return static_cast<int>(*value);
    }
    return kDefaultFrequency;
}

void StoreSchedule(ValueStore& store, int frequency, const Date& today) {
    store.Write(kFrequencyValue, DecimalText(static_cast<std::uint64_t>(frequency < 0 ? 0 : frequency)));
    store.Write(kDueDateValue, DecimalText(PackScheduleDate(NextDueDate(frequency, today))));
}

std::u16string HintDay(const Date& today) {
    const auto two = [](int n) { return DecimalText(static_cast<std::uint64_t>(n / 10 % 10)) + DecimalText(static_cast<std::uint64_t>(n % 10)); };
    std::u16string year = DecimalText(static_cast<std::uint64_t>(today.year < 0 ? 0 : today.year));
    while (year.size() < 4) year.insert(year.begin(), u'0');
    return two(today.day) + two(today.month) + year;
}

bool ShouldShowToday(ValueStore& store, const Date& today) {
    if (const auto show = store.Read(kHintShowValue); show && ReadsAsZero(*show)) return false;
    const std::u16string day = HintDay(today);
    if (const auto last = store.Read(kLastHintValue); last && *last == day) return false;
    store.Write(kLastHintValue, day);
    return true;
}

void SetShowMessages(ValueStore& store, bool show) { store.Write(kHintShowValue, show ? u"1" : u"0"); }

bool IsNewMessage(ValueStore& store, std::u16string_view date) {
    const auto stored = store.Read(kHintDateValue);
    return !stored || *stored != date;
}

void RememberMessage(ValueStore& store, std::u16string_view date) { store.Write(kHintDateValue, date); }

FeedMessage ReadFeed(std::u16string text) {
    FeedMessage feed;
    MarkupReader reader;
    reader.SetText(std::move(text));
    while (const std::optional<std::u16string_view> tag = reader.NextTag()) {
        if (reader.IsClosing()) continue;
        const std::u16string name(*tag);
        const bool message = SameName(name, u"MESSAGE");
        if (!message && !SameName(name, u"DATE")) continue;
        const auto body = reader.ElementText(name);
        std::u16string value = body ? Unescape(*body) : std::u16string();
        (message ? feed.message : feed.date) = std::move(value);
    }
    return feed;
}

std::u16string FeedTextFromBytes(std::span<const std::uint8_t> bytes) {
    return std::u16string(bytes.begin(), bytes.end());
}

ReleaseCheck CheckRelease(const std::optional<platform::EcdsaP256PublicKey>& key,
                          std::span<const std::uint8_t> versionFile, std::span<const std::uint8_t> signature,
                          std::u16string_view current) {
    ReleaseCheck check;
    if (!key || !ReleaseSignatureValid(*key, versionFile, signature)) return check;
    ReleaseFile release;
    if (!ReadReleaseFile(versionFile, release) || !release.installerDigest) {
        check.verdict = ReleaseVerdict::Unreadable;
        return check;
    }
    check.published = release.version;
    check.installerDigest = *release.installerDigest;
    const bool newer = !release.version.empty() && !current.empty() && release.version != current &&
                       IsNewerVersion(current, release.version);
    check.verdict = newer ? ReleaseVerdict::Newer : ReleaseVerdict::NotNewer;
    return check;
}

}  // namespace kodrin::update
