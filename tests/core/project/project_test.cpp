#include "core/project/project.h"

#include <gtest/gtest.h>

#include <string>

#include "support/table_rows.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::TempDir;
using test::write_file;

const std::optional<std::string>& element(const Project& project, const char* name) {
  return project.settings.text(name);
}

TEST(Project, EachFileIsReadAsItStandsAndOnItsOwn) {
  TempDir dir;
  // Nothing there: every part missing, which each reader takes for its own
  // empty file.
  const Project empty = Load_Project(dir.path());
  EXPECT_EQ(empty.dir, dir.path());
  EXPECT_TRUE(empty.settings.missing());
  for (const TableKind* kind : Table_Kinds()) {
    EXPECT_TRUE(empty.table(*kind).missing()) << kind->file_name;
    EXPECT_EQ(empty.table(*kind).name, kind->file_name);
  }

  // Texts as they stand, blanks included; a missing element is none, not
  // empty; the first of a repeated element counts; unknown ones are passed
  // over.
  write_file(dir / "ParGen.xml",
             "<GeneralParameter><Device_Type> 1</Device_Type><Port></Port><Port>9</Port><Other>x</Other>"
             "<CAN_Baud>4</CAN_Baud></GeneralParameter>");
  write_file(dir / "var2.xml", "<C_TO_Customer_Protocol><row");
  const Project read = Load_Project(dir.path());
  EXPECT_FALSE(read.settings.failure);
  EXPECT_EQ(element(read, "Device_Type"), " 1");
  EXPECT_EQ(element(read, "Port"), "");
  EXPECT_EQ(element(read, "CAN_Baud"), "4");
  EXPECT_EQ(element(read, "Time_Out"), std::nullopt);
  EXPECT_EQ(element(read, "Other"), std::nullopt);
  // One file that cannot be read leaves the others as they are.
  EXPECT_TRUE(read.table(Read_Requests()).missing());
  const RequestsFile& broken = read.table(Write_Requests());
  ASSERT_TRUE(broken.failure);
  EXPECT_FALSE(broken.missing());
  EXPECT_EQ(broken.failure->file, "var2.xml");
  EXPECT_TRUE(broken.rows.empty());
}

TEST(Project, TableRowsAreEveryElementWithItsAttributesAsTheyStand) {
  TempDir dir;
  std::string rows;
  for (int i = 0; i < RequestTable::Data_Rows + 2; ++i) rows += "<row COB=\"" + std::to_string(i) + "\"/>";
  write_file(dir / "var.xml",
             "<C_TO_Customer_Protocol><!-- note --><row Mnemonic=\" a &amp; b \" COB=\"1\" COB=\"2\" Extra=\"x\"/>"
             "<?pi?>" +
                 rows + "</C_TO_Customer_Protocol>");
  const RequestsFile file = Read_Requests_File(dir / "var.xml");
  ASSERT_FALSE(file.failure);
  // Rows beyond the table's last one are kept: the checks and the images
  // tell the user about them rather than drop them unseen.
  ASSERT_EQ(file.rows.size(), static_cast<std::size_t>(RequestTable::Data_Rows + 3));
  const RequestsFile::Row& first = file.rows.front();
  EXPECT_EQ(first[var_file::Mnemonic], " a & b ");
  EXPECT_EQ(first[var_file::COB], "1");
  EXPECT_EQ(first[var_file::Enable], std::nullopt);
  EXPECT_EQ(file.rows[1][var_file::COB], "0");
  EXPECT_EQ(file.rows.back()[var_file::COB], std::to_string(RequestTable::Data_Rows + 1));
}

// A screen's unsaved table and the file OK would write from it are one and
// the same to every reader: what Test probes is what the device gets.
TEST(Project, ATableAsOnTheScreenIsTheFileItWouldBeSavedAs) {
  struct Case {
    const char* what;
    void (*fill)(RequestTable&);
  };
  const Case cases[] = {
      {"empty", [](RequestTable&) {}},
      {"typed texts",
       [](RequestTable& t) {
         t.cell(1, Col_COB) = " 0x1F ";
         t.cell(1, Col_IP) = " 10 . 0.0 .7";
         t.cell(1, Col_Type) = "holding register";
         t.cell(1, Col_Mnemonic) = "Pump <1> & \"2\" 'b' \xC3\xA9";
         t.cell(2, Col_COB) = "2";
         t.cell(2, Col_Enable) = "n";
         t.cell(2, Col_IP) = "1.2.3";
         t.cell(2, Col_Type) = "nonsense";
       }},
      {"a gap ends the saved rows",
       [](RequestTable& t) {
         t.cell(1, Col_COB) = "1";
         t.cell(3, Col_COB) = "3";
       }},
      {"every row",
       [](RequestTable& t) {
         for (int row = 1; row <= RequestTable::Data_Rows; ++row) t.cell(row, Col_COB) = std::to_string(row);
       }},
  };
  for (const Case& c : cases) {
    for (const TableKind* kind : Table_Kinds()) {
      TempDir dir;
      RequestTable table;
      c.fill(table);
      ASSERT_FALSE(Save_Table(dir.path(), *kind, table)) << c.what;
      const RequestsFile saved = Load_Project(dir.path()).table(*kind);
      EXPECT_EQ(Requests_File_Of(*kind, table), saved) << c.what << ", " << kind->file_name;
    }
  }
}

TEST(Project, WhatIsSavedLoadsBack) {
  TempDir dir;
  CommSettings settings;
  settings.Device_Type = Device_Type_Dip_Switch;
  settings.CAN_Type = 1;
  settings.Port = "1502";
  ASSERT_FALSE(Save_Settings(dir.path(), settings));
  RequestTable table;
  table.cell(1, Col_COB) = "7";
  table.cell(1, Col_IP) = "10.0.0.1";
  ASSERT_FALSE(Save_Table(dir.path(), Write_Requests(), table));

  const Project project = Load_Project(dir.path());
  const Result<CommSettings> loaded = Load_Comm_Settings(project.settings);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(*loaded, settings);
  EXPECT_EQ(project.table_context().Hard_Type, Device_Type_Dip_Switch);
  EXPECT_EQ(project.table_context().Type_Can, 1);
  EXPECT_EQ(project.table_context().Default_Port, 1502);
  RequestTable back;
  ASSERT_TRUE(Load_Table(project, Write_Requests(), back));
  EXPECT_EQ(back.cell(1, Col_COB), "7");
  EXPECT_EQ(back.cell(1, Col_IP), "10.0.0.1");
  EXPECT_TRUE(project.table(Read_Requests()).missing());

  // The project with a screen's table swaps only that table.
  table.cell(2, Col_COB) = "8";
  const Project edited = With_Table(project, Write_Requests(), table);
  EXPECT_EQ(edited.table(Write_Requests()).rows.size(), 2u);
  EXPECT_EQ(edited.settings, project.settings);
  EXPECT_EQ(edited.table(Read_Requests()), project.table(Read_Requests()));
}

}  // namespace
}  // namespace sw48230
