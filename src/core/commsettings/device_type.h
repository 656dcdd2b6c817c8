#pragma once

#include <filesystem>

namespace sw48230 {

inline constexpr int Device_Type_Jumper = 0;
inline constexpr int Device_Type_Dip_Switch = 1;

// The device type recorded in a project's ParGen.xml, as the main window reads
// it: 0 when the file or its element is missing or not a number.
int Select_Type_231(const std::filesystem::path& pargen_file);

}  // namespace sw48230
