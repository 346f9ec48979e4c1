#include "cli/cli.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "catalog/catalog.h"
#include "catalog/csv.h"
#include "catalog/datafile.h"
#include "catalog/dates.h"
#include "catalog/exchange.h"
#include "catalog/record.h"
#include "catalog/strings.h"
#include "cli/catalog_file.h"
#include "discovery/scan.h"
#include "discovery/scan_system.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/utf.h"
#include "reports/statistics.h"
#include "update/check_all.h"

#ifndef KODRIN_VERSION
#define KODRIN_VERSION "0"
#endif

namespace kodrin::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: kodrin-cli COMMAND ARGUMENTS [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  save FILE [OUT] [--new-password-file PATH]\n"
    "      Load the catalog FILE and save it to OUT (default: FILE itself).\n"
    "      --new-password-file sets the catalog password from the file's first\n"
    "      line; an empty file removes the password.\n"
    "  export FILE OUT [--category NAME] [--columns] [--8bit | --utf8] [--pictures]\n"
    "      Export to CSV when OUT ends in \".csv\", otherwise to markup.\n"
    "      CSV: every field unless --columns (the displayed columns); UTF-16LE\n"
    "      unless --8bit, or UTF-8 with a byte-order mark with --utf8 (as\n"
    "      spreadsheet programs read it); --pictures copies the pictures into\n"
    "      \"Images\" beside OUT.\n"
    "  import FILE IN [--add] [--category NAME] [--in-password-file PATH]\n"
    "      Import IN (CSV when it ends in \".csv\", otherwise markup) into FILE,\n"
    "      replacing its software unless --add; --category names the current\n"
    "      tab (default: the catalog's current tab). --in-password-file gives\n"
    "      the password of an encrypted IN. Then save FILE (a FILE that does\n"
    "      not exist yet is a new, empty catalog).\n"
    "  list FILE [--category NAME] [--fields ID,ID,...] [--reveal]\n"
    "      One line per record: the fields (FieldIds 0-48; default: the\n"
    "      displayed columns) separated by tabs. Passwords are masked unless\n"
    "      --reveal.\n"
    "  find FILE TEXT\n"
    "      Every match: the category, a tab and the application name.\n"
    "  stats FILE [--category NAME] [--media NAME]\n"
    "      The application statistics.\n"
    "  scan FILE FOLDER [--no-filter] [--media NAME]\n"
    "      Search FOLDER and all its subfolders for program files (*.exe) and\n"
    "      add them to FILE as the program's Search for Applications does:\n"
    "      sorted by the built-in filter list unless --no-filter, with the\n"
    "      media NAME (default \"CD\"). A program already in the catalog (same\n"
    "      path) only takes its new version. Then save FILE (a FILE that does\n"
    "      not exist yet is a new, empty catalog).\n"
    "  check FILE [--category NAME] [--dry-run]\n"
    "      Check every application with a PAD file for a newer version, 8 at\n"
    "      a time: one line per application (category, name, installed and\n"
    "      published version, and newer, current, no-version or\n"
    "      \"failed: REASON\"). Then store the published versions (Latest\n"
    "      Version) and, with the catalog's Auto-Update Date Last Checked\n"
    "      option, the date, unless --dry-run or the catalog is read-only.\n"
    "\n"
    "Options for every command:\n"
    "  --password-file PATH   the password of an encrypted catalog (first line)\n"
    "  --help                 show this text\n"
    "  --version              show the version\n"
    "\n"
    "The password of an encrypted catalog comes from --password-file, else the\n"
    "environment variable KODRIN_PASSWORD, else a prompt on the terminal.\n"
    "Values are written as UTF-8; backslash, tab, line feed and carriage return\n"
    "inside a value appear as \\\\, \\t, \\n and \\r, other control characters as\n"
    "\\ and three octal digits per byte (NUL as \\000).\n"
    "Exit status: 0 success, 1 failure, 2 wrong usage.\n";

constexpr std::u16string_view kPasswordVariable = u"KODRIN_PASSWORD";

// ---------------------------------------------------------------------------
// Command lines

struct Options {
    std::vector<std::u16string> positional;
    std::map<std::u16string, std::u16string> values;
    std::set<std::u16string> flags;

    const std::u16string* Value(std::u16string_view name) const {
        const auto it = values.find(std::u16string(name));
        return it == values.end() ? nullptr : &it->second;
    }
    bool Flag(std::u16string_view name) const { return flags.count(std::u16string(name)) != 0; }
};

class UsageError {
public:
    explicit UsageError(std::string message) : message_(std::move(message)) {}
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

struct Context;
using Handler = std::function<int(Context&)>;

struct CommandForm {
    std::u16string_view name;
    std::size_t minPositional;  // FILE included
    std::size_t maxPositional;
    std::vector<std::u16string_view> valueOptions;
    std::vector<std::u16string_view> flagOptions;
    Handler run;
};

// Splits the arguments after the command name. "--name=value" and "--name
// value" both work; "--" ends the options. A result with an error message
// is a usage error.
std::optional<std::string> ParseOptions(const CommandForm& form, const std::vector<std::u16string>& args,
                                        Options& options) {
    std::vector<std::u16string_view> values = form.valueOptions;
    values.push_back(u"--password-file");
    bool onlyPositional = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::u16string& arg = args[i];
        if (onlyPositional || arg.size() < 2 || arg[0] != u'-') {
            options.positional.push_back(arg);
            continue;
        }
        if (arg == u"--") {
            onlyPositional = true;
            continue;
        }
        std::u16string name = arg;
        std::optional<std::u16string> inlineValue;
        if (const auto eq = arg.find(u'='); eq != std::u16string::npos && arg.starts_with(u"--")) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        bool known = false;
        for (const auto v : values) {
            if (name != v) continue;
            known = true;
            if (inlineValue) {
                options.values[name] = *inlineValue;
            } else if (i + 1 < args.size()) {
                options.values[name] = args[++i];
            } else {
                return "option " + platform::ToUtf8(name) + " needs a value";
            }
        }
        for (const auto f : form.flagOptions) {
            if (name != f) continue;
            if (inlineValue) return "option " + platform::ToUtf8(name) + " takes no value";
            known = true;
            options.flags.insert(name);
        }
        if (!known) return "unknown option " + platform::ToUtf8(name) + " for " + platform::ToUtf8(form.name);
    }
    if (options.positional.size() < form.minPositional) return "too few arguments for " + platform::ToUtf8(form.name);
    if (options.positional.size() > form.maxPositional) return "too many arguments for " + platform::ToUtf8(form.name);
    return std::nullopt;
}

// ---------------------------------------------------------------------------
// Running a command

struct Context {
    Terminal& terminal;
    Options options;
    std::optional<std::u16string> passwordFromFile;  // --password-file, read up front

    void Print(std::string_view text) { terminal.Out(text); }

    // One line on standard error naming the file and the reason.
    int Fail(std::u16string_view path, std::string_view reason) {
        std::string line = "kodrin-cli: ";
        if (!path.empty()) line += platform::ToUtf8(path) + ": ";
        line += reason;
        line += '\n';
        terminal.Err(line);
        return kExitFailure;
    }

    const std::u16string& File() const { return options.positional[0]; }

    // The password for an encrypted file: --password-file, then the
    // environment, then the terminal.
    PasswordFn Passwords(const std::u16string* fileOption = nullptr) {
        return [this, fileOption](std::u16string_view path) -> std::optional<std::u16string> {
            if (fileOption) return *fileOption;
            if (passwordFromFile) return passwordFromFile;
            if (auto value = terminal.Variable(kPasswordVariable); value && !value->empty()) return value;
            return terminal.AskPassword(u"Password for " + std::u16string(path) + u": ");
        };
    }

    // Loads FILE (or another catalog) into the workspace; on failure the
    // reason has been reported and the result is false.
    bool Load(std::u16string_view path, Workspace& workspace, bool add = false,
              const std::u16string* passwordOption = nullptr, bool* formatProblem = nullptr) {
        return Report(path, LoadCatalogFile(path, workspace, Passwords(passwordOption), add, formatProblem));
    }

    // Reports a failed load; true for Ok.
    bool Report(std::u16string_view path, LoadStatus status) {
        switch (status) {
        case LoadStatus::Ok:
            return true;
        case LoadStatus::Missing:
            Fail(path, platform::FolderExists(path) ? "is a folder, not a catalog" : "no such file");
            return false;
        case LoadStatus::Unreadable:
            Fail(path, "cannot be read");
            return false;
        case LoadStatus::Foreign:
            Fail(path, "is not a Kodrin catalog");
            return false;
        case LoadStatus::Truncated:
            Fail(path, "is a Kodrin catalog that breaks off before its end (damaged or cut short)");
            return false;
        case LoadStatus::NoPassword:
            Fail(path,
                 "is encrypted and no password was given (use --password-file, KODRIN_PASSWORD or a terminal)");
            return false;
        case LoadStatus::WrongPassword:
            Fail(path, "wrong password, or not a Kodrin catalog");
            return false;
        }
        return false;
    }

    // A category name the catalog knows, or empty / "<All>".
    bool CheckCategory(const Workspace& workspace, const std::u16string& name) {
        if (name.empty() || name == LoadText(kStrAllCategory)) return true;
        for (const auto& c : workspace.catalog.categories) {
            if (c == name) return true;
        }
        Fail(File(), "has no category \"" + platform::ToUtf8(name) + "\"");
        return false;
    }

    // Reports a write of path that failed: a folder that does not exist is
    // named as such; anything else is most likely a full disk.
    int WriteFailed(std::u16string_view path) {
        const std::u16string full = FullPath(path);
        const std::u16string_view folder = platform::FolderPart(full);
        if (!folder.empty() && !platform::FolderExists(folder)) {
            const std::u16string_view name = folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
            return Fail(path, "its folder " + platform::ToUtf8(name) + " does not exist; nothing was written");
        }
        return Fail(path, "could not be written (is the disk full?)");
    }

    // Refuses to write over a read-only file.
    bool Writable(std::u16string_view path, bool isCatalog) {
        if (!platform::IsReadOnly(path)) return true;
        Fail(path, isCatalog ? "the catalog is read-only; nothing was changed" : "is read-only; nothing was written");
        return false;
    }
};

bool ReadPasswordFile(Context& ctx, const std::u16string& path, std::u16string& password) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(path, bytes)) {
        ctx.Fail(path, platform::FileExists(path) ? "password file cannot be read" : "no such password file");
        return false;
    }
    password = PasswordFromFileBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
    return true;
}

