// Process entry of kodrin-cli: the arguments as UTF-16, then RunCli with the
// process's own terminal.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/terminal.h"
#include "platform/utf.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    const int status = kodrin::cli::RunCli(args, kodrin::cli::SystemTerminal());
    std::fflush(stdout);
    return status;
}
#else
int main(int argc, char** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) args.push_back(kodrin::platform::FromUtf8(argv[i]));
    const int status = kodrin::cli::RunCli(args, kodrin::cli::SystemTerminal());
    std::fflush(stdout);
    return status;
}
#endif
