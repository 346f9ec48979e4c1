#include "framework/helpers.h"
#include "framework/wide.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace QvLibrary {
namespace {


// Owns a registry key handle.
class Key {
public:
    Key() = default;
    ~Key() {
        if (key_ != nullptr) ::RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

bool Denied(LSTATUS status) { return status == ERROR_ACCESS_DENIED; }

// Places one block of clipboard data; the clipboard is open.
void PlaceData(UINT format, const void* bytes, std::size_t size) {
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) return;
    void* target = ::GlobalLock(memory);
    if (target == nullptr) {
        ::GlobalFree(memory);
        return;
    }
    std::copy_n(static_cast<const BYTE*>(bytes), size, static_cast<BYTE*>(target));
    ::GlobalUnlock(memory);
    if (::SetClipboardData(format, memory) == nullptr) ::GlobalFree(memory);
}

std::u16string ItemBuffer(HWND dialog, int id) {
    std::vector<wchar_t> buffer(4096, L'\0');
    const UINT length = ::GetDlgItemTextW(dialog, id, buffer.data(), static_cast<int>(buffer.size()));
    return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length);
}

}  // namespace

RECT GetWorkArea() {
    RECT area{};
    if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0) && area.right > area.left && area.bottom > area.top) {
        return area;
    }
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

void CentreWindow(int top, int left, HWND window, int width, int height) {
    if (window == nullptr) return;
    const RECT area = GetWorkArea();
    const POINT corner{left, top};
    if (!::PtInRect(&area, corner)) {
        left = area.left;
        top = area.top;
        width = area.right - area.left;
        height = area.bottom - area.top;
    }
    RECT own{};
    if (!::GetWindowRect(window, &own)) return;
    const int x = std::max(0, left + (width - static_cast<int>(own.right - own.left)) / 2);
    const int y = std::max(0, top + (height - static_cast<int>(own.bottom - own.top)) / 2);
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreOnScreen(HWND window) {
    const RECT area = GetWorkArea();
    CentreWindow(area.top, area.left, window, area.right - area.left, area.bottom - area.top);
}

void CentreOnParent(HWND window) {
    HWND parent = window != nullptr ? ::GetParent(window) : nullptr;
    RECT rect{};
    if (parent == nullptr || !::GetWindowRect(parent, &rect)) {
        CentreOnScreen(window);
        return;
    }
    CentreWindow(rect.top, rect.left, window, rect.right - rect.left, rect.bottom - rect.top);
}

int HalfFrameWidth(HWND window) {
    RECT outer{};
    RECT client{};
    if (!::GetWindowRect(window, &outer) || !::GetClientRect(window, &client)) return 0;
    return ((outer.right - outer.left) - (client.right - client.left)) / 2;
}

std::optional<std::u16string> ReadClipboardText(HWND owner) {
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
    if (!::OpenClipboard(owner)) return std::nullopt;
    std::optional<std::u16string> text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const char16_t*>(::GlobalLock(data))) {
            // Bounded by the block: a text without its zero is not over-read.
            const std::size_t capacity = ::GlobalSize(data) / sizeof(char16_t);
            std::size_t length = 0;
            while (length < capacity && units[length] != 0) ++length;
            text.emplace(units, length);
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

void WriteClipboardText(HWND owner, const std::u16string& text) {
    if (!::OpenClipboard(owner)) return;
    ::EmptyClipboard();
    if (!text.empty()) PlaceData(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t));
    ::CloseClipboard();
}

void WriteClipboardAnsi(HWND owner, const std::u16string& text) {
    if (!::OpenClipboard(owner)) return;
    ::EmptyClipboard();
    if (!text.empty()) {
        std::string bytes(text.size(), '\0');
        std::transform(text.begin(), text.end(), bytes.begin(),
                       [](char16_t unit) { return static_cast<char>(unit & 0xFF); });
        PlaceData(CF_TEXT, bytes.c_str(), bytes.size() + 1);
    }
    ::CloseClipboard();
}

std::u16string GetItemText(HWND dialog, int id, const std::u16string& fallback) {
    HWND item = ::GetDlgItem(dialog, id);
    if (item == nullptr) return fallback;
    const int length = ::GetWindowTextLengthW(item);
    if (length <= 0) return fallback;
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(item, buffer.data(), static_cast<int>(buffer.size()));
    if (copied <= 0) return fallback;
    return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), static_cast<std::size_t>(copied));
}

