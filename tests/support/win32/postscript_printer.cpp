#include "support/win32/postscript_printer.h"

#include <winspool.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace kodrin::test {
namespace {

constexpr wchar_t kPrinter[] = L"Kodrin Test PostScript";
constexpr wchar_t kDriver[] = L"Kodrin Test PostScript Driver";
constexpr wchar_t kPpdName[] = L"kodrin_generic.ppd";

bool Fail(std::string* error, const char* what) {
    if (error != nullptr) *error = std::string(what) + " failed with error " + std::to_string(::GetLastError());
    return false;
}

// The generic PPD that winspool.drv carries (resource type PPDFILE, id 1),
// written into the printer-driver folder.
bool InstallDriver(std::string* error) {
    wchar_t folder[MAX_PATH] = {};
    DWORD needed = 0;
    if (!::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof(folder), &needed)) {
        return Fail(error, "GetPrinterDriverDirectoryW");
    }
    HMODULE spool = ::LoadLibraryW(L"winspool.drv");
    HRSRC found = spool != nullptr ? ::FindResourceW(spool, MAKEINTRESOURCEW(1), L"PPDFILE") : nullptr;
    HGLOBAL loaded = found != nullptr ? ::LoadResource(spool, found) : nullptr;
    if (loaded == nullptr) return Fail(error, "the PPD resource");
    const std::wstring ppd = std::wstring(folder) + L"\\" + kPpdName;
    {
        std::ofstream out(std::filesystem::path(ppd), std::ios::binary);
        out.write(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(spool, found));
        if (!out) return Fail(error, "writing the PPD");
    }
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(kDriver);
    driver.pEnvironment = nullptr;
    driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDataFile = const_cast<wchar_t*>(ppd.c_str());
    if (!::AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES) &&
        ::GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
        return Fail(error, "AddPrinterDriverExW");
    }
    return true;
}

}  // namespace

std::wstring PostScriptPrinter(std::string* error) {
    HANDLE existing = nullptr;
    if (::OpenPrinterW(const_cast<wchar_t*>(kPrinter), &existing, nullptr)) {
        ::ClosePrinter(existing);
        return kPrinter;
    }
    if (!InstallDriver(error)) return {};
    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<wchar_t*>(kPrinter);
    info.pPortName = const_cast<wchar_t*>(L"FILE:");
    info.pDriverName = const_cast<wchar_t*>(kDriver);
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE added = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (added == nullptr && ::GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
        Fail(error, "AddPrinterW");
        return {};
    }
    if (added != nullptr) ::ClosePrinter(added);
    ::SetDefaultPrinterW(kPrinter);
    return kPrinter;
}

HDC CreatePostScriptDC(DEVMODEW* mode) {
    const std::wstring name = PostScriptPrinter();
    if (name.empty()) return nullptr;
    return ::CreateDCW(L"WINEPS.DRV", name.c_str(), nullptr, mode);
}

std::vector<BYTE> PostScriptDevMode() {
    std::wstring name = PostScriptPrinter();
    HANDLE printer = nullptr;
    if (name.empty() || !::OpenPrinterW(name.data(), &printer, nullptr)) return {};
    std::vector<BYTE> mode;
    const LONG size = ::DocumentPropertiesW(nullptr, printer, name.data(), nullptr, nullptr, 0);
    if (size > 0) {
        mode.resize(static_cast<std::size_t>(size));
        if (::DocumentPropertiesW(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(mode.data()), nullptr,
                                  DM_OUT_BUFFER) != IDOK) {
            mode.clear();
        }
    }
    ::ClosePrinter(printer);
    return mode;
}

}  // namespace kodrin::test
