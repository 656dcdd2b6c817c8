#include "core/image/comm_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "core/commsettings/comm_settings.h"
#include "core/project/project.h"
#include "support/failure_of.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::TempDir;
using test::write_file;

// A ParGen.xml as the settings screen writes it, changed by `change`.
std::string pargen(const std::function<void(CommSettings&)>& change = [](CommSettings&) {}) {
  CommSettings settings;
  settings.Device_Type = 0;
  settings.CAN_Baud = 4;
  change(settings);
  return ParGen_Document(settings);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The document with element `name` left out.
std::string pargen_without(const std::string& name, const std::string& document = pargen()) {
  const auto begin = document.find('<' + name + '>');
  const auto end = document.find("</" + name + '>');
  return replaced(document, document.substr(begin, end + name.size() + 3 - begin), "");
}

General_Block read_block(const std::string& content) {
  TempDir dir;
  write_file(dir / "ParGen.xml", content);
  General_Block block;
  Read_Communication_Settings(Read_ParGen_File(dir / "ParGen.xml"), block);
  return block;
}

Result<Bank_Params> read_params(const std::string& content) {
  TempDir dir;
  write_file(dir / "ParGen.xml", content);
  return Read_Bank_Params(Read_ParGen_File(dir / "ParGen.xml"));
}

TEST(CanBitRate, IndexesOutsideTheListMeanTheTopRate) {
  const std::pair<std::int32_t, std::uint32_t> cases[] = {
      {0, 20000},   {1, 50000},   {2, 100000},  {3, 125000},   {4, 250000},          {5, 500000},          {6, 800000},
      {7, 1000000}, {8, 1000000}, {9, 1000000}, {-1, 1000000}, {INT32_MIN, 1000000}, {INT32_MAX, 1000000},
  };
  for (const auto& [index, rate] : cases) EXPECT_EQ(CAN_Bit_Rate_For(index), rate) << "index " << index;
}

TEST(ReadCommunicationSettings, TakesTheSettingsOfTheFile) {
  const General_Block block = read_block(pargen([](CommSettings& s) {
    s.TCP_IP = {"10", "1", "2", "3"};
    s.TCP_SUB = {"255", "255", "0", "0"};
    s.TCP_GAT = {"10", "1", "0", "254"};
    s.En_GAT = true;
    s.Time_Out = "70000";
  }));
  EXPECT_EQ(block.CAN_Bit_Rate, 250000u);
  EXPECT_EQ(block.IP_Address, (Ipv4Bytes{10, 1, 2, 3}));
  EXPECT_EQ(block.Subnet_Mask, (Ipv4Bytes{255, 255, 0, 0}));
  EXPECT_EQ(block.Gateway, (Ipv4Bytes{10, 1, 0, 254}));
  EXPECT_EQ(block.Time_Out, 70000u);  // beyond what the settings screen allows, still written whole
  // The request reader owns these.
  EXPECT_EQ(block.Default_Port, 0);
  EXPECT_EQ(block.Record_Count, 0u);
}

TEST(ReadCommunicationSettings, EachSettingFallsBackOnItsOwn) {
  const Ipv4Bytes no_gateway = {255, 255, 255, 255};
  const struct {
    const char* name;
    std::string content;
    std::function<void(General_Block&)> expect;  // changes from the block of pargen()
  } cases[] = {
      {"bit rate index 9", pargen([](CommSettings& s) { s.CAN_Baud = 9; }),
       [](General_Block& b) { b.CAN_Bit_Rate = 1000000; }},
      {"bit rate index -1", pargen([](CommSettings& s) { s.CAN_Baud = -1; }),
       [](General_Block& b) { b.CAN_Bit_Rate = 1000000; }},
      {"bit rate missing", pargen_without("CAN_Baud"), [](General_Block& b) { b.CAN_Bit_Rate = 1000000; }},
      {"own address byte missing", pargen_without("TCP_IP_4"), [](General_Block& b) { b.IP_Address[3] = 5; }},
      {"address bytes not numbers", pargen([](CommSettings& s) {
         s.TCP_IP = {"", "1 ", "x", "0x"};
       }),
       [](General_Block& b) {
         b.IP_Address = {192, 168, 0, 5};
       }},
      {"address bytes by the number rule, low 8 bits", pargen([](CommSettings& s) {
         s.TCP_IP = {" 300", "$FF", "-1", "0x1C0"};
       }),
       [](General_Block& b) {
         b.IP_Address = {44, 255, 255, 0xC0};
       }},
      {"mask byte missing", pargen_without("TCP_SUB_3", pargen([](CommSettings& s) {
                                             s.TCP_SUB = {"1", "2", "3", "4"};
                                           })),
       [](General_Block& b) {
         b.Subnet_Mask = {1, 2, 255, 4};
       }},
      {"gateway byte missing", pargen_without("TCP_GAT_2", pargen([](CommSettings& s) {
                                                s.En_GAT = true;
                                                s.TCP_GAT = {"1", "2", "3", "4"};
                                              })),
       [](General_Block& b) {
         b.Gateway = {1, 168, 3, 4};
       }},
      {"gateway used, bytes missing", "<G><En_GAT>1</En_GAT></G>",
       [](General_Block& b) {
         b = General_Block{};
         b.CAN_Bit_Rate = 1000000;
         b.IP_Address = {192, 168, 0, 5};
         b.Subnet_Mask = {255, 255, 255, 0};
         b.Gateway = {192, 168, 0, 1};
         b.Time_Out = 1000;
       }},
      {"gateway used, by any text but 0", pargen([](CommSettings& s) { s.En_GAT = true; }),
       [](General_Block& b) {
         b.Gateway = {192, 168, 0, 1};
       }},
      {"an empty En_GAT uses the gateway", replaced(pargen(), "<En_GAT>0</En_GAT>", "<En_GAT></En_GAT>"),
       [](General_Block& b) {
         b.Gateway = {192, 168, 0, 1};
       }},
      {"En_GAT missing", pargen_without("En_GAT"), [](General_Block&) {}},
      {"time-out missing", pargen_without("Time_Out"), [](General_Block& b) { b.Time_Out = 1000; }},
      {"time-out with a trailing blank", pargen([](CommSettings& s) { s.Time_Out = "500 "; }),
       [](General_Block& b) { b.Time_Out = 1000; }},
      {"time-out $FFFFFFFF", pargen([](CommSettings& s) { s.Time_Out = "$FFFFFFFF"; }),
       [](General_Block& b) { b.Time_Out = 0xFFFFFFFF; }},
  };
  General_Block base;
  base.CAN_Bit_Rate = 250000;
  base.IP_Address = {192, 168, 0, 10};
  base.Subnet_Mask = {255, 255, 255, 0};
  base.Gateway = no_gateway;  // the new project has no gateway
  base.Time_Out = 1000;
  EXPECT_EQ(read_block(pargen()), base);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    General_Block expected = base;
    c.expect(expected);
    EXPECT_EQ(read_block(c.content), expected);
  }
}

