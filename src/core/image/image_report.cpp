#include "core/image/image_report.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "core/i18n/text_decoding.h"
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

// ---- the fields, described once -------------------------------------------

// One value of the report: `key` names it in the JSON and `label` in the
// text; a value only one of the two reports shows leaves the other name empty.
struct Report_Field {
  std::string_view key;
  std::string_view label;
  nlohmann::ordered_json value;
  std::string text;
};

// A block of named values; `json_array` writes only its values, in order.
struct Report_Section {
  std::string_view key;
  std::string_view title;
  std::vector<Report_Field> fields;
  bool json_array = false;
};

// The records or rows, one line each in the text and one object each in JSON.
struct Report_Table {
  std::string_view key;
  std::string title;
  std::vector<std::size_t> widths;
  std::vector<std::string_view> labels;
  std::vector<std::vector<Report_Field>> rows;
};

struct Report_Description {
  std::vector<Report_Section> sections;
  Report_Table table;
};

template <typename Number>
Report_Field number_field(std::string_view key, std::string_view label, Number value) {
  static_assert(std::is_integral_v<Number>);
  return {key, label, +value, std::to_string(+value)};
}

Report_Field text_field(std::string_view key, std::string_view label, std::string value) {
  return {key, label, value, value};
}

Report_Description describe_bank2(const DecodedBank2& bank2) {
  const General_Block& g = bank2.image.general;
  const bool verified = bank2.stored_checksum == bank2.computed_checksum;
  Report_Section block{"general_block", "General_Block", {}};
  block.fields = {
      {"can_bit_rate", "CAN_Bit_Rate", g.CAN_Bit_Rate, std::to_string(g.CAN_Bit_Rate) + " bit/s"},
      {"time_out", "Time_Out", g.Time_Out, std::to_string(g.Time_Out) + " ms"},
      text_field("ip_address", "IP_Address", Ip_Address_Text(g.IP_Address)),
      text_field("subnet_mask", "Subnet_Mask", Ip_Address_Text(g.Subnet_Mask)),
      text_field("gateway", "Gateway", Ip_Address_Text(g.Gateway)),
      number_field("default_port", "Default_Port", g.Default_Port),
      number_field("record_count", "Record_Count", g.Record_Count),
      number_field("request_count", "Request_Count", g.Request_Count),
      number_field("setting_count", "Setting_Count", g.Setting_Count),
      {"checksum", "Checksum",
       nlohmann::ordered_json{
           {"stored", bank2.stored_checksum}, {"computed", bank2.computed_checksum}, {"verified", verified}},
       std::to_string(bank2.stored_checksum) +
           (verified ? " (verified)"
                     : " (DOES NOT VERIFY: the block adds up to " + std::to_string(bank2.computed_checksum) + ")")},
  };

  const std::size_t filled = bank2.filled_records();
  Report_Table table{"records",
                     "Records: " + std::to_string(filled) + " filled of " + std::to_string(Request_Record_Count),
                     {4, 7, 5, 10, 6, 15, 5, 4, 28, 7, 8, 5, 10, 10, 4},
                     {"#", "table", "slot", "Cob-ID", "kind", "slave address", "port", "unit", "function", "address",
                      "quantity", "bytes", "poll time", "max error", "swap"},
                     {}};
  for (std::size_t i = 0; i < filled; ++i) {
    const Request_Record& r = bank2.image.records[i];
    table.rows.push_back({
        number_field("index", "#", i),
        text_field("table", "table", bank2.record_kind(i).image_name),
        number_field("slot_offset", "slot", r.Slot_Offset),
        text_field("cob_id", "Cob-ID", hex_text(record_cob_id(r))),
        text_field("cob_kind", "kind", record_cob_kind(r)),
        text_field("slave_address", "slave address", Ip_Address_Text(Ip_Address_Bytes(r.IP_Address))),
        number_field("port", "port", r.Port),
        number_field("unit_id", "unit", r.ID_Modbus),
        {"function", "function", r.Function,
         std::to_string(r.Function) + ' ' + std::string(Modbus_Function_Name(r.Function))},
        text_field("function_name", "", std::string(Modbus_Function_Name(r.Function))),
        number_field("address", "address", r.Address_Word),
        number_field("quantity", "quantity", r.Quantity),
        number_field("byte_count", "bytes", r.Byte_Count),
        number_field("poll_time", "poll time", r.Poll_Time),
        number_field("max_error", "max error", r.Max_Error),
        {"swap", "swap", swapped(r), swapped(r) ? "Y" : "N"},
        number_field("flags", "", r.Flags),
    });
  }
  return {{std::move(block)}, std::move(table)};
}

