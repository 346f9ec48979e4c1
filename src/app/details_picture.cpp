// The Picture page of the details dialog: the frame that shows the working
// record's picture reduced to fit (a click shows it full size),
// Browse (an image file, or the icon of a program or library saved as a
// bitmap) and Clear.
#include <windows.h>
#include <commctrl.h>

#include "app/details_internal.h"
#include "app/picture.h"
#include "catalog/strings.h"
#include "discovery/program_file.h"
#include "discovery/win32/program_file_win32.h"
#include "framework/app.h"
#include "framework/file_chooser.h"
#include "framework/helpers.h"
#include "framework/offscreen_painter.h"
#include "framework/wide.h"

namespace kodrin::app {

struct PicturePage {
    HWND frame = nullptr;
    PictureBox box;   // in the frame's client coordinates
};

namespace {

using QvLibrary::Wide;

constexpr UINT_PTR kFrameSubclass = 1;

// The frame paints the dialog's colour and the picture through a memory
// context, so that it does not flicker while the dialog is resized.
LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* context = reinterpret_cast<DetailsContext*>(data);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = ::BeginPaint(frame, &paint);
        RECT client{};
        ::GetClientRect(frame, &client);
        QvLibrary::OffscreenPainter painter;
        if (painter.Open(dc, client, ::GetSysColor(COLOR_BTNFACE))) {
            if (context->picture) context->picture->box.Paint(painter.Dc());
            painter.Close();
        }
        ::EndPaint(frame, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        if (context->picture) ShowFullSize(context->app, context->dialog, context->picture->box);
        return 0;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(frame, FrameProc, kFrameSubclass);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(frame, message, wp, lp);
}

void ShowWorkingPicture(DetailsContext& context) {
    PicturePage& page = *context.picture;
    page.box.Clear();
    if (!context.working.picture.empty()) page.box.SetPicture(context.working.picture);
    if (page.frame != nullptr) ::InvalidateRect(page.frame, nullptr, FALSE);
}

}  // namespace

// Here, where the picture page is a complete type.
DetailsContext::DetailsContext(QvLibrary::QvApp& app_, DetailsMode mode_, bool readOnly_, Settings& settings_,
                               const Catalog& catalog_, const DetailsServices& services_)
    : app(app_), mode(mode_), readOnly(readOnly_), settings(settings_), catalog(catalog_), services(services_) {}

DetailsContext::~DetailsContext() = default;

void CreatePicturePage(DetailsContext& context) {
    context.picture = std::make_unique<PicturePage>();
    context.picture->frame = ::GetDlgItem(context.dialog, IDC_DETAILS_PICTURE_FRAME);
    if (context.picture->frame != nullptr) {
        ::SetWindowSubclass(context.picture->frame, FrameProc, kFrameSubclass, reinterpret_cast<DWORD_PTR>(&context));
    }
    // The record's own picture, shown from the start.
    ShowWorkingPicture(context);
}

void ShowPicturePage(DetailsContext&, bool) {}

void PlacePicture(DetailsContext& context, int x, int y, int width, int height) {
    if (context.picture == nullptr || context.picture->frame == nullptr) return;
    HWND frame = context.picture->frame;
    ::MoveWindow(frame, x, y, width, height, FALSE);
    RECT client{};
    ::GetClientRect(frame, &client);
    context.picture->box.SetPlace(0, 0, client.right, client.bottom);
    ::InvalidateRect(frame, nullptr, FALSE);
}

void TakePicture(DetailsContext& context, const std::u16string& pictureFile, const std::u16string& shownPath) {
    LoadPictureFile(pictureFile, context.working, true);
    ShowWorkingPicture(context);
    ::SetDlgItemTextW(context.dialog, IDC_DETAILS_PICTURE_NAME, Wide(shownPath));
}

void BrowsePicture(DetailsContext& context) {
    HWND dialog = context.dialog;
    QvLibrary::FileChooser chooser(context.app);
    chooser.SetTitle(LoadText(kStrChoosePicture));
    chooser.AddFilter(LoadText(kStrPictureFilter), LoadText(kStrPictureFilter + 1));
    chooser.AddFilter(LoadText(kStrPictureFilter + 2), LoadText(kStrPictureFilter + 3));
    const std::u16string current = QvLibrary::GetItemText(dialog, IDC_DETAILS_PICTURE_NAME);
    if (current.empty()) {
        chooser.SetInitialFolder(context.settings.lastPath);
    } else {
        chooser.SetInitialFolder(std::u16string(discovery::FolderOfPath(current)));
    }
    const std::optional<std::u16string> chosen = chooser.Open(dialog);
    if (!chosen) return;
    // A program or library gives its icon, saved as a bitmap file.
    ApplicationRecord scratch = NewRecord();
    discovery::ReadProgramFile(context.settings, scratch, *chosen);
    const std::u16string pictureFile = scratch.picture.empty() ? *chosen : scratch.pictureName;
    TakePicture(context, pictureFile, *chosen);
}

void ClearPicture(DetailsContext& context) {
    HWND dialog = context.dialog;
    const std::u16string text = LoadText(kStrConfirmRemovePicture);
    const std::u16string title = LoadText(kStrProgramTitle);
    if (::MessageBoxW(dialog, Wide(text), Wide(title), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    LoadPictureFile(u"", context.working, true);
    ShowWorkingPicture(context);
    ::SetDlgItemTextW(dialog, IDC_DETAILS_PICTURE_NAME, L"");
}

}  // namespace kodrin::app
