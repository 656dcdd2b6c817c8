#include "core/commsettings/comm_settings.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/commsettings/comm_settings_messages.h"
#include "support/failure_of.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::read_file;
using test::TempDir;
using test::write_file;

constexpr const char* New_Project_File =
    "<GeneralParameter><Device_Type>1</Device_Type><CAN_Baud>7</CAN_Baud><CAN_Type>0</CAN_Type>"
    "<TCP_IP_1>192</TCP_IP_1><TCP_IP_2>168</TCP_IP_2><TCP_IP_3>0</TCP_IP_3><TCP_IP_4>10</TCP_IP_4>"
    "<TCP_SUB_1>255</TCP_SUB_1><TCP_SUB_2>255</TCP_SUB_2><TCP_SUB_3>255</TCP_SUB_3><TCP_SUB_4>0</TCP_SUB_4>"
    "<TCP_GAT_1>192</TCP_GAT_1><TCP_GAT_2>168</TCP_GAT_2><TCP_GAT_3>0</TCP_GAT_3><TCP_GAT_4>1</TCP_GAT_4>"
    "<En_GAT>0</En_GAT><Port>502</Port><Time_Out>1000</Time_Out><Dis_Sock>0</Dis_Sock></GeneralParameter>"
    "<!--SW_VERSION = 2.007-->";

CommSettings with(const std::function<void(CommSettings&)>& change) {
  CommSettings settings;
  change(settings);
  return settings;
}

Result<CommSettings> load(const char* content) {
  TempDir dir;
  write_file(dir / "ParGen.xml", content);
  return Load_Comm_Settings(Read_ParGen_File(dir / "ParGen.xml"));
}

TEST(CommSettingsLoad, AMissingFileProposesDipSwitchHardwareButMissingElementsMeanJumper) {
  TempDir dir;
  const Result<CommSettings> missing = Load_Comm_Settings(Read_ParGen_File(dir / "ParGen.xml"));
  ASSERT_TRUE(missing) << test::english(missing.failure());
  EXPECT_EQ(*missing, CommSettings{});
  EXPECT_EQ(missing->Device_Type, 1);

  const Result<CommSettings> empty_root = load("<GeneralParameter/>");
  ASSERT_TRUE(empty_root) << test::english(empty_root.failure());
  EXPECT_EQ(*empty_root, with([](CommSettings& s) { s.Device_Type = 0; }));
}

TEST(CommSettingsLoad, EachElementFallsBackOnItsOwn) {
  const struct {
    const char* name;
    const char* content;
    CommSettings expected;
  } cases[] = {
      {"gateway ticked by any text but 0", "<G><Device_Type>1</Device_Type><En_GAT>yes</En_GAT></G>",
       with([](CommSettings& s) { s.En_GAT = true; })},
      {"an empty tick text ticks", "<G><Device_Type>1</Device_Type><En_GAT/><Dis_Sock></Dis_Sock></G>",
       with([](CommSettings& s) { s.En_GAT = s.Dis_Sock = true; })},
      {"0 clears", "<G><Device_Type>1</Device_Type><En_GAT>0</En_GAT><Dis_Sock>0</Dis_Sock></G>", {}},
      {"bit rate not a number", "<G><Device_Type>1</Device_Type><CAN_Baud>x</CAN_Baud></G>", {}},
      {"list indexes by the number rule",
       "<G><Device_Type>$0</Device_Type><CAN_Baud> 3</CAN_Baud><CAN_Type>0x1</CAN_Type></G>", with([](CommSettings& s) {
         s.Device_Type = 0;
         s.CAN_Baud = 3;
         s.CAN_Type = 1;
       })},
      {"indexes outside their lists",
       "<G><Device_Type>5</Device_Type><CAN_Baud>9</CAN_Baud><CAN_Type>-1</CAN_Type></G>",
       with([](CommSettings& s) { s.Device_Type = 0; })},
      {"texts kept as typed, in any order",
       "<G><Time_Out>$FF</Time_Out><Device_Type>1</Device_Type><TCP_IP_1> 12</TCP_IP_1><TCP_SUB_4>010</TCP_SUB_4>"
       "<TCP_GAT_2></TCP_GAT_2><Port>abc</Port><TCP_IP_1>99</TCP_IP_1></G>",
       with([](CommSettings& s) {
         s.Time_Out = "$FF";
         s.TCP_IP[0] = " 12";
         s.TCP_SUB[3] = "010";
         s.TCP_GAT[1] = "";
         s.Port = "abc";
       })},
      {"a declaration and a comment before the root",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!-- hand-edited --><GeneralParameter><Device_Type>1</Device_Type>"
       "<Port>1502</Port></GeneralParameter>",
       with([](CommSettings& s) { s.Port = "1502"; })},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Result<CommSettings> loaded = load(c.content);
    ASSERT_TRUE(loaded) << test::english(loaded.failure());
    EXPECT_EQ(*loaded, c.expected);
  }
}

