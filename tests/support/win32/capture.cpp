#include "support/win32/capture.h"

#include <cstdint>
#include <vector>

#include "platform/files.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {

platform::Image CaptureWindow(HWND window) {
    platform::Image image;
    RECT rect{};
    ::GetWindowRect(window, &rect);
    image.width = rect.right - rect.left;
    image.height = rect.bottom - rect.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, image.width, image.height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, image.width, image.height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(image.width) * image.height * 4);
    ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(image.height), bgra.data(), &info, DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    image.pixels.resize(bgra.size());
    for (std::size_t i = 0; i < bgra.size(); i += 4) {
        image.pixels[i] = bgra[i + 2];
        image.pixels[i + 1] = bgra[i + 1];
        image.pixels[i + 2] = bgra[i];
        image.pixels[i + 3] = 255;
    }
    return image;
}

bool SaveWindowPicture(HWND window, const std::u16string& folder, const std::u16string& name) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    // Some controls finish drawing through posted messages.
    PumpUntil([] { return false; }, 300);
    std::vector<std::uint8_t> bytes;
    if (!platform::EncodeImage(CaptureWindow(window), platform::ImageFormat::Png, bytes)) return false;
    return platform::WriteFileAtomically(folder + u"\\" + name, bytes);
}

std::u16string ScreenshotFolder() {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"KODRIN_SCREENSHOTS", value, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return reinterpret_cast<const char16_t*>(value);
}

}  // namespace kodrin::test
