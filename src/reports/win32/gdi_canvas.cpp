#include "reports/win32/gdi_canvas.h"

#include <algorithm>

#include "catalog/strings.h"
#include "reports/report_choices.h"

namespace kodrin::reports {
namespace {

constexpr int kStrDocument = 4500;

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

int CALLBACK AddFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM context) {
    auto& faces = *reinterpret_cast<std::vector<std::u16string>*>(context);
    std::u16string face(reinterpret_cast<const char16_t*>(font->lfFaceName));
    if (std::find(faces.begin(), faces.end(), face) == faces.end()) faces.push_back(std::move(face));
    return 1;
}

UINT DrawFlags(unsigned flags) {
    // Names and addresses may hold "&": it is text, never a mnemonic.
    UINT result = DT_NOPREFIX;
    if (flags & kTextCenter) result |= DT_CENTER;
    if (flags & kTextRight) result |= DT_RIGHT;
    if (flags & kTextWordBreak) result |= DT_WORDBREAK | DT_WORD_ELLIPSIS;
    if (flags & kTextSingleLine) result |= DT_SINGLELINE;
    if (flags & kTextBottom) result |= DT_BOTTOM;
    return result;
}

}  // namespace

std::vector<std::u16string> FontFaces(HDC dc) {
    std::vector<std::u16string> faces;
    ::EnumFontsW(dc, nullptr, AddFace, reinterpret_cast<LPARAM>(&faces));
    return faces;
}

std::u16string ReportFaceFor(const std::u16string& chosen) {
    const QvLibrary::WindowDC screen(nullptr);
    return ReportFace(chosen, FontFaces(screen.Get()));
}

GdiCanvas::GdiCanvas(HDC device, std::u16string face)
    : device_(device),
      face_(std::move(face)),
      deviceFont_(::GetCurrentObject(device, OBJ_FONT)),
      pen_(::CreatePen(PS_SOLID, 2, RGB(0, 0, 0))) {}

GdiCanvas::~GdiCanvas() {
    DrawOn(nullptr);
    if (deviceFont_ != nullptr) ::SelectObject(device_, deviceFont_);
}

void GdiCanvas::DrawOn(HDC page) {
    if (page_ != nullptr) {
        if (pagePen_ != nullptr) ::SelectObject(page_, pagePen_);
        if (page_ != device_ && pageFont_ != nullptr) ::SelectObject(page_, pageFont_);
        pagePen_ = pageFont_ = nullptr;
    }
    page_ = page;
    if (page_ == nullptr) return;
    HGDIOBJ font = current_ != nullptr ? current_ : deviceFont_;
    HGDIOBJ previousFont = ::SelectObject(page_, font);
    if (page_ != device_) pageFont_ = previousFont;
    pagePen_ = ::SelectObject(page_, pen_.Get());
    ::SetBkMode(page_, TRANSPARENT);
    ::SetTextColor(page_, RGB(0, 0, 0));
}

PageMetrics GdiCanvas::Metrics() {
    PageMetrics metrics;
    metrics.dpiX = ::GetDeviceCaps(device_, LOGPIXELSX);
    metrics.dpiY = ::GetDeviceCaps(device_, LOGPIXELSY);
    metrics.width = ::GetDeviceCaps(device_, HORZRES);
    metrics.height = ::GetDeviceCaps(device_, VERTRES);
    const QvLibrary::WindowDC screen(nullptr);
    metrics.screenDpiX = ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
    metrics.screenDpiY = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    return metrics;
}

HFONT GdiCanvas::FontOf(int height) {
    auto found = fonts_.find(height);
    if (found != fonts_.end()) return found->second.Get();
    QvLibrary::Font font(::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                       VARIABLE_PITCH | FF_SWISS, face_.empty() ? nullptr : Wide(face_)));
    // The line advance: text height plus external leading, measured as the
    // screen would show the font.
    int lineHeight = std::abs(height);
    QvLibrary::MemoryDC measure(::CreateCompatibleDC(nullptr));
    if (measure && font) {
        const QvLibrary::Selection selected(measure.Get(), font.Get());
        TEXTMETRICW metrics{};
        if (::GetTextMetricsW(measure.Get(), &metrics)) lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    }
    HFONT handle = font.Get();
    fonts_.emplace(height, std::move(font));
    lineHeights_[height] = lineHeight;
    return handle;
}

int GdiCanvas::UseFont(int height) {
    current_ = FontOf(height);
    if (current_ != nullptr) {
        ::SelectObject(device_, current_);
        if (page_ != nullptr && page_ != device_) ::SelectObject(page_, current_);
    }
    return lineHeights_[height];
}

void GdiCanvas::UseDeviceFont() {
    current_ = nullptr;
    ::SelectObject(device_, deviceFont_);
}

