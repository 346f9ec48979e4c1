// The resources linked into kodrin.exe: toolbar and program icons, the help
// file, the version information, and the menus and keys of the main window
// against its command table. This executable links kodrin.rc itself,
// so what is checked here is what the program carries.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "app/portable/commands.h"
#include "framework/app.h"
#include "ids.h"
#include "string_ids.h"

namespace {

constexpr int kToolbarIcons = 30;   // 29 buttons and a spare picture
constexpr int kNormalBase = 6300;
constexpr int kDisabledBase = 6400;

struct Pixel {
    std::uint8_t b, g, r, a;
};

struct IconPixels {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<Pixel> pixels;   // top-down rows
};

struct IconDeleter {
    void operator()(HICON icon) const { ::DestroyIcon(icon); }
};

// Loads an icon resource at the given size and reads back its colour bitmap as
// 32-bit pixels with their alpha channel.
bool ReadIcon(LPCWSTR name, int size, IconPixels& out) {
    HICON raw = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (!raw) return false;
    std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter> icon(raw);
    ICONINFO info{};
    if (!::GetIconInfo(icon.get(), &info)) return false;
    bool ok = false;
    BITMAP bm{};
    if (info.hbmColor && ::GetObjectW(info.hbmColor, sizeof(bm), &bm) == sizeof(bm)) {
        out.width = bm.bmWidth;
        out.height = bm.bmHeight;
        out.bitsPerPixel = bm.bmBitsPixel;
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = bm.bmWidth;
        bi.bmiHeader.biHeight = -bm.bmHeight;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        out.pixels.resize(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
        HDC dc = ::GetDC(nullptr);
        ok = ::GetDIBits(dc, info.hbmColor, 0, bm.bmHeight, out.pixels.data(), &bi, DIB_RGB_COLORS) ==
             bm.bmHeight;
        ::ReleaseDC(nullptr, dc);
    }
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return ok;
}

// The sizes an icon group offers, straight from its group directory.
struct GroupEntry {
    int width, height, bitCount;
};

std::vector<GroupEntry> IconGroupEntries(LPCWSTR name) {
    std::vector<GroupEntry> entries;
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC res = ::FindResourceW(module, name, RT_GROUP_ICON);
    if (!res) return entries;
    const auto* data = static_cast<const std::uint8_t*>(::LockResource(::LoadResource(module, res)));
    const DWORD size = ::SizeofResource(module, res);
    if (!data || size < 6) return entries;
    const int count = data[4] | (data[5] << 8);
    for (int i = 0; i < count && 6u + 14u * (i + 1) <= size; ++i) {
        const std::uint8_t* e = data + 6 + 14 * i;   // GRPICONDIRENTRY
        entries.push_back({e[0] ? e[0] : 256, e[1] ? e[1] : 256, e[6] | (e[7] << 8)});
    }
    return entries;
}

std::wstring Describe(LPCWSTR name) {
    return IS_INTRESOURCE(name) ? std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : std::wstring(name);
}

// Every icon carries a hand-drawn 32x32 and 16x16 picture in 32-bit colour,
// loads at 32x32 and has both see-through and solid pixels.
void ExpectIconWithAlpha(LPCWSTR name) {
    const std::wstring label = Describe(name);
    SCOPED_TRACE(::testing::Message() << "icon " << std::string(label.begin(), label.end()));
    const auto entries = IconGroupEntries(name);
    ASSERT_EQ(entries.size(), 2u);
    bool has32 = false, has16 = false;
    for (const auto& e : entries) {
        EXPECT_EQ(e.bitCount, 32);
        has32 |= e.width == 32 && e.height == 32;
        has16 |= e.width == 16 && e.height == 16;
    }
    EXPECT_TRUE(has32);
    EXPECT_TRUE(has16);

    IconPixels icon;
    ASSERT_TRUE(ReadIcon(name, 32, icon));
    EXPECT_EQ(icon.width, 32);
    EXPECT_EQ(icon.height, 32);
    EXPECT_EQ(icon.bitsPerPixel, 32);
    int clear = 0, partial = 0, solid = 0;
    for (const Pixel& p : icon.pixels) {
        if (p.a == 0) ++clear;
        else if (p.a == 255) ++solid;
        else ++partial;
    }
    EXPECT_GT(clear, 0) << "no transparent pixel";
    EXPECT_GT(solid + partial, 32 * 32 / 5) << "hardly anything drawn";
    EXPECT_GT(partial, 0) << "no smoothed edge: the alpha channel was lost";
}

TEST(ProgramResources, ToolbarIconsLoadWithAlpha) {
    for (int i = 0; i < kToolbarIcons; ++i) {
        ExpectIconWithAlpha(MAKEINTRESOURCEW(kNormalBase + i));
        ExpectIconWithAlpha(MAKEINTRESOURCEW(kDisabledBase + i));
    }
}

TEST(ProgramResources, ProgramIconLoadsWithAlpha) {
    ExpectIconWithAlpha(L"Kodrin");
    // The window class takes it by name, in any case.
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), L"KODRIN");
    EXPECT_NE(icon, nullptr);
}

