// The number text rule: any text either converts or does not, and a value
// that converts comes back from its decimal form.

#include <cstdlib>
#include <string>

#include "core/common/number_text.h"
#include "fuzz_input.h"

using namespace sw48230;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::as_text(data, size);
  const auto value32 = parse_int32(text);
  const auto value64 = parse_int64(text);
  if (value32 && parse_int32(std::to_string(*value32)) != value32) std::abort();
  if (value64 && parse_int64(std::to_string(*value64)) != value64) std::abort();
  // A decimal text in the 32-bit range means the same number in both widths.
  if (value32 && text.find_first_of("$xX") == std::string_view::npos && value64 != *value32) std::abort();
  if (to_int32(text, 7) != value32.value_or(7)) std::abort();
  return 0;
}
