#include "core/image/request_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/project/project.h"
#include "support/failure_of.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::screen_row;
using test::TableRow;
using Rows = std::vector<TableRow>;

// A bad attribute as the user is told of it, with the place a screen could
// point at.
std::string described(const std::optional<ImageError>& error) {
  if (!error) return "no error";
  const char* item = error->item == ImageError::Item::Attribute ? "attribute" : "other";
  return error->file + " | " + std::to_string(error->row) + " | " + item + ' ' + error->name + " | " +
         test::english(*error);
}

std::string attribute_error(const std::string& file, int row, const std::string& name, const std::string& problem) {
  return file + " | " + std::to_string(row) + " | attribute " + name + " | " + file + ", row " +
         std::to_string(row) + ": attribute " + name + ' ' + problem;
}

TableRow row_with_cob(std::uint32_t cob) { return screen_row().set("COB", std::to_string(cob)); }

Rows rows_with_cobs(std::size_t count, std::uint32_t first_cob = 0) {
  Rows rows;
  for (std::size_t i = 0; i < count; ++i) rows.push_back(row_with_cob(first_cob + static_cast<std::uint32_t>(i)));
  return rows;
}

// A project of two table files whose settings give `context`.
Project project_of(const std::filesystem::path& var, const std::filesystem::path& var2,
                   const TableContext& context = {}) {
  Project project;
  const auto set = [&project](const char* name, std::int32_t value) {
    for (std::size_t i = 0; i < pargen::Element_Names.size(); ++i) {
      if (std::string_view(name) == pargen::Element_Names[i]) project.settings.elements[i] = std::to_string(value);
    }
  };
  set(pargen::Device_Type, context.Hard_Type);
  set(pargen::CAN_Type, context.Type_Can);
  set(pargen::Port, context.Default_Port);
  project.table(Read_Requests()) = Read_Requests_File(var);
  project.table(Write_Requests()) = Read_Requests_File(var2);
  return project;
}

class RequestImageTest : public ::testing::Test {
 protected:
  std::filesystem::path write(const char* name, const std::string& content) {
    test::write_file(dir_ / name, content);
    return dir_ / name;
  }
  std::filesystem::path write(const char* name, const Rows& rows) { return write(name, test::table_document(rows)); }

  // The records of the two tables; a table without rows gets no file.
  std::optional<ImageError> read_master(const Rows& requests, const Rows& settings,
                                        const TableContext& context = {}) {
    image_ = std::make_unique<Bank2Image>();
    const auto var = requests.empty() ? dir_ / "var.xml" : write("var.xml", requests);
    const auto var2 = settings.empty() ? dir_ / "var2.xml" : write("var2.xml", settings);
    return Read_Master_Requests(project_of(var, var2, context), *image_);
  }
  const Request_Record& record(std::size_t index) const { return image_->records[index]; }
  const General_Block& general() const { return image_->general; }

  Result<std::uint16_t> append(const TableKind& kind, const Rows& rows) {
    return Append_Bank_Rows(kind, Read_Requests_File(write(kind.file_name, rows)), bank_);
  }
  std::vector<Bank_Row> appended_rows(std::size_t from = 0) const {
    std::vector<Bank_Row> rows;
    for (std::size_t offset = from; offset + Bank_Row_Size <= bank_.size(); offset += Bank_Row_Size) {
      rows.push_back(Parse_Bank_Row(std::span(bank_).subspan(offset).first<Bank_Row_Size>()));
    }
    return rows;
  }

  test::TempDir dir_;
  std::unique_ptr<Bank2Image> image_;
  Bytes bank_;
};

// The record of screen_row() as a read request.
Request_Record screen_request_record() {
  Request_Record r;
  r.COB = 256;
  r.IP_Address = Ip_Address_Number({192, 168, 0, 11});
  r.Port = 502;
  r.ID_Modbus = 1;
  r.Function = modbus_function::Read_Holding_Registers;
  r.Address_Word = 7;
  r.Quantity = 1;
  r.Byte_Count = 2;
  r.Poll_Time = 100;
  return r;
}

