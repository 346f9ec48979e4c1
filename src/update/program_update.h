// The program's own update and the maker's messages feed: the decisions
// behind them, free of windows. The schedule and the message state live in
// a small store of named text values (the registry key of the program in
// the program, a map in tests); the version file is believed only when its
// signature verifies, and an installer is wanted only for a newer version.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "catalog/dates.h"
#include "platform/crypto.h"

namespace kodrin::update {

// Named text values. A value that cannot be read is none; a failed write is
// ignored.
class ValueStore {
public:
    virtual std::optional<std::u16string> Read(std::u16string_view name) = 0;
    virtual void Write(std::u16string_view name, std::u16string_view value) = 0;
    virtual ~ValueStore() = default;
};

inline constexpr char16_t kFrequencyValue[] = u"AutoUpdate_Freq";
inline constexpr char16_t kDueDateValue[] = u"AutoUpdate_Date";
inline constexpr char16_t kHintShowValue[] = u"HintShow";
inline constexpr char16_t kLastHintValue[] = u"LastHint";
inline constexpr char16_t kHintDateValue[] = u"HintDate";

// Whether the check at start-up is due today by the stored date.
bool ScheduledCheckDue(ValueStore& store, const Date& today);
// The stored frequency id, or "1 Week" when none can be read.
int StoredFrequency(ValueStore& store);
// Writes the frequency and its next due date counted from today.
void StoreSchedule(ValueStore& store, int frequency, const Date& today);

// The day as eight digits DDMMYYYY.
std::u16string HintDay(const Date& today);
// False when messages are switched off or today was already checked;
// otherwise records today as checked and returns true.
bool ShouldShowToday(ValueStore& store, const Date& today);
void SetShowMessages(ValueStore& store, bool show);
// True when the stored DATE text cannot be read or differs from date.
bool IsNewMessage(ValueStore& store, std::u16string_view date);
void RememberMessage(ValueStore& store, std::u16string_view date);

// The feed's MESSAGE and DATE texts (last element of each name, names
// compared ignoring case; empty when missing).
struct FeedMessage {
    std::u16string message;
    std::u16string date;
};
FeedMessage ReadFeed(std::u16string text);
// A fetched feed as text: each byte one UTF-16 unit of the same value.
std::u16string FeedTextFromBytes(std::span<const std::uint8_t> bytes);

// What a downloaded version file and its signature allow.
enum class ReleaseVerdict {
    Newer,         // signed by the key, a newer version, with the installer's digest
    NotNewer,      // signed, but the same or an older version (or none)
    BadSignature,  // no key, no signature, or one that does not verify
    Unreadable,    // signed, but not a version file or without a valid digest
};
struct ReleaseCheck {
    ReleaseVerdict verdict = ReleaseVerdict::BadSignature;
    std::u16string published;
    platform::Sha256Digest installerDigest{};
};
// Checks the signature first; nothing of the file is read before it holds.
ReleaseCheck CheckRelease(const std::optional<platform::EcdsaP256PublicKey>& key,
                          std::span<const std::uint8_t> versionFile, std::span<const std::uint8_t> signature,
                          std::u16string_view current);

}  // namespace kodrin::update
