// The catalog session's contract: a change runs under the lock, the windows
// show again what it names, and it is saved when it says so, but never on a
// read-only catalog nor before the start has run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/catalog_session.h"
#include "catalog/strings.h"
#include "framework/app.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace kodrin::test {
namespace {

using app::CatalogSession;
using app::Refresh;
using app::Save;

class RecordingView final : public app::SessionView {
public:
    void ShowAgain(Refresh what) override { shown.push_back(what); }
    void BeforeSave() override { ++beforeSave; }
    std::vector<Refresh> shown;
    int beforeSave = 0;
};

// What the work gives: nothing, or whether it changed anything.
enum class Gives { Nothing, True, False };

struct ChangeCase {
    const char* name;
    Refresh refresh;
    Save save;
    bool readOnly;
    bool started;
    Gives gives;
    // Expected: the work ran, the view was told, the file was written.
    bool runs;
    bool shown;
    bool saved;
};

constexpr Refresh kSome = Refresh::List | Refresh::Status;

const ChangeCase kCases[] = {
    {"saved in the background", kSome, Save::Background, false, true, Gives::Nothing, true, true, true},
    {"settings saved", Refresh::None, Save::Settings, false, true, Gives::Nothing, true, false, true},
    {"not saved when not told", kSome, Save::None, false, true, Gives::Nothing, true, true, false},
    {"work that changed nothing", kSome, Save::Background, false, true, Gives::False, true, false, false},
    {"work that changed something", kSome, Save::Background, false, true, Gives::True, true, true, true},
    {"read-only catalog refuses", kSome, Save::Background, true, true, Gives::Nothing, false, false, false},
    {"read-only catalog keeps settings", kSome, Save::Settings, true, true, Gives::Nothing, true, true, false},
    {"nothing saved before the start", kSome, Save::Background, false, false, Gives::Nothing, true, true, false},
};

TEST(CatalogSession, ChangeShowsAgainWhatItNamesAndSavesOnlyWhenItMay) {
    const QvLibrary::QvApp appObject(4107, 4103, kStrProgramTitle);
    for (const ChangeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder(u"kodrin-session-");
        const std::u16string path = folder.Path() + u"\\catalog.xml";
        RecordingView view;
        CatalogSession session(appObject);
        session.AddView(view);
        SetDataFile(session.File(), path);
        session.File().readOnly = c.readOnly;
        if (c.started) session.MarkStarted();

        bool ran = false;
        const auto work = [&](Catalog& catalog, Settings& settings) {
            ran = true;
            settings.showHidden = true;
            AddCategory(catalog, u"Tools");
        };
        bool result = false;
        switch (c.gives) {
            case Gives::Nothing:
                session.Change(c.refresh, c.save, work);
                break;
            case Gives::True:
            case Gives::False:
                result = session.Change(c.refresh, c.save, [&](Catalog& catalog, Settings& settings) {
                    work(catalog, settings);
                    return c.gives == Gives::True;
                });
                EXPECT_EQ(result, c.runs && c.gives == Gives::True);
                break;
        }
        session.WaitForSaves();

        EXPECT_EQ(ran, c.runs);
        EXPECT_EQ(session.GetCatalog().categories.size(), c.runs ? 1u : 0u);
        EXPECT_EQ(view.shown, c.shown ? std::vector<Refresh>{c.refresh} : std::vector<Refresh>{});
        EXPECT_EQ(platform::FileExists(path), c.saved);
        EXPECT_EQ(view.beforeSave, c.saved ? 1 : 0);
        // A save leaves nothing pending; the saved copy of the settings
        // follows the file.
        if (c.saved) {
            EXPECT_FALSE(session.SavePending());
            EXPECT_TRUE(session.LastSavedSettings().showHidden);
        }
        session.RemoveView(view);
        // A view that went is told nothing more.
        session.Change(Refresh::Details, Save::None, [](Catalog&, Settings&) {});
        EXPECT_EQ(view.shown.size(), c.shown ? 1u : 0u);
    }
}

}  // namespace
}  // namespace kodrin::test