std::u16string Category(const Context& ctx) {
    const std::u16string* name = ctx.options.Value(u"--category");
    return name ? *name : std::u16string();
}

// The same file (also through another spelling of its path).
bool SameFile(const std::u16string& a, const std::u16string& b) {
    if (a == b) return true;
    std::error_code ec;
    return std::filesystem::equivalent(std::filesystem::path(a), std::filesystem::path(b), ec) && !ec;
}

// Before FILE is rewritten in place: the backup copy the program takes of a
// data file that loaded without a format problem, while the catalog's own
// BACKUP setting (as FILE was loaded) is on.
bool TakeBackup(Context& ctx, bool backupOn, const std::u16string& file, bool formatProblem) {
    if (formatProblem || !backupOn || !platform::FileExists(file)) return true;
    const std::u16string backup = BackupPath(file);
    if (platform::CopyFileTo(FullPath(file), FullPath(backup))) return true;
    ctx.Fail(backup, "the backup copy could not be written; nothing was changed");
    return false;
}

// The FieldIds of "--fields 3,20,27"; a usage error when malformed.
std::vector<int> ParseFieldList(std::u16string_view text) {
    std::vector<int> ids;
    const std::string utf8 = platform::ToUtf8(text);
    std::size_t start = 0;
    while (start <= utf8.size()) {
        std::size_t end = utf8.find(',', start);
        if (end == std::string::npos) end = utf8.size();
        const std::string_view piece(utf8.data() + start, end - start);
        int id = -1;
        const auto [ptr, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), id);
        if (piece.empty() || ec != std::errc() || ptr != piece.data() + piece.size() || id < 0 || id >= kFieldCount) {
            throw UsageError("--fields takes FieldIds from 0 to 48 separated by commas, not \"" + utf8 + "\"");
        }
        ids.push_back(id);
        start = end + 1;
    }
    return ids;
}

