// The rich-text notice window: what is streamed in reads back as the text
// and formats the HTML asked for.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <string>

#include "framework/html2rtf_window.h"
#include "support/text.h"

namespace QvLibrary {
namespace {

using kodrin::test::U;

bool RunningUnderWine() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class Html2RtfWindow : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override {
        if (parent_ != nullptr) ::DestroyWindow(parent_);
    }

    // The control's whole text, with the last paragraph mark that some
    // versions report for the document's closing \par taken off.
    static std::u16string Text(HWND control) {
        GETTEXTLENGTHEX length{GTL_DEFAULT | GTL_NUMCHARS, 1200};
        const auto count = ::SendMessageW(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
        std::u16string text(static_cast<std::size_t>(count) + 1, u'\0');
        GETTEXTEX get{};
        get.cb = static_cast<DWORD>(text.size() * sizeof(char16_t));
        get.flags = GT_DEFAULT;
        get.codepage = 1200;
        const auto got = ::SendMessageW(control, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                        reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(got));
        if (!text.empty() && text.back() == u'\r') text.pop_back();
        return text;
    }

    // The character format of the characters [first, last).
    static CHARFORMAT2W Format(HWND control, int first, int last) {
        ::SendMessageW(control, EM_SETSEL, first, last);
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        ::SendMessageW(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return format;
    }

    HWND parent_ = nullptr;
};

TEST_F(Html2RtfWindow, CreatesAReadOnlyRichEditChild) {
    QvHTML2RTF control;
    ASSERT_FALSE(control.ControlClass().empty());
    ASSERT_TRUE(control.Create(parent_, 20252, 10, 10, 300, 200));
    HWND window = control.Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::GetParent(window), parent_);
    EXPECT_EQ(::GetDlgCtrlID(window), 20252);
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    // (The control drops WS_VSCROLL itself while there is nothing to scroll.)
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL),
              WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL);
    EXPECT_TRUE(IsLibraryWindow(window));
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    EXPECT_EQ(::lstrcmpiW(className, reinterpret_cast<const wchar_t*>(control.ControlClass().c_str())), 0);
    EXPECT_EQ(control.ControlClass(), u"RICHEDIT50W") << "Msftedit.dll is the first choice";

    // The two-argument form creates the control at the origin with no size.
    QvHTML2RTF empty;
    ASSERT_TRUE(empty.Create(parent_, 7));
    RECT rect{};
    ::GetWindowRect(empty.Handle(), &rect);
    EXPECT_EQ(rect.right - rect.left, 0);
    EXPECT_EQ(::GetDlgCtrlID(empty.Handle()), 7);
}

TEST_F(Html2RtfWindow, TextAndFormatsReadBack) {
    QvHTML2RTF control;
    ASSERT_TRUE(control.Create(parent_, 1));
    HWND window = control.Handle();
    control.SetText(U("<html><head>title</head><body>Hello <b>world</b>, <font color=#FF0000 size=+2>red</font>"
                      "<br>&copy; &amp; &#65; \\ {x}<p>€ Ż</body>"));
    EXPECT_EQ(Text(window), U("Hello world, red\r© & A \\ {x}\r\r€ Ż"));

    // The control's own default format (bold under some systems) never shows through.
    const CHARFORMAT2W hello = Format(window, 0, 5);
    EXPECT_EQ(hello.dwEffects & CFE_BOLD, 0u);
    EXPECT_EQ(hello.yHeight, 200);  // 10 pt in twips
    EXPECT_EQ(std::wstring(hello.szFaceName), L"Arial");
    const CHARFORMAT2W world = Format(window, 6, 11);
    EXPECT_TRUE((world.dwMask & CFM_BOLD) && (world.dwEffects & CFE_BOLD));
    const CHARFORMAT2W red = Format(window, 13, 16);
    EXPECT_EQ(red.crTextColor, RGB(255, 0, 0));
    EXPECT_EQ(red.dwEffects & CFE_AUTOCOLOR, 0u);
    EXPECT_EQ(red.yHeight, 240);
}

TEST_F(Html2RtfWindow, AnchorsArriveAsProtectedText) {
    QvHTML2RTF control;
    ASSERT_TRUE(control.Create(parent_, 1));
    HWND window = control.Handle();
    control.SetText(u"<body>See <a href=\"http://example.invalid/?a=1&amp;b=2\">here</a>.</body>");
    const std::u16string text = Text(window);
    EXPECT_EQ(text, u"See <a href=\"http://example.invalid/?a=1&b=2\">here</a>.");
    const int link = static_cast<int>(text.find(u"here"));
    const CHARFORMAT2W inside = Format(window, link, link + 4);
    // Wine's RTF reader passes over \protect (EM_SETCHARFORMAT does set it):
    // the protection is checked where the system reads it.
    if (!RunningUnderWine()) {
        EXPECT_TRUE((inside.dwMask & CFM_PROTECTED) && (inside.dwEffects & CFE_PROTECTED));
    }
    const CHARFORMAT2W before = Format(window, 0, 3);
    EXPECT_EQ(before.dwEffects & CFE_PROTECTED, 0u);
    const CHARFORMAT2W after = Format(window, static_cast<int>(text.size()) - 1, static_cast<int>(text.size()));
    EXPECT_EQ(after.dwEffects & CFE_PROTECTED, 0u);

    // A new text replaces the old one, protected parts included.
    control.SetText(std::u16string(u"<body>next</body>"));
    EXPECT_EQ(Text(window), u"next");
    control.SetText(static_cast<const char16_t*>(nullptr));
    EXPECT_EQ(Text(window), u"");
}

TEST_F(Html2RtfWindow, WithoutAWindowNothingHappens) {
    QvHTML2RTF control;
    control.SetText(u"<body>x</body>");
    EXPECT_EQ(control.Handle(), nullptr);
    EXPECT_EQ(control.GetText(), u"");
}

TEST_F(Html2RtfWindow, DestructionDestroysTheControl) {
    HWND window = nullptr;
    {
        QvHTML2RTF first;
        QvHTML2RTF second;
        ASSERT_TRUE(first.Create(parent_, 1));
        ASSERT_TRUE(second.Create(parent_, 2));
        window = first.Handle();
        second.SetText(u"<body>still here</body>");
        // An attached window is given back, the created one destroyed.
        ASSERT_TRUE(first.Attach(second.Handle()));
    }
    EXPECT_FALSE(::IsWindow(window));
    // The library stays usable for the next control.
    QvHTML2RTF again;
    ASSERT_TRUE(again.Create(parent_, 3));
    again.SetText(u"<body>again</body>");
    EXPECT_EQ(Text(again.Handle()), u"again");
}

}  // namespace
}  // namespace QvLibrary
