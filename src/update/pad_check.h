// The update check of a catalogued application: its PAD file (the
// publisher's description of the program) is fetched over HTTP, the
// published version and the download address are taken out of it by plain
// text search, and the version is compared with the installed one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "update/http.h"

namespace kodrin {
struct ApplicationRecord;
}

namespace kodrin::update {

// A fetched document as text. Byte by byte, each byte one UTF-16 unit of the
// same value (Latin-1, which keeps every byte of Windows-1252 text and the
// ASCII of UTF-8 as they are), except for documents that say what they are:
// a UTF-16 byte-order mark (or a first "<" in UTF-16) gives UTF-16 text, a
// UTF-8 byte-order mark UTF-8 text.
std::u16string PadTextFromBytes(std::span<const std::uint8_t> bytes);

// What a PAD text says.
struct PadFacts {
    // The text between "<Program_Version>" and the first "</Program_Version>"
    // after it (or the end of the text), untrimmed; none without the opening
    // tag (tags are matched exactly, case included).
    std::optional<std::u16string> version;
    // Likewise between "<Primary_Download_URL>" and its closing tag.
    std::optional<std::u16string> downloadUrl;
    // The text is a PAD file: it has the PAD root "<XML_DIZ_INFO" or a
    // Program_Version element in any form (also a self-closed one).
    bool isPad = false;
};
PadFacts ReadPadText(std::u16string_view text);

// The lenient integer of a version component: characters up to the first
// decimal digit are skipped (a "-" among them makes the value negative), then
// the digits are read up to the first non-digit; no digits read as 0. So
// "10b" is 10, "beta3" 3, "-1" -1, "2a7" 2.
long long LenientInteger(std::u16string_view part);

// Whether published is newer than installed: always when installed is
// empty; otherwise the versions split at "." (quote-aware, blanks at the
// start of a component skipped) are compared pair by pair for as many pairs
// as the shorter one has, and the first pair that differs decides.
bool IsNewerVersion(std::u16string_view installed, std::u16string_view published);

enum class CheckOutcome { Newer, Current, NoVersion, Failed };

// Why a check failed.
enum class CheckFailure { None, TimedOut, HttpStatus, NotPad, Unreachable, Broken, Cancelled, TooLarge };

struct PadCheckResult {
    CheckOutcome outcome = CheckOutcome::Failed;
    CheckFailure failure = CheckFailure::None;
    int status = 0;             // the HTTP status of a CheckFailure::HttpStatus
    std::u16string published;   // the published version (Newer, Current)
    std::u16string downloadUrl; // the download address, when the PAD file names one
};

// A PAD file larger than this is not read to its end: the check fails.
inline constexpr std::size_t kMaxPadBytes = 4u << 20;

// The outcome for a PAD text that arrived whole with status 200. A version
// that is empty or only blanks counts as no version.
PadCheckResult EvaluatePadText(std::u16string_view text, std::u16string_view installed);

// Fetches padUrl through the session (the answer must have status 200) and
// evaluates it. Waits no longer than the session's limits allow.
PadCheckResult CheckPadFile(HttpSession& session, std::u16string_view padUrl, std::u16string_view installed);

// The outcome as kodrin-cli prints it: "newer", "current", "no-version", or
// "failed: " and the reason ("time-out", "HTTP 404", "not a PAD file",
// "cannot connect", "connection broken", "cancelled", "too large").
std::string OutcomeWord(const PadCheckResult& result);
// The outcome as the program shows it, from the string table.
std::u16string OutcomeCaption(const PadCheckResult& result);

// Stores a check's result in the record: the published version of a newer
// one in LATESTVERSION; for a current one the installed version (the record
// is up to date, whatever spelling the publisher uses); VERSION is never
// touched. With autoDate, a check that got an answer (any outcome but
// Failed) sets DATELASTCHECKED to today. True when the record changed.
bool StoreCheckResult(ApplicationRecord& record, const PadCheckResult& result, bool autoDate,
                      std::u16string_view today);

}  // namespace kodrin::update
