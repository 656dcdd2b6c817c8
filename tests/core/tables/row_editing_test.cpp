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

TEST(RowEditing, InsertMovesRowsDownDroppingTheLastAndStartsEnabled) {
  RequestTable table = full_table();
  Insert_Row(table, 1);
  EXPECT_EQ(table.cell(1, Col_Enable), "Y");
  for (int col = 2; col < RequestTable::ColCount; ++col) EXPECT_EQ(table.cell(1, col), "");
  expect_row(table, 2, "1");
  expect_row(table, 512, "511");
  expect_numbers_kept(table);

  RequestTable last = full_table();
  Insert_Row(last, 512);
  expect_row(last, 511, "511");
  EXPECT_EQ(last.cell(512, Col_Enable), "Y");
  EXPECT_EQ(last.cell(512, Col_COB), "");
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

TEST(RowEditing, EnterWalksTheTableAndWraps) {
  const struct {
    int col, row;
    int next_col, next_row;
  } cases[] = {
      {1, 1, 2, 1}, {12, 7, 13, 7}, {13, 7, 1, 8}, {13, 512, 1, 1}, {0, 5, 0, 5}, {4, 0, 4, 0},
  };
  for (const auto& c : cases) {
    RequestTable table;
    table.current_col = c.col;
    table.current_row = c.row;
    EXPECT_TRUE(Jump_Next_Cell(table, true));
    EXPECT_EQ(table.current_col, c.next_col) << c.col << "," << c.row;
    EXPECT_EQ(table.current_row, c.next_row) << c.col << "," << c.row;
  }
  RequestTable table;
  table.current_col = 3;
  EXPECT_FALSE(Jump_Next_Cell(table, false));
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
