// kodrin-cli run in-process: argument handling, the output format, password
// sources, and that a failing command leaves every file as it was.
#include <gtest/gtest.h>

#include <optional>

#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>

#include "catalog/catalog.h"
#include "cli/catalog_file.h"
#include "cli/cli.h"
#include "platform/crypto.h"
#include "platform/files.h"
#include "platform/utf.h"
#include "support/text.h"

namespace kodrin::cli {
namespace {

using test::U;
using Bytes = std::vector<std::uint8_t>;

class FakeTerminal final : public Terminal {
public:
    void Out(std::string_view bytes) override { out.append(bytes); }
    void Err(std::string_view bytes) override { err.append(bytes); }
    std::optional<std::u16string> Variable(std::u16string_view name) override {
        const auto it = variables.find(std::u16string(name));
        if (it == variables.end()) return std::nullopt;
        return it->second;
    }
    std::optional<std::u16string> AskPassword(std::u16string_view prompt) override {
        prompts.emplace_back(prompt);
        return answer;
    }

    std::string out;
    std::string err;
    std::map<std::u16string, std::u16string> variables;
    std::optional<std::u16string> answer;  // none: no terminal
    std::vector<std::u16string> prompts;
};

ApplicationRecord Record(const char* program, std::vector<std::u16string> categories) {
    ApplicationRecord r = NewRecord();
    r.program = U(program);
    r.categories = std::move(categories);
    return r;
}

// A fresh folder with a small catalog in it, removed afterwards.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        temp_.emplace(u"kodrin-cli-");
        ASSERT_TRUE(temp_->Created());
        folder_ = temp_->Path();
    }
    void TearDown() override {
        temp_.reset();
    }
    std::u16string Path(std::u16string_view name) const { return folder_ + u"\\" + std::u16string(name); }
    Bytes Read(std::u16string_view path) const {
        Bytes b;
        EXPECT_TRUE(platform::ReadWholeFile(path, b));
        return b;
    }
    void WriteText(std::u16string_view path, std::string_view text) const {
        ASSERT_TRUE(platform::WriteFileAtomically(path, Bytes(text.begin(), text.end())));
    }

    // Utilities: Editor (tab-escaping company), Paint; Graphics: Paint, Viewer.
    std::u16string MakeCatalog(const std::u16string& password = u"") {
        Workspace w;
        w.settings.password = password;
        AddCategory(w.catalog, u"Utilities");
        AddCategory(w.catalog, u"Graphics");
        ApplicationRecord editor = Record("Editor", {u"Utilities"});
        editor.company = u"Tab\tCo\\Ltd\r\nline";
        editor.version = u"2.0";
        LoginField user;
        user.value = u"reader";
        AddLoginField(editor, user);
        LoginField pass;
        pass.value = u"s3cret";
        pass.type = LoginFieldType::Password;
        AddLoginField(editor, pass);
        AddRecord(w.catalog, editor, false);
        ApplicationRecord paint = Record("Paint", {u"Utilities", u"Graphics"});
        paint.company = U("Pinsel & Söhne");
        AddRecord(w.catalog, paint, false);
        ApplicationRecord viewer = Record("Viewer", {u"Graphics"});
        viewer.comments = u"paints nothing";
        AddRecord(w.catalog, viewer, false);
        const std::u16string path = Path(u"Kodrinxml");
        EXPECT_TRUE(SaveCatalogFile(w, path, u""));
        return path;
    }

    int Run(std::vector<std::u16string> args) {
        term_.out.clear();
        term_.err.clear();
        return RunCli(args, term_);
    }

    std::optional<test::TempFolder> temp_;

    std::u16string folder_;
    FakeTerminal term_;
};

TEST(CliText, EscapesOnlyWhatWouldBreakALine) {
    EXPECT_EQ(EscapeValue(u"a\\b\tc\nd\re"), "a\\\\b\\tc\\nd\\re");
    EXPECT_EQ(EscapeValue(u"\\t"), "\\\\t");  // a literal backslash-t stays distinguishable
    EXPECT_EQ(EscapeValue(U("Söhne € 𝄞,\"x\"")), "Söhne € 𝄞,\"x\"");
    EXPECT_EQ(EscapeValue(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");  // lone surrogate
    EXPECT_EQ(EscapeValue(u""), "");
}

// Undoes the escapes as a reader of COPY's text format does: the bytes of
// the value's UTF-8 form come back.
std::string Unescape(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
            continue;
        }
        const char c = text[++i];
        if (c >= '0' && c <= '7' && i + 2 < text.size()) {
            bytes += static_cast<char>(((c - '0') << 6) | ((text[i + 1] - '0') << 3) | (text[i + 2] - '0'));
            i += 2;
        } else {
            bytes += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        }
    }
    return bytes;
}

