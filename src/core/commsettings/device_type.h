#pragma once

namespace sw48230 {

// The hardware generations recorded as Device_Type in ParGen.xml.
inline constexpr int Device_Type_Jumper = 0;
inline constexpr int Device_Type_Dip_Switch = 1;

}  // namespace sw48230
