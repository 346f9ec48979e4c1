// The pieces of the details dialog that its source files share: the dialog
// context, the page tables and the layout.
#pragma once

#include <windows.h>

#include <memory>
#include <span>
#include <string>

#include "app/details_dialog.h"
#include "app/login_dialogs.h"
#include "framework/combo_box.h"
#include "framework/list_box.h"
#include "framework/tab_win.h"
#include "ids.h"
#include "string_ids.h"

namespace kodrin::app {

// Tab captions; a tab's data is its caption id.
inline constexpr int kFirstPage = STR_PAGE_APPLICATION;   // "Application"
inline constexpr int kPageCount = 9;
inline constexpr int kDescriptionPage = STR_PAGE_DESCRIPTION;
inline constexpr int kLoginPage = STR_PAGE_LOGIN;
inline constexpr int kPicturePage = STR_PAGE_PICTURE;

// String ids of the dialog.
inline constexpr int kStrExecutableFiles = STR_EXECUTABLE_FILES;   // then "*.exe", "All Files (*.*)", "*.*"
inline constexpr int kStrConfirmRemovePicture = STR_CONFIRM_REMOVE_PICTURE;
inline constexpr int kStrPictureFilter = STR_PICTURE_FILTER;     // 4701..4704: two description/pattern pairs
inline constexpr int kStrChooseInstaller = STR_CHOOSE_INSTALLER;
inline constexpr int kStrChoosePicture = STR_CHOOSE_PICTURE;
inline constexpr int kStrChooseProgram = STR_CHOOSE_PROGRAM;
inline constexpr int kStrEmptyMedia = STR_EMPTY_MEDIA;

struct PicturePage;

struct DetailsContext {
    DetailsContext(QvLibrary::QvApp& app, DetailsMode mode, bool readOnly, Settings& settings,
                   const Catalog& catalog, const DetailsServices& services);
    ~DetailsContext();

    bool Multiple() const { return mode == DetailsMode::MultipleEdit; }

    QvLibrary::QvApp& app;
    DetailsMode mode;
    bool readOnly;
    Settings& settings;
    const Catalog& catalog;
    const DetailsServices& services;

    ApplicationRecord working;
    HWND dialog = nullptr;
    int currentPage = 0;   // caption id of the page shown; 0 before the first
    bool ready = false;    // controls filled: sizes may be laid out and stored

    QvLibrary::QvTabWin tabs;
    QvLibrary::QvListBox categories;
    std::unique_ptr<QvLibrary::QvComboBox> licenseTypes;
    std::unique_ptr<QvLibrary::QvComboBox> media;
    std::unique_ptr<QvLibrary::QvComboBox> paymentMethods;
    std::unique_ptr<LoginTab> login;
    std::unique_ptr<PicturePage> picture;
};

// Shows or hides every control of the page with that caption id.
void ShowPage(DetailsContext& context, int page, bool show);
// Stores the window rectangle in the settings and places every control.
void LayOut(DetailsContext& context);

// After a program file was chosen: what ReadProgramFile finds in it fills
// the version, company, name, dates and picture where they are still empty.
void ProgramFileFilled(DetailsContext& context, const std::u16string& path);

// The picture page (details_picture.cpp).
void CreatePicturePage(DetailsContext& context);
void ShowPicturePage(DetailsContext& context, bool show);
void PlacePicture(DetailsContext& context, int x, int y, int width, int height);
void BrowsePicture(DetailsContext& context);
void ClearPicture(DetailsContext& context);
// Takes a picture file (an image, or an icon saved as a bitmap) into the
// working record and shows it; shownPath goes into IDC_DETAILS_PICTURE_NAME.
void TakePicture(DetailsContext& context, const std::u16string& pictureFile, const std::u16string& shownPath);

}  // namespace kodrin::app
