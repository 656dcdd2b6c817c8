#include "core/probe/tested_rows.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/commsettings/device_type.h"
#include "core/tables/row_editing.h"

namespace sw48230 {
namespace {

// Rows 1 to `count` in use, each with a Cob-ID and a mnemonic of its own.
RequestTable table_of(int count) {
  RequestTable table;
  for (int row = 1; row <= count; ++row) {
    table.cell(row, Col_COB) = std::to_string(100 + row);
    table.cell(row, Col_Mnemonic) = "request " + std::to_string(row);
  }
  return table;
}

ProbeResult answer(int row, ProbeStatus status = ProbeStatus::Ok) {
  ProbeResult result;
  result.row = row;
  result.status = status;
  result.values = {static_cast<std::uint16_t>(row)};
  return result;
}

// The row each shown result came from (its value), 0 where none shows.
std::vector<int> shown(const TestedRows& tested, const RequestTable& table, int rows) {
  std::vector<int> from;
  for (int row = 1; row <= rows; ++row) {
    const ProbeResult* result = tested.Shown(table, row);
    from.push_back(result == nullptr ? 0 : result->values.at(0));
  }
  return from;
}

TEST(TestedRows, ResultsShowOnTheRowsTheyTestedOnceTheyArrive) {
  const RequestTable table = table_of(4);
  TestedRows tested;
  tested.Start(table, {1, 2, 4});
  EXPECT_EQ(shown(tested, table, 5), (std::vector<int>{0, 0, 0, 0, 0}));
  tested.Arrived(answer(4));
  tested.Arrived(answer(1));
  EXPECT_EQ(shown(tested, table, 5), (std::vector<int>{1, 0, 0, 4, 0}));
  // A row nobody asked about gets nothing.
  tested.Arrived(answer(3));
  EXPECT_EQ(tested.Shown(table, 3), nullptr);

  tested.Start(table, {2});
  EXPECT_EQ(shown(tested, table, 5), (std::vector<int>{0, 0, 0, 0, 0}));
  tested.Arrived(answer(2));
  tested.Clear();
  EXPECT_EQ(shown(tested, table, 5), (std::vector<int>{0, 0, 0, 0, 0}));
}

// Each case changes the table as the screen's operations do, telling the
// ledger of rows that move, and names where each tested row's result shows
// afterwards (by the row it came from).
struct Change {
  const char* name;
  std::function<void(RequestTable&, TestedRows&)> apply;
  std::vector<int> expected;  // rows 1 to 6
};

TEST(TestedRows, AResultFollowsItsRequestThroughEveryChange) {
  const std::vector<Change> changes = {
      {"nothing", [](RequestTable&, TestedRows&) {}, {1, 2, 3, 4, 0, 0}},
      {"delete row 2",
       [](RequestTable& t, TestedRows& r) {
         Delete_Row(t, 2);
         r.Row_Removed(2);
       },
       {1, 3, 4, 0, 0, 0}},
      {"insert at row 2",
       [](RequestTable& t, TestedRows& r) {
         Insert_Row(t, 2);
         r.Row_Inserted(2);
       },
       {1, 0, 2, 3, 4, 0}},
      {"delete row 2, undone",
       [](RequestTable& t, TestedRows& r) {
         RowCopyBuffer lost;
         Copy_Row(t, 2, lost);
         Delete_Row(t, 2);
         r.Row_Removed(2);
         Insert_Row(t, 2);
         Paste_Row(t, 2, lost);
         r.Row_Inserted(2);
       },
       // The request is back, but the result went with the deleted row.
       {1, 0, 3, 4, 0, 0}},
      {"cell edited", [](RequestTable& t, TestedRows&) { t.cell(3, Col_Address) = "7"; }, {1, 2, 0, 4, 0, 0}},
      {"cell edited and edited back",
       [](RequestTable& t, TestedRows&) {
         t.cell(3, Col_Mnemonic) = "other";
         t.cell(3, Col_Mnemonic) = "request 3";
       },
       {1, 2, 3, 4, 0, 0}},
      {"another row pasted over row 1",
       [](RequestTable& t, TestedRows&) {
         RowCopyBuffer copied;
         Copy_Row(t, 4, copied);
         Paste_Row(t, 1, copied);
       },
       {0, 2, 3, 4, 0, 0}},
      {"row emptied",
       [](RequestTable& t, TestedRows&) {
         for (int col = Col_Enable; col < RequestTable::ColCount; ++col) t.cell(2, col).clear();
       },
       {1, 0, 3, 4, 0, 0}},
      {"table replaced, as by an import",
       [](RequestTable& t, TestedRows&) {
         t = table_of(6);
         t.cell(1, Col_Port) = "503";
       },
       // Rows 2 to 4 hold the very requests tested; row 1 does not.
       {0, 2, 3, 4, 0, 0}},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.name);
    RequestTable table = table_of(4);
    TestedRows tested;
    tested.Start(table, {1, 2, 3, 4});
    for (int row = 1; row <= 4; ++row) tested.Arrived(answer(row));
    change.apply(table, tested);
    EXPECT_EQ(shown(tested, table, 6), change.expected);
  }
}

TEST(TestedRows, ARowPushedOutOfTheTableTakesItsResultAlong) {
  RequestTable table = table_of(RequestTable::Data_Rows);
  TestedRows tested;
  tested.Start(table, {RequestTable::Data_Rows});
  tested.Arrived(answer(RequestTable::Data_Rows));
  table.cell(RequestTable::Data_Rows, Col_COB).clear();
  Insert_Row(table, 1);
  tested.Row_Inserted(1);
  for (int row = 1; row <= RequestTable::Data_Rows; ++row) ASSERT_EQ(tested.Shown(table, row), nullptr) << row;
}

TEST(TestedRows, ResultsArrivingAfterTheirRowMovedLandOnItsNewPlace) {
  RequestTable table = table_of(3);
  TestedRows tested;
  tested.Start(table, {2, 3});
  Delete_Row(table, 1);
  tested.Row_Removed(1);
  tested.Arrived(answer(3));
  tested.Arrived(answer(2));
  EXPECT_EQ(shown(tested, table, 3), (std::vector<int>{2, 3, 0}));
}

TEST(TestedRows, TheSummaryCountsWhatArrivedByStatus) {
  const RequestTable table = table_of(5);
  TestedRows tested;
  EXPECT_EQ(tested.Summary().to_test, 0);
  tested.Start(table, {1, 2, 3, 4, 5});
  tested.Arrived(answer(1));
  tested.Arrived(answer(2, ProbeStatus::Timeout));
  tested.Arrived(answer(3));
  tested.Arrived(answer(4, ProbeStatus::Unreachable));
  const TestSummary summary = tested.Summary();
  EXPECT_EQ(summary.to_test, 5);
  EXPECT_EQ(summary.tested, 4);
  EXPECT_EQ(summary.count(ProbeStatus::Ok), 2);
  EXPECT_EQ(summary.count(ProbeStatus::Timeout), 1);
  EXPECT_EQ(summary.count(ProbeStatus::Unreachable), 1);
  EXPECT_EQ(summary.count(ProbeStatus::Error), 0);
}

TEST(RowsToTest, TheRowsTheDeviceSendsNarrowedToTheSelection) {
  RequestTable table = table_of(5);
  table.cell(2, Col_Enable) = "N";
  table.cell(4, Col_Enable) = " y ";
  table.cell(7, Col_COB) = "300";  // beyond the gap at row 6: never stored
  TableContext jumper;
  jumper.Hard_Type = Device_Type_Jumper;
  TableContext dip_switch;
  dip_switch.Hard_Type = Device_Type_Dip_Switch;

  struct Case {
    const char* name;
    const TableContext& context;
    std::set<int> selected;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {"jumper, nothing selected", jumper, {}, {1, 2, 3, 4, 5}},
      {"dip-switch, nothing selected", dip_switch, {}, {1, 3, 4, 5}},
      {"dip-switch, a disabled and an empty row selected", dip_switch, {2, 3, 6, 7}, {3}},
      {"jumper, the same selection", jumper, {2, 3, 6, 7}, {2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Rows_To_Test(table, c.context, c.selected), c.expected);
  }
}

}  // namespace
}  // namespace sw48230
