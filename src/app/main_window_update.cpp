// The main window's side of the program's own update and of the maker's
// messages: the check at start-up, the messages feed at start-up, and
// command 3304 "Check for Update".
#include "app/main_window.h"
#include "app/program_update.h"

namespace kodrin::app {

namespace {

ProgramUpdateSetup SetupFor(const MainWindowConfig& config, RegistryValues& store) {
    ProgramUpdateSetup setup = *config.programUpdate;
    if (setup.store == nullptr) setup.store = &store;
    if (setup.userDataFolder.empty()) setup.userDataFolder = config.userDataFolder;
    return setup;
}

}  // namespace

bool MainWindow::ProgramUpdateAtStart() {
    if (!config_.programUpdate) return false;
    RegistryValues store(RegistryCompany(), Name());
    return CheckForProgramUpdate(*this, window_, SetupFor(config_, store), false, true);
}

void MainWindow::MessagesFeedAtStart() {
    if (!config_.programUpdate) return;
    RegistryValues store(RegistryCompany(), Name());
    CheckMessages(*this, window_, SetupFor(config_, store));
}

void MainWindow::CmdCheckForUpdate() {
    if (!config_.programUpdate) return;
    RegistryValues store(RegistryCompany(), Name());
    if (CheckForProgramUpdate(*this, window_, SetupFor(config_, store), true, false)) {
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
    }
}

}  // namespace kodrin::app
