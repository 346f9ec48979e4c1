// kodrin-cli check against PAD files served on the loopback address.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "catalog/catalog.h"
#include "catalog/dates.h"
#include "cli/catalog_file.h"
#include "cli/cli.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "update/loopback_server.h"

namespace kodrin::cli {
namespace {

class Capture final : public Terminal {
public:
    void Out(std::string_view bytes) override { out.append(bytes); }
    void Err(std::string_view bytes) override { err.append(bytes); }
    std::optional<std::u16string> Variable(std::u16string_view) override { return std::nullopt; }
    std::optional<std::u16string> AskPassword(std::u16string_view) override { return std::nullopt; }
    std::string out, err;
};

std::string Pad(const std::string& version) {
    return "<XML_DIZ_INFO><Program_Info><Program_Version>" + version +
           "</Program_Version></Program_Info><Primary_Download_URL>http://example.com/get</Primary_Download_URL>"
           "</XML_DIZ_INFO>";
}

class CliCheck : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Running());
        server_.Serve("/editor.xml", {200, Pad("2.1"), "text/xml"});
        server_.Serve("/paint.xml", {200, Pad("1.0"), "text/xml"});
        server_.Serve("/viewer.xml", {200, "<XML_DIZ_INFO><Program_Version /></XML_DIZ_INFO>", "text/xml"});
        server_.Serve("/home.html", {200, "<html>Welcome</html>", "text/html"});
        Workspace w;
        w.settings.backup = false;
        AddCategory(w.catalog, u"Utilities");
        AddCategory(w.catalog, u"Graphics");
        const auto add = [&w](const char16_t* name, const char16_t* category, const char16_t* version,
                              std::u16string pad) {
            ApplicationRecord r = NewRecord();
            r.program = name;
            r.categories = {category};
            r.version = version;
            r.padFile = std::move(pad);
            AddRecord(w.catalog, r, false);
        };
        add(u"Editor\tPro", u"Utilities", u"2.0", server_.Url16("/editor.xml"));
        add(u"Notes", u"Utilities", u"1.0", u"");
        add(u"Paint", u"Graphics", u"1.0", server_.Url16("/paint.xml"));
        add(u"Viewer", u"Graphics", u"3", server_.Url16("/viewer.xml"));
        add(u"Site", u"Graphics", u"", server_.Url16("/home.html"));
        add(u"Gone", u"Graphics", u"1", server_.Url16("/missing.xml"));
        ASSERT_TRUE(SaveCatalogFile(w, path_, u""));
    }

    int Run(std::vector<std::u16string> args) {
        term_ = {};
        return RunCli(args, term_);
    }
    std::map<std::u16string, std::pair<std::u16string, std::u16string>> Stored() {
        Workspace w;
        EXPECT_EQ(LoadCatalogFile(path_, w, {}, false), LoadStatus::Ok);
        std::map<std::u16string, std::pair<std::u16string, std::u16string>> stored;
        for (const auto& r : w.catalog.records) stored[r.program] = {r.latestVersion, r.dateLastChecked};
        return stored;
    }

    test::LoopbackServer server_;
    test::TempFolder temp_{u"kodrin-check-"};
    std::u16string path_ = temp_.Path() + u"\\catalog.xml";
    Capture term_;
};

TEST_F(CliCheck, PrintsOneLinePerPadFileInCatalogOrderAndStoresTheResults) {
    const std::string lines =
        "Utilities\tEditor\\tPro\t2.0\t2.1\tnewer\n"
        "Graphics\tPaint\t1.0\t1.0\tcurrent\n"
        "Graphics\tViewer\t3\t\tno-version\n"
        "Graphics\tSite\t\t\tfailed: not a PAD file\n"
        "Graphics\tGone\t1\t\tfailed: HTTP 404\n";
    ASSERT_EQ(Run({u"check", path_, u"--dry-run"}), kExitOk);
    EXPECT_EQ(term_.out, lines);
    EXPECT_EQ(Stored()[u"Editor\tPro"].first, u"");  // a dry run stores nothing

    ASSERT_EQ(Run({u"check", path_, u"--category", u"Utilities"}), kExitOk);
    EXPECT_EQ(term_.out, "Utilities\tEditor\\tPro\t2.0\t2.1\tnewer\n");
    const std::u16string today = FormatDate(Today(), 3);
    auto stored = Stored();
    EXPECT_EQ(stored[u"Editor\tPro"], std::make_pair(std::u16string(u"2.1"), today));
    EXPECT_EQ(stored[u"Paint"], std::make_pair(std::u16string(), std::u16string()));

    ASSERT_EQ(Run({u"check", path_}), kExitOk);
    EXPECT_EQ(term_.out, lines);
    stored = Stored();
    EXPECT_EQ(stored[u"Paint"], std::make_pair(std::u16string(u"1.0"), today));
    EXPECT_EQ(stored[u"Viewer"], std::make_pair(std::u16string(), today));
    EXPECT_EQ(stored[u"Gone"], std::make_pair(std::u16string(), std::u16string()));  // no answer, no date
    EXPECT_EQ(stored[u"Notes"], std::make_pair(std::u16string(), std::u16string()));
}

TEST_F(CliCheck, AReadOnlyCatalogIsCheckedButNotWrittenAndUsageIsChecked) {
    std::vector<std::uint8_t> before;
    ASSERT_TRUE(platform::ReadWholeFile(path_, before));
    ASSERT_TRUE(platform::SetReadOnly(path_, true));
    EXPECT_EQ(Run({u"check", path_}), kExitOk);
    EXPECT_NE(term_.out.find("\tnewer\n"), std::string::npos);
    EXPECT_NE(term_.err.find("read-only"), std::string::npos);
    std::vector<std::uint8_t> after;
    ASSERT_TRUE(platform::ReadWholeFile(path_, after));
    EXPECT_EQ(after, before);
    platform::SetReadOnly(path_, false);

    EXPECT_EQ(Run({u"check"}), kExitUsage);
    EXPECT_EQ(Run({u"check", path_, u"--fields", u"1"}), kExitUsage);
    EXPECT_EQ(Run({u"check", path_, u"--category", u"Nothing"}), kExitFailure);
    EXPECT_EQ(Run({u"check", temp_.Path() + u"\\none.xml"}), kExitFailure);
}

}  // namespace
}  // namespace kodrin::cli