// Answers the catalog's questions without a window: every question is
// answered Yes (the command line already said what to do), messages are
// dropped.
class Agreeing final : public Questions {
public:
    bool Confirm(int) override { return true; }
    void Inform(int) override {}
};

// ---------------------------------------------------------------------------
// Commands

int RunSave(Context& ctx) {
    const std::u16string& file = ctx.File();
    const std::u16string& out = ctx.options.positional.size() > 1 ? ctx.options.positional[1] : file;
    if (!ctx.Writable(out, out == file)) return kExitFailure;
    std::optional<std::u16string> newPassword;
    if (const std::u16string* path = ctx.options.Value(u"--new-password-file")) {
        std::u16string password;
        if (!ReadPasswordFile(ctx, *path, password)) return kExitFailure;
        newPassword = std::move(password);
    }
    Workspace workspace;
    bool formatProblem = false;
    if (!ctx.Load(file, workspace, false, nullptr, &formatProblem)) return kExitFailure;
    if (newPassword) workspace.settings.password = *newPassword;
    if (SameFile(out, file)) {
        if (!TakeBackup(ctx, workspace.settings.backup, file, formatProblem)) return kExitFailure;
    } else if (!workspace.settings.storeImages && platform::FolderExists(PicturesFolder(file)) &&
               !CopyPicturesFolder(FullPath(file), FullPath(out))) {
        // As Save As does: the pictures kept beside the catalog go along.
        return ctx.Fail(PicturesFolder(out), "the pictures could not be copied; nothing was saved");
    }
    if (!SaveCatalogFile(workspace, out, u"", out)) return ctx.WriteFailed(out);
    return kExitOk;
}

