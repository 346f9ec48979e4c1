// The in-memory catalog: categories (the tabs), records (in data file order),
// the value sets that feed the edit dialogs' drop-down lists, and every
// operation that changes them. The model has no lock of its own: callers hold
// CatalogLock around every operation.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/record.h"
#include "catalog/settings.h"

namespace kodrin {

// String ids of the catalog's messages and special names.
constexpr int kStrProgramTitle = 4109;      // "Kodrin"
constexpr int kStrFindTitle = 4115;         // "Find..."
constexpr int kStrFindPrompt = 4116;        // "Enter the text you would like to find:"
constexpr int kStrConfirmDelete = 4201;     // "Are you sure you want to delete the selected Software?"
constexpr int kStrCurrency = 4207;          // "$"
constexpr int kStrFilteredCategory = 4208;  // "Filtered"
constexpr int kStrGeneralCategory = 4209;   // "General"
constexpr int kStrNo = 4211;                // "No"
constexpr int kStrYes = 4216;               // "Yes"
constexpr int kStrCategoryNotEmpty = 4217;  // "This category is not empty.  Do you want to delete it anyway?"
constexpr int kStrNoMatch = 4602;           // "No matching entries found"
constexpr int kStrAllCategory = 4800;       // "<All>"
constexpr int kStrFirstMedia = 6100;        // "CD", "DVD", "Floppy", "Download", "Other"
constexpr int kMediaNameCount = 5;

// How the catalog asks the user. The program answers with message boxes
// titled "Kodrin" (questions Yes/No with the question icon); tests answer
// directly.
class Questions {
public:
    // A Yes/No question; true for Yes.
    virtual bool Confirm(int stringId) = 0;
    // A message the user only acknowledges.
    virtual void Inform(int stringId) = 0;

protected:
    ~Questions() = default;
};

// Ordinal (code unit) order for the value sets.
struct OrdinalLess {
    bool operator()(const std::u16string& a, const std::u16string& b) const;
};
using ValueSet = std::set<std::u16string, OrdinalLess>;

struct Catalog {
    Catalog();  // empty; mediaNames holds the five media names

    std::vector<std::u16string> categories;  // distinct names, in tab order
    std::vector<ApplicationRecord> records;  // insertion order = data file order
    ValueSet licenseTypes;
    ValueSet paymentMethods;
    ValueSet mediaNames;
    std::int32_t nextRecordId = 0;  // last id given out; never reset within a run

    // Where the last find stopped: category index, and the record index of
    // the last hit (-1 when the next search starts at the first record).
    int findCategory = 0;
    int findRecord = -1;

    // The settings (owned by the main window). Null reads as the defaults.
    Settings* options = nullptr;
};

// The options the catalog works with: *catalog.options, or the defaults.
const Settings& CatalogOptions(const Catalog& catalog);

// Empties categories and records (before a load that replaces the catalog).
// The value sets and nextRecordId keep their values.
void ClearCatalog(Catalog& catalog);

// The record with the given id, or null.
ApplicationRecord* FindRecordById(Catalog& catalog, std::int32_t recordId);
const ApplicationRecord* FindRecordById(const Catalog& catalog, std::int32_t recordId);

// Takes a record in: a new id, appended, its categories become tabs, its
// licence type, payment method and media join the value sets. With dedupe,
// an existing record with the same non-empty PATH (ignoring case) takes the
// new VERSION instead and nothing is added (result false).
bool AddRecord(Catalog& catalog, ApplicationRecord record, bool dedupeByPath);

// Stores a record edited in the details dialog. As new it takes a new id and
// is appended; otherwise it replaces the record with the same id (nothing
// happens when that id no longer exists). Returns the stored record's id, or
// 0 when nothing was stored.
std::int32_t StoreEditedRecord(Catalog& catalog, const ApplicationRecord& record, bool asNew);

// Appends the name unless an equal name (exact) is already present.
void AddCategory(Catalog& catalog, std::u16string_view name);
// Renames every entry equal to oldName (exact), in the tabs and in every
// record. Renaming onto an existing name merges the two.
void RenameCategory(Catalog& catalog, std::u16string_view oldName, std::u16string_view newName);
// Deletes a category, asking first when it is not empty. Records left
// without a category are deleted; records in another category stay.
bool DeleteCategory(Catalog& catalog, std::u16string_view name, Questions& questions);
// Swaps the name with its right (or left) neighbour. False when it is already
// at that end or absent.
bool MoveCategory(Catalog& catalog, std::u16string_view name, bool toTheRight);
// Replaces the category list of each given record.
void ChangeCategories(Catalog& catalog, const std::vector<std::int32_t>& recordIds,
                      const std::vector<std::u16string>& names);
// Asks, then deletes the given records. False when declined or nothing given.
bool DeleteRecords(Catalog& catalog, const std::vector<std::int32_t>& recordIds, Questions& questions);

// True when name is empty or "<All>", else when the record lists the name.
bool InCategory(std::u16string_view name, const ApplicationRecord& record);
int CountInCategory(const Catalog& catalog, std::u16string_view name);

struct FindResult {
    std::int32_t recordId = 0;
    int categoryIndex = 0;
};
// Finds text (exact substring) in the 37 text fields, category by category.
// continueSearch resumes after the last hit (Find Next). Without a match the
// user is told "No matching entries found" and the next search starts over.
std::optional<FindResult> Find(Catalog& catalog, std::u16string_view text, bool continueSearch,
                               Questions& questions);

// Removes every auto-remove record whose PATH is set but cannot be opened
// for reading. Returns the number removed.
int AutoRemove(Catalog& catalog);

// Rewrites every date field of every record (DATELASTCHECKED, INSTALLDATE,
// PURCHASEDATE, REGISTRATIONEXPIRE, RELEASEDDATE, WEBPASSWORDDATE) from the
// old date style to the new one, date only. Empty fields stay empty.
void ConvertDates(Catalog& catalog, int oldStyle, int newStyle);

}  // namespace kodrin
