#pragma once

// var.xml (read requests) and var2.xml (write requests), one request table
// each: under the root, one element per table row, its cells as attributes.
// Which file a table is stored in is its TableKind's file_name. Every reader
// and writer takes the names from here; the table screens and bank2.bin fall
// back differently for an attribute a row lacks, and each set is listed here
// with the reader it belongs to. bank.bin has no fallbacks: it refuses the
// row.

#include <array>
#include <cstddef>
#include <cstdint>

namespace sw48230::var_file {

inline constexpr const char* Read_Requests_File_Name = "var.xml";
inline constexpr const char* Write_Requests_File_Name = "var2.xml";
inline constexpr const char* Root = "C_TO_Customer_Protocol";
inline constexpr const char* Row = "row";

// The attributes of a row element, in the order they are written.
enum Attribute : std::size_t {
  Enable,
  COB,
  CAN_Type,
  IP_Add_B1,
  IP_Add_B2,
  IP_Add_B3,
  IP_Add_B4,
  Port,
  ID_Modbus,
  Type,
  Address_Word,
  Quantity,
  PollTime,
  MaxError,
  Swap,
  Mnemonic,
  Attribute_Count,
};
inline constexpr std::array<const char*, Attribute_Count> Attribute_Names = {
    "Enable",    "COB",  "CAN_Type",     "IP_Add_B1", "IP_Add_B2", "IP_Add_B3", "IP_Add_B4", "Port",
    "ID_Modbus", "Type", "Address_Word", "Quantity",  "PollTime",  "MaxError",  "Swap",      "Mnemonic",
};

// The table screens, for an attribute the row lacks. CAN_Type follows the
// project's frame format, Port the project's port and Type the kind's
// type_code_when_missing, which bank2.bin uses as well; a row without
// Enable or Swap has them ticked, on the screens and in bank2.bin alike.
namespace screen_fallback {
inline constexpr std::array<const char*, 4> Address = {"192", "168", "0", "11"};
inline constexpr const char* ID_Modbus = "1";
inline constexpr const char* MaxError = "0";
}  // namespace screen_fallback

// bank2.bin, for an attribute that is missing or not a number. The address
// bytes and Address_Word have none: the build refuses the row.
namespace image_fallback {
inline constexpr std::int32_t COB = 0;
inline constexpr std::int32_t ID_Modbus = 1;
inline constexpr std::int32_t Quantity = 1;
inline constexpr std::int32_t PollTime = 0;
inline constexpr std::int32_t MaxError = 0;
}  // namespace image_fallback

}  // namespace sw48230::var_file
