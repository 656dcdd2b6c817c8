#include "core/image/image_build.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/commsettings/comm_settings.h"
#include "core/project/project.h"
#include "support/failure_of.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

namespace fs = std::filesystem;
using test::screen_row;
using test::TableRow;
using Rows = std::vector<TableRow>;

// The settings of the type-1 example project whose empty bank2.bin has the
// checksum 3868: 250000 bit/s, 192.168.0.10/255.255.255.0, no gateway,
// time-out 1000 ms.
CommSettings example_settings(int device_type) {
  CommSettings settings;
  settings.Device_Type = device_type;
  settings.CAN_Baud = 4;
  return settings;
}

std::string with_device_type(const std::string& text) {
  std::string document = ParGen_Document(example_settings(0));
  const std::string element = "<Device_Type>0</Device_Type>";
  return document.replace(document.find(element), element.size(), "<Device_Type>" + text + "</Device_Type>");
}

Bytes bytes_of(const std::string& text) { return Bytes(text.begin(), text.end()); }
std::string file_content(const fs::path& file) { return test::read_file(file); }

// A project folder with its bin folder; the files are written by the tests.
class Project {
 public:
  explicit Project(const fs::path& dir) : dir_(dir) { fs::create_directories(dir_ / "bin"); }

  Project& settings(const CommSettings& settings) { return pargen(ParGen_Document(settings)); }
  Project& pargen(const std::string& content) { return write("ParGen.xml", content); }
  Project& requests(const Rows& rows) { return write("var.xml", test::table_document(rows)); }
  Project& write_requests(const Rows& rows) { return write("var2.xml", test::table_document(rows)); }
  Project& write(const char* name, const std::string& content) {
    test::write_file(dir_ / name, content);
    return *this;
  }

  Result<ImageBuild> build(ImageBuffers& buffers) const { return Build_Image(Load_Project(dir_), buffers); }
  // Update Device's image step: nothing is written after a failed build.
  Result<ImageBuild> update(ImageBuffers& buffers) const {
    const Result<ImageBuild> built = build(buffers);
    if (built.ok()) {
      if (const auto error = Write_Image_Files(dir_, buffers)) ADD_FAILURE() << test::english(*error);
    }
    return built;
  }

  const fs::path& dir() const { return dir_; }
  fs::path bank() const { return dir_ / "bin" / "bank.bin"; }
  fs::path bank2() const { return dir_ / "bin" / "bank2.bin"; }

 private:
  fs::path dir_;
};

class ImageBuildTest : public ::testing::Test {
 protected:
  Project project(const char* name = "P") { return Project(temp_ / name); }

  test::TempDir temp_;
};

TEST_F(ImageBuildTest, DeviceType1OnlyForExactlyTheText1) {
  const struct {
    std::string content;
    bool type_1;
  } cases[] = {
      {with_device_type("1"), true},   {"<Whatever><Device_Type>1</Device_Type></Whatever>", true},
      {with_device_type(" 1"), false}, {with_device_type("01"), false},
      {with_device_type("1 "), false}, {with_device_type("$1"), false},
      {with_device_type("0"), false},  {with_device_type("2"), false},
      {with_device_type(""), false},   {"<GeneralParameter><CAN_Baud>1</CAN_Baud></GeneralParameter>", false},
      {"<GeneralParameter/>", false},
  };
  const Project p = project();
  for (const auto& c : cases) {
    test::write_file(p.dir() / "ParGen.xml", c.content);
    const Result<bool> type_1 = Is_Device_Type_1(Read_ParGen_File(p.dir() / "ParGen.xml"));
    ASSERT_TRUE(type_1) << c.content << ": " << test::english(type_1.failure());
    EXPECT_EQ(*type_1, c.type_1) << c.content;
  }

  const Result<bool> missing = Is_Device_Type_1(Read_ParGen_File(p.dir() / "none.xml"));
  ASSERT_TRUE(missing) << test::english(missing.failure());
  EXPECT_FALSE(*missing);

  test::write_file(p.dir() / "ParGen.xml", "<GeneralParameter><Device_Type>1</Device_Type>");
  const Result<bool> broken = Is_Device_Type_1(Read_ParGen_File(p.dir() / "ParGen.xml"));
  ASSERT_FALSE(broken);
  EXPECT_EQ(test::english(broken.failure()).rfind("ParGen.xml cannot be read: ", 0), 0u)
      << test::english(broken.failure());
}

