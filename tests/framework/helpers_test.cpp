// Centring, the clipboard, dialog items and the registry store.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/helpers.h"
#include "framework/test_window.h"
#include "support/text.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {
namespace {

using namespace QvLibrary;

class HelpersTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = ::CreateWindowExW(0, RecordingClass(), L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        ::DestroyWindow(window_);
        DrainMessages();
    }
    RECT Rect() const {
        RECT rect{};
        ::GetWindowRect(window_, &rect);
        return rect;
    }
    HWND window_ = nullptr;
};

TEST_F(HelpersTest, CentreWindowCentresOnTheRectangleOrTheWorkArea) {
    const RECT area = GetWorkArea();
    ASSERT_GT(area.right, area.left);

    CentreWindow(area.top + 100, area.left + 100, window_, 400, 300);
    RECT r = Rect();
    EXPECT_EQ(r.left, area.left + 200);
    EXPECT_EQ(r.top, area.top + 200);
    EXPECT_EQ(r.right - r.left, 200);   // size kept
    EXPECT_EQ(r.bottom - r.top, 100);

    // A corner outside the work area: the work area instead.
    CentreWindow(-5000, -5000, window_, 10, 10);
    r = Rect();
    EXPECT_EQ(r.left, std::max(0L, area.left + (area.right - area.left - 200) / 2));
    EXPECT_EQ(r.top, std::max(0L, area.top + (area.bottom - area.top - 100) / 2));

    // Larger than the rectangle: clamped at 0.
    CentreWindow(area.top, area.left, window_, 100, 50);
    r = Rect();
    EXPECT_EQ(r.left, std::max(0L, area.left - 50));
    EXPECT_EQ(r.top, std::max(0L, area.top - 25));

    CentreOnParent(window_);   // no parent: the screen
    r = Rect();
    EXPECT_EQ(r.left, std::max(0L, area.left + (area.right - area.left - 200) / 2));
}

TEST_F(HelpersTest, CentreOnParentUsesTheOwnersRectangle) {
    HWND owner = ::CreateWindowExW(0, RecordingClass(), L"", WS_POPUP, 100, 80, 600, 400, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    HWND owned = ::CreateWindowExW(0, RecordingClass(), L"", WS_POPUP, 0, 0, 200, 100, owner, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    CentreOnParent(owned);
    RECT r{};
    ::GetWindowRect(owned, &r);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 230);
    ::DestroyWindow(owner);
}

TEST_F(HelpersTest, HalfFrameWidthIsHalfTheNonClientWidth) {
    EXPECT_EQ(HalfFrameWidth(window_), 0);   // a borderless popup
    HWND framed = ::CreateWindowExW(0, RecordingClass(), L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    RECT outer{}, client{};
    ::GetWindowRect(framed, &outer);
    ::GetClientRect(framed, &client);
    EXPECT_GT(HalfFrameWidth(framed), 0);
    EXPECT_EQ(HalfFrameWidth(framed), ((outer.right - outer.left) - client.right) / 2);
    ::DestroyWindow(framed);
}

TEST_F(HelpersTest, ClipboardWritesTextAndEmptiesItForEmptyText) {
    WriteClipboardText(window_, U("Grüße, Kodrin"));
    auto text = ReadClipboardText(window_);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, U("Grüße, Kodrin"));

    WriteClipboardText(window_, u"");
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_FALSE(ReadClipboardText(window_).has_value());

    // The 8-bit writer keeps the low byte of each unit.
    WriteClipboardAnsi(window_, U("A\u0142\u00e9"));
    ASSERT_TRUE(::OpenClipboard(window_));
    HANDLE data = ::GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    const auto* bytes = static_cast<const unsigned char*>(::GlobalLock(data));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0], 'A');
    EXPECT_EQ(bytes[1], 0x42);
    EXPECT_EQ(bytes[2], 0xE9);
    EXPECT_EQ(bytes[3], 0);
    ::GlobalUnlock(data);
    ::CloseClipboard();

    WriteClipboardAnsi(window_, u"");
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_TEXT));
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST_F(HelpersTest, DialogItemsReadTextAndNumbersWithFallbacks) {
    HWND dialog = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(20000), nullptr, PlainDialog, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetItemText(dialog, 20002, u"fallback"), u"fallback");
    EXPECT_EQ(GetItemText(dialog, 20002), u"");
    EXPECT_EQ(GetItemInt(dialog, 20002, -7), -7);
    EXPECT_EQ(GetItemDouble(dialog, 20002, 2.5), 2.5);
    EXPECT_EQ(GetItemText(dialog, 4242, u"no item"), u"no item");

    SetItemText(dialog, 20002, u"  42abc");
    EXPECT_EQ(GetItemText(dialog, 20002), u"  42abc");
    EXPECT_EQ(GetItemInt(dialog, 20002, -7), 42);
    SetItemText(dialog, 20002, u"-3.25");
    EXPECT_EQ(GetItemInt(dialog, 20002, 0), -3);
    EXPECT_DOUBLE_EQ(GetItemDouble(dialog, 20002, 0), -3.25);
    SetItemText(dialog, 20002, u"abc");
    EXPECT_EQ(GetItemInt(dialog, 20002, 9), 0);

    // The text reader is not limited to a fixed buffer.
    const std::u16string longText(5000, u'x');
    ::SendDlgItemMessageW(dialog, 20002, EM_LIMITTEXT, 0, 0);
    SetItemText(dialog, 20002, longText);
    EXPECT_EQ(GetItemText(dialog, 20002), longText);
    ::DestroyWindow(dialog);
}

