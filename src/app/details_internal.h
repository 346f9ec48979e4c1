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

namespace kodrin::app {

namespace details_ids {
inline constexpr int kTabs = 1703;
inline constexpr int kWarning = 1704;
inline constexpr int kPath = 7016;
inline constexpr int kChooseProgram = 7010;
inline constexpr int kCompany = 7011;
inline constexpr int kHomePage = 7014;
inline constexpr int kOpenHomePage = 7013;
inline constexpr int kProgram = 7017;
inline constexpr int kVersion = 7021;
inline constexpr int kInstallDate = 7015;
inline constexpr int kInstallDateButton = 7019;
inline constexpr int kReleasedDate = 7018;
inline constexpr int kReleasedDateButton = 7020;
inline constexpr int kHide = 7012;
inline constexpr int kAutoRemove = 7009;
inline constexpr int kSortOrderLabel = 7800;
inline constexpr int kSortOrder = 7805;
inline constexpr int kCategoriesLabel = 7801;
inline constexpr int kCategories = 7803;
inline constexpr int kDescriptionLabel = 7802;
inline constexpr int kDescription = 7804;
inline constexpr int kSupportPage = 7107;
inline constexpr int kOpenSupportPage = 7105;
inline constexpr int kEmail = 7104;
inline constexpr int kSupportPhone = 7108;
inline constexpr int kSupportAddress = 7106;
inline constexpr int kPurchaseDate = 7313;
inline constexpr int kPurchaseDateButton = 7315;
inline constexpr int kPurchasePrice = 7314;
inline constexpr int kMedia = 7311;
inline constexpr int kDiskCount = 7308;
inline constexpr int kDiskSpin = 7316;
inline constexpr int kInstallFile = 7309;
inline constexpr int kChooseInstaller = 7307;
inline constexpr int kLicenseType = 7310;
inline constexpr int kPaymentMethod = 7312;
inline constexpr int kDateLastChecked = 7409;
inline constexpr int kDateLastCheckedButton = 7410;
inline constexpr int kLatestVersion = 7415;
inline constexpr int kUpgradePrice = 7412;
inline constexpr int kAutoUpdate = 7407;
inline constexpr int kComments = 7408;
inline constexpr int kUpgradePage = 7414;
inline constexpr int kOpenUpgradePage = 7413;
inline constexpr int kPadFile = 7411;
inline constexpr int kUserName = 7514;
inline constexpr int kOrganization = 7507;
inline constexpr int kRegistrationEmail = 7508;
inline constexpr int kSerialNumber = 7513;
inline constexpr int kRegistrationType = 7511;
inline constexpr int kRegistrationExpire = 7509;
inline constexpr int kRegistrationExpireButton = 7512;
inline constexpr int kRegistrationKey = 7510;
inline constexpr int kFirstCustomLabel = 7600;
inline constexpr int kFirstCustom = 7605;
inline constexpr int kPictureClear = 7700;
inline constexpr int kPictureFrame = 7701;
inline constexpr int kPictureBrowse = 7702;
inline constexpr int kPictureName = 7703;
}  // namespace details_ids

// Tab captions; a tab's data is its caption id.
inline constexpr int kFirstPage = 4707;   // "Application"
inline constexpr int kPageCount = 9;
inline constexpr int kDescriptionPage = 4708;
inline constexpr int kLoginPage = 4710;
inline constexpr int kPicturePage = 4715;

// String ids of the dialog.
inline constexpr int kStrExecutableFiles = 4603;   // then "*.exe", "All Files (*.*)", "*.*"
inline constexpr int kStrConfirmRemovePicture = 4700;
inline constexpr int kStrPictureFilter = 4701;     // 4701..4704: two description/pattern pairs
inline constexpr int kStrChooseInstaller = 4705;
inline constexpr int kStrChoosePicture = 4706;
inline constexpr int kStrChooseProgram = 4721;
inline constexpr int kStrEmptyMedia = 6105;

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
// working record and shows it; shownPath goes into 7703.
void TakePicture(DetailsContext& context, const std::u16string& pictureFile, const std::u16string& shownPath);

}  // namespace kodrin::app
