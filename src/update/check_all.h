// Checking many applications at once: the PAD files of a list of records
// are fetched by a few threads at a time, each with its own HTTP session.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "update/http.h"
#include "update/pad_check.h"

namespace kodrin {
struct Catalog;
}

namespace kodrin::update {

// How many PAD files are fetched at the same time.
inline constexpr int kChecksAtOnce = 8;

// One record to check: its id, PAD file address and installed version.
struct CheckItem {
    std::int32_t recordId = 0;
    std::u16string padUrl;
    std::u16string installed;
};

// The records with a PAD file that the category shows (InCategory; "<All>"
// or empty for every record), in catalog order; hidden records only when
// showHidden is set.
std::vector<CheckItem> ItemsToCheck(const Catalog& catalog, std::u16string_view category, bool showHidden);

// Makes the session of one checking thread; the default opens the system's
// HTTP session with agent "PadFileDownload".
using SessionMaker = std::function<std::unique_ptr<HttpSession>(const HttpLimits& limits)>;

// Checks every item, atOnce at a time (at least one), and returns the
// results in the items' order. progress(done, total) is called after each
// check, from the checking threads, one call at a time. When limits.cancel
// is set, the checks not yet started fail as cancelled and the running ones
// end early.
std::vector<PadCheckResult> CheckAll(std::span<const CheckItem> items, const HttpLimits& limits,
                                     int atOnce = kChecksAtOnce, const SessionMaker& sessions = {},
                                     const std::function<void(std::size_t done, std::size_t total)>& progress = {});

// Stores the results in the catalog's records (StoreCheckResult); true
// when a record changed.
bool StoreCheckResults(Catalog& catalog, std::span<const CheckItem> items, std::span<const PadCheckResult> results,
                       bool autoDate, std::u16string_view today);

// How many results each outcome has.
struct CheckCounts {
    std::size_t newer = 0, current = 0, noVersion = 0, failed = 0;
};
CheckCounts CountOutcomes(std::span<const PadCheckResult> results);

}  // namespace kodrin::update
