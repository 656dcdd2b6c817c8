#include "core/tables/request_find.h"

#include <algorithm>
#include <array>

#include "core/common/number_text.h"
#include "core/common/text.h"
#include "core/tables/request_file.h"

namespace sw48230 {
namespace {

// In the order a user reads a row.
constexpr std::array<int, 5> Found_Columns = {Col_COB, Col_IP, Col_ID_Modbus, Col_Address, Col_Mnemonic};

// The address as saved, the bytes trimmed and joined with dots.
std::string address_text(std::string_view cell) {
  const auto bytes = Split_Address(cell);
  return bytes[0] + "." + bytes[1] + "." + bytes[2] + "." + bytes[3];
}

struct Query {
  std::string text;  // upper case, trimmed
  std::optional<std::int32_t> number;
};

bool matches(const RequestTable& table, int row, int col, const Query& query) {
  const std::string& cell = table.cell(row, col);
  switch (col) {
    case Col_COB:
    case Col_ID_Modbus:
    case Col_Address:
      return query.number && parse_int32(trim_blanks(cell)) == query.number;
    case Col_IP: {
      if (trim_blanks(cell).empty() || query.number) return false;
      const std::string address = address_text(cell);
      return address == query.text || (address.size() > query.text.size() && address.starts_with(query.text) &&
                                       address[query.text.size()] == '.');
    }
    default:
      return to_upper_ascii(cell).find(query.text) != std::string::npos;
  }
}

}  // namespace

std::optional<FindHit> Find_Request(const RequestTable& table, std::string_view query_text, int row, int col,
                                    bool forward) {
  const Query query{to_upper_ascii(trim_blanks(query_text)), parse_int32(trim_blanks(query_text))};
  if (query.text.empty()) return std::nullopt;
  // Cells are numbered in reading order; the search visits every one once,
  // the starting cell last.
  constexpr int Per_Row = static_cast<int>(Found_Columns.size());
  constexpr int Cells = RequestTable::Data_Rows * Per_Row;
  const auto position = std::find_if(Found_Columns.begin(), Found_Columns.end(), [col](int c) { return c >= col; });
  int start =
      (std::clamp(row, 1, RequestTable::Data_Rows) - 1) * Per_Row + static_cast<int>(position - Found_Columns.begin());
  // A cursor on a column that is not searched sits between two searched
  // cells: the next one is the first to look at going forward.
  if (forward && (position == Found_Columns.end() || *position != col)) --start;
  for (int step = 1; step <= Cells; ++step) {
    const int raw = forward ? start + step : start - step;
    const int cell = ((raw % Cells) + Cells) % Cells;
    const int hit_row = cell / Per_Row + 1;
    const int hit_col = Found_Columns[static_cast<std::size_t>(cell % Per_Row)];
    if (matches(table, hit_row, hit_col, query)) return FindHit{hit_row, hit_col, raw < 0 || raw >= Cells};
  }
  return std::nullopt;
}

}  // namespace sw48230
