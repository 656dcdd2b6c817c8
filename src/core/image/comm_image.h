#pragma once

// The communication settings of ParGen.xml as they go into the image. The two
// banks read them differently: bank2.bin gives every setting a fallback,
// bank.bin copies the numbers as they are and refuses a project whose
// settings it cannot read.

#include <cstdint>
#include <optional>

#include "core/commsettings/pargen_file.h"
#include "core/image/image_error.h"
#include "core/image/image_layout.h"

namespace sw48230 {

// The bit rate of a CAN_Baud index: 0..6 as listed by the settings screen,
// 1000000 for 7 and for every index outside the list.
std::uint32_t CAN_Bit_Rate_For(std::int32_t index);

// Sets CAN_Bit_Rate, IP_Address, Subnet_Mask, Gateway and Time_Out of
// `block`. Each element that is missing or not a number gets its own
// fallback, and the gateway is 255.255.255.255 unless En_GAT is present and
// other than "0". A file that is missing or cannot be parsed leaves the block
// as it was: the device-type test of the build has refused the latter
// already.
void Read_Communication_Settings(const ParGenFile& file, General_Block& block);

// The settings of bank.bin, each element's number stored as its low 8 or 16
// bits. There is no fallback: a missing file, a file that cannot be parsed, a
// missing element or a text that is not a number fails, naming the first
// element that could not be read.
Result<Bank_Params> Read_Bank_Params(const ParGenFile& file);

// Appends Bank_Params with the two row counts to `bank`. On an error nothing
// is appended, and the bank.bin build is to be abandoned as a whole.
[[nodiscard]] std::optional<ImageError> Write_Bank_Params(const ParGenFile& file, std::uint16_t request_rows,
                                                          std::uint16_t setting_rows, Bytes& bank);

}  // namespace sw48230