TEST(ReadCommunicationSettings, AFileThatCannotBeReadLeavesTheBlockAlone) {
  General_Block before;
  before.CAN_Bit_Rate = 1;
  before.Gateway = {1, 2, 3, 4};
  before.Default_Port = 502;

  TempDir dir;
  General_Block block = before;
  Read_Communication_Settings(Read_ParGen_File(dir / "ParGen.xml"), block);
  EXPECT_EQ(block, before);

  write_file(dir / "ParGen.xml", "<GeneralParameter><CAN_Baud>4</CAN_Baud>");
  Read_Communication_Settings(Read_ParGen_File(dir / "ParGen.xml"), block);
  EXPECT_EQ(block, before);
}

TEST(ReadBankParams, CopiesTheNumbersAsTheyAre) {
  const Result<Bank_Params> read = read_params(pargen([](CommSettings& s) {
    s.CAN_Type = 1;
    s.TCP_GAT = {"192", "168", "0", "1"};
    s.En_GAT = false;
    s.Port = "0x1F6";
    s.Time_Out = "70000";
    s.Dis_Sock = true;
  }));
  ASSERT_TRUE(read) << test::english(read.failure());
  Bytes bank;
  Append_Bank_Params(*read, 0, 0, bank);
  const Bytes expected = {
      5,                    // CAN_Baud 4 + 1
      1,                    // CAN_Type
      192,  168,  0,   10,  // TCP_IP
      255,  255,  255, 0,   // TCP_SUB
      0x70, 0x11,           // Time_Out 70000 modulo 65536 = 4464
      0xF6, 0x01,           // Port
      0,                    // En_GAT as stored
      192,  168,  0,   1,   // the gateway as typed, although not used
      1,                    // Dis_Sock
      0,    0,    0,   0,
  };
  EXPECT_EQ(bank, expected);
}

