// The image decoder and both reports; the JSON report must stay valid JSON
// in UTF-8 whatever the bytes.

#include <cstdlib>
#include <string>

#include "core/image/image_decode.h"
#include "core/image/image_report.h"
#include "fuzz_input.h"
#include "support/json_check.h"

using namespace sw48230;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Result<DecodedImage> decode = Decode_Image(std::span<const std::uint8_t>(data, size), "bank.bin");
  if (!decode) return 0;
  // The file name carries bytes of the input too, as a name on disk can.
  const std::string name = "bank\xFF" + std::string(fuzz::as_text(data, size < 8 ? size : 8));
  (void)Image_Report_Text(*decode, name);
  const std::string json = Image_Report_Json(*decode, name);
  if (!test::JsonCheck::error_in(json).empty()) std::abort();
  return 0;
}
