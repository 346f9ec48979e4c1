// The main window's command table, its enabling rules, Check Application's
// decision and the other plain pieces of the program, without a window.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/portable/commands.h"
#include "app/portable/record_forms.h"
#include "app/portable/start_path.h"
#include "catalog/catalog.h"
#include "catalog/record.h"
#include "ids.h"

namespace kodrin::app {
namespace {

// ---------------------------------------------------------------------------
// The table.

TEST(CommandTable, IdsButtonsAndKeysAreEachUsedOnce) {
    std::set<int> ids;
    std::set<std::pair<int, bool>> keys;
    std::vector<int> buttons(kToolbarButtonSlots, 0);
    for (const CommandInfo& command : Commands()) {
        SCOPED_TRACE(command.id);
        EXPECT_TRUE(ids.insert(command.id).second);
        EXPECT_EQ(FindCommandInfo(command.id), &command);
        if (command.button >= 0) {
            ASSERT_LT(command.button, kToolbarButtonSlots);
            EXPECT_EQ(buttons[static_cast<std::size_t>(command.button)], 0);
            buttons[static_cast<std::size_t>(command.button)] = command.id;
        }
        const Accelerator& key = command.key;
        if (key.virtualKey == 0) continue;
        EXPECT_TRUE(keys.insert({key.virtualKey, key.control}).second);
        // A key alone is a function key or Delete; a letter needs Ctrl, and a
        // chord is Ctrl with a letter (never a control character's code).
        if (key.control) {
            EXPECT_TRUE(key.virtualKey >= 'A' && key.virtualKey <= 'Z');
        } else {
            EXPECT_TRUE(key.virtualKey == kVirtualKeyDelete ||
                        (key.virtualKey >= kVirtualKeyF1 && key.virtualKey < kVirtualKeyF1 + 12));
        }
    }
    EXPECT_EQ(std::count(buttons.begin(), buttons.end(), 0), 0);
    EXPECT_EQ(FindCommandInfo(CMD_FIRST_DETAIL_LABEL), nullptr);
}

TEST(CommandTable, KeysButtonsAndReadOnlyRefusalsAreTheProgramsOwn) {
    // Which key sends which command.
    const std::vector<std::tuple<char, int, int>> chords{
        {'A', 0, CMD_SELECT_ALL},        {'D', 0, CMD_DELETE_CATEGORY},   {'E', 0, CMD_EDIT_APPLICATION},
        {'F', 0, CMD_FIND},              {'G', 0, CMD_COPY_WEB_PASSWORD}, {'H', 0, CMD_HOME_PAGE},
        {'I', 0, CMD_IMPORT},            {'K', 0, CMD_COPY_REGISTRATION_KEY}, {'L', 0, CMD_LOGIN},
        {'N', 0, CMD_NEW_CATALOG},       {'O', 0, CMD_OPEN_CATALOG},      {'P', 0, CMD_PRINT},
        {'R', 0, CMD_LAUNCH_APPLICATION}, {'S', 0, CMD_EXPORT},           {'T', 0, CMD_NEXT_TAB},
        {'U', 0, CMD_COPY_USER_NAME},    {'W', 0, CMD_COPY_WEB_USER_NAME}, {'Y', 0, CMD_COPY_ORGANIZATION},
        {'Z', 0, CMD_CHECK_APPLICATION}, {0, 1, CMD_HELP},                {0, 2, CMD_EDIT_CATEGORY},
        {0, 3, CMD_FIND_NEXT},           {0, 4, CMD_CUSTOMIZE_TOOLBAR},   {0, 5, CMD_OPTIONS},
        {0, 6, CMD_STATISTICS},          {0, 7, CMD_GENERATE_PASSWORD},   {0, 8, CMD_RESTORE_BACKUP},
        {0, 9, CMD_MAKER_HOME_PAGE},     {0, 10, CMD_CHECK_FOR_UPDATE},   {0, 11, CMD_EMAIL_MAKER},
        {0, 12, CMD_ABOUT},
    };
    std::set<std::tuple<int, bool, int>> expected{{kVirtualKeyDelete, false, CMD_DELETE_APPLICATION}};
    for (const auto& [letter, function, id] : chords) {
        expected.insert(letter != 0 ? std::tuple(int{letter}, true, id)
                                    : std::tuple(kVirtualKeyF1 - 1 + function, false, id));
    }
    std::set<std::tuple<int, bool, int>> found;
    for (const CommandInfo& command : Commands()) {
        if (command.key.virtualKey != 0) found.insert({command.key.virtualKey, command.key.control, command.id});
    }
    EXPECT_EQ(found, expected);

    // The toolbar's available buttons, in their order.
    const std::vector<int> buttons{
        CMD_ADD_APPLICATION, CMD_EDIT_APPLICATION, CMD_DELETE_APPLICATION, CMD_HOME_PAGE, CMD_HELP,
        CMD_ADD_CATEGORY, CMD_EDIT_CATEGORY, CMD_DELETE_CATEGORY, CMD_MOVE_CATEGORY_LEFT, CMD_MOVE_CATEGORY_RIGHT,
        CMD_LAUNCH_APPLICATION, CMD_SEARCH_APPLICATIONS, CMD_CHECK_APPLICATION, CMD_COPY_REGISTRATION_KEY,
        CMD_COPY_WEB_PASSWORD, CMD_CHANGE_CATEGORY, CMD_LOGIN, CMD_OPTIONS, CMD_ABOUT, CMD_EXIT, CMD_EXPORT,
        CMD_IMPORT, CMD_RESTORE_BACKUP, CMD_STATISTICS, CMD_EMAIL_MAKER, CMD_MAKER_HOME_PAGE,
        CMD_COPY_WEB_USER_NAME, CMD_NEW_CATALOG, CMD_OPEN_CATALOG, CMD_CHECK_ALL,
    };
    for (int i = 0; i < kToolbarButtonSlots; ++i) EXPECT_EQ(ToolbarButtonCommand(i), buttons[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(ToolbarButtonCommand(kToolbarButtonSlots), 0);

    // Every command that changes the catalog is refused on a read-only one;
    // Copy Application and Change Category are among them.
    const std::set<int> refused{CMD_IMPORT, CMD_SEARCH_APPLICATIONS, CMD_ADD_APPLICATION, CMD_DELETE_APPLICATION,
                                CMD_CHANGE_CATEGORY, CMD_COPY_APPLICATION, CMD_CUSTOMIZE_COLUMNS, CMD_ADD_CATEGORY,
                                CMD_EDIT_CATEGORY, CMD_DELETE_CATEGORY, CMD_MOVE_CATEGORY_LEFT,
                                CMD_MOVE_CATEGORY_RIGHT, CMD_AUTO_REMOVAL, CMD_OPTIONS};
    std::set<int> found_refused;
    for (const CommandInfo& command : Commands()) {
        if (command.refusedReadOnly) found_refused.insert(command.id);
    }
    EXPECT_EQ(found_refused, refused);

    EXPECT_EQ(ShortcutText(FindCommandInfo(CMD_COPY_ORGANIZATION)->key), u"Ctrl-Y");
    EXPECT_EQ(ShortcutText(FindCommandInfo(CMD_EMAIL_MAKER)->key), u"F11");
    EXPECT_EQ(ShortcutText(FindCommandInfo(CMD_DELETE_APPLICATION)->key), u"Del");
    EXPECT_EQ(ShortcutText(FindCommandInfo(CMD_SUPPORT_PAGE)->key), u"");
}

// ---------------------------------------------------------------------------
// Enabling.

TEST(CommandRules, SelectionDecidesWhatIsOffered) {
    ApplicationRecord r = NewRecord();
    r.userName = u"u";
    r.path = u"C:\\x.exe";
    r.upgradePage = u"http://up";
    const SelectionSnapshot none = TakeSnapshot(nullptr, 0, false, false);
    const SelectionSnapshot one = TakeSnapshot(&r, 1, true, false);
    const SelectionSnapshot many = TakeSnapshot(&r, 2, false, false);
    EXPECT_TRUE(MenuEnabled(CMD_ADD_APPLICATION, none));
    EXPECT_TRUE(MenuEnabled(CMD_COPY_APPLICATION, none));
    EXPECT_FALSE(MenuEnabled(CMD_CHANGE_CATEGORY, none));
    EXPECT_FALSE(MenuEnabled(CMD_EDIT_APPLICATION, none));
    EXPECT_TRUE(MenuEnabled(CMD_EDIT_APPLICATION, one));
    EXPECT_FALSE(MenuEnabled(CMD_EDIT_APPLICATION, many));
    EXPECT_TRUE(ToolbarEnabled(CMD_EDIT_APPLICATION, many));
    EXPECT_TRUE(MenuEnabled(CMD_COPY_USER_NAME, one));
    EXPECT_FALSE(MenuEnabled(CMD_COPY_ORGANIZATION, one));
    EXPECT_FALSE(MenuEnabled(CMD_COPY_USER_NAME, many));
    EXPECT_TRUE(MenuEnabled(CMD_LAUNCH_APPLICATION, one));
    EXPECT_TRUE(MenuEnabled(CMD_EMAIL_SUPPORT, many));
    EXPECT_FALSE(ToolbarEnabled(CMD_EMAIL_SUPPORT, many));
    EXPECT_TRUE(MenuEnabled(CMD_RESTORE_BACKUP, one));
    EXPECT_FALSE(MenuEnabled(CMD_RESTORE_BACKUP, none));
    // Checking an application: the upgrade page without the update flag...
    EXPECT_TRUE(MenuEnabled(CMD_CHECK_APPLICATION, one));
    // ...a PAD file only when its check can run...
    r.padFile = u"http://pad.xml";
    EXPECT_FALSE(MenuEnabled(CMD_CHECK_APPLICATION, TakeSnapshot(&r, 1, false, false)));
    EXPECT_TRUE(MenuEnabled(CMD_CHECK_APPLICATION, TakeSnapshot(&r, 1, false, true)));
    // ...and the program itself when it updates itself.
    r.autoUpdate = true;
    EXPECT_TRUE(MenuEnabled(CMD_CHECK_APPLICATION, TakeSnapshot(&r, 1, false, false)));
    r.path.clear();
    EXPECT_FALSE(MenuEnabled(CMD_CHECK_APPLICATION, TakeSnapshot(&r, 1, false, false)));
}

// Check Application is offered exactly when it would do something, and what
// it does follows the record's update flag, then its PAD file, then its
// upgrade page.
TEST(CommandRules, CheckApplicationIsOnExactlyWhenItActs) {
    for (int bits = 0; bits < 32; ++bits) {
        for (const int count : {0, 1, 2}) {
            SelectionSnapshot s;
            s.count = count;
            s.autoUpdate = (bits & 1) != 0;
            s.path = (bits & 2) != 0;
            s.padFile = (bits & 4) != 0;
            s.padCheckAvailable = (bits & 8) != 0;
            s.upgradePage = (bits & 16) != 0;
            SCOPED_TRACE(testing::Message() << "bits " << bits << " count " << count);
            CheckAction expected = CheckAction::Nothing;
            if (count == 1) {
                if (s.autoUpdate) {
                    if (s.path) expected = CheckAction::StartApplication;
                } else if (s.padFile) {
                    if (s.padCheckAvailable) expected = CheckAction::CheckPadFile;
                } else if (s.upgradePage) {
                    expected = CheckAction::OpenUpgradePage;
                }
            }
            EXPECT_EQ(DecideCheckApplication(s), expected);
            EXPECT_EQ(MenuEnabled(CMD_CHECK_APPLICATION, s), expected != CheckAction::Nothing);
            EXPECT_EQ(ToolbarEnabled(CMD_CHECK_APPLICATION, s), expected != CheckAction::Nothing);
        }
    }
}

// ---------------------------------------------------------------------------
// Mail link, start path, details results.

TEST(ProgramPieces, SupportMailLinkNamesTheApplication) {
    ApplicationRecord r = NewRecord();
    EXPECT_FALSE(SupportMailLink(r).has_value());
    r.email = u"help@maker.example";
    r.version = u"2.1";
    EXPECT_EQ(SupportMailLink(r), u"mailto:help@maker.example");   // no name: no subject, no version
    r.program = u"Editor";
    EXPECT_EQ(SupportMailLink(r), u"mailto:help@maker.example?subject=Editor v2.1");
    r.version.clear();
    EXPECT_EQ(SupportMailLink(r), u"mailto:help@maker.example?subject=Editor");
}

TEST(ProgramPieces, StartPathTakesCommandLineThenRememberedThenBesideThenDefault) {
    std::u16string stored;
    int defaultAsked = 0;
    StartPlaces places;
    places.remembered = [&] { return stored; };
    places.remember = [&](const std::u16string& path) { stored = path; };
    places.fileBesideProgram = [] { return std::u16string(u"C:\\prog\\a.xml"); };
    places.defaultFile = [&] {
        ++defaultAsked;
        return std::u16string(u"C:\\data\\Kodrinxml");
    };
    EXPECT_EQ(ChooseStartPath(places), u"C:\\prog\\a.xml");
    places.fileBesideProgram = nullptr;
    EXPECT_EQ(ChooseStartPath(places), u"C:\\data\\Kodrinxml");
    EXPECT_EQ(defaultAsked, 1);
    places.commandLine = u"kodrin.exe \"/FC:\\my files\\b.xml\"";
    EXPECT_EQ(ChooseStartPath(places), u"C:\\my files\\b.xml");
    EXPECT_EQ(stored, u"C:\\my files\\b.xml");   // remembered for the next start
    places.commandLine.clear();
    EXPECT_EQ(ChooseStartPath(places), u"C:\\my files\\b.xml");
    EXPECT_EQ(defaultAsked, 1);
}

TEST(ProgramPieces, CommandLineNamesTheCatalogFile) {
    EXPECT_EQ(SplitCommandLine(u"  a  \"b c\"\td\"e f\"  "), (std::vector<std::u16string>{u"a", u"b c", u"de f"}));
    EXPECT_EQ(SplitCommandLine(u"\"\""), (std::vector<std::u16string>{u""}));
    EXPECT_FALSE(CatalogFileArgument(SplitCommandLine(u"kodrin.exe /x -g F:\\a")).has_value());
    EXPECT_EQ(CatalogFileArgument(SplitCommandLine(u"k.exe /FC:\\a.xml")), u"C:\\a.xml");
    EXPECT_EQ(CatalogFileArgument(SplitCommandLine(u"k.exe -fone /ftwo")), u"two");
    EXPECT_EQ(CatalogFileArgument(SplitCommandLine(u"k.exe \"/FC:\\my files\\a.xml\"")), u"C:\\my files\\a.xml");
}

TEST(ProgramPieces, DetailsResultsReachTheCatalog) {
    Settings settings;
    settings.today = u"03/04/2024";
    ApplicationRecord added = NewRecord();
    PrepareNewRecord(added, settings);
    EXPECT_EQ(added.dateLastChecked, u"");   // no version: nothing was checked
    added.version = u"1.0";
    PrepareNewRecord(added, settings);
    EXPECT_EQ(added.dateLastChecked, u"03/04/2024");

    Catalog catalog;
    ApplicationRecord a = NewRecord();
    a.program = u"A";
    ApplicationRecord b = NewRecord();
    b.program = u"B";
    b.company = u"Keep";
    ASSERT_TRUE(AddRecord(catalog, a, false));
    ASSERT_TRUE(AddRecord(catalog, b, false));
    ApplicationRecord form = NewRecord();
    form.licenseType = u"Site";
    const std::int32_t gone = catalog.records[1].recordId + 100;
    EXPECT_EQ(ApplyFormToRecords(catalog, {catalog.records[0].recordId, gone, catalog.records[1].recordId}, form,
                                 settings),
              2);
    EXPECT_EQ(catalog.records[0].licenseType, u"Site");
    EXPECT_EQ(catalog.records[1].licenseType, u"Site");
    EXPECT_EQ(catalog.records[1].company, u"Keep");   // an empty form field changes nothing
}

}  // namespace
}  // namespace kodrin::app