TEST(CliText, EveryControlCharacterIsEscapedAndComesBack) {
    EXPECT_EQ(EscapeValue(std::u16string(u"a\0b", 3)), "a\\000b");
    EXPECT_EQ(EscapeValue(u"\x1B[31m\x7F"), "\\033[31m\\177");
    EXPECT_EQ(EscapeValue(u"\x85"), "\\302\\205");  // a C1 control: both bytes of its UTF-8 form
    EXPECT_EQ(EscapeValue(u"\\000"), "\\\\000");  // a literal backslash and digits stay distinguishable
    // Every character below U+0100 next to text: no control byte is left in
    // the line, and the value comes back whole.
    for (char16_t c = 0; c < 0x100; ++c) {
        const std::u16string value = u"x" + std::u16string(1, c) + u"\\7";
        const std::string line = EscapeValue(value);
        SCOPED_TRACE(static_cast<int>(c));
        for (std::size_t i = 0; i < line.size(); ++i) {
            const auto byte = static_cast<unsigned char>(line[i]);
            EXPECT_TRUE(byte >= 0x20 && byte != 0x7F) << line;
            if (byte == 0xC2 && i + 1 < line.size()) {
                EXPECT_GE(static_cast<unsigned char>(line[i + 1]), 0xA0) << line;
            }
        }
        EXPECT_EQ(Unescape(line), platform::ToUtf8(value));
    }
}

TEST(CliText, PasswordFileTakesItsFirstLine) {
    EXPECT_EQ(PasswordFromFileBytes("secret\n"), u"secret");
    EXPECT_EQ(PasswordFromFileBytes("secret\r\n"), u"secret");
    EXPECT_EQ(PasswordFromFileBytes("secret"), u"secret");
    EXPECT_EQ(PasswordFromFileBytes("\xEF\xBB\xBFgeh\xC3\xA9im\n"), U("gehéim"));
    EXPECT_EQ(PasswordFromFileBytes(" two  words \n\n"), u" two  words \n");  // only one line ending goes
    EXPECT_EQ(PasswordFromFileBytes(""), u"");
    EXPECT_EQ(PasswordFromFileBytes("\n"), u"");
}

TEST_F(CliTest, WrongUsageExitsWithTwoAndPrintsTheUsage) {
    const std::u16string file = MakeCatalog();
    const std::vector<std::vector<std::u16string>> wrong = {
        {},
        {u"frobnicate", file},
        {u"list"},
        {u"list", file, u"extra"},
        {u"list", file, u"--bogus"},
        {u"list", file, u"--fields"},
        {u"list", file, u"--fields", u"3,,20"},
        {u"list", file, u"--fields", u"49"},
        {u"list", file, u"--fields", u"-1"},
        {u"list", file, u"--fields", u"x"},
        {u"list", file, u"--reveal=yes"},
        {u"find", file},
        {u"save", file, u"--add"},
        {u"export", file},
        {u"export", file, Path(u"out.xml"), u"--columns"},
        {u"export", file, Path(u"out.xml"), u"--utf8"},
        {u"export", file, Path(u"out.csv"), u"--utf8", u"--8bit"},
        {u"stats", file, u"--media", u"cd"},
        {u"import", file},
    };
    for (const auto& args : wrong) {
        SCOPED_TRACE(args.empty() ? std::string("(none)") : platform::ToUtf8(args.back()));
        EXPECT_EQ(Run(args), kExitUsage);
        EXPECT_NE(term_.err.find("Usage: kodrin-cli"), std::string::npos);
        EXPECT_EQ(term_.out, "");
    }
}

TEST_F(CliTest, HelpAndVersionGoToStandardOutput) {
    EXPECT_EQ(Run({u"--help"}), kExitOk);
    EXPECT_EQ(term_.out.rfind("Usage: kodrin-cli", 0), 0u);
    EXPECT_EQ(Run({u"list", u"--help"}), kExitOk);
    EXPECT_NE(term_.out.find("list FILE"), std::string::npos);
    EXPECT_EQ(Run({u"--version"}), kExitOk);
    EXPECT_EQ(term_.out.rfind("kodrin-cli ", 0), 0u);
    EXPECT_EQ(term_.err, "");
}

