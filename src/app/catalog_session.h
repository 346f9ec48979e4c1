// The catalog session: the one catalog the program works on, shared by every
// window that shows or changes it.
//
// The session owns the catalog, the current settings and the copy of them
// last saved, the data file's state and the background saves. The catalog
// lock is the application's (`QvApp`); the session is the way to take it.
//
// Threads: the window thread changes the catalog and the settings only
// through Change, which holds the lock while the change runs and lets go of
// it before the windows refresh. A background save runs on a thread of the
// session's own and holds the lock for the whole write, so saves queue
// behind each other and behind the window thread's changes. No lock is held
// across a dialog: a command copies what its dialog needs, runs the dialog,
// then applies the answer with Change.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/datafile.h"
#include "catalog/settings.h"
#include "framework/app.h"
#include "framework/worker.h"

namespace kodrin::app {

// What a window shows again after a change, in this order: the layout
// (which panes show, where they go), the columns, the tabs (which fill the
// list of the tab they select), the list, the selected rows (each shows its
// record again, or goes when the record is gone or hidden), the details
// pane, the status bar, the commands' enabling (and names).
enum class Refresh : unsigned {
    None = 0,
    Layout = 1u << 7,
    Columns = 1u << 0,
    Tabs = 1u << 1,
    List = 1u << 2,
    Rows = 1u << 3,
    Details = 1u << 4,
    Status = 1u << 5,
    Enabling = 1u << 6,
};

constexpr Refresh operator|(Refresh a, Refresh b) {
    return static_cast<Refresh>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool Has(Refresh set, Refresh part) {
    return (static_cast<unsigned>(set) & static_cast<unsigned>(part)) != 0;
}

// Whether a change is written to the data file.
enum class Save {
    // Not now: the change rides along with the next save (view settings).
    None,
    // The catalog changes: refused on a read-only catalog, otherwise saved
    // in the background.
    Background,
    // The user's settings change (they may touch the records' texts, as a
    // new date style does): allowed on a read-only catalog, saved in the
    // background when the file may be written.
    Settings,
};

// A window that shows the session's catalog.
class SessionView {
public:
    virtual ~SessionView() = default;
    // Shows again what a change names; called on the window thread without
    // the lock.
    virtual void ShowAgain(Refresh what) = 0;
    // Puts what the window keeps in the settings (its toolbar) there before
    // a save; called with the lock held.
    virtual void BeforeSave() {}
};

class CatalogSession {
public:
    // app holds the catalog lock and outlives the session.
    explicit CatalogSession(const QvLibrary::QvApp& app);
    // Waits for the saves still running: they read the catalog.
    ~CatalogSession();
    CatalogSession(const CatalogSession&) = delete;
    CatalogSession& operator=(const CatalogSession&) = delete;

    // The catalog lock, held while the guard lives.
    QvLibrary::CatalogLock Lock() const { return QvLibrary::CatalogLock(app_); }

    // Reading on the window thread needs no lock: only this thread changes
    // the catalog and the settings, and only under the lock.
    Catalog& GetCatalog() { return catalog_; }
    const Catalog& GetCatalog() const { return catalog_; }
    Settings& CurrentSettings() { return settings_; }
    const Settings& CurrentSettings() const { return settings_; }
    Settings& LastSavedSettings() { return lastSaved_; }
    const Settings& LastSavedSettings() const { return lastSaved_; }
    DataFile& File() { return file_; }
    const DataFile& File() const { return file_; }
    bool ReadOnly() const { return file_.readOnly; }

    // Changes not yet saved (the settings aside).
    bool Changed() const { return changed_; }
    void SetChanged(bool changed) { changed_ = changed; }
    // Nothing is saved before the start has loaded the catalog, nor after a
    // load the user gave up on: what is in memory is then not the catalog.
    bool Started() const { return started_; }
    void MarkStarted() { started_ = true; }
    bool Abandoned() const { return abandoned_; }
    void MarkAbandoned() { abandoned_ = true; }

    void AddView(SessionView& view);
    void RemoveView(SessionView& view);

    // Runs work(catalog, settings) under the lock, then, without it, has
    // every window show again what refresh names and saves as save says;
    // gives what work gives. A change with Save::Background on a read-only
    // catalog is refused: work does not run and the result is a value-made
    // one (false, empty). Work that gives a bool tells with it whether it
    // changed anything: false skips the refreshes and the save.
    template <typename Work>
    auto Change(Refresh refresh, Save save, Work&& work) {
        using Result = std::invoke_result_t<Work&, Catalog&, Settings&>;
        if constexpr (std::is_void_v<Result>) {
            if (Refused(save)) return;
            {
                const QvLibrary::CatalogLock lock = Lock();
                work(catalog_, settings_);
            }
            AfterChange(refresh, save);
        } else {
            if (Refused(save)) return Result{};
            Result result = [&] {
                const QvLibrary::CatalogLock lock = Lock();
                return work(catalog_, settings_);
            }();
            if constexpr (std::is_same_v<Result, bool>) {
                if (!result) return result;
            }
            AfterChange(refresh, save);
            return result;
        }
    }

    // A save is due: changes, or settings that differ from the saved ones.
    bool SavePending() const;
    // Saves on a new thread (on this one when no thread can be had). A
    // failed background save stays pending.
    void SaveInBackground();
    // Waits until every background save has ended, answering the messages
    // other threads send to this one meanwhile.
    void WaitForSaves();
    // Background saves running now.
    std::size_t SavesRunning() { return saves_.Running(); }
    // True on a thread that saves in the background (which must not wait
    // for the window thread).
    static bool OnBackgroundSaveThread();

private:
    bool Refused(Save save) const { return save == Save::Background && file_.readOnly; }
    void AfterChange(Refresh refresh, Save save);
    void SaveOnWorker();
    void BeforeSave();

    const QvLibrary::QvApp& app_;
    Settings settings_;
    Settings lastSaved_;
    Catalog catalog_;
    DataFile file_;
    std::vector<SessionView*> views_;
    bool changed_ = false;
    bool started_ = false;
    bool abandoned_ = false;
    QvLibrary::WorkerGroup saves_;
};

}  // namespace kodrin::app
