// The "Application Statistics" dialog (template 2100): counts and sums over
// the catalog's applications, filtered by category and by media, recomputed
// whenever either filter changes. It only reads the catalog.
#pragma once

#include <windows.h>

#include <string>

#include "catalog/catalog.h"

namespace QvLibrary {
class QvApp;
}

namespace kodrin::app {

// Modal dialog 2100 owned by owner (null: the application's main window),
// starting with category (the current tab, CURCATEGORY) chosen when the
// catalog has it, otherwise "<All>". The catalog must not change while the
// dialog is open (it runs on the window thread, which makes every change).
void ShowStatistics(const QvLibrary::QvApp& app, HWND owner, const kodrin::Catalog& catalog,
                    const std::u16string& category);

}  // namespace kodrin::app