TEST_F(CliTest, ListShowsTheDisplayedColumnsByDefault) {
    const std::u16string file = MakeCatalog();
    // Default COLS: Company, Program, Version, Registration Key, Date Last Checked, Media.
    ASSERT_EQ(Run({u"list", file}), kExitOk) << term_.err;
    EXPECT_EQ(term_.out,
              "Tab\\tCo\\\\Ltd\\r\\nline\tEditor\t2.0\t\t\t\n"
              "Pinsel & Söhne\tPaint\t\t\t\t\n"
              "\tViewer\t\t\t\t\n");
    EXPECT_EQ(term_.err, "");
}

TEST_F(CliTest, ListChoosesFieldsAndCategory) {
    const std::u16string file = MakeCatalog();
    ASSERT_EQ(Run({u"list", file, u"--fields", u"20,1", u"--category", u"Graphics"}), kExitOk);
    EXPECT_EQ(term_.out, "Paint\tUtilities,Graphics\nViewer\tGraphics\n");
    ASSERT_EQ(Run({u"list", file, u"--fields=20", u"--category=<All>"}), kExitOk);
    EXPECT_EQ(term_.out, "Editor\nPaint\nViewer\n");
    EXPECT_EQ(Run({u"list", file, u"--category", u"graphics"}), kExitFailure);  // names are exact
    EXPECT_NE(term_.err.find("graphics"), std::string::npos);
    EXPECT_EQ(term_.out, "");
}

TEST_F(CliTest, ListMasksPasswordsUnlessRevealed) {
    const std::u16string file = MakeCatalog();
    ASSERT_EQ(Run({u"list", file, u"--fields", u"37,38", u"--category", u"Utilities"}), kExitOk);
    EXPECT_EQ(term_.out, "reader\txxxxxx\n\t\n");
    ASSERT_EQ(Run({u"list", file, u"--fields", u"38", u"--reveal", u"--category", u"Utilities"}), kExitOk);
    EXPECT_EQ(term_.out, "s3cret\n\n");
}

TEST_F(CliTest, FindWalksEveryHitCategoryByCategory) {
    const std::u16string file = MakeCatalog();
    ASSERT_EQ(Run({u"find", file, u"aint"}), kExitOk) << term_.err;
    // Paint in both of its categories; Viewer by its comment.
    EXPECT_EQ(term_.out, "Utilities\tPaint\nGraphics\tPaint\nGraphics\tViewer\n");
    ASSERT_EQ(Run({u"find", file, u"AINT"}), kExitOk);  // exact, case included
    EXPECT_EQ(term_.out, "");
    ASSERT_EQ(Run({u"find", file, u"\t"}), kExitOk);
    EXPECT_EQ(term_.out, "Utilities\tEditor\n");
}

TEST_F(CliTest, MissingForeignAndDamagedFilesFailWithOneLine) {
    const std::u16string missing = Path(u"nothing.xml");
    EXPECT_EQ(Run({u"list", missing}), kExitFailure);
    EXPECT_EQ(term_.err, "kodrin-cli: " + platform::ToUtf8(missing) + ": no such file\n");

    const std::u16string foreign = Path(u"foreign.txt");
    WriteText(foreign, "hello, this is not a catalog");  // 28 bytes: cannot be encrypted either
    EXPECT_EQ(Run({u"find", foreign, u"x"}), kExitFailure);
    EXPECT_EQ(term_.err, "kodrin-cli: " + platform::ToUtf8(foreign) + ": is not a Kodrin catalog\n");
    EXPECT_TRUE(term_.prompts.empty());

    EXPECT_EQ(Run({u"list", folder_}), kExitFailure);
    EXPECT_EQ(std::count(term_.err.begin(), term_.err.end(), '\n'), 1);
    EXPECT_EQ(term_.out, "");
}