int RunList(Context& ctx) {
    const std::u16string* fields = ctx.options.Value(u"--fields");
    std::vector<int> ids;
    if (fields) ids = ParseFieldList(*fields);
    Workspace workspace;
    if (!ctx.Load(ctx.File(), workspace)) return kExitFailure;
    const std::u16string category = Category(ctx);
    if (!ctx.CheckCategory(workspace, category)) return kExitFailure;
    if (!fields) {
        for (const std::uint8_t id : workspace.settings.cols) ids.push_back(id);
    }
    const bool reveal = ctx.options.Flag(u"--reveal");
    std::string text;
    for (const ApplicationRecord& record : workspace.catalog.records) {
        if (!InCategory(category, record)) continue;
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (i > 0) text += '\t';
            text += EscapeValue(FieldText(workspace.settings, record, ids[i], reveal));
        }
        text += '\n';
    }
    ctx.Print(text);
    return kExitOk;
}

int RunFind(Context& ctx) {
    Workspace workspace;
    if (!ctx.Load(ctx.File(), workspace)) return kExitFailure;
    const std::u16string& needle = ctx.options.positional[1];
    Catalog& catalog = workspace.catalog;
    Agreeing questions;
    std::string text;
    // Find Next walks forward through the categories and ends (wraps) after
    // the last hit; the bound only guards against a walk that never ends.
    const std::size_t bound = catalog.categories.size() * catalog.records.size() + 1;
    std::optional<FindResult> hit = Find(catalog, needle, false, questions);
    for (std::size_t n = 0; hit && n < bound; ++n) {
        const ApplicationRecord* record = FindRecordById(catalog, hit->recordId);
        const auto index = static_cast<std::size_t>(hit->categoryIndex);
        if (record && index < catalog.categories.size()) {
            text += EscapeValue(catalog.categories[index]);
            text += '\t';
            text += EscapeValue(record->program);
            text += '\n';
        }
        hit = Find(catalog, needle, true, questions);
    }
    ctx.Print(text);
    return kExitOk;
}

int RunExport(Context& ctx) {
    const std::u16string& file = ctx.File();
    const std::u16string& out = ctx.options.positional[1];
    const bool csv = IsCsvPath(out);
    const bool utf8 = ctx.options.Flag(u"--utf8");
    if (!csv && (ctx.options.Flag(u"--columns") || ctx.options.Flag(u"--8bit") || utf8 ||
                 ctx.options.Flag(u"--pictures"))) {
        throw UsageError("--columns, --8bit, --utf8 and --pictures apply to CSV files only");
    }
    if (utf8 && ctx.options.Flag(u"--8bit")) throw UsageError("--8bit and --utf8 exclude each other");
    if (SameFile(out, file)) return ctx.Fail(out, "is the catalog itself; export to another file");
    if (!ctx.Writable(out, false)) return kExitFailure;
    Workspace workspace;
    if (!ctx.Load(file, workspace)) return kExitFailure;
    const std::u16string category = Category(ctx);
    if (!ctx.CheckCategory(workspace, category)) return kExitFailure;
    ExportOptions options;
    options.path = FullPath(out);
    // Without --category the whole catalog goes out (markup: every tab too).
    options.category = category;
    options.allData = !ctx.options.Flag(u"--columns");
    options.preserveUnicode = !ctx.options.Flag(u"--8bit");
    options.utf8 = utf8;
    options.exportPictures = ctx.options.Flag(u"--pictures");
    DataFile data;
    data.path = FullPath(file);
    data.catalog = &workspace.catalog;
    data.settings = &workspace.settings;
    if (!ExportCatalog(data, options)) return ctx.WriteFailed(out);
    return kExitOk;
}

