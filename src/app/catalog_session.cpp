#include "app/catalog_session.h"

#include <algorithm>

namespace kodrin::app {

namespace {

using QvLibrary::CatalogLock;

constexpr std::size_t kSaveStackSize = 128 * 1024;

// Set on the threads that save in the background.
thread_local bool t_backgroundSave = false;

}  // namespace

CatalogSession::CatalogSession(const QvLibrary::QvApp& app)
    : app_(app), settings_(NewSettings()), lastSaved_(settings_) {
    catalog_.options = &settings_;
    file_.catalog = &catalog_;
    file_.settings = &settings_;
    file_.lastSaved = &lastSaved_;
}

CatalogSession::~CatalogSession() { WaitForSaves(); }

void CatalogSession::AddView(SessionView& view) {
    if (std::find(views_.begin(), views_.end(), &view) == views_.end()) views_.push_back(&view);
}

void CatalogSession::RemoveView(SessionView& view) {
    views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
}

void CatalogSession::AfterChange(Refresh refresh, Save save) {
    if (refresh != Refresh::None) {
        // A window may add or remove views while it refreshes.
        const std::vector<SessionView*> views = views_;
        for (SessionView* view : views) view->ShowAgain(refresh);
    }
    if (save != Save::None) SaveInBackground();
}

void CatalogSession::BeforeSave() {
    for (SessionView* view : views_) view->BeforeSave();
}

bool CatalogSession::OnBackgroundSaveThread() { return t_backgroundSave; }

bool CatalogSession::SavePending() const {
    if (file_.readOnly || abandoned_) return false;
    if (changed_) return true;
    CatalogLock lock(app_);
    return SettingsChanged(settings_, lastSaved_);
}

void CatalogSession::SaveInBackground() {
    if (file_.readOnly || abandoned_ || !started_) return;
    {
        CatalogLock lock(app_);
        changed_ = false;
        BeforeSave();
    }
    if (saves_.Start([this] { SaveOnWorker(); }, kSaveStackSize)) return;
    // No thread to be had: save here.
    CatalogLock lock(app_);
    if (!SaveDataFile(file_)) changed_ = true;
}

void CatalogSession::SaveOnWorker() {
    t_backgroundSave = true;
    CatalogLock lock(app_);
    SaveDataFile(file_);
}

void CatalogSession::WaitForSaves() {
    // Messages other threads send to this thread are answered meanwhile;
    // posted ones wait.
    saves_.JoinAll();
}

}  // namespace kodrin::app