// ---- bank2.bin records ---------------------------------------------------

TEST_F(RequestImageTest, RecordsFollowTheTablesWithSlotsCountedPerTable) {
  ASSERT_EQ(read_master({row_with_cob(0x300), row_with_cob(0x100)},
                        {row_with_cob(0x200).set("Type", "1").set("Quantity", "4")}),
            std::nullopt);
  // Table order, not Cob-ID order.
  EXPECT_EQ(record(0).COB, 0x300u);
  EXPECT_EQ(record(1).COB, 0x100u);
  EXPECT_EQ(record(2).COB, 0x200u);
  EXPECT_EQ(record(0).Slot_Offset, 0);
  EXPECT_EQ(record(1).Slot_Offset, 8);
  EXPECT_EQ(record(2).Slot_Offset, 0);
  EXPECT_EQ(record(2).Function, modbus_function::Write_Multiple_Registers);
  EXPECT_EQ(general().Request_Count, 2u);
  EXPECT_EQ(general().Setting_Count, 1u);
  EXPECT_EQ(general().Record_Count, 3u);
  EXPECT_EQ(general().Default_Port, 502);
  for (std::size_t i = 3; i < Request_Record_Count; ++i) ASSERT_EQ(record(i), Request_Record{}) << "record " << i;
}

// The rows the checks take as enabled, and only those.
TEST_F(RequestImageTest, RowsEnabledAsTheChecksSeeThemGetARecord) {
  const struct {
    std::optional<std::string> enable;  // nothing: no Enable attribute
    bool taken;
  } cases[] = {{"Y", true},  {std::nullopt, true}, {"N", false}, {"y", true},
               {" Y", true}, {"Y ", true},         {"", false},  {"1", false}};
  Rows rows;
  std::vector<std::uint32_t> expected_cobs;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TableRow row = row_with_cob(static_cast<std::uint32_t>(i));
    if (cases[i].enable) {
      row.set("Enable", *cases[i].enable);
    } else {
      row.erase("Enable");
    }
    // A disabled row is not read at all, so its address may be anything.
    if (!cases[i].taken) row.set("IP_Add_B3", "");
    rows.push_back(row);
    if (cases[i].taken) expected_cobs.push_back(static_cast<std::uint32_t>(i));
  }
  ASSERT_EQ(read_master(rows, rows), std::nullopt);

  ASSERT_EQ(general().Request_Count, expected_cobs.size());
  ASSERT_EQ(general().Setting_Count, expected_cobs.size());
  for (std::size_t i = 0; i < expected_cobs.size(); ++i) {
    EXPECT_EQ(record(i).COB, expected_cobs[i]);
    EXPECT_EQ(record(i).Slot_Offset, 8 * i);
    EXPECT_EQ(record(expected_cobs.size() + i).COB, expected_cobs[i]);
    EXPECT_EQ(record(expected_cobs.size() + i).Slot_Offset, 8 * i);
  }
}