TEST_F(CliTest, TruncatedPlainCatalogIsCalledSoWithoutAPasswordPrompt) {
    const Bytes whole = Read(MakeCatalog());
    const std::u16string cut = Path(u"cut.xml");
    term_.answer = u"Geheim";  // a terminal would answer
    // Cut at a multiple of 16 bytes (once taken for cipher text) and elsewhere.
    for (const std::size_t size : {whole.size() / 32 * 16, whole.size() / 2 + 2}) {
        SCOPED_TRACE(size);
        ASSERT_TRUE(platform::WriteFileAtomically(cut, std::span(whole).first(size)));
        term_.prompts.clear();
        EXPECT_EQ(Run({u"list", cut}), kExitFailure);
        EXPECT_EQ(term_.err, "kodrin-cli: " + platform::ToUtf8(cut) +
                                 ": is a Kodrin catalog that breaks off before its end (damaged or cut short)\n");
        EXPECT_TRUE(term_.prompts.empty());
        EXPECT_EQ(Run({u"import", MakeCatalog(), cut, u"--add"}), kExitFailure);
        EXPECT_NE(term_.err.find("breaks off"), std::string::npos) << term_.err;
    }
}

TEST_F(CliTest, MissingOutputFolderIsNamed) {
    const std::u16string file = MakeCatalog();
    const std::u16string folder = Path(u"no-such-folder");
    const std::vector<std::vector<std::u16string>> writes = {
        {u"save", file, folder + u"\\out.xml"},
        {u"export", file, folder + u"\\out.csv"},
        {u"export", file, folder + u"\\out.xml"},
        {u"import", folder + u"\\new.xml", file},
    };
    for (const auto& args : writes) {
        SCOPED_TRACE(platform::ToUtf8(args[0]));
        EXPECT_EQ(Run(args), kExitFailure);
        EXPECT_NE(term_.err.find("no-such-folder does not exist; nothing was written\n"), std::string::npos)
            << term_.err;
        EXPECT_EQ(term_.err.find("disk full"), std::string::npos) << term_.err;
        EXPECT_EQ(std::count(term_.err.begin(), term_.err.end(), '\n'), 1);
    }
    EXPECT_FALSE(platform::FolderExists(folder));
}

TEST_F(CliTest, ImportCreatesAMissingCatalog) {
    const std::u16string csv = Path(u"in.csv");
    WriteText(csv, "\"Application Name\",\"Category\"\r\n\"Sketch\",\"Graphics\"\r\n");
    const std::u16string file = Path(u"fresh.xml");
    ASSERT_EQ(Run({u"import", file, csv}), kExitOk) << term_.err;
    EXPECT_EQ(term_.err, "");
    ASSERT_EQ(Run({u"list", file, u"--fields", u"20,1"}), kExitOk) << term_.err;
    EXPECT_EQ(term_.out, "Sketch\tGraphics\n");
    EXPECT_FALSE(platform::FileExists(file + u".bak"));  // nothing was there to back up
    // A failed import of a missing catalog creates nothing.
    const std::u16string other = Path(u"other.xml");
    EXPECT_EQ(Run({u"import", other, Path(u"absent.csv")}), kExitFailure);
    EXPECT_FALSE(platform::FileExists(other));
}

TEST_F(CliTest, SaveRewritesTheCatalogAndCanWriteElsewhere) {
    const std::u16string file = MakeCatalog();
    const Bytes before = Read(file);
    const std::u16string copy = Path(u"copy.xml");
    ASSERT_EQ(Run({u"save", file, copy}), kExitOk) << term_.err;
    EXPECT_EQ(Read(copy), before);
    ASSERT_EQ(Run({u"save", file}), kExitOk);
    EXPECT_EQ(Read(file), before);
}

