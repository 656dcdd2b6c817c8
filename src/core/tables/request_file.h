#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/common/failure.h"
#include "core/commsettings/comm_settings.h"
#include "core/tables/request_table.h"
#include "core/tables/table_kind.h"
#include "core/tables/var_format.h"

namespace sw48230 {

struct RequestLoad {
  // Rows of the file beyond the table's last row; they are not loaded.
  int rows_left_out = 0;
};

// Resets the table and fills it from the file (var.xml or var2.xml): the k-th
// element under the root fills row k+1, each attribute with its own fallback.
// A missing file is an empty table; a file that exists but cannot be read or
// is not well-formed is File_Unreadable, and the table stays empty.
Result<RequestLoad> Load_Requests(const TableKind& kind, const std::filesystem::path& file, const TableContext& context,
                                  RequestTable& table);

// The document as written: one row element per row from row 1 up to the
// first row without a Cob-ID, then the version comment.
std::string Requests_Document(const TableKind& kind, const RequestTable& table);
std::optional<Failure> Save_Requests(const TableKind& kind, const std::filesystem::path& file, const RequestTable& table);

// The attributes of a row element, in file order.
inline constexpr int Row_Attribute_Count = var_file::Attribute_Count;
using RowAttributes = std::array<std::string, Row_Attribute_Count>;
const std::array<const char*, Row_Attribute_Count>& Row_Attribute_Names();

// A row's attribute values as they are saved.
RowAttributes Row_Attributes(const TableKind& kind, const RequestTable& table, int row);
// Fills a row's cells from attribute values as a load does: the address
// bytes joined with dots, the type code as its list text (any other value
// leaves the cell empty), every other value unchanged.
void Set_Row_Attributes(const TableKind& kind, const RowAttributes& values, RequestTable& table, int row);

// The four address bytes of an address cell as they are saved, each trimmed.
std::array<std::string, 4> Split_Address(std::string_view address);

}  // namespace sw48230
