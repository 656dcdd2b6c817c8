#include "core/image/image_layout.h"

#include <algorithm>

#include "core/image/byte_order.h"

namespace sw48230 {
namespace {

using namespace image_bytes;

// Offsets within a request record.
namespace record {
constexpr std::size_t Slot_Offset = 0;
constexpr std::size_t Poll_Time = 4;
constexpr std::size_t ID_Modbus = 8;
constexpr std::size_t Function = 9;
constexpr std::size_t Address_Word = 10;
constexpr std::size_t Quantity = 12;
constexpr std::size_t Port = 14;
constexpr std::size_t IP_Address = 16;
constexpr std::size_t COB = 20;
constexpr std::size_t Max_Error = 24;
constexpr std::size_t Byte_Count = 30;
constexpr std::size_t Flags = 31;
}  // namespace record

// Offsets within the general block.
namespace general {
constexpr std::size_t CAN_Bit_Rate = 0;
constexpr std::size_t Time_Out = 32;
constexpr std::size_t IP_Address = 40;
constexpr std::size_t Subnet_Mask = 44;
constexpr std::size_t Gateway = 48;
constexpr std::size_t Default_Port = 54;
constexpr std::size_t Record_Count = 72;
constexpr std::size_t Request_Count = 288;
constexpr std::size_t Setting_Count = 292;
}  // namespace general

// Offsets within a bank.bin row.
namespace bank_row {
constexpr std::size_t COB = 0;
constexpr std::size_t IP_Address = 4;
constexpr std::size_t Address_Word = 8;
constexpr std::size_t ID_Modbus = 10;
constexpr std::size_t Type_Code = 11;
constexpr std::size_t Quantity = 12;
}  // namespace bank_row

// Offsets within Bank_Params.
namespace bank_params {
constexpr std::size_t CAN_Baud_Code = 0;
constexpr std::size_t CAN_Type = 1;
constexpr std::size_t IP_Address = 2;
constexpr std::size_t Subnet_Mask = 6;
constexpr std::size_t Time_Out = 10;
constexpr std::size_t Port = 12;
constexpr std::size_t En_GAT = 14;
constexpr std::size_t Gateway = 15;
constexpr std::size_t Dis_Sock = 19;
}  // namespace bank_params

void put_address(std::span<std::uint8_t> out, std::size_t offset, const Ipv4Bytes& address) {
  std::copy(address.begin(), address.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
}

Ipv4Bytes get_address(std::span<const std::uint8_t> in, std::size_t offset) {
  return {in[offset], in[offset + 1], in[offset + 2], in[offset + 3]};
}

void append_address(Bytes& out, const Ipv4Bytes& address) { out.insert(out.end(), address.begin(), address.end()); }

}  // namespace

std::uint32_t Ip_Address_Number(const Ipv4Bytes& address) {
  return (std::uint32_t{address[0]} << 24) | (std::uint32_t{address[1]} << 16) | (std::uint32_t{address[2]} << 8) |
         std::uint32_t{address[3]};
}

Ipv4Bytes Ip_Address_Bytes(std::uint32_t number) {
  return {static_cast<std::uint8_t>(number >> 24), static_cast<std::uint8_t>((number >> 16) & 0xFFu),
          static_cast<std::uint8_t>((number >> 8) & 0xFFu), static_cast<std::uint8_t>(number & 0xFFu)};
}

std::string Ip_Address_Text(const Ipv4Bytes& address) {
  return std::to_string(address[0]) + '.' + std::to_string(address[1]) + '.' + std::to_string(address[2]) + '.' +
         std::to_string(address[3]);
}

std::uint8_t Byte_Count_For(std::uint8_t function, std::uint16_t quantity) {
  using namespace modbus_function;
  const bool bits = function == Read_Coils || function == Read_Discrete_Inputs || function == Write_Single_Coil ||
                    function == Write_Multiple_Coils;
  const std::uint32_t count = bits ? (std::uint32_t{quantity} + 7u) / 8u : 2u * (std::uint32_t{quantity} % 256u);
  return static_cast<std::uint8_t>(count % 256u);
}

void Serialize_Request_Record(const Request_Record& r, Bytes& out) {
  std::array<std::uint8_t, Request_Record_Size> bytes{};
  put_u16(bytes, record::Slot_Offset, r.Slot_Offset);
  put_u32(bytes, record::Poll_Time, r.Poll_Time);
  bytes[record::ID_Modbus] = r.ID_Modbus;
  bytes[record::Function] = r.Function;
  put_u16(bytes, record::Address_Word, r.Address_Word);
  put_u16(bytes, record::Quantity, r.Quantity);
  put_u16(bytes, record::Port, r.Port);
  put_u32(bytes, record::IP_Address, r.IP_Address);
  put_u32(bytes, record::COB, r.COB);
  put_u32(bytes, record::Max_Error, r.Max_Error);
  bytes[record::Byte_Count] = r.Byte_Count;
  bytes[record::Flags] = r.Flags;
  out.insert(out.end(), bytes.begin(), bytes.end());
}

void Serialize_Records(const RequestRecords& records, Bytes& out) {
  out.reserve(out.size() + Records_Size);
  for (const Request_Record& r : records) Serialize_Request_Record(r, out);
}

void Serialize_General_Block(const General_Block& g, Bytes& out) {
  std::array<std::uint8_t, General_Block_Size> bytes{};
  put_u32(bytes, general::CAN_Bit_Rate, g.CAN_Bit_Rate);
  put_u32(bytes, general::Time_Out, g.Time_Out);
  put_address(bytes, general::IP_Address, g.IP_Address);
  put_address(bytes, general::Subnet_Mask, g.Subnet_Mask);
  put_address(bytes, general::Gateway, g.Gateway);
  put_u16(bytes, general::Default_Port, g.Default_Port);
  put_u32(bytes, general::Record_Count, g.Record_Count);
  put_u32(bytes, general::Request_Count, g.Request_Count);
  put_u32(bytes, general::Setting_Count, g.Setting_Count);
  for (const GeneralBlockConstant& constant : General_Block_Constants) {
    if (constant.size == 2) {
      put_u16(bytes, constant.offset, static_cast<std::uint16_t>(constant.value));
    } else {
      put_u32(bytes, constant.offset, constant.value);
    }
  }
  put_u32(bytes, General_Block_Checksum_Offset, General_Block_Checksum(bytes));
  out.insert(out.end(), bytes.begin(), bytes.end());
}

Bytes Serialize_Bank2(const Bank2Image& image) {
  Bytes out;
  out.reserve(Bank2_Size);
  Serialize_Records(image.records, out);
  Serialize_General_Block(image.general, out);
  return out;
}

std::uint32_t General_Block_Checksum(std::span<const std::uint8_t, General_Block_Size> block) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < General_Block_Checksum_Offset; ++i) sum += block[i];
  return sum;
}

