#include "update/check_all.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>

#include "catalog/catalog.h"
#include "catalog/record.h"

namespace kodrin::update {

std::vector<CheckItem> ItemsToCheck(const Catalog& catalog, std::u16string_view category, bool showHidden) {
    std::vector<CheckItem> items;
    for (const ApplicationRecord& record : catalog.records) {
        if (record.padFile.empty() || (record.hide && !showHidden)) continue;
        if (!category.empty() && !InCategory(category, record)) continue;
        items.push_back({record.recordId, record.padFile, record.version});
    }
    return items;
}

std::vector<PadCheckResult> CheckAll(std::span<const CheckItem> items, const HttpLimits& limits, int atOnce,
                                     const SessionMaker& sessions,
                                     const std::function<void(std::size_t, std::size_t)>& progress) {
    std::vector<PadCheckResult> results(items.size());
    std::atomic<std::size_t> next{0};
    std::mutex reporting;
    std::size_t done = 0;
    const auto cancelled = [&limits] { return limits.cancel != nullptr && limits.cancel->load(); };
    const auto work = [&] {
        std::unique_ptr<HttpSession> session;
        for (std::size_t i = next++; i < items.size(); i = next++) {
            PadCheckResult& result = results[i];
            if (cancelled()) {
                result.failure = CheckFailure::Cancelled;
            } else {
                if (!session) session = sessions ? sessions(limits) : OpenHttpSession(u"PadFileDownload", limits);
                if (session) {
                    result = CheckPadFile(*session, items[i].padUrl, items[i].installed);
                } else {
                    result.failure = CheckFailure::Unreachable;
                }
            }
            const std::lock_guard<std::mutex> lock(reporting);
            ++done;
            if (progress) progress(done, items.size());
        }
    };
    const std::size_t threads = std::min<std::size_t>(static_cast<std::size_t>(std::max(atOnce, 1)), items.size());
    std::vector<std::thread> workers;
    workers.reserve(threads);
    try {
        for (std::size_t t = 1; t < threads; ++t) workers.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer threads than asked for: the ones there do the work.
    }
    if (threads > 0) work();
    for (std::thread& worker : workers) worker.join();
    return results;
}

bool StoreCheckResults(Catalog& catalog, std::span<const CheckItem> items, std::span<const PadCheckResult> results,
                       bool autoDate, std::u16string_view today) {
    bool changed = false;
    for (std::size_t i = 0; i < items.size() && i < results.size(); ++i) {
        if (ApplicationRecord* record = FindRecordById(catalog, items[i].recordId)) {
            changed = StoreCheckResult(*record, results[i], autoDate, today) || changed;
        }
    }
    return changed;
}

CheckCounts CountOutcomes(std::span<const PadCheckResult> results) {
    CheckCounts counts;
    for (const PadCheckResult& r : results) {
        switch (r.outcome) {
            case CheckOutcome::Newer: ++counts.newer; break;
            case CheckOutcome::Current: ++counts.current; break;
            case CheckOutcome::NoVersion: ++counts.noVersion; break;
            case CheckOutcome::Failed: ++counts.failed; break;
        }
    }
    return counts;
}

}  // namespace kodrin::update
