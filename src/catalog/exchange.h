// Export of the catalog to another file and import from one, as the Export
// and Import commands run them. The file name chooses the format: a name
// ending in ".csv" is CSV (csv.h), anything else the program's own markup,
// written and read by the data file's SaveCatalog and LoadDataFile.
//
// The dialogs around them (the export dialog, the file choosers, the
// replace-or-add question 4202) belong to the program; the work here asks
// the user only through the callbacks it is given.
#pragma once

#include <string_view>

#include "catalog/catalog.h"
#include "catalog/csv.h"
#include "catalog/datafile.h"

namespace kodrin {

constexpr int kStrImportQuestion = 4202;  // replace (Yes), add (No) or cancel the import
constexpr int kStrSavingTitle = 4215;     // "Saving Software": title of the export's progress dialog

// Writes the export. CSV through WriteCsv with the catalog's settings;
// markup through SaveCatalog with the category as its filter (all data,
// UTF-16; pictures follow STOREIMAGES as in a save, beside file.path when
// they are kept outside the document). The caller holds the catalog lock
// for the whole call and runs it under the progress dialog titled
// kStrSavingTitle. On failure the user (file.user) is told kStrSaveFailed
// and the result is false.
bool ExportCatalog(const DataFile& file, const ExportOptions& options, const ProgressFn& progress = {});

struct ImportResult {
    bool ok = false;
    // A markup file that failed to load: the user's answer to the question
    // after a failed load (NewCatalog or Quit), as LoadDataFile returns it.
    LoadFailureAnswer answer = LoadFailureAnswer::Quit;
};

// Imports path into file's catalog; add is false when the user chose to
// replace. currentCategory is the name of the current tab.
//
// Markup: LoadDataFile (not restoring, adding for add); replacing empties
// the catalog and clears the password first; the file's OPTIONS block
// replaces the settings it names; an encrypted file asks for its password.
// Adding keeps the catalog's own password and settings and converts the
// added records' dates into its date style.
//
// CSV: the work runs through file.hooks.runLoad (the progress dialog titled
// "Loading Software", holding the catalog lock). The file is read as UTF-16
// and, when that names no known column, again as 8-bit text. Only when one
// reading succeeds is the catalog prepared for the records (PrepareCsvImport)
// and are they appended; an unreadable file changes nothing. A replacing
// import gives each record that names no category the category it
// replaced (or "General" when the catalog had none). Every category named
// by a record then becomes a tab ("<All>" is never one).
ImportResult ImportFile(DataFile& file, std::u16string_view path, bool add, std::u16string_view currentCategory,
                        Questions& questions);

// Prepares the catalog for the records of a CSV import:
//  - replacing with no current category (a catalog without categories):
//    the catalog is emptied and gets the category "General";
//  - replacing with a real current category: DeleteCategory for it (asking
//    when it is not empty), then AddCategory again (it becomes the last tab);
//  - replacing while "<All>" is current, and adding: nothing.
void PrepareCsvImport(Catalog& catalog, bool add, std::u16string_view currentCategory, Questions& questions);

}  // namespace kodrin
