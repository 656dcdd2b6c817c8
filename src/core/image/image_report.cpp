#include "core/i18n/text_decoding.h"
#include "core/image/image_report.h"

#include <cstdio>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "core/image/comm_image.h"
#include "core/tables/table_kind.h"

namespace sw48230 {
namespace {

// ---- values ------------------------------------------------------------

std::string hex_text(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

// The identifier without the 29-bit flag, so that any stray bit above the
// identifier still shows.
std::uint32_t record_cob_id(const Request_Record& record) { return record.COB & ~COB_29_Bit_Flag; }
const char* record_cob_kind(const Request_Record& record) {
  return (record.COB & COB_29_Bit_Flag) != 0 ? "29-bit" : "11-bit";
}

// bank.bin rows carry no flag of their own: the project's CAN_Type decides.
const char* bank_cob_kind(std::uint8_t can_type) {
  switch (can_type) {
    case 0:
      return "11-bit";
    case 1:
      return "29-bit";
    default:
      return "unknown";
  }
}

std::string_view bank_type_name(std::uint8_t type_code) {
  switch (type_code) {
    case 1:
      return "coils";
    case 2:
      return "inputs";
    case 3:
      return "holding registers";
    case 4:
      return "input registers";
    default:
      return "unknown";
  }
}

bool swapped(const Request_Record& record) { return (record.Flags & Flags_Swap) != 0; }

// The bit rate a CAN_Baud code of bank.bin stands for; 0 outside 1..8.
std::uint32_t bank_bit_rate(std::uint8_t code) { return code >= 1 && code <= 8 ? CAN_Bit_Rate_For(code - 1) : 0; }

const char* layout_name(const DecodedImage& image) {
  return std::holds_alternative<DecodedBank2>(image.content) ? "bank2.bin" : "bank.bin";
}

// ---- text --------------------------------------------------------------

// Left-aligned columns separated by two blanks; the last one is not padded.
class TextTable {
 public:
  explicit TextTable(std::vector<std::size_t> widths) : widths_(std::move(widths)) {}

  std::string line(const std::vector<std::string>& cells) const {
    std::string text = "  ";
    for (std::size_t i = 0; i < cells.size(); ++i) {
      text += cells[i];
      if (i + 1 < cells.size()) text.append(widths_[i] > cells[i].size() ? widths_[i] - cells[i].size() + 2 : 2, ' ');
    }
    return text + '\n';
  }

 private:
  std::vector<std::size_t> widths_;
};

std::string field_line(std::string_view name, const std::string& value) {
  std::string text = "  ";
  text += name;
  text.append(name.size() < 16 ? 16 - name.size() : 1, ' ');
  return text + value + '\n';
}

void text_problems(const DecodedImage& image, std::string& out) {
  if (image.problems.empty()) {
    out += "\nProblems: none\n";
    return;
  }
  out += "\nProblems: " + std::to_string(image.problems.size()) + '\n';
  for (const std::string& problem : image.problems) out += "  - " + problem + '\n';
}

void text_bank2(const DecodedBank2& bank2, std::string& out) {
  const General_Block& g = bank2.image.general;
  out += "\nGeneral_Block\n";
  out += field_line("CAN_Bit_Rate", std::to_string(g.CAN_Bit_Rate) + " bit/s");
  out += field_line("Time_Out", std::to_string(g.Time_Out) + " ms");
  out += field_line("IP_Address", Ip_Address_Text(g.IP_Address));
  out += field_line("Subnet_Mask", Ip_Address_Text(g.Subnet_Mask));
  out += field_line("Gateway", Ip_Address_Text(g.Gateway));
  out += field_line("Default_Port", std::to_string(g.Default_Port));
  out += field_line("Record_Count", std::to_string(g.Record_Count));
  out += field_line("Request_Count", std::to_string(g.Request_Count));
  out += field_line("Setting_Count", std::to_string(g.Setting_Count));
  out += field_line("Checksum",
                    std::to_string(bank2.stored_checksum) + (bank2.stored_checksum == bank2.computed_checksum
                                                                 ? " (verified)"
                                                                 : " (DOES NOT VERIFY: the block adds up to " +
                                                                       std::to_string(bank2.computed_checksum) + ")"));

  const std::size_t filled = bank2.filled_records();
  out += "\nRecords: " + std::to_string(filled) + " filled of " + std::to_string(Request_Record_Count) + '\n';
  if (filled == 0) return;
  const TextTable table({4, 7, 5, 10, 6, 15, 5, 4, 28, 7, 8, 5, 10, 10, 4});
  out += table.line({"#", "table", "slot", "Cob-ID", "kind", "slave address", "port", "unit", "function", "address",
                     "quantity", "bytes", "poll time", "max error", "swap"});
  for (std::size_t i = 0; i < filled; ++i) {
    const Request_Record& r = bank2.image.records[i];
    out += table.line({std::to_string(i), Table_Kind_Of(bank2.is_request_record(i)).image_name,
                       std::to_string(r.Slot_Offset), hex_text(record_cob_id(r)), record_cob_kind(r),
                       Ip_Address_Text(Ip_Address_Bytes(r.IP_Address)), std::to_string(r.Port),
                       std::to_string(r.ID_Modbus),
                       std::to_string(r.Function) + ' ' + std::string(Modbus_Function_Name(r.Function)),
                       std::to_string(r.Address_Word), std::to_string(r.Quantity), std::to_string(r.Byte_Count),
                       std::to_string(r.Poll_Time), std::to_string(r.Max_Error), swapped(r) ? "Y" : "N"});
  }
}

void text_bank(const DecodedBank& bank, std::string& out) {
  out += "\nHeader\n";
  out += field_line("request rows at", std::to_string(bank.header[0]));
  out += field_line("setting rows at", std::to_string(bank.header[1]));
  out += field_line("Bank_Params at", std::to_string(bank.header[2]));

  const Bank_Params& p = bank.params;
  const std::uint32_t bit_rate = bank_bit_rate(p.CAN_Baud_Code);
  out += "\nBank_Params\n";
  out += field_line("CAN_Baud code", std::to_string(p.CAN_Baud_Code) +
                                         (bit_rate != 0 ? " (" + std::to_string(bit_rate) + " bit/s)" : " (unknown)"));
  out += field_line("CAN_Type", std::to_string(p.CAN_Type) + " (" + bank_cob_kind(p.CAN_Type) + ")");
  out += field_line("IP_Address", Ip_Address_Text(p.IP_Address));
  out += field_line("Subnet_Mask", Ip_Address_Text(p.Subnet_Mask));
  out += field_line("Time_Out", std::to_string(p.Time_Out) + " ms");
  out += field_line("Port", std::to_string(p.Port));
  out += field_line("En_GAT", std::to_string(p.En_GAT));
  out += field_line("Gateway", Ip_Address_Text(p.Gateway));
  out += field_line("Dis_Sock", std::to_string(p.Dis_Sock));
  out += field_line("request rows", std::to_string(bank.stored_request_rows));
  out += field_line("setting rows", std::to_string(bank.stored_setting_rows));

  out += "\nRows: " + std::to_string(bank.request_rows.size()) + " request, " +
         std::to_string(bank.setting_rows.size()) + " setting\n";
  if (bank.request_rows.empty() && bank.setting_rows.empty()) return;
  const TextTable table({4, 7, 10, 6, 15, 4, 21, 7, 8});
  out += table.line({"#", "table", "Cob-ID", "kind", "slave address", "unit", "type", "address", "quantity"});
  std::size_t index = 0;
  for (const auto* rows : {&bank.request_rows, &bank.setting_rows}) {
    for (const Bank_Row& row : *rows) {
      out +=
          table.line({std::to_string(index++), Table_Kind_Of(rows == &bank.request_rows).image_name, hex_text(row.COB),
                      bank_cob_kind(p.CAN_Type), Ip_Address_Text(row.IP_Address), std::to_string(row.ID_Modbus),
                      std::to_string(row.Type_Code) + ' ' + std::string(bank_type_name(row.Type_Code)),
                      std::to_string(row.Address_Word), std::to_string(row.Quantity)});
    }
  }
}

// ---- JSON --------------------------------------------------------------

// JSON text is UTF-8: a file name of other bytes has each malformed sequence
// replaced by U+FFFD rather than copied raw.
std::string json_string(std::string_view raw) {
  const std::string text = encode_utf8(decode_utf8(raw));
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(static_cast<unsigned char>(c)));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + '"';
}

// One JSON object written member by member on a single line.
class JsonObject {
 public:
  JsonObject& text(const char* key, std::string_view value) { return raw(key, json_string(value)); }
  JsonObject& flag(const char* key, bool value) { return raw(key, value ? "true" : "false"); }
  template <typename Number>
  JsonObject& number(const char* key, Number value) {
    static_assert(std::is_integral_v<Number>);
    return raw(key, std::to_string(+value));
  }
  JsonObject& raw(const char* key, const std::string& json) {
    out_ += out_.empty() ? "{" : ", ";
    out_ += json_string(key) + ": " + json;
    return *this;
  }
  std::string str() const { return out_.empty() ? "{}" : out_ + '}'; }