// The store under HKEY_CURRENT_USER\Software\KodrinTest, removed afterwards.
class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KodrinTest"); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KodrinTest"); }
};

TEST_F(RegistryStoreTest, WritesAndReadsStringsAndReportsWhatFailed) {
    RegistryStore store(u"KodrinTest");
    std::u16string value = u"untouched";
    EXPECT_FALSE(store.Read(u"", u"Filename", value));
    EXPECT_EQ(store.LastResult(), RegistryStore::kCannotOpenCompany);
    EXPECT_EQ(value, u"untouched");

    ASSERT_TRUE(store.Write(u"", u"Filename", U("C:\\Data\\Kodrinxml — ü")));
    EXPECT_EQ(store.LastResult(), RegistryStore::kOk);
    ASSERT_TRUE(store.Read(u"", u"Filename", value));
    EXPECT_EQ(value, U("C:\\Data\\Kodrinxml — ü"));

    EXPECT_FALSE(store.Read(u"", u"Missing", value));
    EXPECT_EQ(store.LastResult(), RegistryStore::kCannotReadValue);

    // A sub-key: HKCU\Software\KodrinTest\Kodrin.
    EXPECT_FALSE(store.Read(u"Kodrin", u"HintShow", value));
    EXPECT_EQ(store.LastResult(), RegistryStore::kCannotOpenCompany);
    ASSERT_TRUE(store.Write(u"Kodrin", u"HintShow", u"0"));
    ASSERT_TRUE(store.Read(u"Kodrin", u"HintShow", value));
    EXPECT_EQ(value, u"0");
    ASSERT_TRUE(store.Write(u"Kodrin", u"HintShow", u""));
    ASSERT_TRUE(store.Read(u"Kodrin", u"HintShow", value));
    EXPECT_EQ(value, u"");

    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\KodrinTest\\Kodrin", 0, KEY_READ, &key), ERROR_SUCCESS);
    wchar_t stored[8] = {};
    DWORD bytes = sizeof(stored);
    DWORD type = 0;
    ASSERT_EQ(::RegQueryValueExW(key, L"HintShow", nullptr, &type, reinterpret_cast<BYTE*>(stored), &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    ::RegCloseKey(key);

    EXPECT_FALSE(store.Write(std::u16string(300, u'k'), u"Value", u"x"));
    EXPECT_EQ(store.LastResult(), RegistryStore::kCannotCreateKey);
}

TEST_F(RegistryStoreTest, ValuesThatAreNotPlainStringsAreReadSafely) {
    RegistryStore store(u"KodrinTest");
    ASSERT_TRUE(store.Write(u"", u"Seed", u"x"));
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\KodrinTest", 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    const DWORD number = 7;
    ::RegSetValueExW(key, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    // A string stored without its terminating zero.
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    ::RegSetValueExW(key, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated), sizeof(unterminated));
    ::RegCloseKey(key);

    std::u16string value = u"untouched";
    EXPECT_FALSE(store.Read(u"", u"Number", value));
    EXPECT_EQ(store.LastResult(), RegistryStore::kCannotReadValue);
    EXPECT_EQ(value, u"untouched");
    ASSERT_TRUE(store.Read(u"", u"Bare", value));
    EXPECT_EQ(value, u"abc");
}

TEST_F(RegistryStoreTest, ARootWithoutSoftwareIsReported) {
    HKEY root = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\KodrinTest\\EmptyRoot", 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &root, nullptr),
              ERROR_SUCCESS);
    RegistryStore store(u"KodrinTest", root);
    std::u16string value;
    EXPECT_FALSE(store.Read(u"", u"Filename", value));
    EXPECT_EQ(store.LastResult(), RegistryStore::kCannotOpenSoftware);
    EXPECT_FALSE(store.Write(u"", u"Filename", u"x"));
    EXPECT_EQ(store.LastResult(), RegistryStore::kCannotOpenSoftware);
    ::RegCloseKey(root);
}

}  // namespace
}  // namespace kodrin::test
