#include "core/tables/request_file.h"

#include <pugixml.hpp>

#include "core/app/product.h"
#include "core/common/atomic_file.h"
#include "core/common/number_text.h"
#include "core/common/text.h"
#include "core/common/xml_file.h"

namespace sw48230 {
namespace {

constexpr const char* Root_Name = "C_TO_Customer_Protocol";
constexpr const char* Address_Attributes[] = {"IP_Add_B1", "IP_Add_B2", "IP_Add_B3", "IP_Add_B4"};
constexpr const char* Address_Fallbacks[] = {"192", "168", "0", "11"};

std::string attribute(pugi::xml_node row, const char* name, std::string fallback) {
  const pugi::xml_attribute value = row.attribute(name);
  return value ? std::string(value.value()) : std::move(fallback);
}

void load_row(const TableKind& kind, const TableContext& context, pugi::xml_node element, RequestTable& table,
              int row) {
  table.cell(row, Col_Enable) = attribute(element, "Enable", "Y");
  table.cell(row, Col_COB) = attribute(element, "COB", "");
  table.cell(row, Col_CAN_Type) =
      attribute(element, "CAN_Type", context.Type_Can != 0 ? CAN_Type_29_Bits : CAN_Type_11_Bits);
  std::string address;
  for (std::size_t i = 0; i < 4; ++i) {
    if (i > 0) address += '.';
    address += attribute(element, Address_Attributes[i], Address_Fallbacks[i]);
  }
  table.cell(row, Col_IP) = std::move(address);
  table.cell(row, Col_Port) = attribute(element, "Port", std::to_string(context.Default_Port));
  table.cell(row, Col_ID_Modbus) = attribute(element, "ID_Modbus", "1");
  const std::int32_t type = to_int32(attribute(element, "Type", std::to_string(kind.type_code_when_missing)), -1);
  table.cell(row, Col_Type) = type >= 0 && type < static_cast<std::int32_t>(kind.type_texts.size())
                                  ? kind.type_texts[static_cast<std::size_t>(type)]
                                  : "";
  table.cell(row, Col_Address) = attribute(element, "Address_Word", "");
  table.cell(row, Col_NPoint) = attribute(element, "Quantity", "");
  table.cell(row, Col_Poll_Time) = attribute(element, "PollTime", "");
  table.cell(row, Col_Max_Error) = attribute(element, "MaxError", "0");
  table.cell(row, Col_Swap) = attribute(element, "Swap", "Y");
  table.cell(row, Col_Mnemonic) = attribute(element, "Mnemonic", "");
}

// A type text becomes its code; any other text, possible only in a row that
// was not checked, is kept trimmed and upper-cased.
std::string type_code(const TableKind& kind, const std::string& cell) {
  const std::string type = to_upper_ascii(trim_blanks(cell));
  for (std::size_t code = 0; code < kind.type_texts.size(); ++code) {
    if (type == to_upper_ascii(kind.type_texts[code])) return std::to_string(code);
  }
  return type;
}

}  // namespace

TableContext Read_Table_Context(const std::filesystem::path& pargen_file) {
  const ProjectCommInfo info = Read_Project_Comm_Info(pargen_file);
  return {info.Device_Type, info.CAN_Type, to_int32(info.Port, 502)};
}

RequestLoad Load_Requests(const TableKind& kind, const std::filesystem::path& file, const TableContext& context,
                          RequestTable& table) {
  table.Reset();
  RequestLoad result;
  const XmlFile xml = read_xml_file(file);
  if (xml.status == XmlFile::Status::Unreadable) result.error = xml.error;
  if (xml.status != XmlFile::Status::Loaded) return result;

  int row = 1;
  for (pugi::xml_node element : root_element(xml.document).children()) {
    if (element.type() != pugi::node_element) continue;
    if (row > RequestTable::Data_Rows) {
      ++result.rows_left_out;
      continue;
    }
    load_row(kind, context, element, table, row++);
  }
  return result;
}

std::array<std::string, 4> Split_Address(std::string_view address) {
  std::array<std::string, 4> bytes;
  std::string_view rest = trim_blanks(address);
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos) continue;  // the byte stays empty, the rest unchanged
    bytes[i] = trim_blanks(rest.substr(0, dot));
    rest = trim_blanks(rest.substr(dot + 1));
  }
  bytes[3] = trim_blanks(rest);
  return bytes;
}

std::string Requests_Document(const TableKind& kind, const RequestTable& table) {
  pugi::xml_document document;
  pugi::xml_node root = document.append_child(Root_Name);
  for (int row = 1; row <= RequestTable::Data_Rows && !trim_blanks(table.cell(row, Col_COB)).empty(); ++row) {
    pugi::xml_node element = root.append_child("row");
    const auto add = [&element](const char* name, const std::string& value) {
      element.append_attribute(name).set_value(value.c_str());
    };
    add("Enable", table.cell(row, Col_Enable));
    add("COB", table.cell(row, Col_COB));
    add("CAN_Type", table.cell(row, Col_CAN_Type));
    const auto bytes = Split_Address(table.cell(row, Col_IP));
    for (std::size_t i = 0; i < 4; ++i) add(Address_Attributes[i], bytes[i]);
    add("Port", table.cell(row, Col_Port));
    add("ID_Modbus", table.cell(row, Col_ID_Modbus));
    add("Type", type_code(kind, table.cell(row, Col_Type)));
    add("Address_Word", table.cell(row, Col_Address));
    add("Quantity", table.cell(row, Col_NPoint));
    add("PollTime", table.cell(row, Col_Poll_Time));
    add("MaxError", table.cell(row, Col_Max_Error));
    add("Swap", table.cell(row, Col_Swap));
    add("Mnemonic", table.cell(row, Col_Mnemonic));
  }
  document.append_child(pugi::node_comment).set_value(Project_File_Comment);
  return serialize_xml(document);
}

std::error_code Save_Requests(const TableKind& kind, const std::filesystem::path& file, const RequestTable& table) {
  return write_file_atomically(file, Requests_Document(kind, table));
}

}  // namespace sw48230
