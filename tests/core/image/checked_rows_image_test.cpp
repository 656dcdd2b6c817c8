// For random projects that pass the checks, with every spelling the checks
// accept: each row the checks take as enabled is in bank2.bin, in table
// order, with the values the table screen shows.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/common/number_text.h"
#include "core/common/text.h"
#include "core/commsettings/comm_settings.h"
#include "core/image/image_build.h"
#include "core/image/image_decode.h"
#include "core/project/project.h"
#include "core/tables/request_checks.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"
#include "support/failure_of.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

class RowMaker {
 public:
  explicit RowMaker(unsigned seed) : random_(seed) {}

  int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool chance(int percent) { return between(1, 100) <= percent; }
  template <typename T>
  const T& pick(const std::vector<T>& choices) {
    return choices[static_cast<std::size_t>(between(0, static_cast<int>(choices.size()) - 1))];
  }

  // A number text the number rule reads as `value`, in one of its spellings.
  std::string spelt(int value) {
    switch (between(0, 3)) {
      case 0:
        return " " + std::to_string(value);
      case 1: {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(value));
        return hex;
      }
      default:
        return std::to_string(value);
    }
  }

  // Sets `name` to one of the given texts, or leaves it out when the table
  // screen has a fallback for it.
  void set_or_leave_out(test::TableRow& row, const std::string& name, const std::string& text, bool may_leave_out) {
    if (may_leave_out && chance(15)) {
      row.erase(name);
    } else {
      row.set(name, text);
    }
  }

  test::TableRow row(const TableKind& kind, int project_can_type) {
    test::TableRow row = test::screen_row();
    set_or_leave_out(row, "Enable", pick<std::string>({"Y", "y", " Y ", "N", "n", ""}), true);
    const std::string can_type =
        pick<std::string>({"CAN 2.0A (11 bits)", "can 2.0a (11 BITS)", "CAN 2.0B (29 bits)", " CAN 2.0B (29 bits) "});
    // A row without CAN_Type has the project's frame format.
    bool extended = project_can_type != 0;
    if (chance(15)) {
      row.erase("CAN_Type");
    } else {
      row.set("CAN_Type", can_type);
      extended = to_upper_ascii(trim_blanks(can_type)) == "CAN 2.0B (29 BITS)";
    }
    row.set("COB", spelt(extended ? between(0, 0x1FFFFFFF) : between(0, 2047)));
    for (const char* byte : {"IP_Add_B1", "IP_Add_B2", "IP_Add_B3", "IP_Add_B4"}) {
      row.set(byte, std::to_string(between(0, 255)));
    }
    set_or_leave_out(row, "Port", spelt(between(0, 65535)), true);
    set_or_leave_out(row, "ID_Modbus", spelt(between(0, 255)), true);
    const int type = between(0, static_cast<int>(kind.type_texts.size()) - 1);
    set_or_leave_out(row, "Type", pick<std::string>({" ", ""}) + std::to_string(type), false);
    row.set("Address_Word", spelt(between(0, 65535)));
    row.set("Quantity", spelt(kind.type_counts_bits[static_cast<std::size_t>(type)] ? between(1, 64) : between(1, 4)));
    row.set("PollTime", spelt(between(1, 100000000)));
    set_or_leave_out(row, "MaxError", spelt(between(0, 100000000)), true);
    set_or_leave_out(row, "Swap", pick<std::string>({"Y", "y", "N", ""}), true);
    return row;
  }

 private:
  std::mt19937 random_;
};