TEST_F(RequestImageTest, ReadRequestFieldsAndTheirFallbacks) {
  const struct {
    const char* name;
    std::function<void(TableRow&)> change;
    std::function<void(Request_Record&)> expect;  // changes from screen_request_record()
  } cases[] = {
      {"every field its own value",
       [](TableRow& row) {
         row.set("COB", "0x123")
             .set("CAN_Type", "CAN 2.0B (29 bits)")
             .set("IP_Add_B1", "10")
             .set("IP_Add_B2", "1")
             .set("IP_Add_B3", "2")
             .set("IP_Add_B4", "3")
             .set("Port", "5020")
             .set("ID_Modbus", "17")
             .set("Type", "0")
             .set("Address_Word", "40001")
             .set("Quantity", "64")
             .set("PollTime", "1500")
             .set("MaxError", "3")
             .set("Swap", "Y");
       },
       [](Request_Record& r) {
         r.COB = 0x123 | COB_29_Bit_Flag;
         r.IP_Address = 0x0A010203;
         r.Port = 5020;
         r.ID_Modbus = 17;
         r.Function = modbus_function::Read_Coils;
         r.Address_Word = 40001;
         r.Quantity = 64;
         r.Byte_Count = 8;
         r.Poll_Time = 1500;
         r.Max_Error = 3;
         r.Flags = Flags_Swap;
       }},
      {"no Port", [](TableRow& row) { row.erase("Port"); }, [](Request_Record&) {}},
      {"Port not a number", [](TableRow& row) { row.set("Port", "5020 "); }, [](Request_Record&) {}},
      {"Port, low 16 bits", [](TableRow& row) { row.set("Port", "70000"); }, [](Request_Record& r) { r.Port = 4464; }},
      {"no PollTime or MaxError", [](TableRow& row) { row.erase("PollTime").erase("MaxError"); },
       [](Request_Record& r) { r.Poll_Time = 0; }},
      {"PollTime and MaxError, 32 bits", [](TableRow& row) { row.set("PollTime", "$FFFFFFFF").set("MaxError", "-2"); },
       [](Request_Record& r) {
         r.Poll_Time = 0xFFFFFFFF;
         r.Max_Error = 0xFFFFFFFE;
       }},
      {"no Type", [](TableRow& row) { row.erase("Type").set("Quantity", "4"); },
       [](Request_Record& r) {
         r.Quantity = 4;
         r.Byte_Count = 8;
       }},
      {"Type not a number", [](TableRow& row) { row.set("Type", "x"); }, [](Request_Record&) {}},
      {"Type with blanks", [](TableRow& row) { row.set("Type", " 2 "); }, [](Request_Record&) {}},
      {"Type 1", [](TableRow& row) { row.set("Type", "1").set("Quantity", "9"); },
       [](Request_Record& r) {
         r.Function = modbus_function::Read_Discrete_Inputs;
         r.Quantity = 9;
         r.Byte_Count = 2;
       }},
      {"Type 3", [](TableRow& row) { row.set("Type", "3").set("Quantity", "4"); },
       [](Request_Record& r) {
         r.Function = modbus_function::Read_Input_Registers;
         r.Quantity = 4;
         r.Byte_Count = 8;
       }},
      {"COB not a number", [](TableRow& row) { row.set("COB", "0x"); }, [](Request_Record& r) { r.COB = 0; }},
      {"29 bits in other letter case and blanks", [](TableRow& row) { row.set("CAN_Type", " can 2.0b (29 BITS) "); },
       [](Request_Record& r) { r.COB |= COB_29_Bit_Flag; }},
      {"no CAN_Type", [](TableRow& row) { row.erase("CAN_Type"); }, [](Request_Record&) {}},
      {"another CAN_Type", [](TableRow& row) { row.set("CAN_Type", "CAN 2.0B"); }, [](Request_Record&) {}},
      {"no ID_Modbus", [](TableRow& row) { row.erase("ID_Modbus"); }, [](Request_Record&) {}},
      {"ID_Modbus, low 8 bits", [](TableRow& row) { row.set("ID_Modbus", "300"); },
       [](Request_Record& r) { r.ID_Modbus = 44; }},
      {"no Quantity", [](TableRow& row) { row.erase("Quantity"); }, [](Request_Record&) {}},
      {"address bytes by the number rule", [](TableRow& row) { row.set("IP_Add_B1", " 300").set("IP_Add_B4", "$FF"); },
       [](Request_Record& r) {
         r.IP_Address = Ip_Address_Number({44, 168, 0, 255});
       }},
      // As the screen shows the check box: ticked.
      {"Swap in lower case", [](TableRow& row) { row.set("Swap", "y"); },
       [](Request_Record& r) { r.Flags = Flags_Swap; }},
      {"no Swap", [](TableRow& row) { row.erase("Swap"); }, [](Request_Record& r) { r.Flags = Flags_Swap; }},
  };
  for (const auto& c : cases) {
    TableRow row = screen_row();
    c.change(row);
    ASSERT_EQ(read_master({row}, {}), std::nullopt) << c.name;
    Request_Record expected = screen_request_record();
    c.expect(expected);
    EXPECT_EQ(record(0), expected) << c.name;
  }
}