TEST(CommSettingsLoad, ABrokenFileIsReportedWithTheValuesOfAnEmptyOne) {
  const Result<CommSettings> loaded = load("<GeneralParameter><Device_Type>1</GeneralParameter>");
  ASSERT_FALSE(loaded);
  EXPECT_EQ(loaded.failure().text, Msg_Failure_File_Unreadable);
  EXPECT_EQ(loaded.failure().file, "ParGen.xml");
  EXPECT_FALSE(loaded.failure().reason.empty());
  EXPECT_EQ(Unreadable_Comm_Settings(), with([](CommSettings& s) { s.Device_Type = 0; }));
}

TEST(CommSettingsSave, WritesTheExactDocument) {
  TempDir dir;
  ASSERT_FALSE(Save_Comm_Settings(dir / "ParGen.xml", CommSettings{}));
  EXPECT_EQ(read_file(dir / "ParGen.xml"), New_Project_File);
}

TEST(CommSettingsSave, WhatIsSavedLoadsBackUnchanged) {
  TempDir dir;
  const CommSettings settings = with([](CommSettings& s) {
    s.Device_Type = 0;
    s.CAN_Baud = 2;
    s.CAN_Type = 1;
    s.TCP_IP = {" 12", "010", "$FF", "0x0A"};
    s.TCP_SUB = {"255", "255", "0", "0"};
    s.TCP_GAT = {"300", "", "a<b", "1"};
    s.En_GAT = true;
    s.Port = "10000";
    s.Time_Out = "65535";
    s.Dis_Sock = true;
  });
  ASSERT_FALSE(Save_Comm_Settings(dir / "ParGen.xml", settings));
  const Result<CommSettings> loaded = Load_Comm_Settings(Read_ParGen_File(dir / "ParGen.xml"));
  ASSERT_TRUE(loaded) << test::english(loaded.failure());
  EXPECT_EQ(*loaded, settings);
}

