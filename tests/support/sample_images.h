#pragma once

// Small, consistent configuration images for the tests that read images
// back: every field holds a value that no other field of its record shares,
// so that a field read from the wrong place shows.

#include <vector>

#include "core/image/image_layout.h"
#include "support/bank_bytes.h"

namespace sw48230::test {

// Two read requests and one write request.
inline Bank2Image sample_bank2() {
  Bank2Image image;
  General_Block& g = image.general;
  g.CAN_Bit_Rate = 250000;
  g.Time_Out = 70000;
  g.IP_Address = {192, 168, 0, 10};
  g.Subnet_Mask = {255, 255, 255, 0};
  g.Gateway = {192, 168, 0, 1};
  g.Default_Port = Default_Modbus_Port;
  g.Request_Count = 2;
  g.Setting_Count = 1;
  g.Record_Count = 3;

  Request_Record& first = image.records[0];
  first.Slot_Offset = 0;
  first.Poll_Time = 1500;
  first.ID_Modbus = 17;
  first.Function = modbus_function::Read_Holding_Registers;
  first.Address_Word = 40001;
  first.Quantity = 4;
  first.Port = 5020;
  first.IP_Address = Ip_Address_Number({192, 168, 0, 11});
  first.COB = 0x123 | COB_29_Bit_Flag;
  first.Max_Error = 3;
  first.Byte_Count = 8;
  first.Flags = Flags_Swap;

  Request_Record& second = image.records[1];
  second.Slot_Offset = 8;
  second.Poll_Time = 100;
  second.ID_Modbus = 1;
  second.Function = modbus_function::Read_Coils;
  second.Address_Word = 7;
  second.Quantity = 64;
  second.Port = 502;
  second.IP_Address = Ip_Address_Number({10, 0, 0, 2});
  second.COB = 0x7FF;
  second.Max_Error = 0;
  second.Byte_Count = 8;

  Request_Record& third = image.records[2];
  third.Slot_Offset = 0;
  third.ID_Modbus = 255;
  third.Function = modbus_function::Write_Multiple_Coils;
  third.Address_Word = 0;
  third.Quantity = 16;
  third.Port = 502;
  third.IP_Address = Ip_Address_Number({172, 16, 5, 9});
  third.COB = 0x1ABCDEF | COB_29_Bit_Flag;
  third.Byte_Count = 2;
  return image;
}

// Each table sorted by COB, as the bank.bin reader leaves them; the two
// write rows share a COB, which a stable sort allows.
inline std::vector<Bank_Row> sample_bank_request_rows() {
  return {{0x100, {192, 168, 0, 11}, 40001, 17, 3, 4}, {0x200, {10, 0, 0, 2}, 7, 1, 1, 64}};
}
inline std::vector<Bank_Row> sample_bank_setting_rows() {
  return {{0x300, {172, 16, 5, 9}, 0, 255, 1, 16}, {0x300, {172, 16, 5, 10}, 9, 2, 3, 2}};
}
inline Bank_Params sample_bank_params() {
  return {5, 1, {192, 168, 0, 10}, {255, 255, 255, 0}, 4464, 502, 0, {192, 168, 0, 1}, 1};
}
inline Bytes sample_bank() {
  return bank_bytes(sample_bank_request_rows(), sample_bank_setting_rows(), sample_bank_params());
}

}  // namespace sw48230::test
