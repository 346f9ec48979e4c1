#include "update/pad_check.h"

#include <array>
#include <vector>

#include "catalog/record.h"
#include "catalog/strings.h"
#include "catalog/tokenizer.h"
#include "platform/utf.h"
#include "string_ids.h"

namespace kodrin::update {

namespace {

std::u16string FromUtf16(std::span<const std::uint8_t> bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned first = bytes[i];
        const unsigned second = bytes[i + 1];
        text += static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return text;
}

// The text between open and close (or the end), when open is there.
std::optional<std::u16string> Element(std::u16string_view text, std::u16string_view open,
                                      std::u16string_view close) {
    const std::size_t start = text.find(open);
    if (start == std::u16string_view::npos) return std::nullopt;
    const std::size_t from = start + open.size();
    const std::size_t end = text.find(close, from);
    return std::u16string(text.substr(from, end == std::u16string_view::npos ? std::u16string_view::npos : end - from));
}

bool OnlyBlanks(std::u16string_view text) {
    for (const char16_t c : text) {
        if (!IsBlank(c)) return false;
    }
    return true;
}

PadCheckResult Failed(CheckFailure failure, int status = 0) {
    PadCheckResult result;
    result.failure = failure;
    result.status = status;
    return result;
}

CheckFailure FromHttp(HttpFailure failure) {
    switch (failure) {
        case HttpFailure::TimedOut: return CheckFailure::TimedOut;
        case HttpFailure::Cancelled: return CheckFailure::Cancelled;
        case HttpFailure::Broken: return CheckFailure::Broken;
        case HttpFailure::BadStatus: return CheckFailure::HttpStatus;
        case HttpFailure::None:
        case HttpFailure::Unreachable:
        case HttpFailure::LocalFile: break;
    }
    return CheckFailure::Unreachable;
}

}  // namespace

std::u16string PadTextFromBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return FromUtf16(bytes.subspan(2), false);
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return FromUtf16(bytes.subspan(2), true);
    if (bytes.size() >= 2 && bytes[0] == '<' && bytes[1] == 0) return FromUtf16(bytes, false);
    if (bytes.size() >= 2 && bytes[0] == 0 && bytes[1] == '<') return FromUtf16(bytes, true);
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        return platform::FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()) + 3, bytes.size() - 3));
    }
    return std::u16string(bytes.begin(), bytes.end());
}

PadFacts ReadPadText(std::u16string_view text) {
    PadFacts facts;
    facts.version = Element(text, u"<Program_Version>", u"</Program_Version>");
    facts.downloadUrl = Element(text, u"<Primary_Download_URL>", u"</Primary_Download_URL>");
    facts.isPad = facts.version.has_value() || text.find(u"<XML_DIZ_INFO") != std::u16string_view::npos ||
                  text.find(u"<Program_Version") != std::u16string_view::npos;
    return facts;
}

long long LenientInteger(std::u16string_view part) {
    std::size_t i = 0;
    bool negative = false;
    while (i < part.size() && !(part[i] >= u'0' && part[i] <= u'9')) {
        if (part[i] == u'-') negative = true;
        ++i;
    }
    long long value = 0;
    for (; i < part.size() && part[i] >= u'0' && part[i] <= u'9'; ++i) {
        // Beyond any version anyone writes; held there rather than overflowing.
        if (value < 100000000000000000LL) value = value * 10 + (part[i] - u'0');
    }
    return negative ? -value : value;
}

bool IsNewerVersion(std::u16string_view installed, std::u16string_view published) {
    if (installed.empty()) return true;
    SplitOptions options;
    options.separator = u'.';
    options.skipLeadingBlanks = true;
    const std::vector<std::u16string> mine = Split(installed, options);
    const std::vector<std::u16string> theirs = Split(published, options);
    for (std::size_t i = 0; i < mine.size() && i < theirs.size(); ++i) {
        const long long a = LenientInteger(mine[i]);
        const long long b = LenientInteger(theirs[i]);
        if (a != b) return a < b;
    }
    return false;
}

