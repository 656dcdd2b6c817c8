#pragma once

// The configuration image as the device loads it: bank2.bin for dip-switch
// hardware, bank.bin for every other device type. The structs hold the
// values; the serialisers alone decide where each byte goes, so that the
// builders never deal with offsets or byte order.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sw48230 {

using Bytes = std::vector<std::uint8_t>;

// The bytes as the file writer takes them.
inline std::string_view as_chars(const Bytes& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// An IPv4 address in reading order: [0] is the first address byte.
using Ipv4Bytes = std::array<std::uint8_t, 4>;

// The server address of a request record is one number whose most
// significant byte is the first address byte.
std::uint32_t Ip_Address_Number(const Ipv4Bytes& address);
Ipv4Bytes Ip_Address_Bytes(std::uint32_t number);
// The dotted decimal text, such as "192.168.0.11".
std::string Ip_Address_Text(const Ipv4Bytes& address);

// ---- bank2.bin ---------------------------------------------------------

inline constexpr std::size_t Request_Record_Size = 32;
inline constexpr std::size_t Request_Record_Count = 1024;
inline constexpr std::size_t Records_Size = Request_Record_Size * Request_Record_Count;  // 32768
inline constexpr std::size_t General_Block_Size = 2048;
inline constexpr std::size_t General_Block_Checksum_Offset = 2044;
inline constexpr std::size_t Bank2_Size = Records_Size + General_Block_Size;  // 34816

// The largest image either bank can hold in memory.
inline constexpr std::size_t Bank_Buffer_Size = 100000;

// The port given to a request without a port of its own.
inline constexpr std::uint16_t Default_Modbus_Port = 502;

namespace modbus_function {
inline constexpr std::uint8_t None = 0;  // a write request of unknown type
inline constexpr std::uint8_t Read_Coils = 1;
inline constexpr std::uint8_t Read_Discrete_Inputs = 2;
inline constexpr std::uint8_t Read_Holding_Registers = 3;
inline constexpr std::uint8_t Read_Input_Registers = 4;
inline constexpr std::uint8_t Write_Single_Coil = 5;
inline constexpr std::uint8_t Write_Single_Register = 6;
inline constexpr std::uint8_t Write_Multiple_Coils = 15;
inline constexpr std::uint8_t Write_Multiple_Registers = 16;
}  // namespace modbus_function

// Bit 31 of a record's COB: the identifier is a 29-bit one.
inline constexpr std::uint32_t COB_29_Bit_Flag = 0x80000000u;
// Bit 2 of a record's Flags: the two bytes of each register are swapped.
inline constexpr std::uint8_t Flags_Swap = 0x04u;

// The data bytes the device moves for one request: a bit per coil or input
// for the coil functions (1, 2, 5, 15), two bytes per register otherwise,
// modulo 256 as the one-byte field holds it.
std::uint8_t Byte_Count_For(std::uint8_t function, std::uint16_t quantity);

// One request as the device keeps it. The reserved bytes are not held: they
// are always written as zero.
struct Request_Record {
  std::uint16_t Slot_Offset = 0;  // 8 x the record's position within its own table
  std::uint32_t Poll_Time = 0;
  std::uint8_t ID_Modbus = 0;
  std::uint8_t Function = 0;
  std::uint16_t Address_Word = 0;
  std::uint16_t Quantity = 0;
  std::uint16_t Port = 0;
  std::uint32_t IP_Address = 0;  // see Ip_Address_Number
  std::uint32_t COB = 0;         // identifier in bits 28..0, COB_29_Bit_Flag
  std::uint32_t Max_Error = 0;
  std::uint8_t Byte_Count = 0;  // see Byte_Count_For
  std::uint8_t Flags = 0;       // Flags_Swap

  bool operator==(const Request_Record&) const = default;
};

using RequestRecords = std::array<Request_Record, Request_Record_Count>;

// The variable fields of the general block. Its fixed values
// (General_Block_Constants) and the checksum are the serialiser's business,
// so a block that starts as {} is the initial block of every build.
struct General_Block {
  std::uint32_t CAN_Bit_Rate = 0;  // bit/s
  std::uint32_t Time_Out = 0;      // ms
  Ipv4Bytes IP_Address{};
  Ipv4Bytes Subnet_Mask{};
  Ipv4Bytes Gateway{};  // 255.255.255.255 when no gateway is used
  std::uint16_t Default_Port = 0;
  std::uint32_t Record_Count = 0;  // Request_Count + Setting_Count
  std::uint32_t Request_Count = 0;
  std::uint32_t Setting_Count = 0;

  bool operator==(const General_Block&) const = default;
};

// A field of the general block whose value never changes.
struct GeneralBlockConstant {
  std::size_t offset;  // within the block
  std::size_t size;    // 2 or 4 bytes
  std::uint32_t value;
  const char* name;
};
inline constexpr GeneralBlockConstant General_Block_Constants[] = {
    {12, 4, 9600, "Fixed_Speed_A"},       {16, 2, 8, "Fixed_Bits_A"},           {52, 2, 10000, "Application_Port"},
    {60, 4, 9600, "Fixed_Speed_B"},       {64, 2, 8, "Fixed_Bits_B"},           {196, 4, 0x60000, "Fixed_Address_A"},
    {296, 4, 0x58000, "Fixed_Address_B"}, {300, 4, 0x59000, "Fixed_Address_C"}, {304, 4, 0x5A000, "Fixed_Address_D"},
    {308, 4, 0x61000, "Fixed_Address_E"},
};

// bank2.bin in memory: every record after the filled ones stays {}.
struct Bank2Image {
  RequestRecords records{};
  General_Block general;
};

// Append the 1024 records (32768 bytes) and the general block (2048 bytes)
// to `out`; the size of `out` afterwards is the offset of what follows.
void Serialize_Request_Record(const Request_Record& record, Bytes& out);
void Serialize_Records(const RequestRecords& records, Bytes& out);
void Serialize_General_Block(const General_Block& block, Bytes& out);

// The whole bank2.bin, 34816 bytes.
Bytes Serialize_Bank2(const Bank2Image& image);

// The checksum of a general block: the sum of its first 2044 bytes.
std::uint32_t General_Block_Checksum(std::span<const std::uint8_t, General_Block_Size> block);

// Reading back what the serialisers wrote. Reserved bytes, the constants and
// the stored checksum are not looked at: checking them is the decoder's job.
Request_Record Parse_Request_Record(std::span<const std::uint8_t, Request_Record_Size> bytes);
General_Block Parse_General_Block(std::span<const std::uint8_t, General_Block_Size> bytes);

// ---- bank.bin ----------------------------------------------------------

inline constexpr std::size_t Bank_Header_Size = 12;
inline constexpr std::size_t Bank_Row_Size = 13;
inline constexpr std::size_t Bank_Params_Size = 24;
// Rows each table may bring into bank.bin.
inline constexpr std::size_t Bank_Table_Row_Limit = 1000;

// One request row of bank.bin. Unlike a request record it carries no 29-bit
// flag (the frame format is project-wide in Bank_Params) and its address is
// in reading order.
struct Bank_Row {
  std::uint32_t COB = 0;
  Ipv4Bytes IP_Address{};
  std::uint16_t Address_Word = 0;
  std::uint8_t ID_Modbus = 0;
  // 1 coils, 2 inputs, 3 holding registers, 4 input registers; write rows
  // use 1 for coils and 3 for registers.
  std::uint8_t Type_Code = 0;
  std::uint8_t Quantity = 0;  // modulo 256

  bool operator==(const Bank_Row&) const = default;
};

// The communication settings of bank.bin, copied from ParGen.xml as numbers
// without any range check. The two row counts follow them in the file but
// are given by the rows themselves.
struct Bank_Params {
  std::uint8_t CAN_Baud_Code = 0;  // the bit-rate index + 1, 1..8
  std::uint8_t CAN_Type = 0;       // 0 11-bit, 1 29-bit identifiers
  Ipv4Bytes IP_Address{};
  Ipv4Bytes Subnet_Mask{};
  std::uint16_t Time_Out = 0;
  std::uint16_t Port = 0;
  std::uint8_t En_GAT = 0;
  Ipv4Bytes Gateway{};  // as typed, whatever En_GAT says
  std::uint8_t Dis_Sock = 0;

  bool operator==(const Bank_Params&) const = default;
};

void Append_Bank_Row(const Bank_Row& row, Bytes& bank);
void Append_Bank_Params(const Bank_Params& params, std::uint16_t request_rows, std::uint16_t setting_rows, Bytes& bank);

Bank_Row Parse_Bank_Row(std::span<const std::uint8_t, Bank_Row_Size> bytes);
// The last four bytes, the row counts, are left to the caller.
Bank_Params Parse_Bank_Params(std::span<const std::uint8_t, Bank_Params_Size> bytes);

}  // namespace sw48230
