// The update check's benchmark setting: a loopback server that answers each
// of many PAD files after a delay, and a catalog whose records name them.
#pragma once

#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "cli/catalog_file.h"
#include "update/check_all.h"
#include "update/loopback_server.h"

namespace kodrin::bench {

class PadFarm {
public:
    // records PAD files, each answered after delayMs; the catalog is written
    // to catalogPath.
    PadFarm(int records, int delayMs, const std::u16string& catalogPath) : path_(catalogPath) {
        cli::Workspace w;
        AddCategory(w.catalog, u"Tools");
        for (int i = 0; i < records; ++i) {
            const std::string name = "/pad" + std::to_string(i) + ".xml";
            server_.Serve(name, {200,
                                 "<XML_DIZ_INFO><Program_Info><Program_Version>2." + std::to_string(i % 7) +
                                     "</Program_Version></Program_Info></XML_DIZ_INFO>",
                                 "text/xml"});
            ApplicationRecord r = NewRecord();
            r.program = u"Application " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
            r.version = u"2.3";
            r.padFile = server_.Url16(name);
            r.categories = {u"Tools"};
            AddRecord(w.catalog, r, false);
        }
        for (const ApplicationRecord& r : w.catalog.records) items_.push_back({r.recordId, r.padFile, r.version});
        ok_ = server_.Running() && cli::SaveCatalogFile(w, path_, u"");
        server_.SetDelay(delayMs);
    }

    bool Ok() const { return ok_; }
    const std::vector<update::CheckItem>& Items() const { return items_; }
    const std::u16string& CatalogPath() const { return path_; }
    int Requests() const { return server_.Requests(); }

private:
    test::LoopbackServer server_;
    std::u16string path_;
    std::vector<update::CheckItem> items_;
    bool ok_ = false;
};

}  // namespace kodrin::bench