TEST(ReadBankParams, KeepsOnlyTheLowBits) {
  const Result<Bank_Params> read = read_params(pargen([](CommSettings& s) {
    s.CAN_Baud = -1;  // + 1 = 0
    s.TCP_IP = {"256", "-1", "$1FF", "+7"};
    s.Port = "-2";
  }));
  ASSERT_TRUE(read) << test::english(read.failure());
  EXPECT_EQ(read->CAN_Baud_Code, 0);
  EXPECT_EQ(read->IP_Address, (Ipv4Bytes{0, 255, 255, 7}));
  EXPECT_EQ(read->Port, 0xFFFE);

  const Result<Bank_Params> wrap = read_params(pargen([](CommSettings& s) { s.CAN_Baud = 255; }));
  ASSERT_TRUE(wrap);
  EXPECT_EQ(wrap->CAN_Baud_Code, 0);
  const Result<Bank_Params> top = read_params(pargen([](CommSettings& s) { s.CAN_Baud = INT32_MAX; }));
  ASSERT_TRUE(top) << test::english(top.failure());
  EXPECT_EQ(top->CAN_Baud_Code, 0);
}

TEST(ReadBankParams, NamesTheFirstValueItCannotRead) {
  const struct {
    const char* name;
    std::string content;
    std::string message;
  } cases[] = {
      {"bit rate missing", pargen_without("CAN_Baud"), "ParGen.xml: element CAN_Baud is missing"},
      {"gateway flag missing", pargen_without("En_GAT"), "ParGen.xml: element En_GAT is missing"},
      {"a gateway byte missing although unused", pargen_without("TCP_GAT_3"),
       "ParGen.xml: element TCP_GAT_3 is missing"},
      {"not a number", pargen([](CommSettings& s) { s.TCP_SUB[1] = "25 5"; }),
       "ParGen.xml: element TCP_SUB_2 is not a number: \"25 5\""},
      {"empty", pargen([](CommSettings& s) { s.Port = ""; }), "ParGen.xml: element Port is not a number: \"\""},
      {"too large for 32 bits", pargen([](CommSettings& s) { s.Time_Out = "4294967296"; }),
       "ParGen.xml: element Time_Out is not a number: \"4294967296\""},
      {"the first in file order wins", pargen([](CommSettings& s) {
         s.Port = "x";
         s.Time_Out = "y";
       }),
       "ParGen.xml: element Time_Out is not a number: \"y\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Result<Bank_Params> read = read_params(c.content);
    ASSERT_FALSE(read);
    EXPECT_EQ(test::english(read.failure()), c.message);
  }

  TempDir dir;
  const Result<Bank_Params> missing = Read_Bank_Params(Read_ParGen_File(dir / "ParGen.xml"));
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.failure().file, "ParGen.xml");
  EXPECT_EQ(missing.failure().item, ImageError::Item::File);
  EXPECT_EQ(test::english(missing.failure()), "ParGen.xml is missing");

  const Result<Bank_Params> broken = read_params("<GeneralParameter><CAN_Baud>4</CAN_Baud>");
  ASSERT_FALSE(broken);
  EXPECT_EQ(broken.failure().item, ImageError::Item::File);
  EXPECT_EQ(test::english(broken.failure()).rfind("ParGen.xml cannot be read: ", 0), 0u)
      << test::english(broken.failure());
}

TEST(WriteBankParams, AppendsAfterTheRowsOrNothingAtAll) {
  TempDir dir;
  const auto file = dir / "ParGen.xml";
  write_file(file, pargen());
  Bytes bank = {1, 2, 3};
  EXPECT_FALSE(Write_Bank_Params(Read_ParGen_File(file), 2, 0x0102, bank));
  ASSERT_EQ(bank.size(), 3u + Bank_Params_Size);
  EXPECT_EQ(bank[3], 5);  // CAN_Baud 4 + 1
  EXPECT_EQ(Bytes(bank.end() - 4, bank.end()), (Bytes{2, 0, 2, 1}));

  write_file(file, pargen_without("Dis_Sock"));
  bank = {1, 2, 3};
  const auto error = Write_Bank_Params(Read_ParGen_File(file), 0, 0, bank);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->name, "Dis_Sock");
  EXPECT_EQ(bank, (Bytes{1, 2, 3}));
}

}  // namespace
}  // namespace sw48230