int RunStats(Context& ctx) {
    const std::u16string all = LoadText(kStrAllCategory);
    const std::u16string* mediaOption = ctx.options.Value(u"--media");
    const std::u16string media = mediaOption ? *mediaOption : all;
    bool knownMedia = false;
    std::string names;
    for (const MediaChoice& choice : StatisticsMediaChoices()) {
        knownMedia = knownMedia || choice.text == media;
        names += (names.empty() ? "" : ", ") + platform::ToUtf8(choice.text);
    }
    if (!knownMedia) throw UsageError("--media takes one of " + names);
    Workspace workspace;
    if (!ctx.Load(ctx.File(), workspace)) return kExitFailure;
    const std::u16string category = Category(ctx);
    if (!ctx.CheckCategory(workspace, category)) return kExitFailure;
    const StatisticsTexts texts = FormatStatistics(ComputeStatistics(workspace.catalog, category, media));
    std::string text;
    const auto line = [&text](std::string_view label, std::u16string_view value) {
        text += label;
        text += ' ';
        text += EscapeValue(value);
        text += '\n';
    };
    line("# Applications:", texts.applications);
    line("# Disks:", texts.disks);
    line("Total Cost:", texts.totalCost);
    line("Cost to Upgrade:", texts.upgradeCost);
    line("# Out of Date:", texts.outOfDate);
    ctx.Print(text);
    return kExitOk;
}

// The current tab of a catalog as the program would show it: CURCATEGORY
// when it names a tab, else the first tab, else none.
std::u16string CurrentCategory(const Workspace& workspace) {
    const auto& categories = workspace.catalog.categories;
    const std::u16string& current = workspace.settings.curCategory;
    for (const auto& c : categories) {
        if (c == current) return c;
    }
    if (current == LoadText(kStrAllCategory)) return current;
    return categories.empty() ? std::u16string() : categories.front();
}

int RunImport(Context& ctx) {
    const std::u16string& file = ctx.File();
    const std::u16string& in = ctx.options.positional[1];
    const bool add = ctx.options.Flag(u"--add");
    if (SameFile(in, file)) return ctx.Fail(in, "is the catalog itself; import another file");
    if (!ctx.Writable(file, true)) return kExitFailure;
    std::optional<std::u16string> inPassword;
    if (const std::u16string* path = ctx.options.Value(u"--in-password-file")) {
        std::u16string password;
        if (!ReadPasswordFile(ctx, *path, password)) return kExitFailure;
        inPassword = std::move(password);
    }
    Workspace workspace;
    bool formatProblem = false;
    // A catalog that does not exist yet is a new, empty one, as the program
    // treats a missing data file; the save below creates it.
    const bool isNew = !platform::FileExists(file) && !platform::FolderExists(file);
    if (!isNew && !ctx.Load(file, workspace, false, nullptr, &formatProblem)) return kExitFailure;
    const std::u16string* categoryOption = ctx.options.Value(u"--category");
    const std::u16string current = categoryOption ? *categoryOption : CurrentCategory(workspace);
    if (!ctx.CheckCategory(workspace, current)) return kExitFailure;
    const std::u16string passwordBefore = workspace.settings.password;
    // A replacing markup import takes the imported file's settings; whether
    // the catalog as it stands is backed up is still the catalog's choice.
    const bool backupOn = workspace.settings.backup;

    CommandLineUser inUser(ctx.Passwords(inPassword ? &*inPassword : nullptr), in);
    DataFile data;
    data.path = FullPath(file);
    data.catalog = &workspace.catalog;
    data.settings = &workspace.settings;
    data.user = &inUser;
    const bool csv = IsCsvPath(in);
    if (const LoadStatus probe = ProbeCatalogFile(in); probe != LoadStatus::Ok) {
        if (!csv || probe != LoadStatus::Foreign) {
            ctx.Report(in, probe);
            return kExitFailure;
        }
    }
    Agreeing questions;
    if (!ImportFile(data, in, add, current, questions).ok) {
        if (csv) return ctx.Fail(in, "has no column that Kodrin knows; nothing was imported");
        ctx.Report(in, FailedLoadStatus(inUser));
        return kExitFailure;
    }
    // Every category an imported record names becomes a tab.
    const std::u16string all = LoadText(kStrAllCategory);
    for (const ApplicationRecord& r : workspace.catalog.records) {
        for (const auto& c : r.categories) {
            if (c != all) AddCategory(workspace.catalog, c);
        }
    }
    if (!TakeBackup(ctx, backupOn, file, formatProblem)) return kExitFailure;
    if (!SaveCatalogFile(workspace, file, u"", file)) return ctx.WriteFailed(file);
    if (workspace.settings.password != passwordBefore) {
        ctx.terminal.Err("kodrin-cli: note: " + platform::ToUtf8(file) +
                         (workspace.settings.password.empty() ? " is now saved without a password (as the imported file)\n"
                                                              : " now has the password of the imported file\n"));
    }
    return kExitOk;
}

