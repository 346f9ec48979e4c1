#include "catalog/catalog.h"

#include <algorithm>
#include <unordered_set>

#include "catalog/dates.h"
#include "catalog/strings.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kodrin {

namespace {

void AddValue(ValueSet& set, const std::u16string& value) {
    if (!value.empty()) set.insert(value);
}

void AddValues(Catalog& catalog, const ApplicationRecord& record) {
    AddValue(catalog.licenseTypes, record.licenseType);
    AddValue(catalog.paymentMethods, record.paymentMethod);
    AddValue(catalog.mediaNames, record.originalMedia);
}

void AddCategoriesOf(Catalog& catalog, const std::vector<std::u16string>& names) {
    for (const std::u16string& name : names) AddCategory(catalog, name);
}

// Keeps the first of equal (exact) names.
void RemoveDuplicateNames(std::vector<std::u16string>& names) {
    std::vector<std::u16string> kept;
    kept.reserve(names.size());
    for (std::u16string& name : names) {
        if (std::find(kept.begin(), kept.end(), name) == kept.end()) kept.push_back(std::move(name));
    }
    names = std::move(kept);
}

const std::u16string& AllCategoryName() {
    static const std::u16string name = LoadText(kStrAllCategory);
    return name;
}

bool ContainsText(const ApplicationRecord& record, std::u16string_view text) {
    for (auto member : kTextFields) {
        if ((record.*member).find(text) != std::u16string::npos) return true;
    }
    return false;
}

}  // namespace

bool OrdinalLess::operator()(const std::u16string& a, const std::u16string& b) const {
    return platform::CompareOrdinal(a, b) < 0;
}

Catalog::Catalog() {
    for (int i = 0; i < kMediaNameCount; ++i) AddValue(mediaNames, LoadText(kStrFirstMedia + i));
}

const Settings& CatalogOptions(const Catalog& catalog) {
    static const Settings defaults;
    return catalog.options != nullptr ? *catalog.options : defaults;
}

void ClearCatalog(Catalog& catalog) {
    catalog.categories.clear();
    catalog.records.clear();
    catalog.findCategory = 0;
    catalog.findRecord = -1;
}

ApplicationRecord* FindRecordById(Catalog& catalog, std::int32_t recordId) {
    for (ApplicationRecord& record : catalog.records) {
        if (record.recordId == recordId) return &record;
    }
    return nullptr;
}

const ApplicationRecord* FindRecordById(const Catalog& catalog, std::int32_t recordId) {
    for (const ApplicationRecord& record : catalog.records) {
        if (record.recordId == recordId) return &record;
    }
    return nullptr;
}

bool AddRecord(Catalog& catalog, ApplicationRecord record, bool dedupeByPath) {
    // A record without a path is never a duplicate: matching empty paths
    // would drop it and overwrite an unrelated record's version.
    if (dedupeByPath && !record.path.empty()) {
        for (ApplicationRecord& existing : catalog.records) {
            if (platform::EqualIgnoreCase(existing.path, record.path)) {
                existing.version = std::move(record.version);
                return false;
            }
        }
    }
    record.recordId = ++catalog.nextRecordId;
    catalog.records.push_back(std::move(record));
    const ApplicationRecord& added = catalog.records.back();
    AddCategoriesOf(catalog, added.categories);
    AddValues(catalog, added);
    return true;
}

std::int32_t StoreEditedRecord(Catalog& catalog, const ApplicationRecord& record, bool asNew) {
    ApplicationRecord* stored = nullptr;
    if (asNew) {
        catalog.records.push_back(CopyRecord(record));
        stored = &catalog.records.back();
        stored->recordId = ++catalog.nextRecordId;
    } else {
        stored = FindRecordById(catalog, record.recordId);
        if (stored == nullptr) return 0;
        *stored = CopyRecord(record);
    }
    // Every category a record names is a tab.
    AddCategoriesOf(catalog, stored->categories);
    AddValues(catalog, *stored);
    return stored->recordId;
}

void AddCategory(Catalog& catalog, std::u16string_view name) {
    if (std::find(catalog.categories.begin(), catalog.categories.end(), name) == catalog.categories.end()) {
        catalog.categories.emplace_back(name);
    }
}

void RenameCategory(Catalog& catalog, std::u16string_view oldName, std::u16string_view newName) {
    if (oldName == newName) return;
    bool renamed = false;
    for (std::u16string& name : catalog.categories) {
        if (name == oldName) {
            name = newName;
            renamed = true;
        }
    }
    // Renaming onto an existing name merges the two: the names stay distinct.
    if (renamed) RemoveDuplicateNames(catalog.categories);
    for (ApplicationRecord& record : catalog.records) {
        bool changed = false;
        for (std::u16string& name : record.categories) {
            if (name == oldName) {
                name = newName;
                changed = true;
            }
        }
        if (changed) RemoveDuplicateNames(record.categories);
    }
}