TEST(ProgramResources, EveryButtonHasItsOwnPicture) {
    std::vector<IconPixels> icons(kToolbarIcons);
    for (int i = 0; i < kToolbarIcons; ++i) ASSERT_TRUE(ReadIcon(MAKEINTRESOURCEW(kNormalBase + i), 32, icons[i]));
    IconPixels program;
    ASSERT_TRUE(ReadIcon(L"Kodrin", 32, program));
    icons.push_back(program);
    for (size_t i = 0; i < icons.size(); ++i) {
        for (size_t j = i + 1; j < icons.size(); ++j) {
            const bool same = icons[i].pixels.size() == icons[j].pixels.size() &&
                              std::memcmp(icons[i].pixels.data(), icons[j].pixels.data(),
                                          icons[i].pixels.size() * sizeof(Pixel)) == 0;
            EXPECT_FALSE(same) << "icons " << i << " and " << j << " are the same picture";
        }
    }
}

// A disabled picture is its button's picture in grey at half the opacity.
TEST(ProgramResources, DisabledIconsAreFadedGreyFormsOfTheirButtons) {
    for (int i = 0; i < kToolbarIcons; ++i) {
        SCOPED_TRACE(::testing::Message() << "button " << i);
        IconPixels normal, disabled;
        ASSERT_TRUE(ReadIcon(MAKEINTRESOURCEW(kNormalBase + i), 32, normal));
        ASSERT_TRUE(ReadIcon(MAKEINTRESOURCEW(kDisabledBase + i), 32, disabled));
        ASSERT_EQ(normal.pixels.size(), disabled.pixels.size());
        int mismatched = 0, notGrey = 0;
        for (size_t k = 0; k < normal.pixels.size(); ++k) {
            const Pixel& n = normal.pixels[k];
            const Pixel& d = disabled.pixels[k];
            if (std::abs(n.a / 2 - d.a) > 2) ++mismatched;
            if (d.a > 0 && (std::abs(d.r - d.g) > 3 || std::abs(d.g - d.b) > 3)) ++notGrey;
        }
        EXPECT_EQ(mismatched, 0) << "outline differs from the button's picture";
        EXPECT_EQ(notGrey, 0);
    }
}

TEST(ProgramResources, HelpFileIsACompiledHelpDocument) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC res = ::FindResourceW(module, MAKEINTRESOURCEW(1006), RT_RCDATA);
    ASSERT_NE(res, nullptr);
    const DWORD size = ::SizeofResource(module, res);
    const auto* data = static_cast<const char*>(::LockResource(::LoadResource(module, res)));
    ASSERT_NE(data, nullptr);
    ASSERT_GT(size, 0x60u);
    EXPECT_EQ(std::string(data, 4), "ITSF");
    std::uint32_t version = 0;
    std::memcpy(&version, data + 4, sizeof(version));
    EXPECT_EQ(version, 3u);
    // The directory names its pages in plain text.
    const std::string whole(data, size);
    for (const char* page : {"/index.htm", "/getting-started.htm", "/shortcuts.htm", "/import-export.htm",
                             "/data-file.htm", "/contents.hhc", "/index.hhk", "/#SYSTEM"}) {
        EXPECT_NE(whole.find(page), std::string::npos) << page;
    }
}

TEST(ProgramResources, VersionInformationNamesFenwoldAndKodrin) {
    QvLibrary::QvApp app(STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE);
    EXPECT_EQ(app.Name(), u"Kodrin");
    EXPECT_EQ(app.Company(), u"Fenwold");
    std::u16string text;
    ASSERT_TRUE(app.GetVersionString(text));
    EXPECT_EQ(text, u"" KODRIN_FILE_VERSION);
    ASSERT_TRUE(app.GetVersionInfo(u"CompanyName", text));
    EXPECT_EQ(text, u"Fenwold");
    ASSERT_TRUE(app.GetVersionInfo(u"ProductName", text));
    EXPECT_EQ(text, u"Kodrin");
    ASSERT_TRUE(app.GetVersionInfo(u"FileVersion", text));
    EXPECT_EQ(text, u"" KODRIN_FILE_VERSION);
    ASSERT_TRUE(app.GetVersionInfo(u"ProductVersion", text));
    EXPECT_EQ(text, u"" KODRIN_PRODUCT_VERSION);
    ASSERT_TRUE(app.GetVersionInfo(u"FileDescription", text));
    EXPECT_FALSE(text.empty());
    ASSERT_TRUE(app.GetVersionInfo(u"LegalCopyright", text));
    EXPECT_NE(text.find(u"\u00a9"), std::u16string::npos);   // read back as UTF-16, not mangled
    EXPECT_NE(text.find(u"Fenwold"), std::u16string::npos);
}