// The scan's progress, without a dialog: nothing to show, never cancelled.
class QuietProgress final : public discovery::ScanProgress {
public:
    void SetText(int) override {}
    void SetProgress(int) override {}
    bool Cancelled() const override { return false; }
};

int RunScan(Context& ctx) {
    const std::u16string& file = ctx.File();
    const std::u16string folder = FullPath(ctx.options.positional[1]);
    if (!platform::FolderExists(folder)) {
        return ctx.Fail(ctx.options.positional[1], platform::FileExists(folder) ? "is a file, not a folder" : "no such folder");
    }
    if (!ctx.Writable(file, true)) return kExitFailure;
    Workspace workspace;
    bool formatProblem = false;
    const bool isNew = !platform::FileExists(file) && !platform::FolderExists(file);
    if (!isNew && !ctx.Load(file, workspace, false, nullptr, &formatProblem)) return kExitFailure;
    const bool backupOn = workspace.settings.backup;

    discovery::ScanRequest request;
    request.startFolder = folder;
    const std::u16string* media = ctx.options.Value(u"--media");
    request.defaultMedia = media ? *media : LoadText(kStrFirstMedia);
    request.filtering = !ctx.options.Flag(u"--no-filter");

    discovery::NoGate gate;
    discovery::ScanCatalog target(workspace.catalog, gate);
    QuietProgress progress;
    const std::unique_ptr<discovery::ScanFolders> folders = discovery::SystemScanFolders();
    discovery::ScanJob job(*folders, discovery::SystemProgramReader(workspace.settings), target, progress);
    job.Run(request, discovery::BuiltInFilterList(), u"");

    if (!TakeBackup(ctx, backupOn, file, formatProblem)) return kExitFailure;
    if (!SaveCatalogFile(workspace, file, u"", file)) return ctx.WriteFailed(file);
    ctx.Print(std::to_string(job.filesRead) + " program files read, " + std::to_string(job.added) + " added, " +
              std::to_string(job.updated) + " updated\n");
    return kExitOk;
}

// Checks the PAD files of the records (of --category), 8 at a time, prints
// one line for each in catalog order and stores the results.
int RunCheck(Context& ctx) {
    const std::u16string& file = ctx.File();
    Workspace workspace;
    bool formatProblem = false;
    if (!ctx.Load(file, workspace, false, nullptr, &formatProblem)) return kExitFailure;
    const std::u16string category = Category(ctx);
    if (!ctx.CheckCategory(workspace, category)) return kExitFailure;
    const std::vector<update::CheckItem> items = update::ItemsToCheck(workspace.catalog, category, true);
    const std::vector<update::PadCheckResult> results = update::CheckAll(items, update::HttpLimits{});
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ApplicationRecord* record = FindRecordById(workspace.catalog, items[i].recordId);
        const std::u16string shown =
            !category.empty() ? category : record->categories.empty() ? std::u16string() : record->categories.front();
        text += EscapeValue(shown) + '\t' + EscapeValue(record->program) + '\t' + EscapeValue(record->version) + '\t' +
                EscapeValue(results[i].published) + '\t' + update::OutcomeWord(results[i]) + '\n';
    }
    ctx.Print(text);
    if (ctx.options.Flag(u"--dry-run") || items.empty()) return kExitOk;
    if (platform::IsReadOnly(file)) {
        ctx.terminal.Err("kodrin-cli: note: " + platform::ToUtf8(file) +
                         " is read-only; the results were not stored\n");
        return kExitOk;
    }
    const std::u16string today = FormatDate(Today(), static_cast<int>(workspace.settings.dateStyle));
    if (!update::StoreCheckResults(workspace.catalog, items, results, workspace.settings.autoDate, today)) {
        return kExitOk;
    }
    if (!TakeBackup(ctx, workspace.settings.backup, file, formatProblem)) return kExitFailure;
    if (!SaveCatalogFile(workspace, file, u"", file)) return ctx.WriteFailed(file);
    return kExitOk;
}

