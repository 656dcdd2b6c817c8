#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/tables/request_file.h"

namespace sw48230 {

// Whether a row's CAN frames carry 29-bit identifiers: the row's own CAN Type
// on hardware that has the column, the project's identifier format otherwise.
bool Extended_Frame(const RequestTable& table, int row, const TableContext& context);

// A Cob-ID as the CAN side writes it: "0x185", with 3 hex digits for 11-bit
// identifiers and 8 for 29-bit ones (more when the value needs them). Nothing
// when the text is not a number or is negative.
std::optional<std::string> Cob_ID_Hex(std::string_view cob, bool extended);

}  // namespace sw48230
