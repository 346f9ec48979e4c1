#include "reports/report_choices.h"

#include <algorithm>
#include <array>

#include "catalog/record.h"
#include "catalog/strings.h"
#include "platform/text.h"

namespace kodrin::reports {
namespace {

constexpr int kStrCategory = 4205;
constexpr int kStrNone = 4501;
constexpr int kStrPoints = 4504;

}  // namespace

std::vector<Choice> FieldChoices() {
    std::vector<Choice> choices{{LoadText(kStrNone), kNoField}, {LoadText(kStrCategory), 0}};
    for (int id = 1; id < kNoField; ++id) choices.push_back({FieldCaption(id), static_cast<std::uint32_t>(id)});
    return choices;
}

std::vector<Choice> SizeChoices() {
    std::vector<Choice> choices;
    for (int size : {10, 12, 14, 16, 18, 20, 22, 24, 36, 48, 72}) {
        const std::string digits = std::to_string(size);
        choices.push_back({std::u16string(digits.begin(), digits.end()) + LoadText(kStrPoints),
                           static_cast<std::uint32_t>(size)});
    }
    return choices;
}

std::vector<const ApplicationRecord*> CollectApplications(const Catalog& catalog, bool all,
                                                          std::u16string_view category,
                                                          const std::vector<std::int32_t>& selectedIds,
                                                          std::uint32_t sortField) {
    std::vector<const ApplicationRecord*> applications;
    if (all) {
        for (const ApplicationRecord& record : catalog.records) {
            if (InCategory(category, record)) applications.push_back(&record);
        }
    } else {
        for (std::int32_t id : selectedIds) {
            if (const ApplicationRecord* record = FindRecordById(catalog, id)) applications.push_back(record);
        }
    }
    if (sortField < static_cast<std::uint32_t>(kNoField)) {
        const int field = sortField == 0 ? static_cast<int>(fields::Category) : static_cast<int>(sortField);
        std::stable_sort(applications.begin(), applications.end(),
                         [field](const ApplicationRecord* a, const ApplicationRecord* b) {
                             return FieldLess(*a, *b, field);
                         });
    }
    return applications;
}

std::u16string ReportFace(std::u16string_view chosen, const std::vector<std::u16string>& available) {
    auto has = [&](std::u16string_view face) {
        return std::find_if(available.begin(), available.end(), [&](const std::u16string& name) {
                   return platform::EqualIgnoreCase(name, face);
               }) != available.end();
    };
    if (!chosen.empty() && has(chosen)) return std::u16string(chosen);
    static constexpr std::array<std::u16string_view, 8> kCommon{
        u"Times New Roman", u"Liberation Serif", u"DejaVu Serif", u"Georgia",
        u"Arial", u"Liberation Sans", u"DejaVu Sans", u"Tahoma"};
    for (std::u16string_view face : kCommon) {
        if (has(face)) return std::u16string(face);
    }
    return {};
}

}  // namespace kodrin::reports
