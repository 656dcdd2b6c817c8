#pragma once

// A request table with all 512 rows in use and passing the read checks of
// dip-switch hardware, for the benchmarks.
#include <string>
#include <vector>

#include "core/tables/request_table.h"

namespace sw48230::bench {

inline RequestTable full_table() {
  RequestTable table;
  for (int row = 1; row <= RequestTable::Data_Rows; ++row) {
    const std::vector<std::string> cells = {"Y",
                                            std::to_string(row),
                                            CAN_Type_11_Bits,
                                            "192.168.0." + std::to_string(row % 250),
                                            "502",
                                            "1",
                                            "Holding Register",
                                            std::to_string(row * 4),
                                            "4",
                                            "1000",
                                            "0",
                                            "N",
                                            "request " + std::to_string(row)};
    for (int col = 1; col < RequestTable::ColCount; ++col)
      table.cell(row, col) = cells[static_cast<std::size_t>(col - 1)];
  }
  return table;
}

}  // namespace sw48230::bench
