#include "discovery/scan.h"

#include <algorithm>
#include <array>
#include <utility>

#include "catalog/csv.h"
#include "catalog/strings.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kodrin::discovery {

namespace {

// Holds the gate while it lives.
class Entered {
public:
    explicit Entered(CatalogGate& gate) : gate_(gate) { gate_.Enter(); }
    ~Entered() { gate_.Leave(); }
    Entered(const Entered&) = delete;
    Entered& operator=(const Entered&) = delete;

private:
    CatalogGate& gate_;
};

bool EndsWithSeparator(std::u16string_view text) {
    return !text.empty() && (text.back() == u'\\' || text.back() == u'/');
}

// The file name of a path: after its last "\" or "/", or all of it.
std::u16string_view FileNameOf(std::u16string_view path) {
    const std::size_t separator = path.find_last_of(u"\\/");
    return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace

// ---------------------------------------------------------------------------
// ScanCatalog

ScanCatalog::ScanCatalog(Catalog& catalog, CatalogGate& gate) : catalog_(catalog), gate_(gate) {
    const Entered entered(gate_);
    index_ = std::make_unique<RecordPathIndex>(catalog_);
}

bool ScanCatalog::Add(ApplicationRecord record) {
    const Entered entered(gate_);
    return index_->AddRecord(catalog_, std::move(record));
}

void ScanCatalog::Erase() {
    const Entered entered(gate_);
    ClearCatalog(catalog_);
    index_ = std::make_unique<RecordPathIndex>(catalog_);
}

// ---------------------------------------------------------------------------
// The filter list

bool FilterList::Read(std::u16string_view text, const std::function<void(int)>& progress) {
    std::vector<ApplicationRecord> entries;
    if (!ReadCsv(text, entries, idCounter_, progress, u"")) return false;
    entries_ = std::move(entries);
    paths_ = IgnoreCaseIndex();
    for (const ApplicationRecord& entry : entries_) paths_.Append(entry.path);
    return true;
}

const ApplicationRecord* FilterList::Match(std::u16string_view fileName, std::u16string_view fullPath) const {
    const std::size_t byName = paths_.Find(fileName);
    const std::size_t byPath = paths_.Find(fullPath);
    const std::size_t first = std::min(byName, byPath);
    return first == IgnoreCaseIndex::npos ? nullptr : &entries_[first];
}

void LoadFilterList(std::span<const std::uint8_t> builtIn, std::u16string_view copyPath, FilterList& list,
                    ScanProgress& progress) {
    progress.SetText(kStrBuildingFilterList);
    progress.SetProgress(0);

    // The copy on disk is rewritten every time and read back.
    std::vector<std::uint8_t> bytes;
    if (copyPath.empty()) {
        bytes.assign(builtIn.begin(), builtIn.end());
    } else if (!platform::WriteFileAtomically(copyPath, builtIn) || !platform::ReadWholeFile(copyPath, bytes)) {
        return;
    }

    // First as UTF-16: two bytes to a unit, little-endian, an odd last byte dropped.
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    const auto report = [&progress](int percent) { progress.SetProgress(percent); };
    progress.SetText(kStrBuildingFilterList);
    if (list.Read(units, report)) return;

    // Not recognised: every byte of those units becomes the Latin-1
    // character with the same number.
    std::u16string text;
    text.reserve(units.size() * 2);
    int shown = -1;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const int percent = static_cast<int>(5 + i * 25 / units.size());
        if (percent != shown) {
            if (progress.Cancelled()) return;
            progress.SetProgress(percent);
            shown = percent;
        }
        text += static_cast<char16_t>(units[i] & 0xFF);
        text += static_cast<char16_t>(units[i] >> 8);
    }
    progress.SetText(kStrBuildingFilterList);
    list.Read(text, report);
}

bool InExcludedSystemFolder(std::u16string_view path) {
    static constexpr std::array<std::u16string_view, 3> kPrefixes{u"c:\\i386", u"c:\\windows\\install",
                                                                   u"c:\\windows\\$"};
    return std::any_of(kPrefixes.begin(), kPrefixes.end(), [path](std::u16string_view prefix) {
        return path.size() >= prefix.size() && platform::EqualIgnoreCase(path.substr(0, prefix.size()), prefix);
    });
}

bool ApplyFilterList(const FilterList& list, std::u16string_view fileName, ApplicationRecord record,
                     std::u16string_view folder, ScanCatalog& target) {
    std::u16string fullPath(folder);
    fullPath += fileName;

    bool filtered = false;
    if (record.program.empty()) {
        filtered = true;
        record.program = std::u16string(FileNameOf(record.path));
    }

    if (const ApplicationRecord* entry = list.Match(fileName, fullPath)) {
        // The entry's Path is what it matches, not where the program is: the
        // record keeps its full path, by which a later scan finds it again
        // and Auto Removal checks that it is still there.
        std::u16string path = std::move(record.path);
        ApplyMultipleEdit(*entry, record, u"");
        record.path = std::move(path);
        return target.Add(std::move(record));
    }

    if (InExcludedSystemFolder(record.path)) filtered = true;
    record.categories.push_back(LoadText(filtered ? kStrFilteredCategory : kStrGeneralCategory));
    return target.Add(std::move(record));
}

// ---------------------------------------------------------------------------
// The walk

void ScanJob::Run(const ScanRequest& request, std::span<const std::uint8_t> builtIn, std::u16string_view copyPath) {
    request_ = request;
    if (request_.filtering) LoadFilterList(builtIn, copyPath, list_, progress_);
    progress_.SetText(kStrSearchingForApplications);
    progress_.SetProgress(5);
    foldersVisited = 0;
    foldersCounted = 0;
    Walk(request_.startFolder, Pass::Counting);
    progress_.SetProgress(20);
    Walk(request_.startFolder, Pass::Scanning);
}

std::u16string ScanJob::Join(const std::u16string& folder, std::u16string_view name) const {
    std::u16string path = folder;
    if (!path.empty() && !EndsWithSeparator(path)) path += folders_.Separator();
    path += name;
    return path;
}

void ScanJob::TakeProgramFile(const std::u16string& folder, const std::u16string& name) {
    const std::u16string fullPath = Join(folder, name);
    ApplicationRecord record = NewRecord();
    record.originalMedia = request_.defaultMedia;
    record.diskCount = 0;
    if (!reader_(record, fullPath)) return;
    ++filesRead;
    bool isNew = false;
    if (request_.filtering) {
        std::u16string withSeparator = folder;
        if (!withSeparator.empty() && !EndsWithSeparator(withSeparator)) withSeparator += folders_.Separator();
        isNew = ApplyFilterList(list_, name, std::move(record), withSeparator, target_);
    } else {
        isNew = target_.Add(std::move(record));
    }
    ++(isNew ? added : updated);
    changed = true;
}

// Depth first, as a recursive walk would go: a folder's program files, then
// each of its subfolders in the file system's order, each with its whole
// tree before the next. The walk keeps its own stack of folders still to
// enter instead of recursing, so that a deep tree needs no deep call stack
// (the scan runs on a worker thread with a small one) and no folder stays
// open while its subfolders are walked.
void ScanJob::Walk(const std::u16string& start, Pass pass) {
    struct Level {
        std::vector<std::u16string> subfolders;  // full paths, each ending with a separator
        std::size_t next = 0;
    };
    std::vector<Level> stack;

    // Enters a folder: its program files (scanning pass), then the list of
    // its subfolders. False when the user cancelled.
    const auto enter = [&](const std::u16string& folder) {
        if (progress_.Cancelled()) return false;
        if (pass == Pass::Scanning) {
            std::vector<std::u16string> programs;
            folders_.List(folder, u"*.exe", [&](const FolderEntry& entry) {
                // A folder named like a program file is no program.
                if (!entry.folder) programs.push_back(entry.name);
                return true;
            });
            for (const std::u16string& name : programs) {
                if (progress_.Cancelled()) return false;
                TakeProgramFile(folder, name);
            }
        }
        Level level;
        folders_.List(folder, u"*.*", [&](const FolderEntry& entry) {
            if (!entry.folder || entry.link || entry.name == u"." || entry.name == u"..") return true;
            std::u16string subfolder = Join(folder, entry.name);
            subfolder += folders_.Separator();
            level.subfolders.push_back(std::move(subfolder));
            return true;
        });
        stack.push_back(std::move(level));
        return true;
    };

    if (!enter(start)) return;
    while (!stack.empty()) {
        Level& top = stack.back();
        if (top.next == top.subfolders.size()) {
            stack.pop_back();
            continue;
        }
        if (progress_.Cancelled()) return;
        const std::u16string subfolder = std::move(top.subfolders[top.next++]);
        if (pass == Pass::Counting) {
            ++foldersCounted;
        } else if (foldersCounted > 0) {
            ++foldersVisited;
            // A tree that grew since the counting pass keeps the bar at its end.
            const std::uint64_t percent = std::uint64_t{foldersVisited} * 80u / foldersCounted + 20u;
            progress_.SetProgress(static_cast<int>(std::min<std::uint64_t>(percent, 100u)));
        }
        if (!enter(subfolder)) return;
    }
}

}  // namespace kodrin::discovery