// A row without a Cob-ID is not in use: the table screen neither checks
// nor saves it, and neither image holds it.
TEST_F(RequestImageTest, RowsWithoutACobIdAreLeftOut) {
  const Rows rows = {screen_row().erase("COB"), screen_row().set("COB", " "), row_with_cob(5)};
  ASSERT_EQ(read_master(rows, rows), std::nullopt);
  EXPECT_EQ(general().Request_Count, 1u);
  EXPECT_EQ(general().Setting_Count, 1u);
  EXPECT_EQ(record(0).COB, 5u);
  EXPECT_EQ(record(1).COB, 5u);

  const Result<std::uint16_t> appended = append(Read_Requests(), rows);
  ASSERT_EQ(test::failure_of(appended), std::nullopt);
  EXPECT_EQ(*appended, 1);
}

// What a row leaves out it has as the table screen shows it: the project's
// frame format and the project's port.
TEST_F(RequestImageTest, ARowWithoutCanTypeOrPortTakesTheProjectsValues) {
  TableContext context;
  context.Hard_Type = 1;
  context.Type_Can = 1;
  context.Default_Port = 1502;
  const Rows rows = {screen_row().erase("CAN_Type").erase("Port"), screen_row()};
  ASSERT_EQ(read_master(rows, {}, context), std::nullopt);
  EXPECT_EQ(record(0).COB, 256u | COB_29_Bit_Flag);
  EXPECT_EQ(record(0).Port, 1502);
  EXPECT_EQ(record(1).COB, 256u);
  EXPECT_EQ(record(1).Port, 502);
  EXPECT_EQ(general().Default_Port, 502) << "the general block keeps its constant";
}

TEST_F(RequestImageTest, WriteRequestFunctionsFollowTypeAndQuantity) {
  const struct {
    std::optional<std::string> type;
    const char* quantity;
    std::uint8_t function;
    std::uint8_t byte_count;
  } cases[] = {
      {"0", "1", 5, 1}, {"0", "16", 15, 2}, {"1", "1", 6, 2},          {"1", "4", 16, 8},          {" 1", "3", 16, 6},
      {"2", "1", 0, 2}, {"x", "2", 0, 4},   {std::nullopt, "1", 6, 2}, {std::nullopt, "4", 16, 8}, {" 0", "1", 5, 1},
      {"1 ", "1", 0, 2},
  };
  for (const auto& c : cases) {
    TableRow row = screen_row().set("Quantity", c.quantity);
    if (c.type) {
      row.set("Type", *c.type);
    } else {
      row.erase("Type");
    }
    ASSERT_EQ(read_master({}, {row}), std::nullopt);
    const std::string name = "Type " + c.type.value_or("(none)") + ", Quantity " + c.quantity;
    EXPECT_EQ(record(0).Function, c.function) << name;
    EXPECT_EQ(record(0).Byte_Count, c.byte_count) << name;
  }
}

TEST_F(RequestImageTest, WriteRequestsCarryNoPollTimeOrMaxError) {
  ASSERT_EQ(read_master({}, {screen_row().set("PollTime", "1500").set("MaxError", "3").set("Swap", "Y")}),
            std::nullopt);
  EXPECT_EQ(record(0).Poll_Time, 0u);
  EXPECT_EQ(record(0).Max_Error, 0u);
  EXPECT_EQ(record(0).Flags, Flags_Swap);
}

