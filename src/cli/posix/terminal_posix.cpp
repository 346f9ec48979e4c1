// The terminal natively: stdio for output, getenv, and /dev/tty with echo
// turned off through termios for the password.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "cli/terminal.h"
#include "platform/utf.h"

namespace kodrin::cli {
namespace {

// The terminal device, closed on every path out.
class TtyHandle {
public:
    TtyHandle() : fd_(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC)) {}
    ~TtyHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    TtyHandle(const TtyHandle&) = delete;
    TtyHandle& operator=(const TtyHandle&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Turns echo off for its lifetime and restores the previous mode after.
class EchoOff {
public:
    explicit EchoOff(int fd) : fd_(fd) {
        if (::tcgetattr(fd_, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= static_cast<tcflag_t>(~(ECHO | ECHONL));
        quiet.c_lflag |= ICANON;
        active_ = ::tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (active_) ::tcsetattr(fd_, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    bool active() const { return active_; }

private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};

void WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n <= 0) return;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

class PosixTerminal final : public Terminal {
public:
    void Out(std::string_view bytes) override { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }
    void Err(std::string_view bytes) override {
        std::fflush(stdout);
        std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    }
    std::optional<std::u16string> Variable(std::u16string_view name) override {
        const char* value = std::getenv(platform::ToUtf8(name).c_str());
        if (!value) return std::nullopt;
        return platform::FromUtf8(value);
    }
    std::optional<std::u16string> AskPassword(std::u16string_view prompt) override {
        TtyHandle tty;
        if (tty.fd() < 0 || !::isatty(tty.fd())) return std::nullopt;
        std::string line;
        bool ended = false;
        {
            EchoOff quiet(tty.fd());
            if (!quiet.active()) return std::nullopt;
            WriteAll(tty.fd(), platform::ToUtf8(prompt));
            char c = 0;
            for (;;) {
                const ssize_t n = ::read(tty.fd(), &c, 1);
                if (n <= 0) {
                    ended = line.empty();
                    break;
                }
                if (c == '\n') break;
                line.push_back(c);
            }
            WriteAll(tty.fd(), "\n");
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::u16string answer = platform::FromUtf8(line);
        std::fill(line.begin(), line.end(), '\0');
        if (ended) return std::nullopt;
        return answer;
    }
};

}  // namespace

Terminal& SystemTerminal() {
    static PosixTerminal terminal;
    return terminal;
}

}  // namespace kodrin::cli
