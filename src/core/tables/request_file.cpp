#include "core/tables/request_file.h"

#include <pugixml.hpp>

#include "core/app/product.h"
#include "core/common/atomic_file.h"
#include "core/common/number_text.h"
#include "core/common/text.h"
#include "core/common/xml_file.h"
#include "core/tables/var_format.h"

namespace sw48230 {
namespace {

// What a load puts in a row for each attribute the file row lacks.
RowAttributes load_fallbacks(const TableKind& kind, const TableContext& context) {
  namespace fallback = var_file::screen_fallback;
  return {Tick_Yes,
          "",
          context.Type_Can != 0 ? CAN_Type_29_Bits : CAN_Type_11_Bits,
          fallback::Address[0],
          fallback::Address[1],
          fallback::Address[2],
          fallback::Address[3],
          std::to_string(context.Default_Port),
          fallback::ID_Modbus,
          std::to_string(kind.type_code_when_missing),
          "",
          "",
          "",
          fallback::MaxError,
          Tick_Yes,
          ""};
}

void load_row(const TableKind& kind, const RowAttributes& fallbacks, pugi::xml_node element, RequestTable& table,
              int row) {
  RowAttributes values;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const pugi::xml_attribute value = element.attribute(Row_Attribute_Names()[i]);
    values[i] = value ? std::string(value.value()) : fallbacks[i];
  }
  Set_Row_Attributes(kind, values, table, row);
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

Result<RequestLoad> Load_Requests(const TableKind& kind, const std::filesystem::path& file, const TableContext& context,
                                  RequestTable& table) {
  table.Reset();
  RequestLoad result;
  const Result<pugi::xml_document> xml = read_xml_file(file);
  if (!xml) {
    if (Is_File_Missing(xml.failure())) return result;
    return xml.failure();
  }

  const RowAttributes fallbacks = load_fallbacks(kind, context);
  int row = 1;
  for (pugi::xml_node element : root_element(*xml).children()) {
    if (element.type() != pugi::node_element) continue;
    if (row > RequestTable::Data_Rows) {
      ++result.rows_left_out;
      continue;
    }
    load_row(kind, fallbacks, element, table, row++);
  }
  return result;
}

const std::array<const char*, Row_Attribute_Count>& Row_Attribute_Names() {
  return var_file::Attribute_Names;
}

RowAttributes Row_Attributes(const TableKind& kind, const RequestTable& table, int row) {
  const auto bytes = Split_Address(table.cell(row, Col_IP));
  return {table.cell(row, Col_Enable),    table.cell(row, Col_COB),       table.cell(row, Col_CAN_Type),
          bytes[0],
          bytes[1],
          bytes[2],
          bytes[3],
          table.cell(row, Col_Port),      table.cell(row, Col_ID_Modbus), type_code(kind, table.cell(row, Col_Type)),
          table.cell(row, Col_Address),   table.cell(row, Col_NPoint),    table.cell(row, Col_Poll_Time),
          table.cell(row, Col_Max_Error), table.cell(row, Col_Swap),      table.cell(row, Col_Mnemonic)};
}

void Set_Row_Attributes(const TableKind& kind, const RowAttributes& values, RequestTable& table, int row) {
  table.cell(row, Col_Enable) = values[0];
  table.cell(row, Col_COB) = values[1];
  table.cell(row, Col_CAN_Type) = values[2];
  table.cell(row, Col_IP) = values[3] + '.' + values[4] + '.' + values[5] + '.' + values[6];
  table.cell(row, Col_Port) = values[7];
  table.cell(row, Col_ID_Modbus) = values[8];
  const std::int32_t type = to_int32(values[9], -1);
  table.cell(row, Col_Type) = type >= 0 && type < static_cast<std::int32_t>(kind.type_texts.size())
                                  ? kind.type_texts[static_cast<std::size_t>(type)]
                                  : "";
  table.cell(row, Col_Address) = values[10];
  table.cell(row, Col_NPoint) = values[11];
  table.cell(row, Col_Poll_Time) = values[12];
  table.cell(row, Col_Max_Error) = values[13];
  table.cell(row, Col_Swap) = values[14];
  table.cell(row, Col_Mnemonic) = values[15];
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
  pugi::xml_node root = document.append_child(var_file::Root);
  for (int row = 1; row <= RequestTable::Data_Rows && !trim_blanks(table.cell(row, Col_COB)).empty(); ++row) {
    pugi::xml_node element = root.append_child(var_file::Row);
    const RowAttributes values = Row_Attributes(kind, table, row);
    for (std::size_t i = 0; i < values.size(); ++i) {
      element.append_attribute(Row_Attribute_Names()[i]).set_value(values[i].c_str());
    }
  }
  document.append_child(pugi::node_comment).set_value(Project_File_Comment);
  return serialize_xml(document);
}

std::optional<Failure> Save_Requests(const TableKind& kind, const std::filesystem::path& file, const RequestTable& table) {
  return write_file_atomically(file, Requests_Document(kind, table));
}

}  // namespace sw48230