TEST_F(RequestImageTest, AnEnabledRowWithoutItsAddressStopsTheBuild) {
  const struct {
    std::function<void(TableRow&)> change;
    const char* attribute;
    const char* problem;
  } cases[] = {
      {[](TableRow& row) { row.set("IP_Add_B3", ""); }, "IP_Add_B3", "is not a number: \"\""},
      {[](TableRow& row) { row.erase("IP_Add_B1"); }, "IP_Add_B1", "is missing"},
      {[](TableRow& row) { row.set("IP_Add_B4", "11 "); }, "IP_Add_B4", "is not a number: \"11 \""},
      {[](TableRow& row) { row.erase("Address_Word"); }, "Address_Word", "is missing"},
      {[](TableRow& row) { row.set("Address_Word", "1.5"); }, "Address_Word", "is not a number: \"1.5\""},
  };
  for (const auto& c : cases) {
    TableRow bad = screen_row();
    c.change(bad);
    EXPECT_EQ(described(read_master({screen_row(), bad}, {})), attribute_error("var.xml", 2, c.attribute, c.problem));
    EXPECT_EQ(described(read_master({screen_row()}, {screen_row(), screen_row(), bad})),
              attribute_error("var2.xml", 3, c.attribute, c.problem));
  }
  EXPECT_EQ(test::english(*read_master({screen_row().set("IP_Add_B3", "")}, {})),
            "var.xml, row 1: attribute IP_Add_B3 is not a number: \"\"");
}

TEST_F(RequestImageTest, MissingTablesAreEmptyAndUnparsableOnesStopTheBuild) {
  ASSERT_EQ(read_master({}, {}), std::nullopt);
  EXPECT_EQ(general().Record_Count, 0u);
  EXPECT_EQ(general().Default_Port, 502);
  EXPECT_EQ(record(0), Request_Record{});

  image_ = std::make_unique<Bank2Image>();
  const auto error = Read_Master_Requests(project_of(write("var.xml", test::table_document({screen_row()})),
                                                     write("var2.xml", "<C_TO_Customer_Protocol><row")),
                                          *image_);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->file, "var2.xml");
  EXPECT_EQ(error->item, ImageError::Item::File);
  EXPECT_EQ(test::english(*error).rfind("var2.xml cannot be read: ", 0), 0u) << test::english(*error);
}

TEST_F(RequestImageTest, RowsOtherThanElementsAreNoRequests) {
  const std::string document = test::table_document({row_with_cob(1), row_with_cob(2)});
  const std::string with_comment =
      document.substr(0, document.find("<row", 1)) + "<!-- note -->" + document.substr(document.find("<row", 1));
  image_ = std::make_unique<Bank2Image>();
  ASSERT_EQ(Read_Master_Requests(project_of(write("var.xml", with_comment), dir_ / "none.xml"), *image_), std::nullopt);
  EXPECT_EQ(general().Request_Count, 2u);
  EXPECT_EQ(record(1).COB, 2u);
}

TEST_F(RequestImageTest, AttributesInAnyOrder) {
  const TableRow usual = screen_row().set("Swap", "Y").set("COB", "0x7FF");
  TableRow reversed;
  reversed.set("Unknown", "1");
  for (auto a = usual.attributes().rbegin(); a != usual.attributes().rend(); ++a) reversed.set(a->first, a->second);

  ASSERT_EQ(read_master({usual, reversed}, {}), std::nullopt);
  EXPECT_EQ(record(1).COB, 0x7FFu);
  EXPECT_EQ(record(1).Flags, Flags_Swap);
  Request_Record from_reversed = record(1);
  from_reversed.Slot_Offset = record(0).Slot_Offset;
  EXPECT_EQ(from_reversed, record(0));

  ASSERT_EQ(test::failure_of(append(Read_Requests(), {usual, reversed})), std::nullopt);
  const auto rows = appended_rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], rows[1]);
  EXPECT_EQ(rows[0].COB, 0x7FFu);
}

TEST_F(RequestImageTest, ARepeatedAttributeCountsOnce) {
  std::string document = test::table_document({screen_row()});
  const std::string cob = " COB=\"256\"";
  document.replace(document.find(cob), cob.size(), " COB=\"5\" COB=\"6\"");
  image_ = std::make_unique<Bank2Image>();
  ASSERT_EQ(Read_Master_Requests(project_of(write("var.xml", document), dir_ / "none.xml"), *image_), std::nullopt);
  EXPECT_EQ(record(0).COB, 5u);
}

