// The reply of the version service as it arrives, whole or cut off, and the
// host text of the update check.

#include "core/common/http_message.h"
#include "core/i18n/update_check.h"
#include "fuzz_input.h"

using namespace sw48230;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::as_text(data, size);
  (void)Read_Http_Reply(text, true);
  (void)Read_Http_Reply(text, false);
  (void)Split_Host_Port(text);
  (void)Is_Newer_Version(text);
  (void)Conv_Version(text);
  return 0;
}