Report_Description describe_bank(const DecodedBank& bank) {
  Report_Section header{"header", "Header", {}, true};
  header.fields = {
      number_field("", "request rows at", bank.header[0]),
      number_field("", "setting rows at", bank.header[1]),
      number_field("", "Bank_Params at", bank.header[2]),
  };

  const Bank_Params& p = bank.params;
  const std::uint32_t bit_rate = bank_bit_rate(p.CAN_Baud_Code);
  Report_Section params{"bank_params", "Bank_Params", {}};
  params.fields = {
      {"can_baud_code", "CAN_Baud code", p.CAN_Baud_Code,
       std::to_string(p.CAN_Baud_Code) + (bit_rate != 0 ? " (" + std::to_string(bit_rate) + " bit/s)" : " (unknown)")},
      {"can_bit_rate", "", bit_rate != 0 ? nlohmann::ordered_json(bit_rate) : nlohmann::ordered_json(nullptr), ""},
      {"can_type", "CAN_Type", p.CAN_Type, std::to_string(p.CAN_Type) + " (" + bank_cob_kind(p.CAN_Type) + ")"},
      text_field("ip_address", "IP_Address", Ip_Address_Text(p.IP_Address)),
      text_field("subnet_mask", "Subnet_Mask", Ip_Address_Text(p.Subnet_Mask)),
      {"time_out", "Time_Out", p.Time_Out, std::to_string(p.Time_Out) + " ms"},
      number_field("port", "Port", p.Port),
      number_field("en_gat", "En_GAT", p.En_GAT),
      text_field("gateway", "Gateway", Ip_Address_Text(p.Gateway)),
      number_field("dis_sock", "Dis_Sock", p.Dis_Sock),
      number_field("request_rows", "request rows", bank.stored_rows[Read_Requests().index]),
      number_field("setting_rows", "setting rows", bank.stored_rows[Write_Requests().index]),
  };

  Report_Table table{"rows",
                     "Rows: " + std::to_string(bank.rows[Read_Requests().index].size()) + " request, " +
                         std::to_string(bank.rows[Write_Requests().index].size()) + " setting",
                     {4, 7, 10, 6, 15, 4, 21, 7, 8},
                     {"#", "table", "Cob-ID", "kind", "slave address", "unit", "type", "address", "quantity"},
                     {}};
  for (const TableKind* kind : Table_Kinds()) {
    for (const Bank_Row& row : bank.rows[kind->index]) {
      table.rows.push_back({
          number_field("index", "#", table.rows.size()),
          text_field("table", "table", kind->image_name),
          text_field("cob_id", "Cob-ID", hex_text(row.COB)),
          text_field("cob_kind", "kind", bank_cob_kind(p.CAN_Type)),
          text_field("slave_address", "slave address", Ip_Address_Text(row.IP_Address)),
          number_field("unit_id", "unit", row.ID_Modbus),
          {"type_code", "type", row.Type_Code,
           std::to_string(row.Type_Code) + ' ' + std::string(bank_type_name(row.Type_Code))},
          text_field("type_name", "", std::string(bank_type_name(row.Type_Code))),
          number_field("address", "address", row.Address_Word),
          number_field("quantity", "quantity", row.Quantity),
      });
    }
  }
  return {{std::move(header), std::move(params)}, std::move(table)};
}