TEST_F(ImageBuildTest, Bank2OfAProjectWithoutEnabledRows) {
  Project p = project();
  p.settings(example_settings(1)).requests({screen_row().set("Enable", "N")});
  ImageBuffers buffers;
  const Result<ImageBuild> build = p.build(buffers);
  ASSERT_TRUE(build.ok()) << test::english(build.failure());
  EXPECT_EQ(build->kind, ImageKind::Bank2);
  EXPECT_EQ(build->requests, 0u);
  ASSERT_EQ(buffers.bank2.size(), 34816u);
  EXPECT_TRUE(buffers.bank.empty());
  EXPECT_EQ(std::count(buffers.bank2.begin(), buffers.bank2.begin() + 32768, 0), 32768);
  EXPECT_EQ(Bytes(buffers.bank2.end() - 4, buffers.bank2.end()), (Bytes{0x1C, 0x0F, 0x00, 0x00}));  // 3868
}

TEST_F(ImageBuildTest, Bank2RecordOfOneEnabledReadRequest) {
  Project p = project();
  p.settings(example_settings(1))
      .requests({screen_row()
                     .set("COB", "0x123")
                     .set("CAN_Type", "CAN 2.0B (29 bits)")
                     .set("Quantity", "4")
                     .set("Swap", "Y")
                     .erase("Port")});
  ImageBuffers buffers;
  ASSERT_TRUE(p.build(buffers).ok());
  const Bytes& bank2 = buffers.bank2;
  const Bytes record(bank2.begin(), bank2.begin() + 32);
  EXPECT_EQ(record, (Bytes{
                        0x00, 0x00, 0x00, 0x00,  // Slot_Offset, reserved
                        0x64, 0x00, 0x00, 0x00,  // Poll_Time 100
                        0x01, 0x03,              // ID_Modbus, Read Holding Registers
                        0x07, 0x00, 0x04, 0x00,  // Address_Word 7, Quantity 4
                        0xF6, 0x01,              // Port 502 when the row has none
                        0x0B, 0x00, 0xA8, 0xC0,  // 192.168.0.11 as one number
                        0x23, 0x01, 0x00, 0x80,  // 0x123, 29 bits
                        0x00, 0x00, 0x00, 0x00,  // Max_Error
                        0x00, 0x00, 0x08, 0x04,  // reserved, Byte_Count 8, swap
                    }));
  EXPECT_EQ(std::count(bank2.begin() + 32, bank2.begin() + 32768, 0), 32768 - 32);
  const std::size_t block = 32768;
  EXPECT_EQ(bank2[block + 72], 1);                                                  // Record_Count
  EXPECT_EQ(bank2[block + 288], 1);                                                 // Request_Count
  EXPECT_EQ(bank2[block + 292], 0);                                                 // Setting_Count
  EXPECT_EQ(Bytes(bank2.end() - 4, bank2.end()), (Bytes{0x1E, 0x0F, 0x00, 0x00}));  // 3870
}