TEST_F(CliTest, NewPasswordEncryptsAndAnEmptyOneDecrypts) {
    const std::u16string file = MakeCatalog();
    const Bytes plain = Read(file);
    const std::u16string pw = Path(u"pw.txt");
    WriteText(pw, "Geheim\n");
    ASSERT_EQ(Run({u"save", file, u"--new-password-file", pw}), kExitOk) << term_.err;
    const Bytes encrypted = Read(file);
    EXPECT_NE(encrypted, plain);
    EXPECT_EQ(encrypted.size() % 16, 0u);

    // Without a password source the file cannot be read; nothing is asked
    // when there is no terminal.
    EXPECT_EQ(Run({u"list", file}), kExitFailure);
    EXPECT_NE(term_.err.find("no password"), std::string::npos);
    EXPECT_EQ(term_.prompts.size(), 1u);

    ASSERT_EQ(Run({u"list", file, u"--fields", u"20", u"--password-file", pw}), kExitOk) << term_.err;
    EXPECT_EQ(term_.out, "Editor\nPaint\nViewer\n");

    term_.variables[u"KODRIN_PASSWORD"] = u"Geheim";
    ASSERT_EQ(Run({u"find", file, u"View"}), kExitOk) << term_.err;
    EXPECT_EQ(term_.out, "Graphics\tViewer\n");
    term_.variables.clear();

    term_.answer = u"Geheim";
    term_.prompts.clear();
    ASSERT_EQ(Run({u"list", file, u"--fields", u"20", u"--category", u"Graphics"}), kExitOk) << term_.err;
    EXPECT_EQ(term_.out, "Paint\nViewer\n");
    ASSERT_EQ(term_.prompts.size(), 1u);
    EXPECT_NE(term_.prompts[0].find(file), std::u16string::npos);

    // Saving keeps the password; an empty new-password file removes it.
    ASSERT_EQ(Run({u"save", file}), kExitOk);
    EXPECT_EQ(Read(file), encrypted);
    const std::u16string empty = Path(u"empty.txt");
    WriteText(empty, "");
    ASSERT_EQ(Run({u"save", file, u"--new-password-file", empty}), kExitOk) << term_.err;
    EXPECT_EQ(Read(file), plain);
}

TEST_F(CliTest, PasswordSourcesTakeTurns) {
    const std::u16string file = MakeCatalog(u"right");
    const std::u16string wrong = Path(u"wrong.txt");
    WriteText(wrong, "wrong\n");
    term_.variables[u"KODRIN_PASSWORD"] = u"right";
    term_.answer = u"right";
    // The file beats the environment, which beats the terminal.
    EXPECT_EQ(Run({u"list", file, u"--password-file", wrong}), kExitFailure);
    EXPECT_EQ(term_.err, "kodrin-cli: " + platform::ToUtf8(file) + ": wrong password, or not a Kodrin catalog\n");
    term_.variables[u"KODRIN_PASSWORD"] = u"wrong";
    EXPECT_EQ(Run({u"list", file}), kExitFailure);
    EXPECT_TRUE(term_.prompts.empty());
    term_.variables[u"KODRIN_PASSWORD"] = u"";  // set but empty: not a password
    EXPECT_EQ(Run({u"list", file}), kExitOk) << term_.err;
    EXPECT_EQ(term_.prompts.size(), 1u);
    EXPECT_EQ(Run({u"list", file, u"--password-file", Path(u"absent.txt")}), kExitFailure);
    EXPECT_NE(term_.err.find("absent.txt"), std::string::npos);
}

TEST_F(CliTest, FailedSavesChangeNothing) {
    const std::u16string file = MakeCatalog(u"right");
    const Bytes before = Read(file);
    const std::u16string out = Path(u"out.xml");
    term_.variables[u"KODRIN_PASSWORD"] = u"wrong";
    EXPECT_EQ(Run({u"save", file, out}), kExitFailure);
    EXPECT_FALSE(platform::FileExists(out));
    EXPECT_EQ(Run({u"save", file}), kExitFailure);
    EXPECT_EQ(Read(file), before);
    // An unreadable new-password file stops the save before anything is written.
    term_.variables[u"KODRIN_PASSWORD"] = u"right";
    EXPECT_EQ(Run({u"save", file, u"--new-password-file", Path(u"absent.txt")}), kExitFailure);
    EXPECT_EQ(Read(file), before);
    EXPECT_EQ(platform::ListFiles(folder_), std::vector<std::u16string>{u"Kodrinxml"});
}

TEST_F(CliTest, ReadOnlyCatalogIsNeverWritten) {
    const std::u16string file = MakeCatalog();
    const Bytes before = Read(file);
    ASSERT_TRUE(platform::SetReadOnly(file, true));
    const std::u16string empty = Path(u"empty.txt");
    WriteText(empty, "");
    EXPECT_EQ(Run({u"save", file}), kExitFailure);
    EXPECT_NE(term_.err.find("read-only"), std::string::npos);
    EXPECT_EQ(std::count(term_.err.begin(), term_.err.end(), '\n'), 1);
    EXPECT_EQ(Read(file), before);
    // Reading it and saving a copy elsewhere still work.
    EXPECT_EQ(Run({u"list", file}), kExitOk);
    EXPECT_EQ(Run({u"save", file, Path(u"copy.xml")}), kExitOk);
    EXPECT_EQ(Read(Path(u"copy.xml")), before);
    EXPECT_TRUE(platform::IsReadOnly(file));
}