int GdiCanvas::TextWidth(std::u16string_view text) {
    SIZE size{};
    if (text.empty()) return 0;
    ::GetTextExtentPoint32W(device_, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()),
                            &size);
    return size.cx;
}

int GdiCanvas::DrawText(const Rect& box, std::u16string_view text, unsigned flags) {
    if (page_ == nullptr || text.empty()) return 0;
    RECT rect{box.left, box.top, box.right, box.bottom};
    return ::DrawTextW(page_, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &rect,
                       DrawFlags(flags));
}

void GdiCanvas::Line(int x1, int y1, int x2, int y2) {
    if (page_ == nullptr) return;
    ::MoveToEx(page_, x1, y1, nullptr);
    ::LineTo(page_, x2, y2);
}

bool GdiCanvas::Decode(const std::vector<std::uint8_t>& picture) {
    if (decodedFrom_ == &picture && decodedSize_ == picture.size()) return decodedOk_;
    decodedFrom_ = &picture;
    decodedSize_ = picture.size();
    decodedOk_ = platform::DecodeImage(picture, decoded_);
    if (decodedOk_) {
        // As the picture shows on screen: over black; GDI wants blue first.
        platform::FlattenOntoBlack(decoded_);
        for (std::size_t i = 0; i + 3 < decoded_.pixels.size(); i += 4) std::swap(decoded_.pixels[i], decoded_.pixels[i + 2]);
    }
    return decodedOk_;
}

bool GdiCanvas::PictureSize(const std::vector<std::uint8_t>& picture, int& width, int& height) {
    if (!Decode(picture)) return false;
    width = decoded_.width;
    height = decoded_.height;
    return true;
}

void GdiCanvas::DrawPicture(const std::vector<std::uint8_t>& picture, const Rect& box) {
    if (page_ == nullptr || !Decode(picture)) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = decoded_.width;
    info.bmiHeader.biHeight = -decoded_.height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetStretchBltMode(page_, HALFTONE);
    ::StretchDIBits(page_, box.left, box.top, box.right - box.left, box.bottom - box.top, 0, 0, decoded_.width,
                    decoded_.height, decoded_.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

bool PrinterCanvas::BeginPage() {
    if (::StartPage(printer_) <= 0) return false;
    DrawOn(printer_);  // some drivers reset the context at each page
    return true;
}

bool PrinterCanvas::EndPage() {
    DrawOn(nullptr);
    return ::EndPage(printer_) >= 0;
}

MetafileCanvas::~MetafileCanvas() {
    if (recording_ != nullptr) {
        DrawOn(nullptr);
        Metafile(::CloseEnhMetaFile(recording_));
    }
}

bool MetafileCanvas::BeginPage() {
    const int dpiX = std::max(1, ::GetDeviceCaps(reference_, LOGPIXELSX));
    const int dpiY = std::max(1, ::GetDeviceCaps(reference_, LOGPIXELSY));
    // The frame in hundredths of a millimetre: the whole printable area.
    const RECT frame{0, 0, MulDiv(::GetDeviceCaps(reference_, HORZRES), 2540, dpiX),
                     MulDiv(::GetDeviceCaps(reference_, VERTRES), 2540, dpiY)};
    recording_ = ::CreateEnhMetaFileW(reference_, nullptr, &frame, L"Kodrin\0Kodrin Report\0");
    if (recording_ == nullptr) return false;
    DrawOn(recording_);
    return true;
}

bool MetafileCanvas::EndPage() {
    if (recording_ == nullptr) return false;
    DrawOn(nullptr);
    Metafile page(::CloseEnhMetaFile(recording_));
    recording_ = nullptr;
    if (!page) return false;
    pages_.push_back(std::move(page));
    return true;
}

int PrintReport(HDC printer, const std::u16string& output, std::uint32_t reportType, const ReportInput& input,
                const std::u16string& face) {
    const std::u16string name = LoadText(kStrDocument);
    DOCINFOW document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = Wide(name);
    document.lpszOutput = output.empty() ? nullptr : Wide(output);
    if (::StartDocW(printer, &document) <= 0) return -1;
    int pages = 0;
    {
        PrinterCanvas canvas(printer, face);
        pages = DrawReport(canvas, reportType, input);
    }
    ::EndDoc(printer);
    return pages;
}

std::vector<Metafile> RecordReport(HDC reference, std::uint32_t reportType, const ReportInput& input,
                                   const std::u16string& face) {
    MetafileCanvas canvas(reference, face);
    DrawReport(canvas, reportType, input);
    return canvas.TakePages();
}

}  // namespace kodrin::reports

namespace kodrin::reports {

bool ResetToLandscape(HDC printer, DEVMODEW& mode) {
    mode.dmOrientation = DMORIENT_LANDSCAPE;
    mode.dmFields |= DM_ORIENTATION;
    return ::ResetDCW(printer, &mode) != nullptr;
}

}  // namespace kodrin::reports
