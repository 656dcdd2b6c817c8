#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sw48230 {

// Splits one argument string into arguments the way the Microsoft C runtime
// builds argv from a command line (the part after the program name).
// Updaters are handed a single string, and they must get the same arguments
// on every platform as on Windows, where the runtime splits it for them.
// Only space and tab separate arguments; other bytes, UTF-8 included, are
// copied as they are. An empty or all-blank string gives no arguments.
std::vector<std::string> split_windows_command_line(std::string_view arguments);

// One argument in double quotes, written so that the splitter above (and so
// the Microsoft C runtime) gives it back unchanged: a quote inside becomes
// \", and the backslashes before a quote or before the closing quote are
// doubled. Blanks, quotes and trailing backslashes in a path are therefore
// safe.
std::string quote_windows_argument(std::string_view argument);

}  // namespace sw48230