PadCheckResult EvaluatePadText(std::u16string_view text, std::u16string_view installed) {
    const PadFacts facts = ReadPadText(text);
    if (!facts.isPad) return Failed(CheckFailure::NotPad);
    PadCheckResult result;
    if (!facts.version || OnlyBlanks(*facts.version)) {
        result.outcome = CheckOutcome::NoVersion;
        return result;
    }
    result.published = *facts.version;
    if (facts.downloadUrl) result.downloadUrl = *facts.downloadUrl;
    result.outcome = IsNewerVersion(installed, result.published) ? CheckOutcome::Newer : CheckOutcome::Current;
    return result;
}

PadCheckResult CheckPadFile(HttpSession& session, std::u16string_view padUrl, std::u16string_view installed) {
    // Always from the server: a copy kept in a cache could hide a new version.
    const std::unique_ptr<HttpResponse> response = session.Open(padUrl, kHttpReload | kHttpNoCacheWrite);
    if (!response) return Failed(FromHttp(session.Failure()));
    // An error page is no PAD file, whatever it says.
    if (response->Status() != 200) return Failed(CheckFailure::HttpStatus, response->Status());
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 4096> block;
    for (;;) {
        std::size_t got = 0;
        if (!response->Read(block.data(), block.size(), got)) return Failed(FromHttp(response->Failure()));
        if (bytes.size() + got > kMaxPadBytes) return Failed(CheckFailure::TooLarge);
        bytes.insert(bytes.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got));
        if (got < block.size()) break;
    }
    return EvaluatePadText(PadTextFromBytes(bytes), installed);
}

std::string OutcomeWord(const PadCheckResult& result) {
    switch (result.outcome) {
        case CheckOutcome::Newer: return "newer";
        case CheckOutcome::Current: return "current";
        case CheckOutcome::NoVersion: return "no-version";
        case CheckOutcome::Failed: break;
    }
    switch (result.failure) {
        case CheckFailure::TimedOut: return "failed: time-out";
        case CheckFailure::HttpStatus: return "failed: HTTP " + std::to_string(result.status);
        case CheckFailure::NotPad: return "failed: not a PAD file";
        case CheckFailure::Broken: return "failed: connection broken";
        case CheckFailure::Cancelled: return "failed: cancelled";
        case CheckFailure::TooLarge: return "failed: too large";
        case CheckFailure::None:
        case CheckFailure::Unreachable: break;
    }
    return "failed: cannot connect";
}

std::u16string OutcomeCaption(const PadCheckResult& result) {
    switch (result.outcome) {
        case CheckOutcome::Newer: return LoadText(STR_OUTCOME_NEWER);
        case CheckOutcome::Current: return LoadText(STR_OUTCOME_CURRENT);
        case CheckOutcome::NoVersion: return LoadText(STR_OUTCOME_NO_VERSION);
        case CheckOutcome::Failed: break;
    }
    std::u16string reason;
    switch (result.failure) {
        case CheckFailure::TimedOut: reason = LoadText(STR_REASON_TIMED_OUT); break;
        case CheckFailure::HttpStatus:
            reason = LoadText(STR_REASON_HTTP_STATUS) + platform::FromUtf8(std::to_string(result.status));
            break;
        case CheckFailure::NotPad: reason = LoadText(STR_REASON_NOT_PAD); break;
        case CheckFailure::Broken: reason = LoadText(STR_REASON_BROKEN); break;
        case CheckFailure::Cancelled: reason = LoadText(STR_REASON_CANCELLED); break;
        case CheckFailure::TooLarge: reason = LoadText(STR_REASON_TOO_LARGE); break;
        case CheckFailure::None:
        case CheckFailure::Unreachable: reason = LoadText(STR_REASON_UNREACHABLE); break;
    }
    return LoadText(STR_OUTCOME_FAILED) + reason;
}

bool StoreCheckResult(ApplicationRecord& record, const PadCheckResult& result, bool autoDate,
                      std::u16string_view today) {
    bool changed = false;
    const auto set = [&changed](std::u16string& field, std::u16string_view value) {
        if (field == value) return;
        field = value;
        changed = true;
    };
    if (result.outcome == CheckOutcome::Newer) set(record.latestVersion, result.published);
    if (result.outcome == CheckOutcome::Current) set(record.latestVersion, record.version);
    if (autoDate && result.outcome != CheckOutcome::Failed) set(record.dateLastChecked, today);
    return changed;
}

}  // namespace kodrin::update
