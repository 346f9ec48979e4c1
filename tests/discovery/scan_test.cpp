// The scan: the filter list as it is built and applied, and the walk over a
// folder tree held in memory.
#include <gtest/gtest.h>

#include <map>

#include "catalog/catalog.h"
#include "catalog/strings.h"
#include "discovery/scan.h"
#include "platform/files.h"
#include "platform/utf.h"
#include "support/temp_folder.h"
#include "support/text.h"

namespace kodrin::discovery {
namespace {

using test::U;

// A tree of folders in memory: folder path -> entries in listing order.
struct FakeFolders : ScanFolders {
    std::map<std::u16string, std::vector<FolderEntry>> tree;
    std::vector<std::u16string> listed;  // folder and pattern, as asked

    void List(const std::u16string& folder, std::u16string_view pattern,
              const std::function<bool(const FolderEntry&)>& visit) override {
        listed.push_back(folder + u"|" + std::u16string(pattern));
        const auto found = tree.find(folder);
        if (found == tree.end()) return;
        for (const FolderEntry& entry : found->second) {
            const bool program = entry.name.size() > 4 && entry.name.substr(entry.name.size() - 4) == u".exe";
            if (pattern == u"*.exe" && !program) continue;
            if (!visit(entry)) return;
        }
    }
    char16_t Separator() const override { return u'\\'; }
};

struct FakeProgress : ScanProgress {
    std::vector<int> positions;
    std::vector<int> texts;
    int cancelAfterChecks = -1;  // Cancel pressed after so many checks; -1: never
    mutable int checks = 0;
    void SetText(int id) override { texts.push_back(id); }
    void SetProgress(int percent) override { positions.push_back(percent); }
    bool Cancelled() const override { return cancelAfterChecks >= 0 && checks++ >= cancelAfterChecks; }
};

// Reads a "program file" from a table: path -> version and product name.
struct FakePrograms {
    std::map<std::u16string, std::pair<std::u16string, std::u16string>> files;
    std::vector<std::u16string> read;
    ProgramReader Reader() {
        return [this](ApplicationRecord& record, const std::u16string& path) {
            read.push_back(path);
            record.path = path;
            const auto found = files.find(path);
            if (found == files.end()) return false;
            record.version = found->second.first;
            record.program = found->second.second;
            return true;
        };
    }
};

FolderEntry File(const char* name) { return {U(name), false, false}; }
FolderEntry Folder(const char* name, bool link = false) { return {U(name), true, link}; }

std::vector<std::uint8_t> FilterListBytes() {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(platform::ReadWholeFile(platform::FromUtf8(KODRIN_TEST_DATA "/../../resources/filters/AppFilters.csv"),
                                        bytes));
    return bytes;
}

const char kSmallList[] =
    "Path,Category,Company,Application Name,Home Page,Upgrade Web Page,Auto-Update\r\n"
    "Editor.exe,Office,\"Pen, Paper Inc.\",Pen Editor,http://pen.example/,http://pen.example/up,1\r\n"
    "tool.exe,Utilities,Tools Co,,,,Yes\r\n"
    "c:\\apps\\special\\run.exe,Games,,Run Game,,,No\r\n"
    "unins000.exe,Filtered,,,,,0\r\n";

FilterList SmallList() {
    FilterList list;
    EXPECT_TRUE(list.Read(U(kSmallList), {}));
    return list;
}

TEST(ScanTest, FilterListSortsEachFoundProgramAsTheListSays) {
    const FilterList list = SmallList();
    struct Case {
        const char* name;
        const char* folder;
        const char* product;  // from the version resource
        const char* category;
        const char* program;
        const char* company;
        bool autoUpdate;
    };
    const Case cases[] = {
        // A match ignores case; the entry's cells fill the record, "1" is no boolean.
        {"EDITOR.EXE", "c:\\Program Files\\Pen\\", "Own Name", "Office", "Pen Editor", "Pen, Paper Inc.", false},
        // "Yes" sets the flag; an empty application name keeps the record's.
        {"tool.exe", "d:\\t\\", "Tool Pro", "Utilities", "Tool Pro", "Tools Co", true},
        // An entry with a full path matches that path only.
        {"run.exe", "C:\\Apps\\Special\\", "", "Games", "Run Game", "", false},
        {"run.exe", "c:\\other\\", "Runner", "General", "Runner", "", false},
        // No product name: filtered, named after the file.
        {"helper.exe", "c:\\Program Files\\X\\", "", "Filtered", "helper.exe", "", false},
        // The excluded system folders, in any letter case.
        {"fix.exe", "C:\\WINDOWS\\$NtUninstallKB1$\\", "Hotfix", "Filtered", "Hotfix", "", false},
        {"setup.exe", "c:\\i386\\", "Setup", "Filtered", "Setup", "", false},
        {"msi.exe", "c:\\Windows\\Installer\\", "Inst", "Filtered", "Inst", "", false},
        {"app.exe", "c:\\windows\\system32\\", "App", "General", "App", "", false},
        {"unins000.exe", "c:\\Program Files\\X\\", "X Setup", "Filtered", "X Setup", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder + std::string(c.name));
        Catalog catalog;
        NoGate gate;
        ScanCatalog target(catalog, gate);
        ApplicationRecord record = NewRecord();
        record.path = U(c.folder) + U(c.name);
        record.program = U(c.product);
        EXPECT_TRUE(ApplyFilterList(list, U(c.name), std::move(record), U(c.folder), target));
        ASSERT_EQ(catalog.records.size(), 1u);
        const ApplicationRecord& added = catalog.records[0];
        EXPECT_EQ(added.categories, std::vector<std::u16string>{U(c.category)});
        EXPECT_EQ(added.program, U(c.program));
        EXPECT_EQ(added.company, U(c.company));
        EXPECT_EQ(added.autoUpdate, c.autoUpdate);
        // The record keeps where the program is, whatever the entry's Path.
        EXPECT_EQ(added.path, U(c.folder) + U(c.name));
        EXPECT_EQ(catalog.categories, std::vector<std::u16string>{U(c.category)});
    }
}

TEST(ScanTest, BuiltInListIsReadAsUtf16ThenByteByByteFromItsCopyOnDisk) {
    const std::vector<std::uint8_t> bytes = FilterListBytes();
    const test::TempFolder folder(u"kodrin-filters-");
    const std::u16string copy = folder.Path() + u"\\AppFilters.csv";
    // A copy changed on disk never takes effect: it is written anew.
    ASSERT_TRUE(platform::WriteFileAtomically(copy, std::vector<std::uint8_t>{'x', ',', 'y'}));
    FilterList list;
    FakeProgress progress;
    LoadFilterList(bytes, copy, list, progress);
    std::vector<std::uint8_t> written;
    ASSERT_TRUE(platform::ReadWholeFile(copy, written));
    EXPECT_EQ(written, bytes);

    std::size_t lines = 0;
    for (const std::uint8_t b : bytes) lines += b == '\n';
    EXPECT_EQ(list.Entries().size(), lines - 1);
    // The one character above ASCII arrives as itself.
    const auto registered = std::find_if(list.Entries().begin(), list.Entries().end(), [](const auto& e) {
        return e.program.find(u'\u00AE') != std::u16string::npos;
    });
    EXPECT_NE(registered, list.Entries().end());
    // The bar: 0, then 5 to 30 while the text is rebuilt, then the import.
    ASSERT_FALSE(progress.positions.empty());
    EXPECT_EQ(progress.positions.front(), 0);
    EXPECT_NE(std::find(progress.positions.begin(), progress.positions.end(), 29), progress.positions.end());
    EXPECT_EQ(std::count(progress.texts.begin(), progress.texts.end(), kStrBuildingFilterList), 3);

    // Without a writable copy the list stays empty, and the scan goes on.
    FilterList none;
    LoadFilterList(bytes, folder.Path() + u"\\missing\\AppFilters.csv", none, progress);
    EXPECT_TRUE(none.Empty());
}

struct WalkFixture : ::testing::Test {
    FakeFolders folders;
    FakePrograms programs;
    FakeProgress progress;
    Catalog catalog;
    NoGate gate;

