#include "catalog/datafile.h"

#include <bit>
#include <span>

#include <algorithm>
#include <cwctype>
#include <exception>
#include <iterator>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "catalog/catalog_crypto.h"
#include "catalog/markup.h"
#include "catalog/strings.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/text.h"
#include "platform/utf.h"

namespace kodrin {

namespace {

// A name that stays inside the folder it is joined to.
bool IsPlainFileName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    return name.find_first_of(u"\\/:") == std::u16string_view::npos;
}

// Case-folded for comparing file names as Windows does: two names that
// differ only in letter case name one file.
std::u16string NameKey(std::u16string_view name) {
    std::u16string key(name);
    for (char16_t& c : key) {
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        } else if (c >= 0x80) {
            c = static_cast<char16_t>(std::towupper(static_cast<std::wint_t>(c)));
        }
    }
    return key;
}

// The extension of a file name, from its last dot ("" without one, or when
// the dot starts the name).
std::u16string_view Extension(std::u16string_view name) {
    const std::size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos || dot == 0 ? std::u16string_view() : name.substr(dot);
}

// Names that the picture codecs of either build may read: bytes that this
// build cannot decode are written as they are only under such a name.
bool HasPictureExtension(std::u16string_view name) {
    static constexpr std::u16string_view kExtensions[] = {u".bmp", u".dib",  u".png", u".jpg", u".jpeg",
                                                           u".jpe", u".jfif", u".gif", u".tif", u".tiff",
                                                           u".ico", u".wmf",  u".emf"};
    const std::u16string key = NameKey(Extension(name));
    for (const std::u16string_view e : kExtensions) {
        if (key == NameKey(e)) return true;
    }
    return false;
}

std::u16string JoinFolder(std::u16string_view folder, std::u16string_view name) {
    std::u16string target(folder);
    if (!target.empty() && target.back() != u'\\' && target.back() != u'/') target += u'\\';
    target += name;
    return target;
}

enum class PictureWrite { Saved, NotAPicture, Failed };

// Writes picture bytes as folder + name, creating the folder when missing:
// decoded and encoded again by the extension of the name, as an opaque
// 24-bit picture whose transparent parts are black. Failed, writing nothing,
// when the name or the bytes are empty, the name is not a plain file name
// or the file cannot be written; NotAPicture when the bytes do not decode.
PictureWrite WritePictureFile(std::u16string_view name, std::span<const std::uint8_t> bytes,
                              std::u16string_view folder) {
    if (name.empty() || bytes.empty()) return PictureWrite::Failed;
    // A name read from a file could climb out of the pictures folder.
    if (!IsPlainFileName(name)) return PictureWrite::Failed;
    platform::Image image;
    if (!platform::DecodeImage(bytes, image)) return PictureWrite::NotAPicture;
    // The file holds what the screen shows: transparent parts black, 24 bits
    // a pixel in every format.
    platform::FlattenOntoBlack(image);
    std::vector<std::uint8_t> encoded;
    if (!platform::EncodeImage(image, platform::ImageFormatForName(name), encoded)) return PictureWrite::Failed;
    if (!platform::CreateFolders(folder)) return PictureWrite::Failed;
    return platform::WriteFileAtomically(JoinFolder(folder, name), encoded) ? PictureWrite::Saved
                                                                            : PictureWrite::Failed;
}

// Bytes that no codec here reads are written as they are, and only under a
// name that says they are a picture (the other build's codec may read them):
// a loaded file cannot drop a program or a settings file into the folder.
bool WriteUndecodedPictureFile(std::u16string_view name, std::span<const std::uint8_t> bytes,
                               std::u16string_view folder) {
    if (!IsPlainFileName(name) || !HasPictureExtension(name) || !platform::CreateFolders(folder)) return false;
    return platform::WriteFileAtomically(JoinFolder(folder, name), bytes);
}

// Adds the categories and records of another catalog, whose dates are in
// its own date style, to catalog: the dates are written again in the
// catalog's style and the records take new ids (AddRecord, no dedupe).
void AddCatalog(Catalog& catalog, Catalog&& added, int addedDateStyle, int dateStyle) {
    if (addedDateStyle != dateStyle) ConvertDates(added, addedDateStyle, dateStyle);
    for (const std::u16string& name : added.categories) AddCategory(catalog, name);
    for (ApplicationRecord& record : added.records) AddRecord(catalog, std::move(record), false);
}

}  // namespace

