#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/failure.h"
#include "core/commsettings/comm_settings.h"
#include "core/tables/request_table.h"
#include "core/tables/table_kind.h"
#include "core/tables/var_format.h"

namespace sw48230 {

// The attributes of a row element, in file order.
inline constexpr int Row_Attribute_Count = var_file::Attribute_Count;
using RowAttributes = std::array<std::string, Row_Attribute_Count>;
const std::array<const char*, Row_Attribute_Count>& Row_Attribute_Names();

// A table file (var.xml or var2.xml) as it was read, before any reader's
// fallback: every row element under the root in file order, also those
// beyond the table's last row, each attribute's text as it stands (the first
// of a repeated attribute), or nothing for one the row lacks. The table
// screens, the checks, both images and the probe read a table from this one
// value.
struct RequestsFile {
  using Row = std::array<std::optional<std::string>, Row_Attribute_Count>;

  std::string name;  // "var.xml" or "var2.xml", as failures name it
  // Why the file gave no rows: File_Missing or File_Unreadable.
  std::optional<Failure> failure;
  std::vector<Row> rows;

  bool missing() const { return failure && Is_File_Missing(*failure); }

  bool operator==(const RequestsFile&) const = default;
};

RequestsFile Read_Requests_File(const std::filesystem::path& file);

// The file a table's screen would save, as it would be read back: the rows
// from row 1 up to the first row without a Cob-ID, every attribute present.
// A test of the requests on the screen reads this instead of the file.
RequestsFile Requests_File_Of(const TableKind& kind, const RequestTable& table);

struct RequestLoad {
  // Rows of the file beyond the table's last row; they are not loaded.
  int rows_left_out = 0;
};

// Resets the table and fills it from the file (var.xml or var2.xml): the k-th
// element under the root fills row k+1, each attribute with its own fallback.
// A missing file is an empty table; a file that exists but cannot be read or
// is not well-formed is File_Unreadable, and the table stays empty.
Result<RequestLoad> Load_Requests(const TableKind& kind, const RequestsFile& file, const TableContext& context,
                                  RequestTable& table);

// The document as written: one row element per row from row 1 up to the
// first row without a Cob-ID, then the version comment.
std::string Requests_Document(const TableKind& kind, const RequestTable& table);

// Why `document`, the Requests_Document of `table`, would not give back the
// table's saved rows when read as a file: larger than the readers take, not
// well-formed, or a cell that loads back otherwise (named by row and
// attribute). Nothing when it loads back to the same cells.
std::optional<std::string> Check_Loads_Back(const TableKind& kind, const RequestTable& table,
                                            std::string_view document);

// Writes the table's document, after proving that it loads back to the same
// cells and holds only characters XML allows; otherwise nothing is written
// and the file is reported as not written, with the reason.
std::optional<Failure> Save_Requests(const TableKind& kind, const std::filesystem::path& file, const RequestTable& table);

// A row's attribute values as they are saved.
RowAttributes Row_Attributes(const TableKind& kind, const RequestTable& table, int row);
// Fills a row's cells from attribute values as a load does: the address
// bytes joined with dots, the type code as its list text (any other value
// leaves the cell empty), every other value unchanged.
void Set_Row_Attributes(const TableKind& kind, const RowAttributes& values, RequestTable& table, int row);

// The four address bytes of an address cell as they are saved, each trimmed.
std::array<std::string, 4> Split_Address(std::string_view address);

// The table column an attribute is saved from, and the attribute names of a
// column ("IP_Add_B1..IP_Add_B4" for the address).
int Attribute_Column(std::size_t attribute);
std::string Column_Attribute_Names(int col);

// The longest value, in characters, that an attribute of a table file holds:
// the row's free description (Mnemonic) Mnemonic_Max_Characters, every other
// value Value_Max_Characters. No real value comes near them; with them, 512
// rows whose every value is that long and escaped at its widest ('"' as
// "&quot;") stay below two thirds of what the readers take (Xml_File_Limit).
inline constexpr std::size_t Value_Max_Characters = 40;
inline constexpr std::size_t Mnemonic_Max_Characters = 255;
std::size_t Max_Characters(std::size_t attribute);

// Why a value cannot be saved in a table file, as the checks of the table
// and of a CSV import say it.
struct ValueFault {
  enum class Kind { Too_Long, Character };
  Kind kind;
  // Character: the one at fault, "U+001B" or "0xB0"; Too_Long: the most
  // characters the attribute holds, "40".
  std::string detail;

  bool operator==(const ValueFault&) const = default;
};
// A character that XML 1.0 cannot hold (or bytes that are not UTF-8), then
// more than Max_Characters(attribute); nothing for a value that can be saved.
std::optional<ValueFault> Check_Stored_Value(std::string_view value, std::size_t attribute);

}  // namespace sw48230
