#include "app/help.h"

#include <htmlhelp.h>

#include <cstdint>
#include <span>

#include "framework/app.h"
#include "platform/files.h"
#include "ids.h"

namespace kodrin::app {

namespace {

std::span<const std::uint8_t> HelpBytes(HINSTANCE module) {
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(RES_HELP_FILE), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (info == nullptr) return {};
    HGLOBAL loaded = ::LoadResource(module, info);
    const DWORD size = ::SizeofResource(module, info);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr || size == 0) return {};
    return {static_cast<const std::uint8_t*>(data), size};
}

}  // namespace

std::u16string WriteHelpFile(const QvLibrary::QvApp& app, const std::u16string& folder) {
    const std::span<const std::uint8_t> bytes = HelpBytes(app.ResourceModule());
    if (bytes.empty()) return {};
    std::u16string path = folder + kHelpFileName;
    if (!kodrin::platform::WriteFileAtomically(path, bytes)) return {};
    return path;
}

HWND ShowHelp(const QvLibrary::QvApp& app, HWND owner) {
    const std::u16string path = WriteHelpFile(app, app.GetCommonDataFolder());
    if (path.empty()) return nullptr;
    return ::HtmlHelpW(owner, reinterpret_cast<const wchar_t*>(path.c_str()), HH_DISPLAY_TOPIC, 0);
}

}  // namespace kodrin::app
