#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/tables/request_table.h"

namespace sw48230 {

// A cell that a find matched.
struct FindHit {
  int row = 0;
  int col = 0;
  bool wrapped = false;  // the search passed the end (or the top) of the table

  bool operator==(const FindHit&) const = default;
};

// Looks for `query` in the cells a user finds a request by: a number
// (decimal or 0x hex, by the number text rule) matches a Cob-ID, a unit id or
// a register address of that value; an IPv4 address or its leading bytes
// ("192.168.1") match a server address; any text matches a mnemonic holding
// it, ignoring the case of ASCII letters. The search starts after (`forward`)
// or before the cell at `row`, `col` and goes on from the other end once.
// Nothing when no cell matches or the query is blank.
std::optional<FindHit> Find_Request(const RequestTable& table, std::string_view query, int row, int col, bool forward);

}  // namespace sw48230
