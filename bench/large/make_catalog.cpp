// Writes the large synthetic catalog of the program benchmark: the records of
// bench/synthetic.cpp cut to about 1 KB a record on disk (the text fields of
// the list's default columns, at most 40 characters, the categories, prices
// and flags as generated; no login fields), shown from the "<All>" tab with
// hidden items shown, so that the list holds every record at start. Prints
// how many rows the "<All>" tab and the first category's tab show.
//
//   make_catalog OUT RECORDS
#include <cstdio>
#include <cstdlib>
#include <string>

#include "catalog/catalog.h"
#include "catalog/datafile.h"
#include "catalog/strings.h"
#include "platform/utf.h"
#include "synthetic.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::u16string out(reinterpret_cast<const char16_t*>(argv[1]));
    const int records = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
#else
int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::u16string out = kodrin::platform::FromUtf8(argv[1]);
    const int records = std::atoi(argv[2]);
#endif
    using namespace kodrin;
    if (records <= 0) return 2;
    Catalog catalog = bench::MakeCatalog(records);
    for (ApplicationRecord& r : catalog.records) {
        ApplicationRecord kept = r;
        for (const auto member : kTextFields) (r.*member).clear();
        for (const auto member : {&ApplicationRecord::company, &ApplicationRecord::program, &ApplicationRecord::version,
                                  &ApplicationRecord::registrationKey, &ApplicationRecord::dateLastChecked,
                                  &ApplicationRecord::originalMedia}) {
            r.*member = (kept.*member).substr(0, 40);
        }
        r.loginData.clear();
    }
    Settings settings = NewSettings();
    settings.curCategory = LoadText(kStrAllCategory);
    settings.showHidden = true;
    if (!SaveCatalog(catalog, settings, out, u"")) {
        std::fprintf(stderr, "make_catalog: could not write the catalog\n");
        return 1;
    }
    const std::u16string& first = catalog.categories.front();
    std::printf("rows_all=%d rows_first=%d categories=%zu\n", static_cast<int>(catalog.records.size()),
                CountInCategory(catalog, first), catalog.categories.size());
    return 0;
}