bool DeleteCategory(Catalog& catalog, std::u16string_view name, Questions& questions) {
    if (CountInCategory(catalog, name) > 0 && !questions.Confirm(kStrCategoryNotEmpty)) return false;
    std::erase_if(catalog.records, [name](ApplicationRecord& record) {
        const std::size_t removed = std::erase_if(record.categories, [name](const std::u16string& c) { return c == name; });
        return removed > 0 && record.categories.empty();
    });
    std::erase_if(catalog.categories, [name](const std::u16string& c) { return c == name; });
    return true;
}

bool MoveCategory(Catalog& catalog, std::u16string_view name, bool toTheRight) {
    auto& list = catalog.categories;
    const auto it = std::find(list.begin(), list.end(), name);
    if (it == list.end()) return false;
    const std::size_t index = static_cast<std::size_t>(it - list.begin());
    if (toTheRight) {
        if (index + 1 >= list.size()) return false;
        std::swap(list[index], list[index + 1]);
    } else {
        if (index == 0) return false;
        std::swap(list[index], list[index - 1]);
    }
    return true;
}

void ChangeCategories(Catalog& catalog, const std::vector<std::int32_t>& recordIds,
                      const std::vector<std::u16string>& names) {
    for (std::int32_t id : recordIds) {
        if (ApplicationRecord* record = FindRecordById(catalog, id)) record->categories = names;
    }
    AddCategoriesOf(catalog, names);
}

bool DeleteRecords(Catalog& catalog, const std::vector<std::int32_t>& recordIds, Questions& questions) {
    if (recordIds.empty()) return false;
    if (!questions.Confirm(kStrConfirmDelete)) return false;
    const std::unordered_set<std::int32_t> ids(recordIds.begin(), recordIds.end());
    std::erase_if(catalog.records, [&ids](const ApplicationRecord& record) { return ids.count(record.recordId) > 0; });
    return true;
}

bool InCategory(std::u16string_view name, const ApplicationRecord& record) {
    if (name.empty() || name == AllCategoryName()) return true;
    return std::find(record.categories.begin(), record.categories.end(), name) != record.categories.end();
}

int CountInCategory(const Catalog& catalog, std::u16string_view name) {
    if (name.empty() || name == AllCategoryName()) return static_cast<int>(catalog.records.size());
    int count = 0;
    for (const ApplicationRecord& record : catalog.records) {
        if (InCategory(name, record)) ++count;
    }
    return count;
}

std::optional<FindResult> Find(Catalog& catalog, std::u16string_view text, bool continueSearch,
                               Questions& questions) {
    // Indexes may be stale after records or categories were deleted; the
    // walk below only ever reads inside the current lists.
    std::size_t category = 0;
    std::size_t start = 0;
    if (continueSearch) {
        category = catalog.findCategory > 0 ? static_cast<std::size_t>(catalog.findCategory) : 0;
        start = catalog.findRecord >= 0 ? static_cast<std::size_t>(catalog.findRecord) + 1 : 0;
    }
    for (; category < catalog.categories.size(); ++category, start = 0) {
        const std::u16string& name = catalog.categories[category];
        for (std::size_t i = start; i < catalog.records.size(); ++i) {
            const ApplicationRecord& record = catalog.records[i];
            if (InCategory(name, record) && ContainsText(record, text)) {
                catalog.findCategory = static_cast<int>(category);
                catalog.findRecord = static_cast<int>(i);
                return FindResult{record.recordId, static_cast<int>(category)};
            }
        }
    }
    catalog.findCategory = 0;
    catalog.findRecord = -1;
    questions.Inform(kStrNoMatch);
    return std::nullopt;
}

int AutoRemove(Catalog& catalog) {
    const std::size_t removed = std::erase_if(catalog.records, [](const ApplicationRecord& record) {
        return record.autoRemove && !record.path.empty() && !platform::CanOpenForReading(record.path);
    });
    return static_cast<int>(removed);
}

void ConvertDates(Catalog& catalog, int oldStyle, int newStyle) {
    // Every field that holds date text: the row colours and the expiry
    // checks read them all in the current style.
    static constexpr std::u16string ApplicationRecord::* kDateFields[] = {
        &ApplicationRecord::dateLastChecked, &ApplicationRecord::installDate,
        &ApplicationRecord::purchaseDate,    &ApplicationRecord::registrationExpire,
        &ApplicationRecord::releasedDate,    &ApplicationRecord::webPasswordDate,
    };
    for (ApplicationRecord& record : catalog.records) {
        for (auto member : kDateFields) {
            std::u16string& text = record.*member;
            if (text.empty()) continue;  // no date to convert
            Date date = ParseDate(text, oldStyle);
            date.dateStyle = newStyle;
            date.timeStyle = TimeStyle::None;
            text = FormatDate(date, newStyle);
        }
    }
}

}  // namespace kodrin
