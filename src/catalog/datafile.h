// The catalog's data file: saving the catalog as a markup document (plain
// UTF-16LE without a byte-order mark, or encrypted with the catalog
// password), loading it back, the backup copy taken at load, the restore from
// it, and the pictures folder beside the data file.
//
// Locking: the portable core has no lock. Whoever calls SaveCatalog,
// LoadCatalog or CopyPicturesFolder holds the program's catalog lock for the
// whole call; LoadDataFile runs its work through DataFileHooks::runLoad, which
// takes the lock around it (without that hook the caller holds the lock).
//
// Saving never rewrites the data file in place: the document goes to a
// temporary file beside it that replaces the data file in one step, so a
// failed or interrupted save leaves the previous file whole.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/catalog_document.h"
#include "catalog/record.h"
#include "catalog/settings.h"

namespace kodrin {

// String ids of the data file's messages and names.
constexpr int kStrLoadFailedQuestion = 4102;  // "There was a problem restoring your Kodrin. ..." (Yes/No/Cancel)
constexpr int kStrPicturesFolder = 4210;      // "Images\\"
constexpr int kStrLoadingTitle = 4213;        // "Loading Software"
constexpr int kStrSaveFailed = 4214;          // "There was a problem saving your Kodrin. ..."
constexpr int kStrBackupSuffix = 4303;        // ".bak"
constexpr int kStrPasswordTitle = 4402;       // "Kodrin Password"
constexpr int kStrPasswordPrompt = 4403;      // "Please enter your password (leave it blank ...):"

// The user's answer to the question after a failed load (string 4102).
enum class LoadFailureAnswer {
    NewCatalog,  // Yes: start a new catalog (the caller runs New without saving)
    Quit,        // No: the program ends
    Retry,       // Cancel: load again, asking for the password again
};

// How loading and saving talk to the user. The Windows program answers with
// its dialogs (titled "Kodrin"), kodrin-cli with its terminal, tests directly.
// The calls come from the thread that runs the load or save, with the catalog
// lock held.
class DataFileUser {
public:
    // The password of an encrypted file: InputBox titled kStrPasswordTitle
    // with the prompt kStrPasswordPrompt, typed masked. Nothing when cancelled.
    virtual std::optional<std::u16string> AskPassword() = 0;
    // A message the user only acknowledges (kStrSaveFailed after a failed save).
    virtual void Inform(int stringId) = 0;
    // The question kStrLoadFailedQuestion after a failed load.
    virtual LoadFailureAnswer AskAfterFailedLoad() = 0;

protected:
    ~DataFileUser() = default;
};

// ---------------------------------------------------------------------------
// Names and places.

// The backup of a data file: its full path with ".bak" appended.
std::u16string BackupPath(std::u16string_view dataFile);
// The pictures folder of a data file: its folder followed by "Images\".
std::u16string PicturesFolder(std::u16string_view dataFile);
// The data file used when nothing else names one: folder (ending in a
// separator) + "Kodrin" + "xml", with no dot ("Kodrinxml").
std::u16string DefaultDataFilePath(std::u16string_view folder);

// Writes the record's picture as folder + PICTURENAME, creating the folder
// when missing: the bytes are decoded and encoded again by the extension of
// the name (".jpg" JPEG, ".png" PNG, anything else BMP; the name is kept),
// as an opaque 24-bit picture whose transparent parts are black.
// False, writing nothing, when the name or the bytes are empty, the name is
// not a plain file name (it holds a separator or is "." or ".."), the bytes
// are not a picture or the file cannot be written.
bool SavePicture(const ApplicationRecord& record, std::u16string_view folder);

// Gives the record the picture named by path. The picture bytes are cleared
// and PICTURENAME becomes the path's file name (the part after its last
// separator, "\\" or "/", so that it never leads out of the pictures
// folder). An empty path ends there (no picture), and so does a path without
// a "\\" unless acceptBareName is set. Otherwise the whole file is read into
// the picture bytes, which are kept only when they decode as a picture: they
// stay empty when the file cannot be read or holds anything else. The
// data-file reader passes a stored PICTURENAME (a plain name only names the
// file in the pictures folder, an old full path is read and shortened); the
// picture page passes a chosen file.
void LoadPictureFile(std::u16string_view path, ApplicationRecord& record, bool acceptBareName);

// A plain file name made of name that Windows keeps as it is: the part after
// the last separator, with control characters and <>:"/\|?* as "_", without
// trailing dots and blanks, device names ("CON", "nul.png") prefixed with "_",
// at most 180 units long; "picture" when nothing is left.
std::u16string SafePictureName(std::u16string_view name);

// The file names under which the records' pictures are saved in the pictures
// folder, one per record (empty for a record without picture bytes). No two
// records share a file, letter case ignored: the name every record holds is
// taken, and stays with its owner, the record whose picture is not in memory
// (its file is already in the folder), else the first record holding it as
// a safe name. Every other record with picture bytes gets the first free
// name "stem (n).ext" (n from 2) made from its SafePictureName, or that name
// itself when free.
std::vector<std::u16string> PictureFileNames(const Catalog& catalog);

// Copies every file of the pictures folder of one data file into the
// pictures folder of the other (created with its missing parents), replacing
// files of the same name. Nothing is copied when both are the same folder.
// False when a file could not be copied or the folder not created.
bool CopyPicturesFolder(std::u16string_view fromDataFile, std::u16string_view toDataFile);

// ---------------------------------------------------------------------------
// Saving and loading a document.

struct SaveOptions {
    // The data file whose pictures folder receives the pictures when
    // settings.storeImages is false; empty means the saved path itself. An
    // export to another path names the data file here.
    std::u16string_view dataFile;
    // Progress in percent, 100 * n / (count + 1) after the n-th record; may be empty.
    ProgressFn progress;
    // Told kStrSaveFailed when the save fails; may be null.
    DataFileUser* user = nullptr;
    // Receives a copy of settings after a successful save (the main window's
    // last-saved settings); may be null.
    Settings* lastSaved = nullptr;
};

// Writes the catalog (the records that InCategory(filter) accepts, the
// category names the filter selects, the settings block) to path: UTF-16LE
// without a byte-order mark, or encrypted when settings.password is not
// empty. Without settings.storeImages each picture in memory is written to
// the pictures folder under its name from PictureFileNames, which the
// document then holds as PICTURENAME; bytes that do not decode are written
// as they are when that name ends in a picture extension (".png", ".tif",
// ...). A picture that cannot be written there stays in the document as
// PICTUREDATA. The previous file is replaced in one step; when anything fails it
// stays byte for byte as it was, no temporary file remains, the user is told
// kStrSaveFailed and the result is false. The catalog is never changed.
bool SaveCatalog(const Catalog& catalog, const Settings& settings, std::u16string_view path,
                 std::u16string_view filter, const SaveOptions& options = {});

struct LoadResult {
    bool ok = false;             // the document was read
    bool formatProblem = false;  // misplaced elements or an unterminated settings block
};

// Reads the document at path into the catalog and settings. Unless adding,
// the catalog is emptied and the password cleared first. A plain document
// may be UTF-16LE or 8-bit text. A document without the root element is
// taken to be encrypted: the password is asked from user (none when user is
// null) and becomes settings.password. False when the file cannot be read
// or, after decryption, lacks the KODRIN or DATAVERSION element (wrong
// password, damaged or foreign file); the password is then what it was
// before the question.
// Adding takes only the file's categories and records: the settings, the
// password included, stay as they are, and the records' dates are converted
// from the file's date style into settings.dateStyle (ConvertDates).
LoadResult LoadCatalog(std::u16string_view path, Catalog& catalog, Settings& settings, bool add,
                       DataFileUser* user, const ProgressFn& progress = {});
// The same for a file's bytes already read.
LoadResult LoadCatalogBytes(std::vector<std::uint8_t> bytes, Catalog& catalog, Settings& settings, bool add,
                            DataFileUser* user, const ProgressFn& progress = {});

// ---------------------------------------------------------------------------
// The data file as the program keeps it.

struct DataFileHooks {
    // Work that loads: gets a progress function, returns success.
    using LoadWork = std::function<bool(const ProgressFn& progress)>;
    // Runs the work, holding the catalog lock for its whole run, and returns
    // its result. The Windows program runs it on the worker thread of the
    // progress dialog titled kStrLoadingTitle. Empty: the work runs on the
    // calling thread, which holds the lock.
    std::function<bool(const LoadWork& work)> runLoad;
    // Called by the work after a successful load, before the backup or
    // restore copy: the main window re-applies the toolbar and its rectangle.
    std::function<void()> afterLoad;
    // Called by SetDataFile with the new path: the main window writes the
    // registry value "Filename" and sets its caption to "Kodrin - " + path.
    std::function<void(const std::u16string& path)> dataFileChanged;
};

// What the data file operations work on. The main window owns one;
// kodrin-cli its own. The pointers must stay valid while it is used.
struct DataFile {
    std::u16string path;            // the data file's full path
    bool readOnly = false;          // the data file has the read-only mark: nothing is saved
    Catalog* catalog = nullptr;
    Settings* settings = nullptr;   // the current settings (with the password)
    Settings* lastSaved = nullptr;  // the settings as last saved or loaded; may be null
    DataFileUser* user = nullptr;   // may be null: no password, failures answered Quit
    DataFileHooks hooks;
};

// Makes path the data file: stores it and calls hooks.dataFileChanged.
void SetDataFile(DataFile& file, std::u16string_view path);

struct DataFileLoadResult {
    bool ok = false;             // loaded, or the file was missing or empty (nothing loaded)
    bool formatProblem = false;  // loaded, but without the backup or restore copy
    // When the load failed: NewCatalog or Quit, as the user answered.
    LoadFailureAnswer answer = LoadFailureAnswer::Quit;
};

// The load as the program runs it. Loading the data file itself sets
// readOnly from its read-only mark. A missing or empty file loads nothing
// and succeeds. Otherwise LoadCatalog runs through hooks.runLoad; after
// success the settings become the last-saved settings (unless adding, which
// leaves them alone) and, unless the
// format-problem flag is set: with restore the loaded file (the backup) is
// copied over the data file; for the data file itself the backup copy is
// taken when settings->backup is true; any other file (a markup import) is
// never copied over the data file: the caller's next save writes the whole
// catalog. After a failure the user is asked kStrLoadFailedQuestion; Retry
// loads again, the other answers are returned.
DataFileLoadResult LoadDataFile(DataFile& file, std::u16string_view path, bool restore, bool add);

// Saves the whole catalog to the data file (no filter; pictures beside the
// data file), telling the user on failure and updating the last-saved
// settings on success. Refused (false, nothing written or said) while
// readOnly is set.
bool SaveDataFile(const DataFile& file, const ProgressFn& progress = {});

}  // namespace kodrin
