#include "app/portable/record_forms.h"

#include "catalog/dates.h"

namespace kodrin::app {

std::u16string DateStyleToday(const Settings& settings) {
    if (!settings.today.empty()) return settings.today;
    return FormatDate(Today(), static_cast<int>(settings.dateStyle));
}

int ApplyFormToRecords(Catalog& catalog, const std::vector<std::int32_t>& recordIds, const ApplicationRecord& form,
                       const Settings& settings) {
    int changed = 0;
    for (std::int32_t id : recordIds) {
        const ApplicationRecord* stored = FindRecordById(catalog, id);
        if (stored == nullptr) continue;
        ApplicationRecord merged = CopyRecord(*stored);
        ApplyMultipleEdit(form, merged, settings.clearCommand);
        if (StoreEditedRecord(catalog, merged, false) != 0) ++changed;
    }
    return changed;
}

void PrepareNewRecord(ApplicationRecord& record, const Settings& settings) {
    if (!record.version.empty() && record.dateLastChecked.empty()) record.dateLastChecked = DateStyleToday(settings);
}

}  // namespace kodrin::app
