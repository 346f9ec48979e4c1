// What kodrin-cli needs of its surroundings: standard output and error as
// UTF-8 bytes, environment variables, and a password asked on the terminal
// without echo. The program uses the process's own (SystemTerminal); tests
// give their own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kodrin::cli {

class Terminal {
public:
    // Standard output and standard error; the bytes are UTF-8 and are written
    // as they are (never through the console's code page).
    virtual void Out(std::string_view bytes) = 0;
    virtual void Err(std::string_view bytes) = 0;
    // The environment variable's value; none when it is not set.
    virtual std::optional<std::u16string> Variable(std::u16string_view name) = 0;
    // Shows the prompt on the terminal and reads one line with echo off. None
    // when there is no terminal to ask or its input ended.
    virtual std::optional<std::u16string> AskPassword(std::u16string_view prompt) = 0;

protected:
    ~Terminal() = default;
};

// The process's standard streams, environment and terminal.
Terminal& SystemTerminal();

}  // namespace kodrin::cli