std::u16string BackupPath(std::u16string_view dataFile) {
    return std::u16string(dataFile) + LoadText(kStrBackupSuffix);
}

std::u16string PicturesFolder(std::u16string_view dataFile) {
    return std::u16string(platform::FolderPart(dataFile)) + LoadText(kStrPicturesFolder);
}

std::u16string DefaultDataFilePath(std::u16string_view folder) {
    return std::u16string(folder) + LoadText(kStrProgramTitle) + u"xml";
}

bool SavePicture(const ApplicationRecord& record, std::u16string_view folder) {
    return WritePictureFile(record.pictureName, record.picture, folder) == PictureWrite::Saved;
}

void LoadPictureFile(std::u16string_view path, ApplicationRecord& record, bool acceptBareName) {
    record.picture.clear();
    // The name never holds a folder: it is joined to the pictures folder.
    record.pictureName.assign(platform::FileNamePart(path));
    if (path.empty()) return;
    if (path.find(u'\\') == std::u16string_view::npos && !acceptBareName) return;
    if (!platform::ReadWholeFile(path, record.picture)) record.picture.clear();
    // A path can name any file, one that was never a picture among them (a
    // key, a password store): only a picture's bytes are taken.
    platform::Image image;
    if (!platform::DecodeImage(record.picture, image)) record.picture.clear();
}

std::u16string SafePictureName(std::u16string_view name) {
    std::u16string safe(platform::FileNamePart(name));
    for (char16_t& c : safe) {
        if (c < 0x20 || std::u16string_view(u"<>:\"/\\|?*").find(c) != std::u16string_view::npos) c = u'_';
    }
    // Windows drops trailing dots and blanks, which would give another name.
    while (!safe.empty() && (safe.back() == u'.' || safe.back() == u' ')) safe.pop_back();
    if (safe.empty()) safe = u"picture";
    // Device names ("CON", "nul.png", "COM1.bmp") are no files on Windows.
    const std::u16string stem = NameKey(std::u16string_view(safe).substr(0, safe.find(u'.')));
    static constexpr std::u16string_view kDevices[] = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
    bool device = std::find(std::begin(kDevices), std::end(kDevices), stem) != std::end(kDevices);
    device = device || (stem.size() == 4 && (stem.starts_with(u"COM") || stem.starts_with(u"LPT")) &&
                        stem[3] >= u'0' && stem[3] <= u'9');
    if (device) safe.insert(0, 1, u'_');
    // Room for " (n)" and the folder within the usual path limits.
    constexpr std::size_t kMaxName = 180;
    if (safe.size() > kMaxName) {
        const std::u16string_view extension = Extension(safe).size() < 16 ? Extension(safe) : std::u16string_view();
        safe = safe.substr(0, kMaxName - extension.size()) + std::u16string(extension);
    }
    return safe;
}

std::vector<std::u16string> PictureFileNames(const Catalog& catalog) {
    const std::vector<ApplicationRecord>& records = catalog.records;
    std::vector<std::u16string> names(records.size());
    // Every name a record holds is taken. Its owner keeps it: a record whose
    // picture is not in memory (its file is in the folder), else the first
    // record that holds it as a safe name.
    constexpr std::size_t kNoOwner = static_cast<std::size_t>(-1);
    std::unordered_map<std::u16string, std::size_t> taken;
    for (const ApplicationRecord& r : records) {
        if (!r.pictureName.empty()) taken.emplace(NameKey(r.pictureName), kNoOwner);
    }
    for (const bool inMemory : {false, true}) {
        for (std::size_t i = 0; i < records.size(); ++i) {
            const ApplicationRecord& r = records[i];
            if (r.pictureName.empty() || r.picture.empty() != !inMemory) continue;
            if (inMemory && SafePictureName(r.pictureName) != r.pictureName) continue;
            std::size_t& owner = taken[NameKey(r.pictureName)];
            if (owner == kNoOwner) owner = i;
        }
    }
    // The next number to try per safe name, so that many records of one
    // name ("icon.bmp") are numbered in one pass.
    std::unordered_map<std::u16string, int> nextNumber;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ApplicationRecord& r = records[i];
        if (r.pictureName.empty() || r.picture.empty()) continue;
        if (taken[NameKey(r.pictureName)] == i) {
            names[i] = r.pictureName;
            continue;
        }
        // Another record's name, or no safe one: the first free "name (n).ext".
        const std::u16string safe = SafePictureName(r.pictureName);
        const std::u16string_view extension = Extension(safe);
        const std::u16string_view stem = std::u16string_view(safe).substr(0, safe.size() - extension.size());
        std::u16string candidate = safe;
        int& n = nextNumber.try_emplace(NameKey(safe), 2).first->second;
        while (taken.contains(NameKey(candidate))) {
            candidate.assign(stem).append(u" (").append(platform::FromUtf8(std::to_string(n++))).append(u")");
            candidate.append(extension);
        }
        taken.emplace(NameKey(candidate), i);
        names[i] = std::move(candidate);
    }
    return names;
}

