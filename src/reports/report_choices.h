// What the report dialog offers and what a report prints: the field choice
// lists, the point sizes, the applications collected and sorted, and the
// face the reports are drawn in when the chosen one is missing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.h"

namespace kodrin::reports {

struct Choice {
    std::u16string text;
    std::uint32_t value = 0;
};

// The sort list's and the label-line lists' items in the order they are
// added: "-- None --" (49), "Category" (0), then the caption of every FieldId
// from 1 to 48 with its id. The lists drop a text already present, so the
// second "Category" (id 1) is never offered.
std::vector<Choice> FieldChoices();

// The label sizes: 10 to 72 points, shown as "12 pt".
std::vector<Choice> SizeChoices();

// The applications a report prints. all: every application of the catalog,
// in catalog order, that InCategory accepts for the category; otherwise the
// records of the selected list rows (their ids, in list order; ids of
// records that are gone are skipped). With sortField below 49 they are
// sorted stably, ascending, by FieldLess (0 standing for the categories).
std::vector<const ApplicationRecord*> CollectApplications(const Catalog& catalog, bool all,
                                                          std::u16string_view category,
                                                          const std::vector<std::int32_t>& selectedIds,
                                                          std::uint32_t sortField);

// The face the reports draw in: the chosen one when the system has it
// (ignoring case), else the first of a list of common text faces the system
// has, else empty (the system's own face for the font's family; a symbol
// face that happens to sort first would print nonsense). The choice itself
// stays stored as it is.
std::u16string ReportFace(std::u16string_view chosen, const std::vector<std::u16string>& available);

}  // namespace kodrin::reports
