#include "core/tables/cob_id_hex.h"

#include <cstdio>

#include "core/common/number_text.h"
#include "core/common/text.h"

namespace sw48230 {

bool Extended_Frame(const RequestTable& table, int row, const TableContext& context) {
  if (context.Hard_Type != Device_Type_Jumper) {
    return equals_ignoring_ascii_case(trim_blanks(table.cell(row, Col_CAN_Type)), CAN_Type_29_Bits);
  }
  return context.Type_Can != 0;
}

std::optional<std::string> Cob_ID_Hex(std::string_view cob, bool extended) {
  const auto value = parse_int32(cob);
  if (!value || *value < 0) return std::nullopt;
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", extended ? 8 : 3, static_cast<unsigned>(*value));
  return std::string(text);
}

}  // namespace sw48230
