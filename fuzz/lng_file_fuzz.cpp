// The language file grammar and the decoding that comes before it.

#include <cstdlib>

#include "core/i18n/lng_file.h"
#include "core/i18n/message_table.h"
#include "core/i18n/text_decoding.h"
#include "fuzz_input.h"

using namespace sw48230;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::as_text(data, size);
  const LngContent content = parse_lng(bytes, Default_Message_Count);
  for (const LngEntry& entry : content.entries) {
    if (entry.index < 0 || entry.index >= Default_Message_Count) std::abort();
    // Every stored text is valid UTF-8: decoding it again changes nothing.
    if (encode_utf8(decode_utf8(entry.text)) != entry.text) std::abort();
  }
  MessageTable table;
  table.Default_Messages();
  table.Apply(content);
  if (table.Message_Count() != Default_Message_Count) std::abort();
  return 0;
}