bool CopyPicturesFolder(std::u16string_view fromDataFile, std::u16string_view toDataFile) {
    const std::u16string from = PicturesFolder(fromDataFile);
    const std::u16string to = PicturesFolder(toDataFile);
    if (!platform::CreateFolders(to)) return false;
    // Copying a folder onto itself would only rewrite every picture.
    if (platform::EqualIgnoreCase(from, to)) return true;
    bool ok = true;
    for (const std::u16string& name : platform::ListFiles(from)) {
        if (!platform::CopyFileTo(from + name, to + name)) ok = false;
    }
    return ok;
}

bool SaveCatalog(const Catalog& catalog, const Settings& settings, std::u16string_view path,
                 std::u16string_view filter, const SaveOptions& options) {
    bool ok = false;
    try {
        const std::u16string folder = PicturesFolder(options.dataFile.empty() ? path : options.dataFile);
        // Each picture file gets a name of its own, over the whole catalog:
        // an export of one category names the files as the data file does.
        std::vector<std::u16string> names;
        if (!settings.storeImages) names = PictureFileNames(catalog);
        // A picture that cannot be written to the folder stays in the
        // document: the save goes on and nothing is lost.
        const PictureSinkFn sink = [&](const ApplicationRecord& r) -> std::optional<std::u16string> {
            const auto index = static_cast<std::size_t>(&r - catalog.records.data());
            if (index >= names.size() || names[index].empty()) return std::nullopt;
            const std::u16string& name = names[index];
            switch (WritePictureFile(name, r.picture, folder)) {
                case PictureWrite::Saved: return name;
                case PictureWrite::NotAPicture:
                    if (WriteUndecodedPictureFile(name, r.picture, folder)) return name;
                    return std::nullopt;
                case PictureWrite::Failed: break;
            }
            return std::nullopt;
        };
        const std::u16string document = WriteCatalogDocument(catalog, settings, filter, sink, options.progress);
        if (settings.password.empty()) {
            // UTF-16LE is the document's own memory on a little-endian machine.
            static_assert(std::endian::native == std::endian::little);
            ok = platform::WriteFileAtomically(
                path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(document.data()),
                                                    document.size() * 2));
        } else {
            std::vector<std::uint8_t> bytes;
            ok = EncryptDocument(settings.password, document, bytes) && platform::WriteFileAtomically(path, bytes);
        }
        if (ok && options.lastSaved) *options.lastSaved = settings;
    } catch (const std::exception&) {
        // Out of memory for the document: the previous file is untouched.
        ok = false;
    }
    if (!ok && options.user) options.user->Inform(kStrSaveFailed);
    return ok;
}

LoadResult LoadCatalog(std::u16string_view path, Catalog& catalog, Settings& settings, bool add,
                       DataFileUser* user, const ProgressFn& progress) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(path, bytes)) return {};
    return LoadCatalogBytes(std::move(bytes), catalog, settings, add, user, progress);
}