TEST_F(CliTest, EmptyFileIsAnEmptyCatalog) {
    const std::u16string file = Path(u"new.xml");
    WriteText(file, "");
    ASSERT_EQ(Run({u"list", file}), kExitOk);
    EXPECT_EQ(term_.out, "");
    ASSERT_EQ(Run({u"save", file}), kExitOk);
    Workspace w;
    ASSERT_EQ(LoadCatalogFile(file, w, {}, false), LoadStatus::Ok);
    EXPECT_TRUE(w.catalog.records.empty());
    EXPECT_FALSE(Read(file).empty());
}

TEST_F(CliTest, StatsPrintsTheFiveFigures) {
    Workspace w;
    AddCategory(w.catalog, u"Utilities");
    ApplicationRecord a = Record("A", {u"Utilities"});
    a.purchasePrice = 1234.5;
    a.diskCount = 2;
    a.originalMedia = u"CD";
    a.version = u"1.0";
    a.latestVersion = u"1.0 ";  // differs: out of date
    a.upgradePrice = 10;
    AddRecord(w.catalog, a, false);
    ApplicationRecord b = Record("B", {});
    b.purchasePrice = 0.25;
    b.originalMedia = u"Other";
    AddRecord(w.catalog, b, false);
    const std::u16string file = Path(u"stats.xml");
    ASSERT_TRUE(SaveCatalogFile(w, file, u""));

    ASSERT_EQ(Run({u"stats", file}), kExitOk) << term_.err;
    EXPECT_EQ(term_.out,
              "# Applications: 2\n# Disks: 2\nTotal Cost: $1234.75\nCost to Upgrade: $10.00\n# Out of Date: 1\n");
    ASSERT_EQ(Run({u"stats", file, u"--media", u"Other"}), kExitOk);
    EXPECT_EQ(term_.out,
              "# Applications: 1\n# Disks: 0\nTotal Cost: $0.25\nCost to Upgrade: $0.00\n# Out of Date: 0\n");
    ASSERT_EQ(Run({u"stats", file, u"--category", u"Utilities", u"--media", u"DVD"}), kExitOk);
    EXPECT_EQ(term_.out.substr(0, 17), "# Applications: 0");
    EXPECT_EQ(Run({u"stats", file, u"--category", u"Games"}), kExitFailure);
}

TEST_F(CliTest, CsvExportAndImportRoundTrip) {
    const std::u16string file = MakeCatalog();
    const std::u16string csv = Path(u"out.csv");
    ASSERT_EQ(Run({u"export", file, csv}), kExitOk) << term_.err;
    const Bytes unicode = Read(csv);
    ASSERT_GT(unicode.size(), 2u);
    EXPECT_EQ(unicode[1], 0);  // UTF-16LE
    ASSERT_EQ(Run({u"export", file, csv, u"--8bit", u"--columns", u"--category", u"Graphics"}), kExitOk);
    const Bytes narrow = Read(csv);
    const std::string text(narrow.begin(), narrow.end());
    EXPECT_EQ(text.rfind("\"Company\",\"Application Name\",\"Version\"", 0), 0u) << text;
    EXPECT_NE(text.find("\"Pinsel & S\xF6hne\""), std::string::npos);
    EXPECT_EQ(text.find("Editor"), std::string::npos);
    ASSERT_EQ(Run({u"export", file, csv, u"--utf8", u"--columns", u"--category", u"Graphics"}), kExitOk);
    const Bytes utf8 = Read(csv);
    const std::string utf8Text(utf8.begin(), utf8.end());
    EXPECT_EQ(utf8Text.rfind("\xEF\xBB\xBF\"Company\",\"Application Name\",\"Version\"", 0), 0u) << utf8Text;
    EXPECT_NE(utf8Text.find("\"Pinsel & S\xC3\xB6hne\""), std::string::npos);

    // Into a new catalog: an empty file, no tab, so "General" is added.
    const std::u16string target = Path(u"new.xml");
    WriteText(target, "");
    ASSERT_EQ(Run({u"save", file, Path(u"unused.xml")}), kExitOk);
    ASSERT_EQ(Run({u"export", file, csv}), kExitOk);
    ASSERT_EQ(Run({u"import", target, csv}), kExitOk) << term_.err;
    ASSERT_EQ(Run({u"list", target, u"--fields", u"20,1,38", u"--reveal"}), kExitOk);
    EXPECT_EQ(term_.out, "Editor\tUtilities\ts3cret\nPaint\tUtilities,Graphics\t\nViewer\tGraphics\t\n");
    Workspace w;
    ASSERT_EQ(LoadCatalogFile(target, w, {}, false), LoadStatus::Ok);
    EXPECT_EQ(w.catalog.categories, (std::vector<std::u16string>{u"General", u"Utilities", u"Graphics"}));

    // Adding doubles the records; a file without a known column changes nothing.
    ASSERT_EQ(Run({u"import", target, csv, u"--add"}), kExitOk);
    ASSERT_EQ(Run({u"list", target, u"--fields", u"20"}), kExitOk);
    EXPECT_EQ(term_.out, "Editor\nPaint\nViewer\nEditor\nPaint\nViewer\n");
    const Bytes before = Read(target);
    const std::u16string junk = Path(u"junk.csv");
    WriteText(junk, "\"Nothing\",\"Known\"\r\n\"a\",\"b\"\r\n");
    EXPECT_EQ(Run({u"import", target, junk}), kExitFailure);
    EXPECT_NE(term_.err.find("junk.csv"), std::string::npos);
    EXPECT_EQ(Read(target), before);
    EXPECT_EQ(Run({u"import", target, Path(u"absent.csv")}), kExitFailure);
    EXPECT_EQ(Read(target), before);
}

