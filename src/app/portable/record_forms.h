// What the details dialog's results do to the catalog, as plain functions:
// a new record before it is stored, and a multiple-edit form merged into
// the selected records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/record.h"
#include "catalog/settings.h"

namespace kodrin::app {

// Today in the settings' date style (the start-of-run date when the
// settings carry one).
std::u16string DateStyleToday(const Settings& settings);

// Multiple Edit's result: merges the form into every record of the list
// (CLEARCOMMAND of the options as the erase command) and stores each one
// back, so that new licence types, payment methods and media join the
// catalog's value sets. Records no longer in the catalog are skipped. The
// caller holds the catalog lock. Returns the number of records changed.
int ApplyFormToRecords(Catalog& catalog, const std::vector<std::int32_t>& recordIds, const ApplicationRecord& form,
                       const Settings& settings);

// Add Application's result, before the record is stored: a record with a
// version but no date last checked takes the settings' start-of-run date.
void PrepareNewRecord(ApplicationRecord& record, const Settings& settings);

}  // namespace kodrin::app
