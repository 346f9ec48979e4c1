// Owners of Win32 handles: each guard frees what it holds exactly once, in
// its destructor or on Reset, and moves but never copies. Header only, so
// the Win32 adapters below the framework use them too.
#pragma once

#include <windows.h>

#include <utility>

namespace QvLibrary {

// One kind of handle: its type, the value meaning "none" and how it is freed.
template <typename T, auto Invalid, auto Free>
struct HandleKind {
    using Type = T;
    static Type None() { return reinterpret_cast<Type>(Invalid); }
    static bool Close(Type handle) { return Free(handle); }
};

template <typename Kind>
class UniqueHandle {
public:
    using Type = typename Kind::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Type Get() const { return handle_; }
    bool Valid() const { return handle_ != Kind::None(); }
    explicit operator bool() const { return Valid(); }
    // Gives the handle up without freeing it.
    Type Release() { return std::exchange(handle_, Kind::None()); }
    // Frees the held handle now; false when freeing it failed.
    bool Close() {
        const Type old = Release();
        return old == Kind::None() || Kind::Close(old);
    }
    // Frees the held handle (if any) and holds the given one.
    void Reset(Type handle = Kind::None()) {
        const Type old = std::exchange(handle_, handle);
        if (old != Kind::None() && old != handle) Kind::Close(old);
    }

private:
    Type handle_ = Kind::None();
};

namespace detail {
inline bool CloseKernel(HANDLE handle) { return ::CloseHandle(handle) != FALSE; }
inline bool CloseFind(HANDLE handle) { return ::FindClose(handle) != FALSE; }
template <typename T>
bool DeleteGdi(T object) { return ::DeleteObject(object) != FALSE; }
inline bool DeleteMemoryDC(HDC dc) { return ::DeleteDC(dc) != FALSE; }
inline bool DestroyIconHandle(HICON icon) { return ::DestroyIcon(icon) != FALSE; }
inline bool Unhook(HHOOK hook) { return ::UnhookWindowsHookEx(hook) != FALSE; }
inline bool ReleaseLibrary(HMODULE module) { return ::FreeLibrary(module) != FALSE; }
constexpr LONG_PTR kNull = 0;
constexpr LONG_PTR kInvalidHandle = -1;   // INVALID_HANDLE_VALUE
}  // namespace detail

// Kernel objects (threads, mutexes, events): null means none.
using Handle = UniqueHandle<HandleKind<HANDLE, detail::kNull, detail::CloseKernel>>;
// Files opened with CreateFileW: INVALID_HANDLE_VALUE means none.
using FileHandle = UniqueHandle<HandleKind<HANDLE, detail::kInvalidHandle, detail::CloseKernel>>;
// FindFirstFileW searches.
using FindHandle = UniqueHandle<HandleKind<HANDLE, detail::kInvalidHandle, detail::CloseFind>>;
// GDI objects (bitmaps, brushes, fonts, pens) freed with DeleteObject.
template <typename T>
using GdiObject = UniqueHandle<HandleKind<T, detail::kNull, detail::DeleteGdi<T>>>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
// Device contexts made with CreateCompatibleDC or CreateDC.
using MemoryDC = UniqueHandle<HandleKind<HDC, detail::kNull, detail::DeleteMemoryDC>>;
using Icon = UniqueHandle<HandleKind<HICON, detail::kNull, detail::DestroyIconHandle>>;
using Hook = UniqueHandle<HandleKind<HHOOK, detail::kNull, detail::Unhook>>;
// Libraries loaded with LoadLibrary(Ex)W.
using Module = UniqueHandle<HandleKind<HMODULE, detail::kNull, detail::ReleaseLibrary>>;

// A window's device context (GetDC, or GetWindowDC for the whole window with
// its frame), released with ReleaseDC.
class WindowDC {
public:
    enum Area { kClient, kWholeWindow };
    explicit WindowDC(HWND window, Area area = kClient)
        : window_(window), dc_(area == kClient ? ::GetDC(window) : ::GetWindowDC(window)) {}
    ~WindowDC() {
        if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for the guard's lifetime: the
// previous object of its kind is selected back on destruction.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc != nullptr && object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    // The object was selected (and will be selected out again).
    bool Selected() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace QvLibrary
