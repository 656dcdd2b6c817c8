#pragma once

// The readable forms of a decoded image that `sw48230-cli dump` prints.

#include <string>
#include <string_view>

#include "core/image/image_decode.h"

namespace sw48230 {

// The name of a Modbus function code of a request record, such as "Read
// Holding Registers"; "none" for 0 and "unknown" for a code no request uses.
std::string_view Modbus_Function_Name(std::uint8_t function);

// The layout, the named fields of the general block or of Bank_Params, one
// line per filled record or per row, then the problems found.
std::string Image_Report_Text(const DecodedImage& image, std::string_view file_name);

// The same as one JSON object.
std::string Image_Report_Json(const DecodedImage& image, std::string_view file_name);

}  // namespace sw48230
