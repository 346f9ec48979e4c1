// The application details dialog (1702): nine pages of one record's fields
// behind a tab strip. It edits a copy of a record (Add Application, Edit
// Application) or a form that Multiple Edit then merges into every selected
// record; on a read-only catalog it opens without its OK button.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/portable/record_forms.h"
#include "catalog/catalog.h"
#include "catalog/record.h"
#include "catalog/settings.h"

namespace QvLibrary {
class QvApp;
}

namespace kodrin::app {

inline constexpr int kDetailsDialog = 1702;

enum class DetailsMode {
    Add,           // a new record: the current category and the default media preselected
    Edit,          // a copy of an existing record
    MultipleEdit,  // a form: empty fields and undecided check boxes change nothing
};

// What the dialog asks of the rest of the program. Every member may be left
// empty: the dialog then falls back as noted.
struct DetailsServices {
    // "Generate Random" of the login-field dialog: runs the password
    // generator owned by the window and returns true when it ended with OK;
    // the new password is then on the clipboard. Empty: a password is made
    // at once from the options and put on the clipboard.
    std::function<bool(HWND owner)> generatePassword;
    // "Open in Browser" of the Login page when the default browser is not
    // chosen: opens the page in the program's browser window with the
    // working login fields, without logging in. Empty: the shell opens it.
    std::function<void(HWND owner, const std::u16string& address, std::vector<LoginField>& fields)> openLoginPage;
};

// Runs the dialog on record. Only when the user ends it with OK is record
// overwritten with the form and true returned. readOnly hides OK. The dialog
// stores its window rectangle in settings (EDITX, EDITY, EDITWIDTH,
// EDITHEIGHT) and, on OK, a newly chosen media as MEDIATYPE. The catalog
// supplies the categories and the value sets of the drop-down lists.
bool RunDetailsDialog(QvLibrary::QvApp& app, HWND owner, DetailsMode mode, bool readOnly, ApplicationRecord& record,
                      Settings& settings, const Catalog& catalog, const DetailsServices& services = {});

}  // namespace kodrin::app