const std::vector<CommandForm>& Commands() {
    static const std::vector<CommandForm> commands = {
        {u"save", 1, 2, {u"--new-password-file"}, {}, RunSave},
        {u"export", 2, 2, {u"--category"}, {u"--columns", u"--8bit", u"--utf8", u"--pictures"}, RunExport},
        {u"import", 2, 2, {u"--category", u"--in-password-file"}, {u"--add"}, RunImport},
        {u"list", 1, 1, {u"--category", u"--fields"}, {u"--reveal"}, RunList},
        {u"find", 2, 2, {}, {}, RunFind},
        {u"stats", 1, 1, {u"--category", u"--media"}, {}, RunStats},
        {u"scan", 2, 2, {u"--media"}, {u"--no-filter"}, RunScan},
        {u"check", 1, 1, {u"--category"}, {u"--dry-run"}, RunCheck},
    };
    return commands;
}

int Usage(Terminal& terminal, std::string_view problem) {
    terminal.Err("kodrin-cli: " + std::string(problem) + "\n" + std::string(kUsage));
    return kExitUsage;
}

bool Contains(const std::vector<std::u16string>& args, std::u16string_view what) {
    for (const auto& a : args) {
        if (a == u"--") return false;
        if (a == what) return true;
    }
    return false;
}

}  // namespace

std::string EscapeValue(std::u16string_view text) {
    // A byte as a backslash and three octal digits.
    const auto octal = [](std::u16string& out, unsigned byte) {
        out += u'\\';
        out += static_cast<char16_t>(u'0' + ((byte >> 6) & 7));
        out += static_cast<char16_t>(u'0' + ((byte >> 3) & 7));
        out += static_cast<char16_t>(u'0' + (byte & 7));
    };
    std::u16string escaped;
    escaped.reserve(text.size());
    for (const char16_t c : text) {
        switch (c) {
        case u'\\': escaped += u"\\\\"; break;
        case u'\t': escaped += u"\\t"; break;
        case u'\n': escaped += u"\\n"; break;
        case u'\r': escaped += u"\\r"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                octal(escaped, c);
            } else if (c >= 0x80 && c < 0xA0) {
                // A C1 control: the two bytes of its UTF-8 form.
                octal(escaped, 0xC2);
                octal(escaped, c);
            } else {
                escaped += c;
            }
        }
    }
    return platform::ToUtf8(escaped);
}

std::u16string PasswordFromFileBytes(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (bytes.ends_with('\n')) bytes.remove_suffix(1);
    if (bytes.ends_with('\r')) bytes.remove_suffix(1);
    return platform::FromUtf8(bytes);
}


int RunCli(const std::vector<std::u16string>& args, Terminal& terminal) {
    if (args.empty()) return Usage(terminal, "no command given");
    if (args[0] == u"--version" || args[0] == u"version") {
        terminal.Out("kodrin-cli " KODRIN_VERSION "\n");
        return kExitOk;
    }
    if (args[0] == u"--help" || args[0] == u"-h" || args[0] == u"help" || Contains(args, u"--help")) {
        terminal.Out(kUsage);
        return kExitOk;
    }
    const CommandForm* form = nullptr;
    for (const CommandForm& c : Commands()) {
        if (c.name == args[0]) form = &c;
    }
    if (!form) return Usage(terminal, "unknown command \"" + platform::ToUtf8(args[0]) + "\"");

    Context ctx{terminal, {}, std::nullopt};
    if (auto problem = ParseOptions(*form, args, ctx.options)) return Usage(terminal, *problem);
    try {
        if (const std::u16string* path = ctx.options.Value(u"--password-file")) {
            std::u16string password;
            if (!ReadPasswordFile(ctx, *path, password)) return kExitFailure;
            ctx.passwordFromFile = std::move(password);
        }
        const int status = form->run(ctx);
        return status;
    } catch (const UsageError& e) {
        return Usage(terminal, e.message());
    }
}

}  // namespace kodrin::cli