TEST(ProgramResources, VersionInformationIsUsEnglishUnicode) {
    wchar_t path[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<std::uint8_t> block(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path, 0, size, block.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    const auto* translation = static_cast<const WORD*>(value);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);

    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", &value, &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(KODRIN_VERSION_MINOR, KODRIN_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, KODRIN_VERSION_PATCH)));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

// ---------------------------------------------------------------------------
// Menus and keys.

int g_sentCommand = 0;

LRESULT CALLBACK RecordCommand(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_COMMAND) g_sentCommand = LOWORD(wp);
    return ::DefWindowProcW(window, message, wp, lp);
}

// Collects every command item of a menu and its popups with its text.
void MenuItems(HMENU menu, std::vector<std::pair<int, std::wstring>>& items) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU popup = ::GetSubMenu(menu, i)) {
            MenuItems(popup, items);
            continue;
        }
        const UINT id = ::GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;   // separator
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        items.emplace_back(static_cast<int>(id), text);
    }
}

// For every command: the loaded accelerator table holds exactly the table's
// keys; a menu item that shows a shortcut names the chord that really sends
// its command (and every Ctrl chord and function key is shown where its
// command has a menu item); no plain key (Tab, Backspace, Enter, Escape,
// letters without Ctrl) sends a command.
TEST(ProgramResources, EveryMenuShortcutNamesTheKeyThatSendsItsCommand) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HACCEL table = ::LoadAcceleratorsW(module, L"Kodrin");
    ASSERT_NE(table, nullptr);
    ACCEL keys[128] = {};
    const int count = ::CopyAcceleratorTableW(table, keys, 128);
    std::map<std::pair<int, bool>, int> loaded;
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(keys[i].fVirt & 0x7F & ~(FCONTROL | FNOINVERT), FVIRTKEY) << keys[i].cmd;
        loaded[{keys[i].key, (keys[i].fVirt & FCONTROL) != 0}] = keys[i].cmd;
    }
    std::map<std::pair<int, bool>, int> expected;
    for (const auto& command : kodrin::app::Commands()) {
        if (command.key.virtualKey != 0) expected[{command.key.virtualKey, command.key.control}] = command.id;
    }
    EXPECT_EQ(count, static_cast<int>(expected.size()));
    EXPECT_EQ(loaded, expected);

    for (const int menuId : {MENU_MAIN, MENU_LIST, MENU_TABS, MENU_TOOLBAR}) {
        HMENU menu = ::LoadMenuW(module, MAKEINTRESOURCEW(menuId));
        ASSERT_NE(menu, nullptr) << menuId;
        std::vector<std::pair<int, std::wstring>> items;
        MenuItems(menu, items);
        EXPECT_FALSE(items.empty());
        for (const auto& [id, text] : items) {
            const auto* command = kodrin::app::FindCommandInfo(id);
            ASSERT_NE(command, nullptr) << "menu " << menuId << " item " << id;
            const std::size_t tab = text.find(L'\t');
            const std::wstring shown = tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
            const std::u16string chord = kodrin::app::ShortcutText(command->key);
            if (!shown.empty() || command->key.control || command->key.virtualKey >= kodrin::app::kVirtualKeyF1) {
                EXPECT_EQ(shown, std::wstring(chord.begin(), chord.end())) << "menu " << menuId << " item " << id;
            }
        }
        ::DestroyMenu(menu);
    }

    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordCommand;
    wc.hInstance = module;
    wc.lpszClassName = L"KodrinKeyProbe";
    ::RegisterClassW(&wc);
    HWND probe = ::CreateWindowExW(0, L"KodrinKeyProbe", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, module, nullptr);
    ASSERT_NE(probe, nullptr);
    BYTE state[256] = {};
    const auto send = [&](UINT message, WPARAM key, bool control) {
        state[VK_CONTROL] = state[VK_LCONTROL] = control ? 0x80 : 0;
        ::SetKeyboardState(state);
        g_sentCommand = 0;
        MSG msg{probe, message, key, 1, 0, {}};
        return ::TranslateAcceleratorW(probe, table, &msg) != 0 ? g_sentCommand : 0;
    };
    for (const auto& [key, id] : expected) EXPECT_EQ(send(WM_KEYDOWN, key.first, key.second), id) << id;
    std::vector<WPARAM> plainKeys{VK_TAB, VK_BACK, VK_RETURN, VK_ESCAPE};
    for (WPARAM letter = 'A'; letter <= 'Z'; ++letter) plainKeys.push_back(letter);
    for (const WPARAM key : plainKeys) EXPECT_EQ(send(WM_KEYDOWN, key, false), 0) << "key " << key;
    std::vector<WPARAM> characters{L'\t', L'\b', L'\r', 0x1B};
    for (WPARAM letter = 'A'; letter <= 'Z'; ++letter) {
        characters.push_back(letter);
        characters.push_back(letter - 'A' + 'a');
    }
    for (const WPARAM character : characters) {
        EXPECT_EQ(send(WM_CHAR, character, false), 0) << "character " << character;
    }
    std::memset(state, 0, sizeof(state));
    ::SetKeyboardState(state);
    ::DestroyWindow(probe);
    ::DestroyAcceleratorTable(table);
}

}  // namespace
