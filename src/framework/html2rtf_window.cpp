#include "framework/html2rtf_window.h"

#include <richedit.h>

#include <optional>

#include "framework/handles.h"
#include "framework/portable/html2rtf.h"
#include "framework/wide.h"

namespace QvLibrary {

struct RichEditLibrary {
    Module module;                          // none when no library could be loaded
    std::optional<RtfByteStream> stream;    // the RTF being streamed in, and its read position
    std::u16string className;               // the loaded library's control class
};

namespace {


// Loads a library from the system folder only, never from the current or
// program folder where a planted copy could sit.
HMODULE LoadSystemLibrary(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path(folder, length);
    if (path.back() != L'\\') path += L'\\';
    path += name;
    return ::LoadLibraryW(path.c_str());
}

DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* written) {
    auto* stream = reinterpret_cast<RtfByteStream*>(cookie);
    const std::size_t count = capacity > 0 ? stream->Read(buffer, static_cast<std::size_t>(capacity)) : 0;
    *written = static_cast<LONG>(count);
    return 0;
}

}  // namespace

QvHTML2RTF::QvHTML2RTF() : library_(std::make_unique<RichEditLibrary>()) {
    static const struct {
        const wchar_t* file;
        const char16_t* windowClass;
    } kLibraries[] = {
        {L"Msftedit.dll", u"RICHEDIT50W"},
        {L"Riched20.dll", u"RichEdit20W"},
        {L"Riched32.dll", u"RICHEDIT"},
    };
    for (const auto& candidate : kLibraries) {
        library_->module.Reset(LoadSystemLibrary(candidate.file));
        if (library_->module) {
            library_->className = candidate.windowClass;
            break;
        }
    }
}

QvHTML2RTF::~QvHTML2RTF() {
    // The controls must be gone before their window procedure is unloaded:
    // release every binding here, not later in the base destructor.
    while (!State().bindings.empty()) QvWindow::Detach();
    Unbind();
    library_->module.Reset();
}

bool QvHTML2RTF::Create(HWND parent, int id) { return Create(parent, id, 0, 0, 0, 0); }

bool QvHTML2RTF::Create(HWND parent, int id, int x, int y, int width, int height) {
    if (library_->className.empty()) return false;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_SUNKEN;
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    HWND window = ::CreateWindowExW(0, Wide(library_->className), nullptr, style, x, y, width, height, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (window == nullptr) return false;
    return Bind(window);
}

void QvHTML2RTF::SetText(const char16_t* html) {
    HWND window = Handle();
    if (window == nullptr) return;
    library_->stream.emplace(ConvertHtmlToRtf(html != nullptr ? std::u16string_view(html) : std::u16string_view()));
    EDITSTREAM edit{};
    edit.dwCookie = reinterpret_cast<DWORD_PTR>(&*library_->stream);
    edit.pfnCallback = StreamIn;
    ::SendMessageW(window, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&edit));
    library_->stream.reset();
}

void QvHTML2RTF::SetText(const std::u16string& html) { SetText(html.c_str()); }

const std::u16string& QvHTML2RTF::ControlClass() const { return library_->className; }

}  // namespace QvLibrary