TEST_F(CliTest, ReplacingCsvImportReplacesOnlyTheCurrentTab) {
    const std::u16string file = MakeCatalog();
    const std::u16string csv = Path(u"in.csv");
    WriteText(csv, "\"Application Name\",\"Category\"\r\n\"Sketch\",\"Graphics\"\r\n");
    ASSERT_EQ(Run({u"import", file, csv, u"--category", u"Graphics"}), kExitOk) << term_.err;
    ASSERT_EQ(Run({u"list", file, u"--fields", u"20,1"}), kExitOk);
    // Viewer was only in Graphics and goes; Paint stays for Utilities.
    EXPECT_EQ(term_.out, "Editor\tUtilities\nPaint\tUtilities\nSketch\tGraphics\n");
    EXPECT_TRUE(platform::FileExists(file + u".bak"));
}

TEST_F(CliTest, MarkupExportAndImport) {
    const std::u16string file = MakeCatalog();
    const std::u16string xml = Path(u"graphics.xml");
    ASSERT_EQ(Run({u"export", file, xml, u"--category", u"Graphics"}), kExitOk) << term_.err;
    ASSERT_EQ(Run({u"list", xml, u"--fields", u"20"}), kExitOk);
    EXPECT_EQ(term_.out, "Paint\nViewer\n");
    EXPECT_EQ(Run({u"export", file, file}), kExitFailure);  // never over the catalog itself

    const std::u16string target = Path(u"target.xml");
    const std::u16string pw = Path(u"pw.txt");
    WriteText(pw, "Geheim");
    ASSERT_EQ(Run({u"save", file, target, u"--new-password-file", pw}), kExitOk);
    const Bytes before = Read(target);
    // The catalog's password comes from --password-file; IN is plain.
    ASSERT_EQ(Run({u"import", target, xml, u"--add", u"--password-file", pw}), kExitOk) << term_.err;
    EXPECT_EQ(term_.err, "");  // adding a plain file keeps the password
    ASSERT_EQ(Run({u"list", target, u"--fields", u"20", u"--password-file", pw}), kExitOk);
    EXPECT_EQ(term_.out, "Editor\nPaint\nViewer\nPaint\nViewer\n");
    EXPECT_EQ(Read(target + u".bak"), before);
    // A wrong password for IN fails and changes nothing.
    const std::u16string encrypted = Path(u"enc.xml");
    ASSERT_EQ(Run({u"save", xml, encrypted, u"--new-password-file", pw}), kExitOk);
    const Bytes now = Read(target);
    const std::u16string wrong = Path(u"wrong.txt");
    WriteText(wrong, "nope");
    EXPECT_EQ(Run({u"import", target, encrypted, u"--password-file", pw, u"--in-password-file", wrong}),
              kExitFailure);
    EXPECT_NE(term_.err.find("enc.xml"), std::string::npos);
    EXPECT_EQ(Read(target), now);
    ASSERT_TRUE(platform::SetReadOnly(target, true));
    EXPECT_EQ(Run({u"import", target, xml, u"--password-file", pw}), kExitFailure);
    EXPECT_EQ(Read(target), now);
}

