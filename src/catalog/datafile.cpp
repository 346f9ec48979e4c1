#include "catalog/datafile.h"

#include <bit>
#include <span>

#include <exception>
#include <utility>
#include <vector>

#include "catalog/catalog_crypto.h"
#include "catalog/markup.h"
#include "catalog/strings.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/text.h"

namespace kodrin {

namespace {

// A name that stays inside the folder it is joined to.
bool IsPlainFileName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    return name.find_first_of(u"\\/:") == std::u16string_view::npos;
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
    if (record.pictureName.empty() || record.picture.empty()) return false;
    // A name read from a file could climb out of the pictures folder.
    if (!IsPlainFileName(record.pictureName)) return false;
    platform::Image image;
    if (!platform::DecodeImage(record.picture, image)) return false;
    // The file holds what the screen shows: transparent parts black, 24 bits
    // a pixel in every format.
    platform::FlattenOntoBlack(image);
    std::vector<std::uint8_t> encoded;
    if (!platform::EncodeImage(image, platform::ImageFormatForName(record.pictureName), encoded)) return false;
    if (!platform::CreateFolders(folder)) return false;
    std::u16string target(folder);
    if (!target.empty() && target.back() != u'\\' && target.back() != u'/') target += u'\\';
    target += record.pictureName;
    return platform::WriteFileAtomically(target, encoded);
}

void LoadPictureFile(std::u16string_view path, ApplicationRecord& record, bool acceptBareName) {
    record.picture.clear();
    record.pictureName.assign(path);
    if (path.empty()) return;
    const std::size_t slash = path.rfind(u'\\');
    if (slash == std::u16string_view::npos && !acceptBareName) return;
    if (!platform::ReadWholeFile(path, record.picture)) record.picture.clear();
    if (slash != std::u16string_view::npos) record.pictureName.assign(path.substr(slash + 1));
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
        // A picture that cannot be written is skipped: the save goes on.
        const PictureSinkFn sink = [&folder](const ApplicationRecord& r) { SavePicture(r, folder); };
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
    const std::u16string passwordBefore = settings.password;
    if (!reader.FindRoot(kRootTag)) {
        // No root in sight: an encrypted document.
        settings.password.clear();
        std::optional<std::u16string> answer;
        if (user) answer = user->AskPassword();
        if (answer && !answer->empty()) {
            settings.password = *answer;
            // The reader holds the file's bytes two to a code unit, first
            // byte low: on a little-endian machine that is the file's byte
            // order in memory, so the buffer decrypts in place into the
            // UTF-16LE document.
            static_assert(std::endian::native == std::endian::little);
            std::u16string& buffer = reader.Buffer();
            DecryptCatalogBytes(settings.password,
                                std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(buffer.data()), buffer.size() * 2));
        }
    }
    if (!reader.FindRoot(kRootTag) || !reader.FindRoot(kDataVersionTag)) {
        // A wrong password must not become the password of the next save.
        settings.password = passwordBefore;
        return result;
    }
    reader.Rewind();
    const DocumentReadResult read = ReadCatalogDocument(reader, catalog, settings, progress);
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
        if (file.lastSaved) *file.lastSaved = *file.settings;
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