    void SetUp() override {
        folders.tree[u"c:\\p"] = {File("a.exe"), Folder("sub"), Folder("loop", true), File("b.exe"), Folder("x.exe"),
                                  File("readme.txt")};
        folders.tree[u"c:\\p\\sub\\"] = {Folder("deep"), File("c.exe")};
        folders.tree[u"c:\\p\\sub\\deep\\"] = {File("d.exe"), File("broken.exe")};
        folders.tree[u"c:\\p\\loop\\"] = {File("never.exe")};
        folders.tree[u"c:\\p\\x.exe\\"] = {};
        for (const char* path : {"c:\\p\\a.exe", "c:\\p\\b.exe", "c:\\p\\sub\\c.exe", "c:\\p\\sub\\deep\\d.exe"}) {
            programs.files[U(path)] = {u"1.0", u"Product"};
        }
    }

    struct Result {
        bool changed;
        std::uint32_t foldersCounted, foldersVisited, filesRead, added, updated;
    };
    Result Run(const char* media = "CD", bool filtering = false) {
        ScanCatalog target(catalog, gate);
        ScanJob job(folders, programs.Reader(), target, progress);
        job.Run({u"c:\\p", U(media), filtering}, {}, u"");
        return {job.changed, job.foldersCounted, job.foldersVisited, job.filesRead, job.added, job.updated};
    }
};

TEST_F(WalkFixture, WalksDepthFirstProgramsBeforeSubfoldersAndSkipsLinks) {
    const Result job = Run("My Stick");
    EXPECT_EQ(programs.read, (std::vector<std::u16string>{u"c:\\p\\a.exe", u"c:\\p\\b.exe", u"c:\\p\\sub\\c.exe",
                                                          u"c:\\p\\sub\\deep\\d.exe", u"c:\\p\\sub\\deep\\broken.exe"}));
    EXPECT_EQ(job.foldersCounted, 3u);  // sub, deep, x.exe; never the link
    EXPECT_EQ(job.foldersVisited, 3u);
    EXPECT_EQ(job.filesRead, 4u);
    EXPECT_EQ(job.added, 4u);
    EXPECT_TRUE(job.changed);
    // 5 at the start, 20 after counting, then a third of the rest per folder.
    EXPECT_EQ(progress.positions, (std::vector<int>{5, 20, 46, 73, 100}));
    for (const ApplicationRecord& r : catalog.records) {
        EXPECT_EQ(r.originalMedia, u"My Stick");
        EXPECT_TRUE(r.categories.empty());  // without filtering only "<All>" shows them
    }
    EXPECT_EQ(catalog.mediaNames.count(u"My Stick"), 1u);  // a typed name joins the media names

    // Again: nothing is added, only new versions are passed on.
    programs.files[u"c:\\p\\b.exe"].first = u"2.0";
    const Result again = Run();
    EXPECT_EQ(again.added, 0u);
    EXPECT_EQ(again.updated, 4u);
    ASSERT_EQ(catalog.records.size(), 4u);
    EXPECT_EQ(catalog.records[1].version, u"2.0");
    EXPECT_EQ(catalog.records[1].originalMedia, u"My Stick");
}

TEST_F(WalkFixture, CancelStopsAtTheNextCheck) {
    // In the counting pass: no program file is read.
    progress.cancelAfterChecks = 2;
    EXPECT_FALSE(Run().changed);
    EXPECT_TRUE(programs.read.empty());
    // In the scanning pass, before the second program: what was added stays.
    progress = FakeProgress();
    progress.cancelAfterChecks = 9;  // 7 in the counting pass, the start folder, a.exe
    const Result job = Run();
    EXPECT_EQ(programs.read, std::vector<std::u16string>{u"c:\\p\\a.exe"});
    EXPECT_TRUE(job.changed);
    EXPECT_EQ(catalog.records.size(), 1u);
}

TEST_F(WalkFixture, AFolderWithoutSubfoldersKeepsTheBarAtTwenty) {
    folders.tree = {{u"c:\\p", {File("a.exe")}}};
    Run();
    EXPECT_EQ(progress.positions, (std::vector<int>{5, 20}));
    EXPECT_EQ(catalog.records.size(), 1u);
}

}  // namespace
}  // namespace kodrin::discovery