long GetItemInt(HWND dialog, int id, long fallback) {
    const std::u16string text = ItemBuffer(dialog, id);
    if (text.empty()) return fallback;
    return std::wcstol(Wide(text), nullptr, 10);
}

double GetItemDouble(HWND dialog, int id, double fallback) {
    const std::u16string text = ItemBuffer(dialog, id);
    if (text.empty()) return fallback;
    return std::wcstod(Wide(text), nullptr);
}

// ---- RegistryStore ----

RegistryStore::RegistryStore(std::u16string company, HKEY root) : company_(std::move(company)), root_(root) {}

namespace {

std::u16string KeyPath(const std::u16string& company, const std::u16string& subKey) {
    return subKey.empty() ? company : company + u'\\' + subKey;
}

}  // namespace

bool RegistryStore::Read(const std::u16string& subKey, const std::u16string& name, std::u16string& value) {
    Key software;
    LSTATUS status = ::RegOpenKeyExW(root_, L"Software", 0, KEY_READ, software.Out());
    if (status != ERROR_SUCCESS) {
        result_ = Denied(status) ? kAccessDenied : kCannotOpenSoftware;
        return false;
    }
    Key key;
    status = ::RegOpenKeyExW(software.Get(), Wide(KeyPath(company_, subKey)), 0, KEY_READ, key.Out());
    if (status != ERROR_SUCCESS) {
        result_ = Denied(status) ? kAccessDenied : kCannotOpenCompany;
        return false;
    }
    DWORD type = 0;
    DWORD bytes = 0;
    status = ::RegQueryValueExW(key.Get(), Wide(name), nullptr, &type, nullptr, &bytes);
    std::vector<wchar_t> buffer;
    if (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        buffer.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = ::RegQueryValueExW(key.Get(), Wide(name), nullptr, &type,
                                    reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    } else if (status == ERROR_SUCCESS) {
        status = ERROR_INVALID_DATATYPE;  // not text: never handed out as text
    }
    if (status != ERROR_SUCCESS) {
        result_ = Denied(status) ? kAccessDenied : kCannotReadValue;
        return false;
    }
    // A stored string need not end with its zero.
    std::size_t length = std::min<std::size_t>(bytes / sizeof(wchar_t), buffer.size());
    while (length > 0 && buffer[length - 1] == 0) --length;
    value.assign(reinterpret_cast<const char16_t*>(buffer.data()), length);
    result_ = kOk;
    return true;
}

bool RegistryStore::Write(const std::u16string& subKey, const std::u16string& name, const std::u16string& value) {
    Key software;
    // Creating the company key the first time needs the create right on
    // "Software" as well as reading.
    LSTATUS status = ::RegOpenKeyExW(root_, L"Software", 0, KEY_READ | KEY_CREATE_SUB_KEY, software.Out());
    if (status != ERROR_SUCCESS) {
        result_ = Denied(status) ? kAccessDenied : kCannotOpenSoftware;
        return false;
    }
    Key key;
    status = ::RegCreateKeyExW(software.Get(), Wide(KeyPath(company_, subKey)), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_READ | KEY_WRITE, nullptr, key.Out(), nullptr);
    if (status != ERROR_SUCCESS) {
        result_ = Denied(status) ? kAccessDenied : kCannotCreateKey;
        return false;
    }
    status = ::RegSetValueExW(key.Get(), Wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
    if (status != ERROR_SUCCESS) {
        result_ = Denied(status) ? kAccessDenied : kCannotWriteValue;
        return false;
    }
    result_ = kOk;
    return true;
}

}  // namespace QvLibrary