// Two full tables fill every record; a table of more rows than the screens
// hold is refused before any record is filled from it.
TEST_F(RequestImageTest, TwoFullTablesFillEveryRecord) {
  Rows settings = rows_with_cobs(RequestTable::Data_Rows);
  ASSERT_EQ(read_master(rows_with_cobs(RequestTable::Data_Rows), settings), std::nullopt);
  EXPECT_EQ(general().Record_Count, 1024u);
  EXPECT_EQ(general().Setting_Count, 512u);
  EXPECT_EQ(record(1023).COB, 511u);
  EXPECT_EQ(record(1023).Slot_Offset, 8 * 511);

  settings.push_back(screen_row().set("Enable", "N"));  // disabled, and still a row too many
  const auto error = read_master(rows_with_cobs(RequestTable::Data_Rows), settings);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(test::english(*error), "var2.xml has 513 rows, more than the 512 a table holds");
}

// ---- bank.bin rows -------------------------------------------------------

TEST_F(RequestImageTest, BankRowsAreSortedByUnsignedCobKeepingFileOrderOfEqualOnes) {
  bank_ = {0xAA};  // what was appended before stays
  const Result<std::uint16_t> result =
      append(Read_Requests(), {
                                  screen_row().set("COB", "0x300"),
                                  screen_row().set("COB", "0x100").set("IP_Add_B4", "1"),
                                  screen_row().set("COB", "$FFFFFFFF"),
                                  screen_row().set("COB", "0x200"),
                                  screen_row().set("COB", "0x100").set("IP_Add_B4", "2"),
                              });
  ASSERT_EQ(test::failure_of(result), std::nullopt);
  EXPECT_EQ(*result, 5);
  ASSERT_EQ(bank_.size(), 1 + 5 * Bank_Row_Size);
  EXPECT_EQ(bank_[0], 0xAA);

  std::vector<std::pair<std::uint32_t, std::uint8_t>> order;  // COB, last address byte
  for (const Bank_Row& row : appended_rows(1)) order.emplace_back(row.COB, row.IP_Address[3]);
  EXPECT_EQ(order, (std::vector<std::pair<std::uint32_t, std::uint8_t>>{
                       {0x100, 1}, {0x100, 2}, {0x200, 11}, {0x300, 11}, {0xFFFFFFFF, 11}}));
  // The first row, byte by byte: COB, address in reading order, address word,
  // unit, type code, quantity.
  const Bytes first(bank_.begin() + 1, bank_.begin() + 1 + Bank_Row_Size);
  EXPECT_EQ(first, (Bytes{0x00, 0x01, 0x00, 0x00, 0xC0, 0xA8, 0x00, 0x01, 0x07, 0x00, 0x01, 0x03, 0x01}));
}

TEST_F(RequestImageTest, EveryBankRowCountsWhateverTheAttributesBankBinDoesNotRead) {
  const Result<std::uint16_t> result =
      append(Write_Requests(), {
                                   screen_row().set("Enable", "N"),
                                   screen_row().erase("Enable").erase("CAN_Type").erase("Swap"),
                                   screen_row().set("Port", "x").set("PollTime", "x").set("MaxError", ""),
                                   screen_row().set("CAN_Type", "CAN 2.0B (29 bits)").set("COB", "0x1ABCDEF"),
                               });
  ASSERT_EQ(test::failure_of(result), std::nullopt);
  EXPECT_EQ(*result, 4);
  EXPECT_EQ(appended_rows().back().COB, 0x1ABCDEFu);  // no 29-bit flag in bank.bin
}

TEST_F(RequestImageTest, BankRowValuesAreStoredInTheirLowBits) {
  ASSERT_EQ(test::failure_of(append(Read_Requests(), {screen_row()
                                                          .set("IP_Add_B1", "$1C0")
                                                          .set("Address_Word", "65537")
                                                          .set("ID_Modbus", "-1")
                                                          .set("Quantity", "300")})),
            std::nullopt);
  const Bank_Row row = appended_rows().front();
  EXPECT_EQ(row.IP_Address, (Ipv4Bytes{0xC0, 168, 0, 11}));
  EXPECT_EQ(row.Address_Word, 1);
  EXPECT_EQ(row.ID_Modbus, 255);
  EXPECT_EQ(row.Quantity, 44);
}

