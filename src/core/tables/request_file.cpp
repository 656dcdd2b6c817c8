#include "core/tables/request_file.h"

#include <algorithm>
#include <cstring>
#include <pugixml.hpp>

#include "core/common/number_text.h"
#include "core/common/paths.h"
#include "core/common/product.h"
#include "core/common/text.h"
#include "core/common/xml_characters.h"
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

void load_row(const TableKind& kind, const RowAttributes& fallbacks, const RequestsFile::Row& file_row,
              RequestTable& table, int row) {
  RowAttributes values;
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = file_row[i] ? *file_row[i] : fallbacks[i];
  Set_Row_Attributes(kind, values, table, row);
}

// A type text becomes its code; any other text, possible only in a row that
// was not checked, is kept trimmed and upper-cased.
std::string type_code(const TableKind& kind, const std::string& cell) {
  if (const auto code = Type_Code_Of(kind, cell)) return std::to_string(*code);
  return to_upper_ascii(trim_blanks(cell));
}

RequestLoad load_rows(const TableKind& kind, const RequestsFile& file, const TableContext& context,
                      RequestTable& table) {
  RequestLoad result;
  const RowAttributes fallbacks = load_fallbacks(kind, context);
  int row = 1;
  for (const RequestsFile::Row& file_row : file.rows) {
    if (row > RequestTable::Data_Rows) {
      ++result.rows_left_out;
      continue;
    }
    load_row(kind, fallbacks, file_row, table, row++);
  }
  return result;
}

// Only elements are rows: a comment or a processing instruction inside the
// root is no request.
RequestsFile requests_file(std::string name, const pugi::xml_document& xml) {
  RequestsFile file;
  file.name = std::move(name);
  const auto elements = root_element(xml).children();
  // Sized once: growing a table of 512 rows by doubling would copy it
  // several times over.
  file.rows.reserve(static_cast<std::size_t>(std::count_if(
      elements.begin(), elements.end(), [](const pugi::xml_node node) { return node.type() == pugi::node_element; })));
  for (const pugi::xml_node element : elements) {
    if (element.type() != pugi::node_element) continue;
    RequestsFile::Row& row = file.rows.emplace_back();
    // One pass over the attributes: looking each up by name would compare it
    // with every attribute before it. The attribute after the last one found
    // is tried first.
    std::size_t expected = 0;
    for (const pugi::xml_attribute attribute : element.attributes()) {
      std::size_t name_index = Row_Attribute_Count;
      if (expected < Row_Attribute_Count && std::strcmp(attribute.name(), Row_Attribute_Names()[expected]) == 0) {
        name_index = expected;
      } else {
        for (std::size_t i = 0; i < Row_Attribute_Count; ++i) {
          if (std::strcmp(attribute.name(), Row_Attribute_Names()[i]) == 0) name_index = i;
        }
      }
      if (name_index == Row_Attribute_Count) continue;
      // A repeated attribute: the first one counts.
      if (!row[name_index]) row[name_index] = std::string(attribute.value());
      expected = name_index + 1;
    }
  }
  return file;
}

// Characters, not bytes: the text is well-formed UTF-8 by then, so every
// byte but a continuation byte starts one.
std::size_t character_count(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u; }));
}

}  // namespace

RequestsFile Read_Requests_File(const std::filesystem::path& file) {
  std::string name = path_to_utf8(file.filename());
  const Result<pugi::xml_document> xml = read_xml_file(file);
  if (!xml) {
    RequestsFile unread;
    unread.name = std::move(name);
    unread.failure = xml.failure();
    return unread;
  }
  return requests_file(std::move(name), *xml);
}

RequestsFile Requests_File_Of(const TableKind& kind, const RequestTable& table) {
  RequestsFile file;
  file.name = kind.file_name;
  for (int row = 1; row <= RequestTable::Data_Rows && table.Row_In_Use(row); ++row) {
    const RowAttributes values = Row_Attributes(kind, table, row);
    RequestsFile::Row& file_row = file.rows.emplace_back();
    for (std::size_t i = 0; i < values.size(); ++i) file_row[i] = values[i];
  }
  return file;
}

Result<RequestLoad> Load_Requests(const TableKind& kind, const RequestsFile& file, const TableContext& context,
                                  RequestTable& table) {
  table.Reset();
  if (file.missing()) return RequestLoad{};
  if (file.failure) return *file.failure;
  return load_rows(kind, file, context, table);
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
  for (const RequestsFile::Row& row : Requests_File_Of(kind, table).rows) {
    pugi::xml_node element = root.append_child(var_file::Row);
    for (std::size_t i = 0; i < row.size(); ++i) {
      element.append_attribute(Row_Attribute_Names()[i]).set_value(row[i]->c_str());
    }
  }
  document.append_child(pugi::node_comment).set_value(Project_File_Comment);
  return serialize_xml(document);
}

std::optional<std::string> Check_Loads_Back(const TableKind& kind, const RequestTable& table,
                                            std::string_view document) {
  const Result<pugi::xml_document> xml = parse_xml_file_bytes(document, kind.file_name);
  if (!xml) return xml.failure().reason;
  // Every attribute is written, so the load's fallbacks play no part.
  RequestTable loaded;
  if (load_rows(kind, requests_file(kind.file_name, *xml), TableContext{}, loaded).rows_left_out > 0) {
    return "it would hold more rows than a table";
  }
  // What a load makes of the saved rows: the address split and joined, the
  // type as its code and back.
  RequestTable expected;
  for (int row = 1; row <= RequestTable::Data_Rows && table.Row_In_Use(row); ++row) {
    Set_Row_Attributes(kind, Row_Attributes(kind, table, row), expected, row);
  }
  for (int row = 1; row <= RequestTable::Data_Rows; ++row) {
    for (int col = Col_Enable; col < RequestTable::ColCount; ++col) {
      if (loaded.cell(row, col) != expected.cell(row, col)) {
        return "row " + std::to_string(row) + ", " + Column_Attribute_Names(col) + " would load back otherwise";
      }
    }
  }
  return std::nullopt;
}

std::optional<Failure> Save_Requests(const TableKind& kind, const std::filesystem::path& file, const RequestTable& table) {
  const std::string document = Requests_Document(kind, table);
  if (auto differs = Check_Loads_Back(kind, table, document)) return File_Not_Written(file, std::move(*differs));
  return write_xml_file(file, document);
}

int Attribute_Column(std::size_t attribute) {
  if (attribute < var_file::IP_Add_B1) return static_cast<int>(attribute) + Col_Enable;
  if (attribute <= var_file::IP_Add_B4) return Col_IP;
  return static_cast<int>(attribute) - 2;
}

std::string Column_Attribute_Names(int col) {
  const auto& names = Row_Attribute_Names();
  if (col == Col_IP) return std::string(names[var_file::IP_Add_B1]) + ".." + names[var_file::IP_Add_B4];
  const int attribute = col < Col_IP ? col - Col_Enable : col + 2;
  return names[static_cast<std::size_t>(attribute)];
}

std::size_t Max_Characters(std::size_t attribute) {
  return attribute == var_file::Mnemonic ? Mnemonic_Max_Characters : Value_Max_Characters;
}

std::optional<ValueFault> Check_Stored_Value(std::string_view value, std::size_t attribute) {
  if (auto character = Find_Non_Xml_Character(value)) {
    return ValueFault{ValueFault::Kind::Character, std::move(*character)};
  }
  const std::size_t most = Max_Characters(attribute);
  if (character_count(value) > most) return ValueFault{ValueFault::Kind::Too_Long, std::to_string(most)};
  return std::nullopt;
}

}  // namespace sw48230
