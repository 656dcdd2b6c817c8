// The splitter of argument strings, and quoting that must survive it.

#include <cstdlib>
#include <string>
#include <vector>

#include "core/common/command_line.h"
#include "fuzz_input.h"

using namespace sw48230;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::as_text(data, size);
  (void)split_windows_command_line(text);
  // Any argument, quoted, splits back to itself alone, also next to others.
  const std::string quoted = quote_windows_argument(text);
  if (split_windows_command_line(quoted) != std::vector<std::string>{std::string(text)}) std::abort();
  const auto pair = split_windows_command_line(quoted + ' ' + quoted);
  if (pair != std::vector<std::string>{std::string(text), std::string(text)}) std::abort();
  return 0;
}
