// kodrin-cli: the command-line companion of the program. It works on the
// same data files through the same core code:
//
//   save FILE [OUT]        load and save again (optionally with a new password)
//   export FILE OUT        CSV (OUT ends in ".csv") or markup
//   import FILE IN         CSV or markup into the catalog (a new one when FILE
//                          does not exist), then save it
//   list FILE              one line per record, chosen fields separated by tabs
//   find FILE TEXT         every hit of Find and Find Next
//   stats FILE             the statistics dialog's five values
//   check FILE             checks the PAD files for newer versions
//
// Exit status: 0 success, 1 a failure (named on standard error, one line;
// no file changed), 2 wrong usage (the usage is printed).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/terminal.h"

namespace kodrin::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Runs one command line (the arguments after the program name).
int RunCli(const std::vector<std::u16string>& args, Terminal& terminal);

// A value as UTF-8 on one line: backslash, tab, line feed and carriage return
// become \\, \t, \n and \r, and every other control character (C0, DEL, C1;
// NUL included) a backslash and three octal digits for each byte of its
// UTF-8 form: the text format of PostgreSQL's COPY.
std::string EscapeValue(std::u16string_view text);

// The text of a password file: UTF-8 (a leading byte-order mark skipped),
// without one line ending at its end. An empty file gives the empty password.
std::u16string PasswordFromFileBytes(std::string_view bytes);

}  // namespace kodrin::cli
