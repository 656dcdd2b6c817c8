#include "core/tables/row_editing.h"

#include <gtest/gtest.h>

namespace sw48230 {
namespace {

// Every data cell of every row named after its place, so moves are visible.
RequestTable full_table() {
  RequestTable table;
  for (int row = 1; row < RequestTable::RowCount; ++row) {
    for (int col = 1; col < RequestTable::ColCount; ++col)
      table.cell(row, col) = std::to_string(row) + ":" + std::to_string(col);
  }
  return table;
}

void expect_numbers_kept(const RequestTable& table) {
  for (int row = 1; row < RequestTable::RowCount; ++row) ASSERT_EQ(table.cell(row, 0), std::to_string(row));
}

void expect_row(const RequestTable& table, int row, const std::string& from) {
  for (int col = 1; col < RequestTable::ColCount; ++col) {
    EXPECT_EQ(table.cell(row, col), from.empty() ? "" : from + ":" + std::to_string(col))
        << "row " << row << " col " << col;
  }
}

TEST(RowEditing, DeleteMovesLaterRowsUpAndClearsTheLast) {
  RequestTable table = full_table();
  Delete_Row(table, 1);
  expect_row(table, 1, "2");
  expect_row(table, 511, "512");
  expect_row(table, 512, "");
  expect_numbers_kept(table);

  RequestTable last = full_table();
  Delete_Row(last, 512);
  expect_row(last, 511, "511");
  expect_row(last, 512, "");
}

TEST(RowEditing, InsertMovesRowsDownAndStartsEnabled) {
  // The last row holds no request, so nothing that is saved is pushed out.
  RequestTable table = full_table();
  table.cell(512, Col_COB) = "  ";
  ASSERT_TRUE(Can_Insert_Row(table));
  EXPECT_TRUE(Insert_Row(table, 1));
  EXPECT_EQ(table.cell(1, Col_Enable), "Y");
  for (int col = 2; col < RequestTable::ColCount; ++col) EXPECT_EQ(table.cell(1, col), "");
  expect_row(table, 2, "1");
  expect_row(table, 512, "511");
  expect_numbers_kept(table);

  RequestTable last = full_table();
  last.cell(512, Col_COB).clear();
  EXPECT_TRUE(Insert_Row(last, 512));
  expect_row(last, 511, "511");
  EXPECT_EQ(last.cell(512, Col_Enable), "Y");
  EXPECT_EQ(last.cell(512, Col_Mnemonic), "");
}

TEST(RowEditing, InsertIsRefusedWhileTheLastRowIsInUse) {
  for (const int row : {1, 300, 512}) {
    SCOPED_TRACE(row);
    RequestTable table = full_table();
    EXPECT_FALSE(Can_Insert_Row(table));
    EXPECT_FALSE(Insert_Row(table, row));
    for (int r = 1; r < RequestTable::RowCount; ++r) expect_row(table, r, std::to_string(r));
  }
}

TEST(RowEditing, GapsBeforeRowsInUse) {
  RequestTable table;
  EXPECT_EQ(table.First_Gap_Row(), 0);
  table.cell(1, Col_COB) = "1";
  table.cell(2, Col_COB) = "2";
  EXPECT_EQ(table.First_Gap_Row(), 0);  // the empty rows after the last request are no gap
  table.cell(5, Col_COB) = "5";
  table.cell(9, Col_COB) = "9";
  EXPECT_EQ(table.First_Gap_Row(), 3);
  table.cell(3, Col_COB) = "3";
  table.cell(4, Col_COB) = "4";
  EXPECT_EQ(table.First_Gap_Row(), 6);
  table.cell(4, Col_COB) = " \t ";  // blanks only
  EXPECT_EQ(table.First_Gap_Row(), 4);
  RequestTable last_only;
  last_only.cell(512, Col_COB) = "0";
  EXPECT_EQ(last_only.First_Gap_Row(), 1);
}

TEST(RowEditing, CopyAndPaste) {
  RequestTable table;
  table.cell(3, Col_COB) = "385";
  table.cell(3, Col_Swap) = "N";
  table.cell(3, Col_Mnemonic) = "pump";
  RowCopyBuffer buffer;
  Copy_Row(table, 3, buffer);
  ASSERT_EQ(buffer.size(), 13u);
  EXPECT_EQ(buffer[Col_COB - 1], "385");

  EXPECT_EQ(Check_Paste(table, 5, false, buffer), PasteCheck::Nothing_Copied);
  EXPECT_EQ(Check_Paste(table, 5, true, RowCopyBuffer(12)), PasteCheck::Bad_Copy);
  EXPECT_EQ(Check_Paste(table, 5, true, RowCopyBuffer()), PasteCheck::Bad_Copy);

  // Check boxes alone do not make a row "in use"; any other non-blank cell does.
  table.cell(5, Col_Enable) = "N";
  table.cell(5, Col_Swap) = "Y";
  table.cell(5, Col_Port) = "   ";
  EXPECT_EQ(Check_Paste(table, 5, true, buffer), PasteCheck::Free);
  table.cell(5, Col_Mnemonic) = " x";
  EXPECT_EQ(Check_Paste(table, 5, true, buffer), PasteCheck::Row_In_Use);

  Paste_Row(table, 5, buffer);
  for (int col = 1; col < RequestTable::ColCount; ++col) EXPECT_EQ(table.cell(5, col), table.cell(3, col)) << col;
  EXPECT_EQ(table.cell(5, Col_Number), "5");
}

TEST(RowEditing, EnterWalksTheVisibleCellsAndStopsAtTheEnd) {
  const std::vector<int> none;
  const std::vector<int> jumper = {1, 3, 5, 10, 11, 12};
  const std::vector<int> write_dip = {10, 11};
  const struct {
    const std::vector<int>& hidden;
    int col, row;
    int next_col, next_row;
  } cases[] = {
      {none, 1, 1, 2, 1},       {none, 12, 7, 13, 7},     {none, 13, 7, 1, 8},           {none, 13, 512, 13, 512},
      {none, 0, 5, 1, 5},       {none, 4, 0, 4, 0},       {jumper, 2, 1, 4, 1},          {jumper, 4, 1, 6, 1},
      {jumper, 9, 1, 13, 1},    {jumper, 13, 1, 2, 2},    {jumper, 13, 512, 13, 512},    {jumper, 0, 3, 2, 3},
      {write_dip, 9, 4, 12, 4}, {write_dip, 13, 4, 1, 5}, {write_dip, 12, 512, 13, 512},
  };
  for (const auto& c : cases) {
    RequestTable table;
    table.current_col = c.col;
    table.current_row = c.row;
    EXPECT_TRUE(Jump_Next_Cell(table, true, c.hidden));
    EXPECT_EQ(table.current_col, c.next_col) << c.col << "," << c.row;
    EXPECT_EQ(table.current_row, c.next_row) << c.col << "," << c.row;
  }
  RequestTable table;
  table.current_col = 3;
  EXPECT_FALSE(Jump_Next_Cell(table, false, none));
  EXPECT_EQ(table.current_col, 3);
}

TEST(RowEditing, AutoSizeOnlyOnTitlesWhileTheOptionIsOn) {
  EXPECT_TRUE(AutoSize_Column(true, 0));
  EXPECT_FALSE(AutoSize_Column(true, 3));
  EXPECT_FALSE(AutoSize_Column(false, 0));
}

TEST(RowEditing, CheckIp) {
  const struct {
    const char* text;
    bool invalid;
  } cases[] = {
      {"192.168.1.125", false},   {" 1.2.3.4", false}, {"$C0.168.1.1", false}, {"0.0.0.0", false},
      {"255.255.255.255", false}, {"192.168.1", true}, {"1.2.3.4.5", true},    {"256.1.1.1", true},
      {"1..2.3", true},           {"", true},          {"1.2.3.4 ", true},     {"1.2.3.-1", true},
      {"a.b.c.d", true},          {"1.2.3", true},     {"1.2.3.", true},       {"...", true},
  };
  for (const auto& c : cases) EXPECT_EQ(Check_IP(c.text), c.invalid) << '"' << c.text << '"';
}

}  // namespace
}  // namespace sw48230
