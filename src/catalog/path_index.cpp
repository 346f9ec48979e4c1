#include "catalog/path_index.h"

#include <algorithm>

#include "catalog/catalog.h"
#include "platform/text.h"

namespace kodrin {

bool IgnoreCaseIndex::KeyOf(std::u16string_view text, std::u16string& key) {
    key.clear();
    key.reserve(text.size());
    for (const char16_t c : text) {
        if (c < 0x20 || c > 0x7E) return false;
        if (c == u'-' || c == u'\'') continue;
        key += (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
    }
    return true;
}

void IgnoreCaseIndex::Append(std::u16string_view text) {
    const std::size_t position = texts_.size();
    texts_.emplace_back(text);
    std::u16string key;
    if (KeyOf(text, key)) {
        keyed_[key].push_back(position);
    } else {
        unkeyed_.push_back(position);
    }
}

std::size_t IgnoreCaseIndex::Find(std::u16string_view text) const {
    std::u16string key;
    if (!KeyOf(text, key)) {
        for (std::size_t i = 0; i < texts_.size(); ++i) {
            if (platform::EqualIgnoreCase(texts_[i], text)) return i;
        }
        return npos;
    }
    // The first match is the smaller of the first keyed and the first
    // unkeyed one; both lists are in ascending order.
    std::size_t best = npos;
    if (const auto it = keyed_.find(key); it != keyed_.end()) {
        for (const std::size_t i : it->second) {
            if (platform::EqualIgnoreCase(texts_[i], text)) {
                best = i;
                break;
            }
        }
    }
    for (const std::size_t i : unkeyed_) {
        if (i >= best) break;
        if (platform::EqualIgnoreCase(texts_[i], text)) return i;
    }
    return best;
}

RecordPathIndex::RecordPathIndex(const Catalog& catalog) {
    for (const ApplicationRecord& record : catalog.records) paths_.Append(record.path);
}

bool RecordPathIndex::AddRecord(Catalog& catalog, ApplicationRecord record) {
    // A record without a path is never a duplicate (see AddRecord).
    if (!record.path.empty()) {
        const std::size_t found = paths_.Find(record.path);
        if (found != IgnoreCaseIndex::npos) {
            catalog.records[found].version = std::move(record.version);
            return false;
        }
    }
    std::u16string path = record.path;
    kodrin::AddRecord(catalog, std::move(record), false);
    paths_.Append(path);
    return true;
}

}  // namespace kodrin
