#include "core/update/ethernet_update.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::read_file;
using test::TempDir;

TEST(ValidIp, SplitsTrimsAndChecksEachPart) {
  const struct {
    const char* text;
    std::optional<IpParts> expected;
  } cases[] = {
      {"192.168.2.205", IpParts{"192", "168", "2", "205"}},
      {"  10 . 0 .1.\t2 ", IpParts{"10", "0", "1", "2"}},
      {"0.0.0.0", IpParts{"0", "0", "0", "0"}},
      {"255.255.255.255", IpParts{"255", "255", "255", "255"}},
      {"$C0.0xA8.+2.205", IpParts{"$C0", "0xA8", "+2", "205"}},  // the number text rule
      {"192.168.2", std::nullopt},                               // three parts
      {"192168", std::nullopt},
      {"", std::nullopt},
      {"192.168.2.256", std::nullopt},
      {"-1.168.2.205", std::nullopt},
      {"192.168.two.205", std::nullopt},
      {"192..2.205", std::nullopt},  // an empty part
      {"1.2.3.4.5", std::nullopt},   // the fourth part is "4.5"
      {"1.2.3.4x", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Valid_IP(c.text), c.expected);
  }
}

TEST(AddressText, JoinsThePartsAsTyped) { EXPECT_EQ(Address_Text({"192", " 168", "2 ", "x"}), "192. 168.2 .x"); }

const std::string Sep(1, static_cast<char>(std::filesystem::path::preferred_separator));

struct EthernetXml : ::testing::Test {
  std::filesystem::path master = std::filesystem::path(Sep + "p") / "MASTER";
  std::filesystem::path project = std::filesystem::path(Sep + "p") / "PROJECTS" / "Plant1";

  pugi::xml_document parse(const UpdateChoices& choices) const {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(Ethernet_Update_Xml("10.0.0.7", choices, master, project).c_str()));
    return document;
  }

  static std::vector<pugi::xml_node> operations(const pugi::xml_document& document) {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node node : document.child("Ethernet_Update").child("Operations").children()) found.push_back(node);
    return found;
  }
};

// The whole file, so that element order and every text are held to.
TEST_F(EthernetXml, BothOperationsInFull) {
  const std::string firmware = master.string() + Sep + "sim48230K.sim";
  const std::string image = project.string() + Sep + "bin" + Sep + "bank2.bin";
  const auto operation = [](const std::string& file, const char* start, const char* bank, const char* read_back,
                            const char* write_css, const char* address_css, const char* go_to_app) {
    return std::string(
               "<Operation><Ope_Protection_Enabled></Ope_Protection_Enabled>"
               "<Ope_GoToBoot_Before>0</Ope_GoToBoot_Before><Ope_GoToApp_Before>0</Ope_GoToApp_Before>"
               "<Ope_IP_Address></Ope_IP_Address><Ope_Port>2008</Ope_Port><Ope_Port_Sec>2007</Ope_Port_Sec>"
               "<Ope_Erase_Memory>0</Ope_Erase_Memory><Ope_FileName>") +
           file + "</Ope_FileName><Ope_Start_Address>" + start +
           "</Ope_Start_Address><Ope_Memory_Type>0</Ope_Memory_Type><Ope_Bank_Type>" + bank +
           "</Ope_Bank_Type><Ope_Read_Back>" + read_back + "</Ope_Read_Back><Ope_Write_CSS>" + write_css +
           "</Ope_Write_CSS><Ope_Address_CSS>" + address_css +
           "</Ope_Address_CSS><Ope_Command_CSS>0x0B</Ope_Command_CSS>"
           "<Ope_Write_Internal_Data>0</Ope_Write_Internal_Data><Ope_WID_Address>0x78200</Ope_WID_Address>"
           "<Ope_WID_Command>0x0B</Ope_WID_Command><Ope_WID_Data></Ope_WID_Data><Ope_GoToApp_After>" +
           go_to_app + "</Ope_GoToApp_After></Operation>";
  };
  EXPECT_EQ(Ethernet_Update_Xml("192.168.2.205", UpdateChoices{true, true, true, false}, master, project),
            "<Ethernet_Update><Version>1000</Version><Title>Norvane - SW48230 Ethernet Update</Title>"
            "<IP_Address_Dev>192.168.2.205</IP_Address_Dev><Application_Port>10000</Application_Port>"
            "<Boot_Port>2008</Boot_Port><Boot_Port_Sec>2007</Boot_Port_Sec>"
            "<Address_Protection>0x78000</Address_Protection><Protections><Protection>0x124</Protection>"
            "</Protections><Operations>" +
                operation(firmware, "0x8000", "1", "1", "1", "0x78100", "0") +
                operation(image, "0x60000", "2", "0", "0", "0x50100", "1") + "</Operations></Ethernet_Update>");
}

