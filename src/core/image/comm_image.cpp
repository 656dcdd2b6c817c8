#include "core/image/comm_image.h"

#include <array>
#include <string>
#include <utility>

#include "core/common/number_text.h"
#include "core/commsettings/comm_settings.h"
#include "core/commsettings/pargen_format.h"

namespace sw48230 {
namespace {

constexpr Ipv4Bytes No_Gateway = {255, 255, 255, 255};

constexpr std::array<std::uint32_t, 7> Listed_Bit_Rates = {20000, 50000, 100000, 125000, 250000, 500000, 800000};
constexpr std::uint32_t Top_Bit_Rate = 1000000;

std::int32_t number_or(const ParGenFile& file, const char* name, std::int32_t fallback) {
  const auto& text = file.text(name);
  return text ? to_int32(*text, fallback) : fallback;
}

Ipv4Bytes address_or(const ParGenFile& file, const std::array<const char*, 4>& names, const Ipv4Bytes& fallback) {
  Ipv4Bytes address{};
  for (std::size_t i = 0; i < address.size(); ++i) {
    address[i] = static_cast<std::uint8_t>(number_or(file, names[i], fallback[i]) & 0xFF);
  }
  return address;
}

// Reads the elements of bank.bin one after the other and keeps the first
// failure; once one has failed the others are not looked at.
class StrictReader {
 public:
  StrictReader(const ParGenFile& root, std::string file) : root_(root), file_(std::move(file)) {}

  std::int32_t number(const char* name) {
    if (failed()) return 0;
    const auto& text = root_.text(name);
    if (!text) {
      error_ = Element_Missing(file_, name);
      return 0;
    }
    const auto value = parse_int32(*text);
    if (!value) {
      error_ = Element_Not_A_Number(file_, name, *text);
      return 0;
    }
    return *value;
  }
  std::uint8_t u8(const char* name) { return static_cast<std::uint8_t>(number(name) & 0xFF); }
  std::uint16_t u16(const char* name) { return static_cast<std::uint16_t>(number(name) & 0xFFFF); }
  Ipv4Bytes address(const std::array<const char*, 4>& names) {
    Ipv4Bytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = u8(names[i]);
    return bytes;
  }

  bool failed() const { return error_.has_value(); }
  const ImageError& error() const { return *error_; }

 private:
  const ParGenFile& root_;
  std::string file_;
  std::optional<ImageError> error_;
};

}  // namespace

std::uint32_t CAN_Bit_Rate_For(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= Listed_Bit_Rates.size()) return Top_Bit_Rate;
  return Listed_Bit_Rates[static_cast<std::size_t>(index)];
}

void Read_Communication_Settings(const ParGenFile& file, General_Block& block) {
  if (file.failure) return;

  namespace fallback = pargen::image_fallback;
  block.CAN_Bit_Rate = CAN_Bit_Rate_For(number_or(file, pargen::CAN_Baud, fallback::CAN_Baud));
  block.IP_Address = address_or(file, pargen::TCP_IP, fallback::TCP_IP);
  block.Subnet_Mask = address_or(file, pargen::TCP_SUB, fallback::TCP_SUB);
  block.Gateway = address_or(file, pargen::TCP_GAT, fallback::TCP_GAT);
  // Only an explicit "0" or a missing flag switches the gateway off; any
  // other text, the empty one too, is the ticked check box.
  const auto& en_gat = file.text(pargen::En_GAT);
  if (!en_gat || *en_gat == "0") block.Gateway = No_Gateway;
  block.Time_Out = static_cast<std::uint32_t>(number_or(file, pargen::Time_Out, fallback::Time_Out));
}

Result<Bank_Params> Read_Bank_Params(const ParGenFile& file) {
  if (file.failure) return *file.failure;

  StrictReader read(file, ParGen_File_Name);
  Bank_Params params;
  // The order of the file, so that the error names the first bad element.
  params.CAN_Baud_Code =
      static_cast<std::uint8_t>((static_cast<std::uint32_t>(read.number(pargen::CAN_Baud)) + 1u) & 0xFFu);
  params.CAN_Type = read.u8(pargen::CAN_Type);
  params.IP_Address = read.address(pargen::TCP_IP);
  params.Subnet_Mask = read.address(pargen::TCP_SUB);
  params.Time_Out = read.u16(pargen::Time_Out);
  params.Port = read.u16(pargen::Port);
  params.En_GAT = read.u8(pargen::En_GAT);
  params.Gateway = read.address(pargen::TCP_GAT);
  params.Dis_Sock = read.u8(pargen::Dis_Sock);
  if (read.failed()) return read.error();
  return params;
}

std::optional<ImageError> Write_Bank_Params(const ParGenFile& file, std::uint16_t request_rows,
                                            std::uint16_t setting_rows, Bytes& bank) {
  const Result<Bank_Params> params = Read_Bank_Params(file);
  if (!params) return params.failure();
  Append_Bank_Params(*params, request_rows, setting_rows, bank);
  return std::nullopt;
}

}  // namespace sw48230