Report_Description describe(const DecodedImage& image) {
  if (const auto* bank2 = std::get_if<DecodedBank2>(&image.content)) return describe_bank2(*bank2);
  return describe_bank(std::get<DecodedBank>(image.content));
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

void text_description(const Report_Description& description, std::string& out) {
  for (const Report_Section& section : description.sections) {
    out += '\n' + std::string(section.title) + '\n';
    for (const Report_Field& field : section.fields) {
      if (!field.label.empty()) out += field_line(field.label, field.text);
    }
  }
  const Report_Table& table = description.table;
  out += '\n' + table.title + '\n';
  if (table.rows.empty()) return;
  const TextTable text_table(table.widths);
  out += text_table.line(std::vector<std::string>(table.labels.begin(), table.labels.end()));
  for (const std::vector<Report_Field>& row : table.rows) {
    std::vector<std::string> cells;
    for (const Report_Field& field : row) {
      if (!field.label.empty()) cells.push_back(field.text);
    }
    out += text_table.line(cells);
  }
}

// ---- JSON --------------------------------------------------------------

// JSON text is UTF-8: a string of other bytes has each malformed sequence
// replaced by U+FFFD rather than copied raw, before nlohmann sees it.
// Reports written before kept \b and \f as \u0008 and \u000C and wrote
// upper-case hex digits; nlohmann writes the short escapes and lower case, so
// its escapes are rewritten to keep every report byte as it was.
std::string json_string(std::string_view raw) {
  const std::string dumped = nlohmann::ordered_json(encode_utf8(decode_utf8(raw)))
                                 .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  std::string out;
  out.reserve(dumped.size());
  for (std::size_t i = 0; i < dumped.size(); ++i) {
    if (dumped[i] != '\\' || i + 1 >= dumped.size()) {
      out += dumped[i];
      continue;
    }
    const char escape = dumped[++i];
    if (escape == 'b') {
      out += "\\u0008";
    } else if (escape == 'f') {
      out += "\\u000C";
    } else if (escape == 'u') {
      out += "\\u";
      for (std::size_t k = 1; k <= 4 && i + k < dumped.size(); ++k) {
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(dumped[i + k])));
      }
      i += 4;
    } else {
      out += '\\';
      out += escape;
    }
  }
  return out;
}

// Any value on one line, members and items separated by ", ".
std::string json_inline(const nlohmann::ordered_json& value) {
  if (value.is_string()) return json_string(value.get_ref<const std::string&>());
  if (value.is_object()) {
    if (value.empty()) return "{}";
    std::string out = "{";
    for (const auto& [key, member] : value.items()) {
      if (out.size() > 1) out += ", ";
      out += json_string(key) + ": " + json_inline(member);
    }
    return out + '}';
  }
  if (value.is_array()) {
    std::string out = "[";
    for (const nlohmann::ordered_json& item : value) {
      if (out.size() > 1) out += ", ";
      out += json_inline(item);
    }
    return out + ']';
  }
  return value.dump();
}

// The report's top level: one member per line; an array of objects or
// strings puts each item on its own line, an array of numbers stays on one.
std::string json_report(const nlohmann::ordered_json& report) {
  std::string out = "{\n";
  std::size_t member = 0;
  for (const auto& [key, value] : report.items()) {
    out += "  " + json_string(key) + ": ";
    const bool one_line = !value.is_array() || value.empty() ||
                          std::all_of(value.begin(), value.end(), [](const auto& item) { return item.is_number(); });
    if (one_line) {
      out += json_inline(value);
    } else {
      out += "[\n";
      for (std::size_t i = 0; i < value.size(); ++i) {
        out += "    " + json_inline(value[i]) + (i + 1 < value.size() ? ",\n" : "\n");
      }
      out += "  ]";
    }
    out += ++member < report.size() ? ",\n" : "\n";
  }
  return out + "}\n";
}

nlohmann::ordered_json json_fields(const std::vector<Report_Field>& fields) {
  nlohmann::ordered_json object = nlohmann::ordered_json::object();
  for (const Report_Field& field : fields) {
    if (!field.key.empty()) object[std::string(field.key)] = field.value;
  }
  return object;
}

void json_description(const Report_Description& description, nlohmann::ordered_json& report) {
  for (const Report_Section& section : description.sections) {
    nlohmann::ordered_json value = nlohmann::ordered_json::array();
    if (section.json_array) {
      for (const Report_Field& field : section.fields) value.push_back(field.value);
    } else {
      value = json_fields(section.fields);
    }
    report[std::string(section.key)] = std::move(value);
  }
  nlohmann::ordered_json rows = nlohmann::ordered_json::array();
  for (const std::vector<Report_Field>& row : description.table.rows) rows.push_back(json_fields(row));
  report[std::string(description.table.key)] = std::move(rows);
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
  text_description(describe(image), out);
  text_problems(image, out);
  return out;
}

std::string Image_Report_Json(const DecodedImage& image, std::string_view file_name) {
  nlohmann::ordered_json report;
  // The name's bytes may not be UTF-8: json_string repairs them when writing.
  report["file"] = std::string(file_name);
  report["layout"] = layout_name(image);
  report["size"] = image.size;
  json_description(describe(image), report);
  report["checksum_verified"] = image.checksum_verified;
  report["problems"] = image.problems;
  return json_report(report);
}

}  // namespace sw48230
