#include "catalog/exchange.h"

#include <vector>

#include "catalog/strings.h"
#include "platform/files.h"

namespace kodrin {

bool ExportCatalog(const DataFile& file, const ExportOptions& options, const ProgressFn& progress) {
    if (file.catalog == nullptr || file.settings == nullptr) return false;
    if (IsCsvPath(options.path)) {
        if (WriteCsv(*file.catalog, options, file.path, progress)) return true;
        if (file.user != nullptr) file.user->Inform(kStrSaveFailed);
        return false;
    }
    SaveOptions save;
    save.dataFile = file.path;
    save.progress = progress;
    save.user = file.user;
    return SaveCatalog(*file.catalog, *file.settings, options.path, options.category, save);
}

void PrepareCsvImport(Catalog& catalog, bool add, std::u16string_view currentCategory, Questions& questions) {
    if (add) return;
    if (currentCategory.empty()) {
        ClearCatalog(catalog);
        AddCategory(catalog, LoadText(kStrGeneralCategory));
        return;
    }
    // "<All>" is no category of its own: nothing to delete, nothing to add.
    if (currentCategory == LoadText(kStrAllCategory)) return;
    DeleteCategory(catalog, currentCategory, questions);
    AddCategory(catalog, currentCategory);
}

namespace {

bool ImportCsv(Catalog& catalog, std::u16string_view path, bool add, std::u16string_view currentCategory,
               Questions& questions, const ProgressFn& progress) {
    if (progress) progress(0);
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(path, bytes)) return false;
    // Read into a list of its own first: a file that names no known column
    // leaves the catalog as it was.
    // A file that looks like UTF-8 (as spreadsheet programs write CSV) is
    // read as UTF-8 first; UTF-16 and 8-bit text follow when a reading
    // names no known column.
    std::vector<ApplicationRecord> records;
    std::int32_t ids = catalog.nextRecordId;
    bool read = false;
    for (const CsvEncoding encoding : {CsvEncoding::Utf8, CsvEncoding::Utf16, CsvEncoding::EightBit}) {
        if (encoding == CsvEncoding::Utf8 && !IsUtf8Csv(bytes)) continue;
        records.clear();
        ids = catalog.nextRecordId;
        if ((read = ReadCsvBytes(bytes, encoding, records, ids, progress, path))) break;
    }
    if (!read) return false;
    PrepareCsvImport(catalog, add, currentCategory, questions);
    if (ids > catalog.nextRecordId) catalog.nextRecordId = ids;
    const std::u16string all = LoadText(kStrAllCategory);
    // A replacing import fills the category it emptied (or "General" in a
    // catalog that had none): a record that names no category goes there,
    // where its tab shows it and Find reaches it.
    if (!add && currentCategory != all) {
        const std::u16string home =
            currentCategory.empty() ? LoadText(kStrGeneralCategory) : std::u16string(currentCategory);
        for (ApplicationRecord& record : records) {
            if (record.categories.empty()) record.categories.push_back(home);
        }
    }
    for (ApplicationRecord& record : records) catalog.records.push_back(std::move(record));
    for (const ApplicationRecord& record : catalog.records) {
        for (const std::u16string& name : record.categories) {
            if (name != all) AddCategory(catalog, name);
        }
    }
    if (progress) progress(100);
    return true;
}

}  // namespace

ImportResult ImportFile(DataFile& file, std::u16string_view path, bool add, std::u16string_view currentCategory,
                        Questions& questions) {
    ImportResult result;
    if (file.catalog == nullptr || file.settings == nullptr) return result;
    if (!IsCsvPath(path)) {
        const DataFileLoadResult loaded = LoadDataFile(file, path, false, add);
        result.ok = loaded.ok;
        result.answer = loaded.answer;
        return result;
    }
    Catalog& catalog = *file.catalog;
    const DataFileHooks::LoadWork work = [&](const ProgressFn& progress) {
        return ImportCsv(catalog, path, add, currentCategory, questions, progress);
    };
    result.ok = file.hooks.runLoad ? file.hooks.runLoad(work) : work({});
    return result;
}

}  // namespace kodrin