TEST_F(RequestImageTest, BankRowTypeCodes) {
  const struct {
    const TableKind& kind;
    const char* type;
    std::uint8_t code;
  } cases[] = {
      {Read_Requests(), "0", 1},   {Read_Requests(), "1", 2},
      {Read_Requests(), "2", 3},   {Read_Requests(), " 3", 4},
      {Read_Requests(), "255", 0}, {Write_Requests(), "0", 1},
      {Write_Requests(), "1", 3},   {Write_Requests(), " 1", 3},
      {Write_Requests(), "2", 3},   {Write_Requests(), "256", 1},
  };
  for (const auto& c : cases) {
    bank_.clear();
    ASSERT_EQ(test::failure_of(append(c.kind, {screen_row().set("Type", c.type)})), std::nullopt);
    EXPECT_EQ(appended_rows().front().Type_Code, c.code)
        << (c.kind.command_name) << " type \"" << c.type << '"';
  }
}

TEST_F(RequestImageTest, ABankRowValueThatCannotBeReadAppendsNothing) {
  const struct {
    std::function<void(TableRow&)> change;
    const char* attribute;
    const char* problem;
  } cases[] = {
      {[](TableRow& row) { row.set("COB", "1 "); }, "COB", "is not a number: \"1 \""},
      {[](TableRow& row) { row.set("IP_Add_B2", "x"); }, "IP_Add_B2", "is not a number: \"x\""},
      {[](TableRow& row) { row.erase("Address_Word"); }, "Address_Word", "is missing"},
      {[](TableRow& row) { row.set("ID_Modbus", " "); }, "ID_Modbus", "is not a number: \" \""},
      {[](TableRow& row) { row.erase("Type"); }, "Type", "is missing"},
      {[](TableRow& row) { row.set("Quantity", "1 "); }, "Quantity", "is not a number: \"1 \""},
  };
  for (const auto& c : cases) {
    TableRow bad = screen_row();
    c.change(bad);
    bank_ = {1, 2, 3};
    const Result<std::uint16_t> result = append(Write_Requests(), {screen_row(), bad, screen_row()});
    EXPECT_EQ(described(test::failure_of(result)), attribute_error("var2.xml", 2, c.attribute, c.problem));
    EXPECT_EQ(bank_, (Bytes{1, 2, 3})) << c.attribute;
  }
}

TEST_F(RequestImageTest, BankRowsOfAFullTableAndOfOneRowTooMany) {
  Rows rows = rows_with_cobs(RequestTable::Data_Rows);
  const Result<std::uint16_t> full = append(Read_Requests(), rows);
  ASSERT_EQ(test::failure_of(full), std::nullopt);
  EXPECT_EQ(*full, RequestTable::Data_Rows);
  EXPECT_EQ(bank_.size(), RequestTable::Data_Rows * Bank_Row_Size);

  bank_.clear();
  rows.push_back(screen_row());
  const Result<std::uint16_t> over = append(Read_Requests(), rows);
  ASSERT_FALSE(over);
  EXPECT_EQ(test::english(over.failure()), "var.xml has 513 rows, more than the 512 a table holds");
  EXPECT_TRUE(bank_.empty());
}

TEST_F(RequestImageTest, BankRowsOfMissingAndUnparsableFiles) {
  bank_ = {1, 2, 3};
  const Result<std::uint16_t> missing = Append_Bank_Rows(Read_Requests(), Read_Requests_File(dir_ / "var.xml"), bank_);
  ASSERT_EQ(test::failure_of(missing), std::nullopt);
  EXPECT_EQ(*missing, 0);

  const Result<std::uint16_t> broken =
      Append_Bank_Rows(Read_Requests(), Read_Requests_File(write("var.xml", "<C_TO_Customer_Protocol>")), bank_);
  ASSERT_FALSE(broken);
  EXPECT_EQ(broken.failure().file, "var.xml");
  EXPECT_EQ(broken.failure().item, ImageError::Item::File);
  EXPECT_EQ(bank_, (Bytes{1, 2, 3}));
}

}  // namespace
}  // namespace sw48230