TEST_F(ImageBuildTest, Bank2SlotsAndCountsOfTwoReadAndOneWriteRequest) {
  Project p = project();
  p.settings(example_settings(1))
      .requests({screen_row(), screen_row().set("Enable", "N"), screen_row().erase("Enable")})
      .write_requests({screen_row().set("Type", "0").set("Quantity", "16")});
  ImageBuffers buffers;
  const Result<ImageBuild> build = p.build(buffers);
  ASSERT_TRUE(build.ok());
  EXPECT_EQ(build->requests, 2u);
  EXPECT_EQ(build->settings, 1u);
  const Bytes& bank2 = buffers.bank2;
  EXPECT_EQ(Bytes(bank2.begin() + 0, bank2.begin() + 2), (Bytes{0x00, 0x00}));
  EXPECT_EQ(Bytes(bank2.begin() + 32, bank2.begin() + 34), (Bytes{0x08, 0x00}));
  EXPECT_EQ(Bytes(bank2.begin() + 64, bank2.begin() + 66), (Bytes{0x00, 0x00}));
  EXPECT_EQ(bank2[64 + 9], 15);  // Write Multiple Coils
  EXPECT_EQ(bank2[64 + 30], 2);  // 16 coils in 2 bytes
  EXPECT_EQ(std::count(bank2.begin() + 96, bank2.begin() + 32768, 0), 32768 - 96);
  const auto block = bank2.begin() + 32768;
  EXPECT_EQ(Bytes(block + 72, block + 76), (Bytes{3, 0, 0, 0}));
  EXPECT_EQ(Bytes(block + 288, block + 296), (Bytes{2, 0, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(Bytes(block + 54, block + 56), (Bytes{0xF6, 0x01}));  // Default_Port
}

TEST_F(ImageBuildTest, BankOfOtherDeviceTypes) {
  CommSettings settings = example_settings(0);
  settings.CAN_Type = 1;
  settings.Time_Out = "70000";
  settings.Dis_Sock = true;
  Project p = project();
  p.settings(settings)
      .requests({
          screen_row()
              .set("COB", "0x300")
              .set("IP_Add_B1", "10")
              .set("IP_Add_B4", "3")
              .set("Address_Word", "3")
              .set("ID_Modbus", "3")
              .set("Type", "3")
              .set("Quantity", "2"),
          screen_row()
              .set("COB", "0x100")
              .set("IP_Add_B1", "10")
              .set("IP_Add_B4", "1")
              .set("Address_Word", "1")
              .set("Type", "0")
              .set("Quantity", "64")
              .set("Enable", "N"),
          screen_row()
              .set("COB", "0x200")
              .set("IP_Add_B1", "10")
              .set("IP_Add_B4", "2")
              .set("Address_Word", "2")
              .set("ID_Modbus", "2")
              .set("Type", "1")
              .set("Quantity", "300"),
      })
      .write_requests({
          screen_row()
              .set("COB", "0x50")
              .set("IP_Add_B1", "172")
              .set("IP_Add_B2", "16")
              .set("IP_Add_B4", "1")
              .set("Address_Word", "16")
              .set("ID_Modbus", "5")
              .set("Type", "1")
              .set("Quantity", "4"),
          screen_row()
              .set("COB", "0x40")
              .set("IP_Add_B1", "172")
              .set("IP_Add_B2", "16")
              .set("IP_Add_B4", "2")
              .set("Address_Word", "17")
              .set("ID_Modbus", "6")
              .set("Type", "0"),
      });
  ImageBuffers buffers;
  const Result<ImageBuild> build = p.build(buffers);
  ASSERT_TRUE(build.ok()) << test::english(build.failure());
  EXPECT_EQ(build->kind, ImageKind::Bank);
  EXPECT_EQ(build->requests, 3u);
  EXPECT_EQ(build->settings, 2u);
  EXPECT_TRUE(buffers.bank2.empty());
  EXPECT_EQ(buffers.bank, (Bytes{
                              0x0C, 0x00, 0x00, 0x00, 0x33, 0x00, 0x00, 0x00, 0x4D, 0x00, 0x00, 0x00,  // header
                              // read requests by Cob-ID, the disabled one too
                              0x00, 0x01, 0x00, 0x00, 0x0A, 0xA8, 0x00, 0x01, 0x01, 0x00, 0x01, 0x01, 0x40,  //
                              0x00, 0x02, 0x00, 0x00, 0x0A, 0xA8, 0x00, 0x02, 0x02, 0x00, 0x02, 0x02, 0x2C,  //
                              0x00, 0x03, 0x00, 0x00, 0x0A, 0xA8, 0x00, 0x03, 0x03, 0x00, 0x03, 0x04, 0x02,  //
                              // write requests by Cob-ID
                              0x40, 0x00, 0x00, 0x00, 0xAC, 0x10, 0x00, 0x02, 0x11, 0x00, 0x06, 0x01, 0x01,  //
                              0x50, 0x00, 0x00, 0x00, 0xAC, 0x10, 0x00, 0x01, 0x10, 0x00, 0x05, 0x03, 0x04,  //
                              // Bank_Params
                              0x05, 0x01, 0xC0, 0xA8, 0x00, 0x0A, 0xFF, 0xFF, 0xFF, 0x00, 0x70, 0x11,  //
                              0xF6, 0x01, 0x00, 0xC0, 0xA8, 0x00, 0x01, 0x01, 0x03, 0x00, 0x02, 0x00,  //
                          }));
}

TEST_F(ImageBuildTest, BankOfAProjectWithoutTables) {
  Project p = project();
  p.settings(example_settings(0));
  ImageBuffers buffers;
  const Result<ImageBuild> build = p.build(buffers);
  ASSERT_TRUE(build.ok());
  ASSERT_EQ(buffers.bank.size(), 36u);
  EXPECT_EQ(Bytes(buffers.bank.begin(), buffers.bank.begin() + 12),
            (Bytes{0x0C, 0, 0, 0, 0x0C, 0, 0, 0, 0x0C, 0, 0, 0}));
  EXPECT_EQ(Bytes(buffers.bank.end() - 4, buffers.bank.end()), (Bytes{0, 0, 0, 0}));
}

TEST_F(ImageBuildTest, DeviceTypeTextsOtherThan1TakeTheBankBuild) {
  for (const char* text : {"0", " 0", "00", "x"}) {
    Project p = project();
    p.pargen(with_device_type(text));
    ImageBuffers buffers;
    const Result<ImageBuild> build = p.build(buffers);
    ASSERT_TRUE(build.ok()) << text << ": " << test::english(build.failure());
    EXPECT_EQ(build->kind, ImageKind::Bank) << text;
    EXPECT_EQ(buffers.bank.size(), 36u) << text;
    EXPECT_TRUE(buffers.bank2.empty()) << text;
  }
}

// The settings screen would show these as another choice than the image
// would carry: they stop the build.
TEST_F(ImageBuildTest, ListChoicesTheScreenCannotShowAreRefused) {
  const struct {
    const char* element;
    const char* text;
    const char* problem;
  } cases[] = {
      {"Device_Type", " 1", "reads as 1 but is not \"1\": \" 1\""},
      {"Device_Type", "01", "reads as 1 but is not \"1\": \"01\""},
      {"Device_Type", "7", "is outside its list 0..1: \"7\""},
      {"CAN_Baud", "8", "is outside its list 0..7: \"8\""},
      {"CAN_Baud", "-1", "is outside its list 0..7: \"-1\""},
      {"CAN_Type", "2", "is outside its list 0..1: \"2\""},
  };
  for (const auto& c : cases) {
    for (const int device_type : {0, 1}) {
      SCOPED_TRACE(std::string(c.element) + " " + c.text + ", device type " + std::to_string(device_type));
      std::string document = ParGen_Document(example_settings(device_type));
      const std::string open = std::string("<") + c.element + ">";
      const std::size_t begin = document.find(open) + open.size();
      document.replace(begin, document.find('<', begin) - begin, c.text);
      Project p = project();
      p.pargen(document);
      ImageBuffers buffers;
      const Result<ImageBuild> build = p.build(buffers);
      ASSERT_FALSE(build.ok());
      EXPECT_EQ(test::english(build.failure()), std::string("ParGen.xml: element ") + c.element + ' ' + c.problem);
      EXPECT_TRUE(buffers.bank.empty());
      EXPECT_TRUE(buffers.bank2.empty());
    }
  }
}

TEST_F(ImageBuildTest, FirstRunAfterStartWritesTheOtherFileEmpty) {
  ImageBuffers buffers;
  const Project type_1 = project("type1").settings(example_settings(1));
  type_1.update(buffers);
  EXPECT_EQ(file_content(type_1.bank2()).size(), 34816u);
  ASSERT_TRUE(fs::exists(type_1.bank()));
  EXPECT_EQ(fs::file_size(type_1.bank()), 0u);

  ImageBuffers fresh;
  const Project type_0 = project("type0").settings(example_settings(0)).requests({screen_row()});
  type_0.update(fresh);
  EXPECT_EQ(file_content(type_0.bank()).size(), 36u + 13u);
  ASSERT_TRUE(fs::exists(type_0.bank2()));
  EXPECT_EQ(fs::file_size(type_0.bank2()), 0u);
}

// Both files are written on every run, but never with another project's
// data: the file of the kind not built holds the last build of that kind
// only when it was one of this same project, else it is empty.
TEST_F(ImageBuildTest, TheOtherFileHoldsOnlyABuildOfTheSameProject) {
  struct Step {
    const char* project;  // A has one read row, B two: their bank.bin differ in size
    int device_type;
  };
  constexpr std::size_t a_bank = 36 + 13, b_bank = 36 + 2 * 13;
  const struct {
    const char* name;
    std::vector<Step> steps;  // Update Device in this order, in one program run
    std::size_t bank;         // sizes of the files of the last step's project
    std::size_t bank2;
  } cases[] = {
      {"type 1, then another project of type 0", {{"A", 1}, {"B", 0}}, b_bank, 0},
      {"type 0, then another project of type 1", {{"A", 0}, {"B", 1}}, 0, Bank2_Size},
      {"type 0, then the same project as type 1", {{"A", 0}, {"A", 1}}, a_bank, Bank2_Size},
      {"type 1, then the same project as type 0", {{"A", 1}, {"A", 0}}, a_bank, Bank2_Size},
      {"back to a project whose type 0 build came first", {{"A", 0}, {"B", 1}, {"A", 1}}, a_bank, Bank2_Size},
      {"back to a project after another's type 0 build", {{"A", 0}, {"B", 0}, {"A", 1}}, 0, Bank2_Size},
      {"back to a project after another's type 1 build", {{"A", 1}, {"B", 1}, {"A", 0}}, a_bank, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir run;
    ImageBuffers buffers;
    for (const Step& step : c.steps) {
      const bool a = std::string(step.project) == "A";
      Project(run / step.project)
          .settings(example_settings(step.device_type))
          .requests(Rows(a ? 1 : 2, screen_row()))
          .update(buffers);
    }
    const Project last(run / c.steps.back().project);
    EXPECT_EQ(file_content(last.bank()).size(), c.bank);
    EXPECT_EQ(file_content(last.bank2()).size(), c.bank2);
  }
}

// The project is the folder, however its path is spelled.
TEST_F(ImageBuildTest, TheSameProjectUnderAnotherSpellingOfItsPath) {
  ImageBuffers buffers;
  const Project p = project("P").settings(example_settings(0)).requests({screen_row()});
  p.update(buffers);
  Project spelled(temp_ / "." / "P" / "");
  spelled.settings(example_settings(1)).update(buffers);
  EXPECT_EQ(file_content(p.bank()).size(), 36u + 13u);
  EXPECT_EQ(file_content(p.bank2()).size(), Bank2_Size);
}

TEST_F(ImageBuildTest, AFailedBuildChangesNoBuffer) {
  const auto type_1 = [](Project& p) -> Project& { return p.settings(example_settings(1)); };
  const auto type_0 = [](Project& p) -> Project& { return p.settings(example_settings(0)); };
  Rows too_many(513, screen_row());
  const struct {
    const char* name;
    std::function<void(Project&)> setup;
    std::string message;  // the start of it
  } cases[] = {
      {"type 1, enabled row without its address",
       [&](Project& p) {
         type_1(p).requests({screen_row(), screen_row().set("IP_Add_B3", "")});
       },
       "var.xml, row 2: attribute IP_Add_B3 is not a number: \"\""},
      {"type 1, more rows than a table holds",
       [&](Project& p) { type_1(p).requests({screen_row()}).write_requests(too_many); },
       "var2.xml has 513 rows, more than the 512 a table holds"},
      {"type 0, more rows than a table holds", [&](Project& p) { type_0(p).requests(Rows(1500, screen_row())); },
       "var.xml has 1500 rows, more than the 512 a table holds"},
      {"type 1, unparsable table", [&](Project& p) { type_1(p).write("var.xml", "<C_TO_Customer_Protocol"); },
       "var.xml cannot be read: "},
      {"unparsable settings", [&](Project& p) { p.pargen("<GeneralParameter><Device_Type>0</Device_Type>"); },
       "ParGen.xml cannot be read: "},
      {"type 0, row attribute missing",
       [&](Project& p) {
         type_0(p).write_requests({screen_row(), screen_row().erase("Quantity")});
       },
       "var2.xml, row 2: attribute Quantity is missing"},
      {"type 0, disabled row attribute not a number",
       [&](Project& p) { type_0(p).requests({screen_row().set("Enable", "N").set("COB", "x")}); },
       "var.xml, row 1: attribute COB is not a number: \"x\""},
      {"type 0, unparsable table", [&](Project& p) { type_0(p).write("var2.xml", "<C_TO_Customer_Protocol><row"); },
       "var2.xml cannot be read: "},
      {"no settings file", [&](Project& p) { p.requests({screen_row()}); }, "ParGen.xml is missing"},
      {"type 0, setting missing",
       [&](Project& p) {
         std::string document = ParGen_Document(example_settings(0));
         p.pargen(document.erase(document.find("<Port>"), std::string("<Port>502</Port>").size()));
       },
       "ParGen.xml: element Port is missing"},
  };
  for (const auto& c : cases) {
    const fs::path earlier = temp_ / "earlier";
    ImageBuffers buffers{bytes_of("earlier bank"), bytes_of("earlier bank2"), earlier, earlier};
    Project p = project(c.name);
    c.setup(p);
    const Result<ImageBuild> build = p.build(buffers);
    ASSERT_FALSE(build.ok()) << c.name;
    EXPECT_EQ(test::english(build.failure()).rfind(c.message, 0), 0u)
        << c.name << ": " << test::english(build.failure());
    EXPECT_EQ(buffers.bank, bytes_of("earlier bank")) << c.name;
    EXPECT_EQ(buffers.bank2, bytes_of("earlier bank2")) << c.name;
    EXPECT_EQ(buffers.bank_project, earlier) << c.name;
    EXPECT_EQ(buffers.bank2_project, earlier) << c.name;
  }
}

// Buffers built for the project in `dir`.
ImageBuffers buffers_of(const fs::path& dir, const std::string& bank, const std::string& bank2) {
  return ImageBuffers{bytes_of(bank), bytes_of(bank2), dir, dir};
}

TEST_F(ImageBuildTest, WritingStopsAtTheFirstFileThatCannotBeWritten) {
  const Project no_bin = project("no bin");
  fs::remove(no_bin.dir() / "bin");
  auto error = Write_Image_Files(no_bin.dir(), buffers_of(no_bin.dir(), "bank", "bank2"));
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->file, no_bin.bank());
  EXPECT_EQ(test::english(*error).rfind(no_bin.bank().string() + " cannot be written: ", 0), 0u)
      << test::english(*error);
  EXPECT_FALSE(fs::exists(no_bin.dir() / "bin"));

  const Project folder_for_bank = project("folder for bank");
  fs::create_directory(folder_for_bank.bank());
  error = Write_Image_Files(folder_for_bank.dir(), buffers_of(folder_for_bank.dir(), "bank", "bank2"));
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->file, folder_for_bank.bank());
  EXPECT_FALSE(fs::exists(folder_for_bank.bank2()));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_for_bank.dir() / "bin"), fs::directory_iterator()), 1)
      << "a temporary file was left behind";

  const Project folder_for_bank2 = project("folder for bank2");
  fs::create_directory(folder_for_bank2.bank2());
  error = Write_Image_Files(folder_for_bank2.dir(), buffers_of(folder_for_bank2.dir(), "bank", "bank2"));
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->file, folder_for_bank2.bank2());
  EXPECT_EQ(file_content(folder_for_bank2.bank()), "bank");
}

TEST_F(ImageBuildTest, WritingReplacesEarlierFiles) {
  const Project p = project();
  test::write_file(p.bank(), "an older and longer bank.bin");
  test::write_file(p.bank2(), "an older bank2.bin");
  ASSERT_EQ(Write_Image_Files(p.dir(), buffers_of(p.dir(), "new", "")).has_value(), false);
  EXPECT_EQ(file_content(p.bank()), "new");
  EXPECT_EQ(file_content(p.bank2()), "");
}

}  // namespace
}  // namespace sw48230
