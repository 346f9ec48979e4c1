// Finding applications on disk: the filter list of known program files and
// the scan that walks a folder tree and turns every program file ("*.exe")
// into a record of the catalog.
//
// The scan is portable. What it needs of the system comes through small
// interfaces: the folders (ScanFolders), the reading of one program file
// (ReadProgramFile over a ProgramFileSource), the progress dialog with its
// Cancel button (ScanProgress) and the catalog lock (CatalogGate). The
// program backs them with Win32 and its progress dialog, kodrin-cli with
// the same Win32 calls on Windows and with the portable PE reader natively.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/path_index.h"
#include "catalog/record.h"
#include "catalog/settings.h"

namespace kodrin::discovery {

constexpr int kFilterListResource = 1004;       // RCDATA: the built-in filter list
constexpr int kStrSearchingForApplications = 4600;  // "Searching for applications"
constexpr int kStrEraseBeforeScan = 4601;       // the erase question of the scan dialog
constexpr int kStrBuildingFilterList = 4607;    // "Building Filter List"
constexpr char16_t kFilterListFileName[] = u"AppFilters.csv";

// The progress dialog of a scan, as the scan's worker sees it.
class ScanProgress {
public:
    virtual ~ScanProgress() = default;
    virtual void SetText(int stringId) = 0;
    virtual void SetProgress(int percent) = 0;
    // The user pressed Cancel.
    virtual bool Cancelled() const = 0;
};

// The lock that guards the catalog against the program's other threads (the
// background save). kodrin-cli has no other thread and uses NoGate.
class CatalogGate {
public:
    virtual ~CatalogGate() = default;
    virtual void Enter() = 0;
    virtual void Leave() = 0;
};

class NoGate final : public CatalogGate {
public:
    void Enter() override {}
    void Leave() override {}
};

// The catalog a scan adds to. Every change is made under the gate.
class ScanCatalog {
public:
    // Indexes the records already there; the catalog must change only
    // through this object until the scan ends.
    ScanCatalog(Catalog& catalog, CatalogGate& gate);
    // AddRecord with dedupe by path, under the gate: true when added, false
    // when a record with the same path took the new version.
    bool Add(ApplicationRecord record);
    // Removes every record and category (the value sets and the record-id
    // counter stay), under the gate.
    void Erase();

private:
    Catalog& catalog_;
    CatalogGate& gate_;
    std::unique_ptr<RecordPathIndex> index_;
};

// ---------------------------------------------------------------------------
// The filter list

// The known program files, one record per entry line of the list in file
// order, as the CSV import reads them.
class FilterList {
public:
    // Reads the list's CSV text; false, leaving the list empty, when the
    // import does not recognise the text.
    bool Read(std::u16string_view text, const std::function<void(int)>& progress);
    // The first entry whose Path equals the file name or the full path,
    // ignoring case; null when none does.
    const ApplicationRecord* Match(std::u16string_view fileName, std::u16string_view fullPath) const;
    const std::vector<ApplicationRecord>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

private:
    std::vector<ApplicationRecord> entries_;
    std::int32_t idCounter_ = 0;  // the list's own record ids, not the catalog's
    IgnoreCaseIndex paths_;
};

// Builds the scan's filter list from the bytes of the built-in list. With a
// copy path, the bytes are first written there (replacing the file) and the
// copy is read back, so that a changed copy never takes effect; a copy that
// cannot be written or read leaves the list empty. The text is taken as
// UTF-16 first and, when the import does not recognise it, byte by byte as
// Latin-1 characters (the built-in list, being 8-bit, always takes this
// second way), with the progress moving from 5 to 30 and the Cancel button
// checked while the text is rebuilt.
void LoadFilterList(std::span<const std::uint8_t> builtIn, std::u16string_view copyPath, FilterList& list,
                    ScanProgress& progress);

// Classifies a found program's record and adds it to the catalog: an entry
// of the list that knows the file (by its name or its full path) fills the
// record as a multiple edit; an unknown file goes to "General", or to
// "Filtered" when it has no product name (which then becomes the file name)
// or lies under one of the excluded system folders. folder is the searched
// folder with its trailing separator. True when the record was added, false
// when it updated an existing record's version.
bool ApplyFilterList(const FilterList& list, std::u16string_view fileName, ApplicationRecord record,
                     std::u16string_view folder, ScanCatalog& target);

// Whether a path lies in one of the system folders whose programs count as
// filtered ("c:\i386", "c:\windows\install", "c:\windows\$"), ignoring case.
bool InExcludedSystemFolder(std::u16string_view path);

// ---------------------------------------------------------------------------
// The walk

struct FolderEntry {
    std::u16string name;
    bool folder = false;
    // A symbolic link or junction (a reparse point): the walk never enters
    // one, so that a link back up the tree cannot make it run in circles.
    bool link = false;
};

// The file system as the scan walks it.
class ScanFolders {
public:
    virtual ~ScanFolders() = default;
    // Calls visit for each entry of the folder whose name matches the
    // pattern ("*.exe": program files; "*.*": everything), in the file
    // system's order, until visit returns false. A folder that cannot be
    // listed gives nothing.
    virtual void List(const std::u16string& folder, std::u16string_view pattern,
                      const std::function<bool(const FolderEntry&)>& visit) = 0;
    // The separator put between a folder and a name.
    virtual char16_t Separator() const = 0;
};

// Reads one program file into a new record (ReadProgramFile); false when
// nothing could be read and the file is skipped.
using ProgramReader = std::function<bool(ApplicationRecord& record, const std::u16string& path)>;

struct ScanRequest {
    std::u16string startFolder;
    std::u16string defaultMedia;  // ORIGINALMEDIA of every new record
    bool filtering = true;        // use the built-in filter list
};

// One run of the scan job: the filter list, the counting pass and the
// scanning pass.
class ScanJob {
public:
    ScanJob(ScanFolders& folders, ProgramReader reader, ScanCatalog& target, ScanProgress& progress)
        : folders_(folders), reader_(std::move(reader)), target_(target), progress_(progress) {}

    // Runs the job. builtIn and copyPath are given to LoadFilterList when
    // the request asks for filtering.
    void Run(const ScanRequest& request, std::span<const std::uint8_t> builtIn, std::u16string_view copyPath);

    // Set by an erase before the run, and by every program file read.
    bool changed = false;
    std::uint32_t foldersCounted = 0;
    std::uint32_t foldersVisited = 0;
    std::uint32_t filesRead = 0;  // program files that gave a record
    std::uint32_t added = 0;
    std::uint32_t updated = 0;

private:
    enum class Pass { Counting, Scanning };
    void Walk(const std::u16string& folder, Pass pass);
    std::u16string Join(const std::u16string& folder, std::u16string_view name) const;
    void TakeProgramFile(const std::u16string& folder, const std::u16string& name);

    ScanFolders& folders_;
    ProgramReader reader_;
    ScanCatalog& target_;
    ScanProgress& progress_;
    FilterList list_;
    ScanRequest request_;
};

}  // namespace kodrin::discovery