TEST(CommSettingsChecks, FirstFailingCheckInOrder) {
  const struct {
    const char* name;
    std::function<void(CommSettings&)> change;
    std::optional<CommCheckFailure> failure;
  } cases[] = {
      {"defaults pass", [](CommSettings&) {}, std::nullopt},
      {"empty IP byte 1", [](CommSettings& s) { s.TCP_IP[0] = ""; },
       CommCheckFailure{CommField::IP, 0, Msg_Check_First_IP}},
      {"leading blank passes", [](CommSettings& s) { s.TCP_IP[0] = " 12"; }, std::nullopt},
      {"trailing blank fails", [](CommSettings& s) { s.TCP_IP[0] = "12 "; },
       CommCheckFailure{CommField::IP, 0, Msg_Check_First_IP}},
      {"hex passes", [](CommSettings& s) { s.TCP_IP[1] = "$FF"; }, std::nullopt},
      {"IP byte 4 too big", [](CommSettings& s) { s.TCP_IP[3] = "256"; },
       CommCheckFailure{CommField::IP, 3, Msg_Check_First_IP + 3}},
      {"negative mask byte", [](CommSettings& s) { s.TCP_SUB[2] = "-1"; },
       CommCheckFailure{CommField::Subnet, 2, Msg_Check_First_Subnet + 2}},
      {"first failure wins",
       [](CommSettings& s) {
         s.TCP_SUB[0] = "x";
         s.TCP_IP[2] = "x";
       },
       CommCheckFailure{CommField::IP, 2, Msg_Check_First_IP + 2}},
      {"gateway not checked when off", [](CommSettings& s) { s.TCP_GAT[0] = "300"; }, std::nullopt},
      {"gateway checked when on",
       [](CommSettings& s) {
         s.TCP_GAT[0] = "300";
         s.En_GAT = true;
       },
       CommCheckFailure{CommField::Gateway, 0, Msg_Check_First_Gateway}},
      {"gateway byte 4",
       [](CommSettings& s) {
         s.TCP_GAT[3] = "";
         s.En_GAT = true;
       },
       CommCheckFailure{CommField::Gateway, 3, Msg_Check_First_Gateway + 3}},
      {"port 10000 for jumper hardware",
       [](CommSettings& s) {
         s.Device_Type = 0;
         s.Port = "10000";
       },
       CommCheckFailure{CommField::Port, 0, Msg_Check_Port}},
      {"port 10000 hidden for dip-switch hardware", [](CommSettings& s) { s.Port = "10000"; }, std::nullopt},
      {"port 65536 for jumper hardware",
       [](CommSettings& s) {
         s.Device_Type = 0;
         s.Port = "65536";
       },
       CommCheckFailure{CommField::Port, 0, Msg_Check_Port}},
      {"port 0 for jumper hardware",
       [](CommSettings& s) {
         s.Device_Type = 0;
         s.Port = "0";
       },
       std::nullopt},
      {"port as hex 10000",
       [](CommSettings& s) {
         s.Device_Type = 0;
         s.Port = "$2710";
       },
       CommCheckFailure{CommField::Port, 0, Msg_Check_Port}},
      {"time-out 0", [](CommSettings& s) { s.Time_Out = "0"; },
       CommCheckFailure{CommField::Time_Out, 0, Msg_Check_Time_Out}},
      {"time-out 1", [](CommSettings& s) { s.Time_Out = "1"; }, std::nullopt},
      {"time-out 65535", [](CommSettings& s) { s.Time_Out = "65535"; }, std::nullopt},
      {"time-out 65536", [](CommSettings& s) { s.Time_Out = "65536"; },
       CommCheckFailure{CommField::Time_Out, 0, Msg_Check_Time_Out}},
      {"port before time-out",
       [](CommSettings& s) {
         s.Device_Type = 0;
         s.Port = "";
         s.Time_Out = "";
       },
       CommCheckFailure{CommField::Port, 0, Msg_Check_Port}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Controllo_Dati(with(c.change)), c.failure);
  }
}

TEST(TableContext, OtherReadersTakeJumperHardwareAndPort502ForWhatIsMissing) {
  const struct {
    const char* name;
    const char* content;  // nullptr: no file
    TableContext expected;
  } cases[] = {
      {"no file", nullptr, {0, 0, 502}},
      {"every element", "<G><Device_Type>2</Device_Type><CAN_Type>1</CAN_Type><Port> 1502</Port></G>", {2, 1, 1502}},
      {"port not a number", "<G><Device_Type>1</Device_Type><CAN_Type>1</CAN_Type><Port>x</Port></G>", {1, 1, 502}},
      {"no elements", "<G/>", {0, 0, 502}},
      {"hex frame format", "<G><CAN_Type>$10</CAN_Type></G>", {0, 16, 502}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (c.content) write_file(dir / "ParGen.xml", c.content);
    const TableContext read = Read_Table_Context(Read_ParGen_File(dir / "ParGen.xml"));
    EXPECT_EQ(read.Hard_Type, c.expected.Hard_Type);
    EXPECT_EQ(read.Type_Can, c.expected.Type_Can);
    EXPECT_EQ(read.Default_Port, c.expected.Default_Port);
  }
}

}  // namespace
}  // namespace sw48230
