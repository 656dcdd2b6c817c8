#include "core/probe/tested_rows.h"

#include <algorithm>

#include "core/commsettings/device_type.h"

namespace sw48230 {

std::vector<int> Rows_To_Test(const RequestTable& table, const TableContext& context, const std::set<int>& selected) {
  std::vector<int> rows;
  const bool only_enabled = context.Hard_Type == Device_Type_Dip_Switch;
  for (int row = 1; row <= RequestTable::Data_Rows && table.Row_In_Use(row); ++row) {
    if (only_enabled && !Is_Ticked(table.cell(row, Col_Enable))) continue;
    if (selected.empty() || selected.contains(row)) rows.push_back(row);
  }
  return rows;
}

TestedRows::Cells TestedRows::cells_of(const RequestTable& table, int row) {
  Cells cells;
  for (int col = Col_Enable; col < RequestTable::ColCount; ++col) {
    cells[static_cast<std::size_t>(col - Col_Enable)] = table.cell(row, col);
  }
  return cells;
}

void TestedRows::Start(const RequestTable& table, const std::vector<int>& rows) {
  entries_.clear();
  entries_.reserve(rows.size());
  for (const int row : rows) entries_.push_back(Entry{row, row, cells_of(table, row), false, {}});
}

void TestedRows::Clear() { entries_.clear(); }

void TestedRows::Arrived(const ProbeResult& result) {
  const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) { return e.started_row == result.row && !e.arrived; });
  if (entry == entries_.end()) return;
  entry->arrived = true;
  entry->result = result;
}

void TestedRows::Row_Removed(int row) {
  for (Entry& entry : entries_) {
    if (entry.row == row) {
      entry.row = 0;
    } else if (entry.row > row) {
      --entry.row;
    }
  }
}

void TestedRows::Row_Inserted(int row) {
  for (Entry& entry : entries_) {
    if (entry.row < row) continue;
    entry.row = entry.row == RequestTable::Data_Rows ? 0 : entry.row + 1;
  }
}

const ProbeResult* TestedRows::Shown(const RequestTable& table, int row) const {
  for (const Entry& entry : entries_) {
    if (entry.row != row || !entry.arrived) continue;
    return entry.tested == cells_of(table, row) ? &entry.result : nullptr;
  }
  return nullptr;
}

TestSummary TestedRows::Summary() const {
  TestSummary summary;
  summary.to_test = static_cast<int>(entries_.size());
  for (const Entry& entry : entries_) {
    if (!entry.arrived) continue;
    ++summary.tested;
    ++summary.by_status[static_cast<std::size_t>(entry.result.status)];
  }
  return summary;
}

}  // namespace sw48230