// The record the table screen's row stands for, from its cells alone.
void expect_record_of_row(const TableKind& kind, const RequestTable& table, int row, const Request_Record& record) {
  const auto number = [&](int col) { return static_cast<std::uint32_t>(to_int32(table.cell(row, col), -1)); };
  const bool extended = to_upper_ascii(trim_blanks(table.cell(row, Col_CAN_Type))) == "CAN 2.0B (29 BITS)";
  EXPECT_EQ(record.COB, number(Col_COB) | (extended ? COB_29_Bit_Flag : 0u));
  const auto bytes = Split_Address(table.cell(row, Col_IP));
  EXPECT_EQ(record.IP_Address, Ip_Address_Number({static_cast<std::uint8_t>(std::stoi(bytes[0])),
                                                  static_cast<std::uint8_t>(std::stoi(bytes[1])),
                                                  static_cast<std::uint8_t>(std::stoi(bytes[2])),
                                                  static_cast<std::uint8_t>(std::stoi(bytes[3]))}));
  EXPECT_EQ(record.Port, number(Col_Port));
  EXPECT_EQ(record.ID_Modbus, number(Col_ID_Modbus));
  EXPECT_EQ(record.Address_Word, number(Col_Address));
  EXPECT_EQ(record.Quantity, number(Col_NPoint));
  EXPECT_EQ((record.Flags & Flags_Swap) != 0, Is_Ticked(table.cell(row, Col_Swap)));

  const std::string type = to_upper_ascii(table.cell(row, Col_Type));
  if (&kind == &Read_Requests()) {
    const std::vector<std::string> functions = {"COIL STATUS", "INPUT STATUS", "HOLDING REGISTER", "INPUT REGISTER"};
    EXPECT_EQ(functions.at(record.Function - 1u), type);
    EXPECT_EQ(record.Poll_Time, number(Col_Poll_Time));
    EXPECT_EQ(record.Max_Error, number(Col_Max_Error));
  } else {
    const bool single = record.Quantity == 1;
    const std::uint8_t expected = type == "COIL STATUS" ? (single ? 5 : 15) : (single ? 6 : 16);
    EXPECT_EQ(record.Function, expected) << type;
  }
}

TEST(CheckedRowsImage, EveryEnabledRowTheChecksPassIsInTheImage) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RowMaker make(seed);
    test::TempDir dir;
    CommSettings settings;
    settings.Device_Type = 1;
    settings.CAN_Type = make.between(0, 1);
    settings.Port = std::to_string(make.between(0, 65535));
    test::write_file(dir / ParGen_File_Name, ParGen_Document(settings));
    for (const TableKind* kind : {&Read_Requests(), &Write_Requests()}) {
      std::vector<test::TableRow> rows;
      for (int n = make.between(0, 40); n > 0; --n) rows.push_back(make.row(*kind, settings.CAN_Type));
      test::write_file(dir / kind->file_name, test::table_document(rows));
    }

    ImageBuffers buffers;
    const Result<ImageBuild> build = Build_Image(Load_Project(dir.path()), buffers);
    ASSERT_TRUE(build.ok()) << test::english(build.failure());
    const Result<DecodedImage> decode = Decode_Image(buffers.bank2, "bank2.bin");
    ASSERT_TRUE(decode) << test::english(decode.failure());
    EXPECT_EQ(decode->problems, std::vector<std::string>{});
    const Bank2Image& image = std::get<DecodedBank2>(decode->content).image;

    const TableContext context = Read_Table_Context(Read_ParGen_File(dir / ParGen_File_Name));
    std::size_t record = 0;
    for (const TableKind* kind : {&Read_Requests(), &Write_Requests()}) {
      RequestTable table;
      ASSERT_TRUE(Load_Requests(*kind, Read_Requests_File(dir / kind->file_name), context, table));
      ASSERT_EQ(Check_Rows(*kind, table, context, false), std::vector<RowFailure>{}) << "a generated row fails";
      for (int row = 1; row <= RequestTable::Data_Rows && !trim_blanks(table.cell(row, Col_COB)).empty(); ++row) {
        if (!Is_Ticked(table.cell(row, Col_Enable))) continue;
        SCOPED_TRACE(std::string(kind->file_name) + " row " + std::to_string(row));
        ASSERT_LT(record, image.general.Record_Count);
        expect_record_of_row(*kind, table, row, image.records[record++]);
      }
    }
    EXPECT_EQ(record, image.general.Record_Count) << "the image holds rows the checks do not take as enabled";
  }
}

}  // namespace
}  // namespace sw48230
