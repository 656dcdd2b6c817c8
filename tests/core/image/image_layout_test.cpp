#include "core/image/image_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "core/commsettings/comm_settings.h"
#include "core/image/comm_image.h"
#include "support/bank_bytes.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::TempDir;

struct Patch {
  std::size_t offset;
  std::vector<std::uint8_t> bytes;
};

// `size` zero bytes with the given bytes laid over them.
Bytes bytes_with(std::size_t size, const std::vector<Patch>& patches) {
  Bytes bytes(size, 0);
  for (const Patch& patch : patches) std::copy(patch.bytes.begin(), patch.bytes.end(), bytes.begin() + patch.offset);
  return bytes;
}

Bytes slice(const Bytes& bytes, std::size_t offset, std::size_t size) {
  return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
               bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

// The general block of a new dip-switch project set to 250 kbit/s, address
// 192.168.0.10/24, no gateway and a time-out of 1000 ms, read from its
// ParGen.xml as the build does, with the default port the request reader
// sets.
General_Block empty_project_block() {
  CommSettings settings;
  settings.CAN_Baud = 4;
  TempDir dir;
  const auto file = dir / "ParGen.xml";
  EXPECT_FALSE(Save_Comm_Settings(file, settings));
  General_Block block;
  Read_Communication_Settings(Read_ParGen_File(file), block);
  block.Default_Port = Default_Modbus_Port;
  return block;
}

// Every byte of that block, from the layout's table of fields.
std::vector<Patch> empty_project_block_bytes() {
  return {
      {0, {0x90, 0xD0, 0x03, 0x00}},     // CAN_Bit_Rate 250000
      {12, {0x80, 0x25}},                // 9600
      {16, {0x08}},                      // 8
      {32, {0xE8, 0x03}},                // Time_Out 1000
      {40, {192, 168, 0, 10}},           // IP_Address in reading order
      {44, {255, 255, 255, 0}},          // Subnet_Mask
      {48, {255, 255, 255, 255}},        // no gateway
      {52, {0x10, 0x27}},                // 10000
      {54, {0xF6, 0x01}},                // Default_Port 502
      {60, {0x80, 0x25}},                // 9600
      {64, {0x08}},                      // 8
      {196, {0x00, 0x00, 0x06, 0x00}},   // 0x60000
      {296, {0x00, 0x80, 0x05, 0x00}},   // 0x58000
      {300, {0x00, 0x90, 0x05, 0x00}},   // 0x59000
      {304, {0x00, 0xA0, 0x05, 0x00}},   // 0x5A000
      {308, {0x00, 0x10, 0x06, 0x00}},   // 0x61000
      {2044, {0x1C, 0x0F, 0x00, 0x00}},  // checksum 3868
  };
}

// A read request as the request reader will build it from a row.
Request_Record sample_request() {
  Request_Record r;
  r.Slot_Offset = 0;
  r.Poll_Time = 1000;
  r.ID_Modbus = 1;
  r.Function = modbus_function::Read_Holding_Registers;
  r.Address_Word = 0x1234;
  r.Quantity = 4;
  r.Port = 502;
  r.IP_Address = Ip_Address_Number({192, 168, 0, 11});
  r.COB = 0x123 | COB_29_Bit_Flag;
  r.Max_Error = 3;
  r.Byte_Count = Byte_Count_For(r.Function, r.Quantity);
  r.Flags = Flags_Swap;
  return r;
}

TEST(Bank2Layout, AnEmptyProjectIsZeroRecordsAndAGeneralBlockSummingTo3868) {
  Bank2Image image;
  image.general = empty_project_block();
  const Bytes bank2 = Serialize_Bank2(image);

  ASSERT_EQ(bank2.size(), Bank2_Size);
  EXPECT_TRUE(std::all_of(bank2.begin(), bank2.begin() + 32768, [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(slice(bank2, 32768, 2048), bytes_with(2048, empty_project_block_bytes()));
  EXPECT_EQ(slice(bank2, 34812, 4), (Bytes{0x1C, 0x0F, 0x00, 0x00}));
}

TEST(Bank2Layout, ARecordChangesOnlyTheCountsAndItsOwnBytes) {
  Bank2Image image;
  image.general = empty_project_block();
  image.records[0] = sample_request();
  image.general.Record_Count = image.general.Request_Count = 1;
  const Bytes bank2 = Serialize_Bank2(image);

  // The records lie outside the sum: only the two counts add to it.
  Bytes expected_block = bytes_with(2048, empty_project_block_bytes());
  expected_block[72] = 1;
  expected_block[288] = 1;
  expected_block[2044] = 0x1E;  // 3870
  EXPECT_EQ(slice(bank2, 32768, 2048), expected_block);

  const Bytes expected_record = {
      0x00, 0x00,              // Slot_Offset
      0x00, 0x00,              // reserved
      0xE8, 0x03, 0x00, 0x00,  // Poll_Time 1000
      0x01,                    // ID_Modbus
      0x03,                    // Function
      0x34, 0x12,              // Address_Word
      0x04, 0x00,              // Quantity
      0xF6, 0x01,              // Port 502
      0x0B, 0x00, 0xA8, 0xC0,  // 192.168.0.11 as a number, first byte most significant
      0x23, 0x01, 0x00, 0x80,  // 0x123 with the 29-bit flag
      0x03, 0x00, 0x00, 0x00,  // Max_Error
      0x00, 0x00,              // reserved
      0x08,                    // Byte_Count
      0x04,                    // Flags: swap
  };
  EXPECT_EQ(slice(bank2, 0, 32), expected_record);
  EXPECT_TRUE(std::all_of(bank2.begin() + 32, bank2.begin() + 32768, [](std::uint8_t b) { return b == 0; }));
}

TEST(Bank2Layout, RecordNStartsAt32TimesN) {
  RequestRecords records{};
  records[1023].Slot_Offset = 0xBEEF;
  records[2].COB = 0x7FF;  // an 11-bit identifier has no flag
  Bytes out = {0xAA};      // appended after what is already there
  Serialize_Records(records, out);

  ASSERT_EQ(out.size(), 1 + Records_Size);
  EXPECT_EQ(slice(out, 1 + 2 * 32 + 20, 4), (Bytes{0xFF, 0x07, 0x00, 0x00}));
  EXPECT_EQ(slice(out, 1 + 1023 * 32, 2), (Bytes{0xEF, 0xBE}));
}

TEST(Bank2Layout, TheChecksumAddsTheBytesOfTheBlockOnly) {
  General_Block block;
  block.Time_Out = 0xFFFFFFFF;
  block.Gateway = {255, 255, 255, 255};
  Bytes out;
  Serialize_General_Block(block, out);
  ASSERT_EQ(out.size(), General_Block_Size);
  // The constants add 876; eight bytes of 255 add 2040.
  EXPECT_EQ(slice(out, 2044, 4), (Bytes{0x64, 0x0B, 0x00, 0x00}));  // 2916
  EXPECT_EQ(General_Block_Checksum(std::span<const std::uint8_t, General_Block_Size>(out.data(), General_Block_Size)),
            2916u);
}

TEST(ImageLayout, ByteCountIsOneBitPerCoilAndTwoBytesPerRegister) {
  const struct {
    std::uint8_t function;
    std::uint16_t quantity;
    std::uint8_t expected;
  } cases[] = {
      {3, 4, 8},    {4, 4, 8},    {1, 64, 8},    {1, 1, 1}, {2, 9, 2}, {5, 1, 1},     {15, 16, 2},
      {15, 17, 3},  {6, 1, 2},    {16, 4, 8},    {0, 3, 6}, {7, 3, 6}, {3, 200, 144},  // 400 modulo 256
      {16, 256, 0}, {16, 257, 2},                 // registers count modulo 256 first
      {1, 2048, 0}, {1, 2056, 1}, {2, 65535, 0},  // (65535 + 7) / 8 = 8192, no 16-bit overflow
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "function " << int(c.function) << " quantity " << c.quantity);
    EXPECT_EQ(Byte_Count_For(c.function, c.quantity), c.expected);
  }
}

TEST(ImageLayout, AddressesAreInReadingOrderExceptTheRecordNumber) {
  const Ipv4Bytes server = {192, 168, 0, 11};
  EXPECT_EQ(Ip_Address_Number(server), 0xC0A8000Bu);
  EXPECT_EQ(Ip_Address_Bytes(0xC0A8000Bu), server);

  Bank_Row row;
  row.IP_Address = server;
  row.COB = 0x123;
  Bytes bank;
  Append_Bank_Row(row, bank);
  EXPECT_EQ(slice(bank, 0, 8), (Bytes{0x23, 0x01, 0x00, 0x00, 0xC0, 0xA8, 0x00, 0x0B}));
}

TEST(BankLayout, AnEmptyProjectIsHeaderAndParamsOnly) {
  const Bytes bank = test::bank_bytes({}, {}, Bank_Params{});
  ASSERT_EQ(bank.size(), 36u);
  EXPECT_EQ(slice(bank, 0, 12), (Bytes{12, 0, 0, 0, 12, 0, 0, 0, 12, 0, 0, 0}));
  EXPECT_EQ(slice(bank, 32, 4), (Bytes{0, 0, 0, 0}));
}

TEST(BankLayout, HeaderOffsetsRowsAndParamsFollowEachOther) {
  const Bank_Row read_row = {0x100, {10, 0, 0, 1}, 0x0203, 7, 3, 4};
  const Bank_Row write_rows[] = {{0x1ABCDEF, {10, 0, 0, 2}, 40001, 255, 1, 16}, {0x300, {172, 16, 5, 9}, 0, 0, 3, 0}};
  Bank_Params params;
  params.CAN_Baud_Code = 5;
  params.CAN_Type = 1;
  params.IP_Address = {192, 168, 0, 10};
  params.Subnet_Mask = {255, 255, 255, 0};
  params.Time_Out = 4464;
  params.Port = 502;
  params.En_GAT = 0;
  params.Gateway = {192, 168, 0, 1};
  params.Dis_Sock = 1;

  const Bytes bank = test::bank_bytes({&read_row, 1}, write_rows, params);
  const Bytes expected = {
      12,   0,    0,    0,    25,  0,  0,   0,   51,   0,    0,    0,                 // header
      0x00, 0x01, 0x00, 0x00, 10,  0,  0,   1,   0x03, 0x02, 7,    3,    4,           // read row
      0xEF, 0xCD, 0xAB, 0x01, 10,  0,  0,   2,   0x41, 0x9C, 255,  1,    16,          // write rows
      0x00, 0x03, 0x00, 0x00, 172, 16, 5,   9,   0x00, 0x00, 0,    3,    0,           //
      5,    1,    192,  168,  0,   10, 255, 255, 255,  0,    0x70, 0x11, 0xF6, 0x01,  // Bank_Params
      0,    192,  168,  0,    1,   1,  1,   0,   2,    0,                             //   ... counts 1 and 2
  };
  EXPECT_EQ(bank, expected);
}

TEST(ImageLayout, ParsingReadsBackWhatWasSerialised) {
  Request_Record record = sample_request();
  record.Slot_Offset = 0x0102;
  record.Poll_Time = 0x03040506;
  record.Max_Error = 0x0708090A;
  Bytes bytes;
  Serialize_Request_Record(record, bytes);
  EXPECT_EQ(Parse_Request_Record(std::span<const std::uint8_t, 32>(bytes.data(), 32)), record);

  General_Block block = empty_project_block();
  block.Record_Count = 0x01020304;
  block.Request_Count = 0x05060708;
  block.Setting_Count = 0x090A0B0C;
  bytes.clear();
  Serialize_General_Block(block, bytes);
  EXPECT_EQ(Parse_General_Block(std::span<const std::uint8_t, 2048>(bytes.data(), 2048)), block);

  const Bank_Row row = {0x1FFFFFFF, {1, 2, 3, 4}, 0xABCD, 9, 4, 200};
  bytes.clear();
  Append_Bank_Row(row, bytes);
  EXPECT_EQ(Parse_Bank_Row(std::span<const std::uint8_t, 13>(bytes.data(), 13)), row);

  const Bank_Params params = {8, 1, {1, 2, 3, 4}, {5, 6, 7, 8}, 0xFFFF, 0x1234, 1, {9, 10, 11, 12}, 1};
  bytes.clear();
  Append_Bank_Params(params, 0, 0, bytes);
  EXPECT_EQ(Parse_Bank_Params(std::span<const std::uint8_t, 24>(bytes.data(), 24)), params);
}

}  // namespace
}  // namespace sw48230