Request_Record Parse_Request_Record(std::span<const std::uint8_t, Request_Record_Size> bytes) {
  Request_Record r;
  r.Slot_Offset = get_u16(bytes, record::Slot_Offset);
  r.Poll_Time = get_u32(bytes, record::Poll_Time);
  r.ID_Modbus = bytes[record::ID_Modbus];
  r.Function = bytes[record::Function];
  r.Address_Word = get_u16(bytes, record::Address_Word);
  r.Quantity = get_u16(bytes, record::Quantity);
  r.Port = get_u16(bytes, record::Port);
  r.IP_Address = get_u32(bytes, record::IP_Address);
  r.COB = get_u32(bytes, record::COB);
  r.Max_Error = get_u32(bytes, record::Max_Error);
  r.Byte_Count = bytes[record::Byte_Count];
  r.Flags = bytes[record::Flags];
  return r;
}

General_Block Parse_General_Block(std::span<const std::uint8_t, General_Block_Size> bytes) {
  General_Block g;
  g.CAN_Bit_Rate = get_u32(bytes, general::CAN_Bit_Rate);
  g.Time_Out = get_u32(bytes, general::Time_Out);
  g.IP_Address = get_address(bytes, general::IP_Address);
  g.Subnet_Mask = get_address(bytes, general::Subnet_Mask);
  g.Gateway = get_address(bytes, general::Gateway);
  g.Default_Port = get_u16(bytes, general::Default_Port);
  g.Record_Count = get_u32(bytes, general::Record_Count);
  g.Request_Count = get_u32(bytes, general::Request_Count);
  g.Setting_Count = get_u32(bytes, general::Setting_Count);
  return g;
}

void Append_Bank_Row(const Bank_Row& row, Bytes& bank) {
  append_u32(bank, row.COB);
  append_address(bank, row.IP_Address);
  append_u16(bank, row.Address_Word);
  append_u8(bank, row.ID_Modbus);
  append_u8(bank, row.Type_Code);
  append_u8(bank, row.Quantity);
}

void Append_Bank_Params(const Bank_Params& params, std::uint16_t request_rows, std::uint16_t setting_rows,
                        Bytes& bank) {
  append_u8(bank, params.CAN_Baud_Code);
  append_u8(bank, params.CAN_Type);
  append_address(bank, params.IP_Address);
  append_address(bank, params.Subnet_Mask);
  append_u16(bank, params.Time_Out);
  append_u16(bank, params.Port);
  append_u8(bank, params.En_GAT);
  append_address(bank, params.Gateway);
  append_u8(bank, params.Dis_Sock);
  append_u16(bank, request_rows);
  append_u16(bank, setting_rows);
}

Bank_Row Parse_Bank_Row(std::span<const std::uint8_t, Bank_Row_Size> bytes) {
  Bank_Row row;
  row.COB = get_u32(bytes, bank_row::COB);
  row.IP_Address = get_address(bytes, bank_row::IP_Address);
  row.Address_Word = get_u16(bytes, bank_row::Address_Word);
  row.ID_Modbus = bytes[bank_row::ID_Modbus];
  row.Type_Code = bytes[bank_row::Type_Code];
  row.Quantity = bytes[bank_row::Quantity];
  return row;
}

Bank_Params Parse_Bank_Params(std::span<const std::uint8_t, Bank_Params_Size> bytes) {
  Bank_Params params;
  params.CAN_Baud_Code = bytes[bank_params::CAN_Baud_Code];
  params.CAN_Type = bytes[bank_params::CAN_Type];
  params.IP_Address = get_address(bytes, bank_params::IP_Address);
  params.Subnet_Mask = get_address(bytes, bank_params::Subnet_Mask);
  params.Time_Out = get_u16(bytes, bank_params::Time_Out);
  params.Port = get_u16(bytes, bank_params::Port);
  params.En_GAT = bytes[bank_params::En_GAT];
  params.Gateway = get_address(bytes, bank_params::Gateway);
  params.Dis_Sock = bytes[bank_params::Dis_Sock];
  return params;
}

}  // namespace sw48230