LoadResult LoadCatalogBytes(std::vector<std::uint8_t> bytes, Catalog& catalog, Settings& settings, bool add,
                            DataFileUser* user, const ProgressFn& progress) {
    LoadResult result;
    MarkupReader reader;
    reader.SetBytes(bytes.data(), bytes.size());
    bytes = {};
    if (!add) {
        settings.password.clear();
        ClearCatalog(catalog);
    }
    // Adding another catalog brings its records and categories only: its
    // password opens it and its options tell how to read it, but the
    // catalog keeps its own.
    Settings fileSettings = add ? NewSettings() : Settings{};
    Settings& readSettings = add ? fileSettings : settings;
    const std::u16string passwordBefore = readSettings.password;
    if (!reader.FindRoot(kRootTag)) {
        // No root in sight: an encrypted document.
        readSettings.password.clear();
        std::optional<std::u16string> answer;
        if (user) answer = user->AskPassword();
        if (answer && !answer->empty()) {
            readSettings.password = *answer;
            // The reader holds the file's bytes two to a code unit, first
            // byte low: on a little-endian machine that is the file's byte
            // order in memory, so the buffer decrypts in place into the
            // UTF-16LE document.
            static_assert(std::endian::native == std::endian::little);
            std::u16string& buffer = reader.Buffer();
            DecryptCatalogBytes(readSettings.password,
                                std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(buffer.data()), buffer.size() * 2));
        }
    }
    if (!reader.FindRoot(kRootTag) || !reader.FindRoot(kDataVersionTag)) {
        // A wrong password must not become the password of the next save.
        readSettings.password = passwordBefore;
        return result;
    }
    reader.Rewind();
    DocumentReadResult read;
    if (add) {
        Catalog added;
        read = ReadCatalogDocument(reader, added, fileSettings, progress);
        AddCatalog(catalog, std::move(added), static_cast<int>(fileSettings.dateStyle),
                   static_cast<int>(settings.dateStyle));
    } else {
        read = ReadCatalogDocument(reader, catalog, settings, progress);
    }
    result.ok = true;
    result.formatProblem = read.formatProblem;
    return result;
}

void SetDataFile(DataFile& file, std::u16string_view path) {
    file.path.assign(path);
    if (file.hooks.dataFileChanged) file.hooks.dataFileChanged(file.path);
}

DataFileLoadResult LoadDataFile(DataFile& file, std::u16string_view path, bool restore, bool add) {
    DataFileLoadResult result;
    const std::u16string loaded(path);
    const bool isDataFile = platform::EqualIgnoreCase(loaded, file.path);
    // Read-only mode belongs to the data file: a read-only import or backup
    // does not stop the catalog from being saved.
    if (isDataFile) file.readOnly = platform::IsReadOnly(loaded);
    // Saves that were killed half-way (a crash, a power cut) may have left
    // their temporary files beside the data file; the data file itself was
    // never touched by them.
    if (isDataFile && !file.readOnly) platform::RemoveLeftoverTemporaries(loaded);

    // The file is read once: what tells that it is empty is what the first
    // try loads (a retry reads it again).
    std::vector<std::uint8_t> bytes;
    if (!platform::FileExists(loaded) || (platform::ReadWholeFile(loaded, bytes) && bytes.empty())) {
        result.ok = true;
        return result;
    }

    const DataFileHooks::LoadWork work = [&](const ProgressFn& progress) {
        if (progress) progress(0);
        if (bytes.empty() && !platform::ReadWholeFile(loaded, bytes)) return false;
        const LoadResult load =
            LoadCatalogBytes(std::exchange(bytes, {}), *file.catalog, *file.settings, add, file.user, progress);
        if (!load.ok) return false;
        result.formatProblem = load.formatProblem;
        // Adding leaves the settings as they were.
        if (file.lastSaved && !add) *file.lastSaved = *file.settings;
        if (file.hooks.afterLoad) file.hooks.afterLoad();
        if (!load.formatProblem) {
            if (restore) {
                platform::CopyFileTo(loaded, file.path);
            } else if (isDataFile) {
                if (file.settings->backup) platform::CopyFileTo(loaded, BackupPath(file.path));
            }
            // Any other file (an import) stays where it is: the next save
            // writes the whole catalog into the data file.
        }
        if (progress) progress(100);
        return true;
    };
    for (;;) {
        const bool ok = file.hooks.runLoad ? file.hooks.runLoad(work) : work(ProgressFn{});
        if (ok) {
            result.ok = true;
            return result;
        }
        result.formatProblem = false;
        const LoadFailureAnswer answer = file.user ? file.user->AskAfterFailedLoad() : LoadFailureAnswer::Quit;
        if (answer != LoadFailureAnswer::Retry) {
            result.answer = answer;
            return result;
        }
    }
}

bool SaveDataFile(const DataFile& file, const ProgressFn& progress) {
    if (file.readOnly) return false;
    SaveOptions options;
    options.dataFile = file.path;
    options.progress = progress;
    options.user = file.user;
    options.lastSaved = file.lastSaved;
    return SaveCatalog(*file.catalog, *file.settings, file.path, {}, options);
}

}  // namespace kodrin
