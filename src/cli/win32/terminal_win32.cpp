// The terminal on Windows: standard output and error in binary mode (UTF-8
// bytes pass through unchanged, whatever the console's code page), the
// process environment, and the console with echo input turned off for the
// password.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "cli/terminal.h"
#include "framework/handles.h"

namespace kodrin::cli {
namespace {

// Clears ENABLE_ECHO_INPUT for its lifetime and restores the mode after.
class EchoOff {
public:
    explicit EchoOff(HANDLE input) : input_(input) {
        if (!GetConsoleMode(input_, &saved_)) return;
        const DWORD quiet = (saved_ & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT;
        active_ = SetConsoleMode(input_, quiet) != 0;
    }
    ~EchoOff() {
        if (active_) SetConsoleMode(input_, saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    bool active() const { return active_; }

private:
    HANDLE input_;
    DWORD saved_ = 0;
    bool active_ = false;
};

void WriteConsoleText(HANDLE out, std::u16string_view text) {
    DWORD written = 0;
    WriteConsoleW(out, reinterpret_cast<const wchar_t*>(text.data()), static_cast<DWORD>(text.size()), &written,
                  nullptr);
}

class Win32Terminal final : public Terminal {
public:
    Win32Terminal() {
        std::fflush(stdout);
        std::fflush(stderr);
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stderr), _O_BINARY);
    }
    void Out(std::string_view bytes) override { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }
    void Err(std::string_view bytes) override {
        std::fflush(stdout);
        std::fwrite(bytes.data(), 1, bytes.size(), stderr);
        std::fflush(stderr);
    }
    std::optional<std::u16string> Variable(std::u16string_view name) override {
        const std::wstring key(reinterpret_cast<const wchar_t*>(name.data()), name.size());
        const wchar_t* value = _wgetenv(key.c_str());
        if (!value) return std::nullopt;
        return std::u16string(reinterpret_cast<const char16_t*>(value));
    }
    std::optional<std::u16string> AskPassword(std::u16string_view prompt) override {
        const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
        DWORD mode = 0;
        if (input == INVALID_HANDLE_VALUE || input == nullptr || !GetConsoleMode(input, &mode)) return std::nullopt;
        const QvLibrary::FileHandle output(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                       0, nullptr));
        std::u16string line;
        bool ended = false;
        {
            EchoOff quiet(input);
            if (!quiet.active()) return std::nullopt;
            WriteConsoleText(output.Get(), prompt);
            for (;;) {
                wchar_t c = 0;
                DWORD read = 0;
                if (!ReadConsoleW(input, &c, 1, &read, nullptr) || read == 0) {
                    ended = line.empty();
                    break;
                }
                if (c == L'\n') break;
                if (c != L'\r') line.push_back(static_cast<char16_t>(c));
            }
            WriteConsoleText(output.Get(), u"\r\n");
        }
        if (ended) return std::nullopt;
        return line;
    }
};

}  // namespace

Terminal& SystemTerminal() {
    static Win32Terminal terminal;
    return terminal;
}

}  // namespace kodrin::cli