TEST_F(EthernetXml, OnlyTheLastOperationReturnsToTheApplication) {
  const struct {
    const char* name;
    UpdateChoices choices;
    std::vector<std::string> bank_types;
    std::vector<std::string> read_backs;
    std::vector<std::string> go_to_app;
  } cases[] = {
      {"firmware only", {true, false, false, true}, {"1"}, {"0"}, {"1"}},
      {"configuration only", {false, true, true, true}, {"2"}, {"1"}, {"1"}},
      {"both", {true, false, true, true}, {"1", "2"}, {"0", "1"}, {"0", "1"}},
      {"neither", {false, true, false, true}, {}, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const pugi::xml_document document = parse(c.choices);
    std::vector<std::string> bank_types, read_backs, go_to_app;
    for (pugi::xml_node operation : operations(document)) {
      EXPECT_STREQ(operation.name(), "Operation");
      bank_types.emplace_back(operation.child_value("Ope_Bank_Type"));
      read_backs.emplace_back(operation.child_value("Ope_Read_Back"));
      go_to_app.emplace_back(operation.child_value("Ope_GoToApp_After"));
    }
    EXPECT_EQ(bank_types, c.bank_types);
    EXPECT_EQ(read_backs, c.read_backs);
    EXPECT_EQ(go_to_app, c.go_to_app);
    // The operations element is there even when it stays empty.
    EXPECT_TRUE(document.child("Ethernet_Update").child("Operations"));
  }
}

TEST_F(EthernetXml, TheConfigurationIsTheProjectsBank2Image) {
  const pugi::xml_document document = parse(UpdateChoices{false, false, true, false});
  const std::vector<pugi::xml_node> found = operations(document);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(std::string(found[0].child_value("Ope_FileName")), project.string() + Sep + "bin" + Sep + "bank2.bin");
}

TEST(CompileXmlParameter, ReplacesTheFileInTheProgramFolder) {
  TempDir program;
  test::write_file(program / "Ethernet_Update.xml", "old");
  const UpdateChoices choices;
  ASSERT_FALSE(Compile_XML_Parameter(program.path(), "10.0.0.7", choices, program / "MASTER", program / "P"));
  EXPECT_EQ(read_file(program / "Ethernet_Update.xml"),
            Ethernet_Update_Xml("10.0.0.7", choices, program / "MASTER", program / "P"));
  EXPECT_EQ(Ethernet_Update_File(program.path()), program / "Ethernet_Update.xml");
  EXPECT_EQ(Ethernet_Updater_Path(program.path()), program / "Ethernet_Update.exe");
}

TEST(CompileXmlParameter, ReportsAFileThatCannotBeWritten) {
  TempDir program;
  EXPECT_TRUE(
      Compile_XML_Parameter(program / "missing", "10.0.0.7", UpdateChoices{}, program / "MASTER", program / "P"));
  EXPECT_FALSE(std::filesystem::exists(program / "missing"));
}

}  // namespace
}  // namespace sw48230