// Whether the catalog is backed up before an import rewrites it is the
// catalog's own BACKUP setting, never the imported file's.
TEST_F(CliTest, MarkupImportBacksUpByTheCatalogsOwnSetting) {
    const std::u16string file = Path(u"Kodrinxml");
    const std::u16string in = Path(u"in.xml");
    for (const bool catalogBackup : {true, false}) {
        for (const bool add : {false, true}) {
            SCOPED_TRACE(std::string(catalogBackup ? "backup on" : "backup off") + (add ? ", adding" : ", replacing"));
            Workspace mine;
            mine.settings.backup = catalogBackup;
            AddRecord(mine.catalog, Record("Mine", {u"Utilities"}), false);
            ASSERT_TRUE(SaveCatalogFile(mine, file, u""));
            platform::RemoveFile(file + u".bak");
            Workspace theirs;
            theirs.settings.backup = !catalogBackup;
            AddRecord(theirs.catalog, Record("Theirs", {u"Utilities"}), false);
            ASSERT_TRUE(SaveCatalogFile(theirs, in, u""));
            const Bytes before = Read(file);

            std::vector<std::u16string> args{u"import", file, in};
            if (add) args.push_back(u"--add");
            ASSERT_EQ(Run(args), kExitOk) << term_.err;
            ASSERT_EQ(platform::FileExists(file + u".bak"), catalogBackup);
            if (catalogBackup) {
                EXPECT_EQ(Read(file + u".bak"), before);
            }
        }
    }
}

}  // namespace
}  // namespace kodrin::cli

namespace kodrin::cli {
namespace {

TEST_F(CliTest, ScanAddsProgramFilesOnceAndRefusesBadInputWithoutChangingAnything) {
#ifdef _WIN32
    const std::u16string wine = u"Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\";
#else
    const std::u16string wine = u"/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/";
#endif
    const std::u16string programs = Path(u"programs");
    ASSERT_TRUE(platform::CreateFolders(programs + u"\\deeper"));
    ASSERT_TRUE(platform::CopyFileTo(wine + u"regedit.exe", programs + u"\\regedit.exe"));
    ASSERT_TRUE(platform::CopyFileTo(wine + u"winecfg.exe", programs + u"\\deeper\\winecfg.exe"));
#ifndef _WIN32
    // A link back up the tree is never followed.
    std::string native = platform::ToUtf8(programs + u"\\deeper\\up");
    std::replace(native.begin(), native.end(), '\\', '/');
    std::filesystem::create_directory_symlink("..", native);
#endif
    const std::u16string file = Path(u"found.xml");
    ASSERT_EQ(Run({u"scan", file, programs, u"--media", u"Stick"}), kExitOk) << term_.err;
    EXPECT_EQ(term_.out, "2 program files read, 2 added, 0 updated\n");
    ASSERT_EQ(Run({u"list", file, u"--fields", u"20,3,32"}), kExitOk);
    EXPECT_NE(term_.out.find("Registry Editor\tMicrosoft Corporation\tStick\n"), std::string::npos) << term_.out;
    ASSERT_EQ(Run({u"scan", file, programs, u"--no-filter"}), kExitOk) << term_.err;
    EXPECT_EQ(term_.out, "2 program files read, 0 added, 2 updated\n");

    const Bytes before = Read(file);
    EXPECT_EQ(Run({u"scan", file, Path(u"absent")}), kExitFailure);
    EXPECT_EQ(std::count(term_.err.begin(), term_.err.end(), '\n'), 1) << term_.err;
    const std::u16string garbage = Path(u"garbage.xml");
    const std::string_view junk = "not a catalog at all, and not whole cipher blocks";
    WriteText(garbage, junk);
    EXPECT_EQ(Run({u"scan", garbage, programs}), kExitFailure);
    EXPECT_EQ(Read(file), before);
    EXPECT_EQ(Read(garbage), Bytes(junk.begin(), junk.end()));
}

}  // namespace
}  // namespace kodrin::cli