 private:
  std::string out_;
};

std::string json_array(const std::vector<std::string>& items, const char* indent) {
  if (items.empty()) return "[]";
  std::string out = "[\n";
  for (std::size_t i = 0; i < items.size(); ++i) {
    out += std::string(indent) + "  " + items[i] + (i + 1 < items.size() ? ",\n" : "\n");
  }
  return out + indent + ']';
}

void json_bank2(const DecodedBank2& bank2, std::string& out) {
  const General_Block& g = bank2.image.general;
  const std::string block = JsonObject()
                                .number("can_bit_rate", g.CAN_Bit_Rate)
                                .number("time_out", g.Time_Out)
                                .text("ip_address", Ip_Address_Text(g.IP_Address))
                                .text("subnet_mask", Ip_Address_Text(g.Subnet_Mask))
                                .text("gateway", Ip_Address_Text(g.Gateway))
                                .number("default_port", g.Default_Port)
                                .number("record_count", g.Record_Count)
                                .number("request_count", g.Request_Count)
                                .number("setting_count", g.Setting_Count)
                                .raw("checksum", JsonObject()
                                                     .number("stored", bank2.stored_checksum)
                                                     .number("computed", bank2.computed_checksum)
                                                     .flag("verified", bank2.stored_checksum == bank2.computed_checksum)
                                                     .str())
                                .str();
  out += "  \"general_block\": " + block + ",\n";

  std::vector<std::string> records;
  for (std::size_t i = 0; i < bank2.filled_records(); ++i) {
    const Request_Record& r = bank2.image.records[i];
    records.push_back(JsonObject()
                          .number("index", i)
                          .text("table", Table_Kind_Of(bank2.is_request_record(i)).image_name)
                          .number("slot_offset", r.Slot_Offset)
                          .text("cob_id", hex_text(record_cob_id(r)))
                          .text("cob_kind", record_cob_kind(r))
                          .text("slave_address", Ip_Address_Text(Ip_Address_Bytes(r.IP_Address)))
                          .number("port", r.Port)
                          .number("unit_id", r.ID_Modbus)
                          .number("function", r.Function)
                          .text("function_name", Modbus_Function_Name(r.Function))
                          .number("address", r.Address_Word)
                          .number("quantity", r.Quantity)
                          .number("byte_count", r.Byte_Count)
                          .number("poll_time", r.Poll_Time)
                          .number("max_error", r.Max_Error)
                          .flag("swap", swapped(r))
                          .number("flags", r.Flags)
                          .str());
  }
  out += "  \"records\": " + json_array(records, "  ") + ",\n";
}

void json_bank(const DecodedBank& bank, std::string& out) {
  out += "  \"header\": [" + std::to_string(bank.header[0]) + ", " + std::to_string(bank.header[1]) + ", " +
         std::to_string(bank.header[2]) + "],\n";
  const Bank_Params& p = bank.params;
  const std::uint32_t bit_rate = bank_bit_rate(p.CAN_Baud_Code);
  const std::string params = JsonObject()
                                 .number("can_baud_code", p.CAN_Baud_Code)
                                 .raw("can_bit_rate", bit_rate != 0 ? std::to_string(bit_rate) : "null")
                                 .number("can_type", p.CAN_Type)
                                 .text("ip_address", Ip_Address_Text(p.IP_Address))
                                 .text("subnet_mask", Ip_Address_Text(p.Subnet_Mask))
                                 .number("time_out", p.Time_Out)
                                 .number("port", p.Port)
                                 .number("en_gat", p.En_GAT)
                                 .text("gateway", Ip_Address_Text(p.Gateway))
                                 .number("dis_sock", p.Dis_Sock)
                                 .number("request_rows", bank.stored_request_rows)
                                 .number("setting_rows", bank.stored_setting_rows)
                                 .str();
  out += "  \"bank_params\": " + params + ",\n";

  std::vector<std::string> rows;
  for (const auto* table : {&bank.request_rows, &bank.setting_rows}) {
    for (const Bank_Row& row : *table) {
      rows.push_back(JsonObject()
                         .number("index", rows.size())
                         .text("table", Table_Kind_Of(table == &bank.request_rows).image_name)
                         .text("cob_id", hex_text(row.COB))
                         .text("cob_kind", bank_cob_kind(p.CAN_Type))
                         .text("slave_address", Ip_Address_Text(row.IP_Address))
                         .number("unit_id", row.ID_Modbus)
                         .number("type_code", row.Type_Code)
                         .text("type_name", bank_type_name(row.Type_Code))
                         .number("address", row.Address_Word)
                         .number("quantity", row.Quantity)
                         .str());
    }
  }
  out += "  \"rows\": " + json_array(rows, "  ") + ",\n";
}

}  // namespace

std::string_view Modbus_Function_Name(std::uint8_t function) {
  using namespace modbus_function;
  switch (function) {
    case None:
      return "none";
    case Read_Coils:
      return "Read Coils";
    case Read_Discrete_Inputs:
      return "Read Discrete Inputs";
    case Read_Holding_Registers:
      return "Read Holding Registers";
    case Read_Input_Registers:
      return "Read Input Registers";
    case Write_Single_Coil:
      return "Write Single Coil";
    case Write_Single_Register:
      return "Write Single Register";
    case Write_Multiple_Coils:
      return "Write Multiple Coils";
    case Write_Multiple_Registers:
      return "Write Multiple Registers";
    default:
      return "unknown";
  }
}

std::string Image_Report_Text(const DecodedImage& image, std::string_view file_name) {
  std::string out =
      std::string(file_name) + ": " + layout_name(image) + " layout, " + std::to_string(image.size) + " bytes\n";
  if (const auto* bank2 = std::get_if<DecodedBank2>(&image.content)) {
    text_bank2(*bank2, out);
  } else {
    text_bank(std::get<DecodedBank>(image.content), out);
  }
  text_problems(image, out);
  return out;
}

std::string Image_Report_Json(const DecodedImage& image, std::string_view file_name) {
  std::string out = "{\n";
  out += "  \"file\": " + json_string(file_name) + ",\n";
  out += "  \"layout\": " + json_string(layout_name(image)) + ",\n";
  out += "  \"size\": " + std::to_string(image.size) + ",\n";
  if (const auto* bank2 = std::get_if<DecodedBank2>(&image.content)) {
    json_bank2(*bank2, out);
  } else {
    json_bank(std::get<DecodedBank>(image.content), out);
  }
  out += "  \"checksum_verified\": " + std::string(image.checksum_verified ? "true" : "false") + ",\n";
  std::vector<std::string> problems;
  for (const std::string& problem : image.problems) problems.push_back(json_string(problem));
  out += "  \"problems\": " + json_array(problems, "  ") + "\n}\n";
  return out;
}

}  // namespace sw48230
