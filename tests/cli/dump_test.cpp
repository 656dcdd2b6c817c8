#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "support/json_check.h"
#include "support/sample_images.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

namespace fs = std::filesystem;
using Tokens = std::vector<std::string>;

// The report's lines split at blanks, so that the checks do not depend on the
// width of its columns.
std::vector<Tokens> token_lines(const std::string& text) {
  std::vector<Tokens> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    Tokens tokens;
    for (std::string word; words >> word;) tokens.push_back(word);
    lines.push_back(tokens);
  }
  return lines;
}

// The line whose first tokens are `start`; empty when there is none.
Tokens line_starting(const std::vector<Tokens>& lines, const Tokens& start) {
  for (const Tokens& line : lines) {
    if (line.size() >= start.size() && std::equal(start.begin(), start.end(), line.begin())) return line;
  }
  return {};
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A path as a JSON string holds it: Windows paths have backslashes.
std::string json_escaped(const std::string& path) {
  std::string escaped;
  for (const char c : path) {
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

class DumpTest : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const Bytes& bytes) {
    test::write_file(temp_ / name, as_chars(bytes));
    return (temp_ / name).string();
  }
  test::CliRun dump(const std::vector<std::string>& args) {
    std::vector<std::string> all{"dump"};
    all.insert(all.end(), args.begin(), args.end());
    return test::run_cli(temp_.path(), all);
  }

  test::TempDir temp_;
};

TEST_F(DumpTest, Bank2AsText) {
  const std::string file = write("bank2.bin", Serialize_Bank2(test::sample_bank2()));
  const test::CliRun run = dump({file});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");

  const auto lines = token_lines(run.out);
  EXPECT_EQ(lines.front(), (Tokens{file + ":", "bank2.bin", "layout,", "34816", "bytes"}));
  const std::vector<Tokens> fields = {
      {"CAN_Bit_Rate", "250000", "bit/s"},
      {"Time_Out", "70000", "ms"},
      {"IP_Address", "192.168.0.10"},
      {"Subnet_Mask", "255.255.255.0"},
      {"Gateway", "192.168.0.1"},
      {"Default_Port", "502"},
      {"Record_Count", "3"},
      {"Request_Count", "2"},
      {"Setting_Count", "1"},
      {"Checksum", "3110", "(verified)"},
  };
  for (const Tokens& field : fields) EXPECT_EQ(line_starting(lines, {field.front()}), field);

  EXPECT_EQ(line_starting(lines, {"Records:"}), (Tokens{"Records:", "3", "filled", "of", "1024"}));
  // #, table, slot, Cob-ID, kind, slave address, port, unit, function, address,
  // quantity, bytes, poll time, max error, swap
  EXPECT_EQ(line_starting(lines, {"0", "request"}),
            (Tokens{"0", "request", "0", "0x123", "29-bit", "192.168.0.11", "5020", "17", "3", "Read", "Holding",
                    "Registers", "40001", "4", "8", "1500", "3", "Y"}));
  EXPECT_EQ(line_starting(lines, {"1", "request"}),
            (Tokens{"1", "request", "8", "0x7FF", "11-bit", "10.0.0.2", "502", "1", "1", "Read", "Coils", "7", "64",
                    "8", "100", "0", "N"}));
  EXPECT_EQ(line_starting(lines, {"2", "setting"}),
            (Tokens{"2", "setting", "0", "0x1ABCDEF", "29-bit", "172.16.5.9", "502", "255", "15", "Write", "Multiple",
                    "Coils", "0", "16", "2", "0", "0", "N"}));
  EXPECT_EQ(line_starting(lines, {"3"}), Tokens{});
  EXPECT_EQ(lines.back(), (Tokens{"Problems:", "none"}));
}

TEST_F(DumpTest, Bank2AsJson) {
  const std::string file = write("bank2.bin", Serialize_Bank2(test::sample_bank2()));
  const test::CliRun run = dump({"--json", file});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(
      run.out.rfind(
          "{\n  \"file\": \"" + json_escaped(file) + "\",\n  \"layout\": \"bank2.bin\",\n  \"size\": 34816,\n", 0),
      0u)
      << run.out;
  EXPECT_TRUE(contains(run.out,
                       "\"general_block\": {\"can_bit_rate\": 250000, \"time_out\": 70000, \"ip_address\": "
                       "\"192.168.0.10\", \"subnet_mask\": \"255.255.255.0\", \"gateway\": \"192.168.0.1\", "
                       "\"default_port\": 502, \"record_count\": 3, \"request_count\": 2, \"setting_count\": 1, "
                       "\"checksum\": {\"stored\": 3110, \"computed\": 3110, \"verified\": true}},\n"))
      << run.out;
  EXPECT_TRUE(
      contains(run.out,
               "{\"index\": 0, \"table\": \"request\", \"slot_offset\": 0, \"cob_id\": \"0x123\", "
               "\"cob_kind\": \"29-bit\", \"slave_address\": \"192.168.0.11\", \"port\": 5020, \"unit_id\": 17, "
               "\"function\": 3, \"function_name\": \"Read Holding Registers\", \"address\": 40001, "
               "\"quantity\": 4, \"byte_count\": 8, \"poll_time\": 1500, \"max_error\": 3, \"swap\": true, "
               "\"flags\": 4},\n"))
      << run.out;
  EXPECT_TRUE(
      contains(run.out, "{\"index\": 2, \"table\": \"setting\", \"slot_offset\": 0, \"cob_id\": \"0x1ABCDEF\""));
  EXPECT_FALSE(contains(run.out, "\"index\": 3"));
  EXPECT_TRUE(contains(run.out, "  \"checksum_verified\": true,\n  \"problems\": []\n}\n")) << run.out;
}

TEST_F(DumpTest, BankAsTextAndJson) {
  const std::string file = write("bank.bin", test::sample_bank());
  const test::CliRun text = dump({file});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  const auto lines = token_lines(text.out);
  EXPECT_EQ(lines.front(), (Tokens{file + ":", "bank.bin", "layout,", "88", "bytes"}));
  const std::vector<Tokens> fields = {
      {"request", "rows", "at", "12"},
      {"setting", "rows", "at", "38"},
      {"Bank_Params", "at", "64"},
      {"CAN_Baud", "code", "5", "(250000", "bit/s)"},
      {"CAN_Type", "1", "(29-bit)"},
      {"Time_Out", "4464", "ms"},
      {"En_GAT", "0"},
      {"Gateway", "192.168.0.1"},
      {"Dis_Sock", "1"},
      {"request", "rows", "2"},
      {"setting", "rows", "2"},
  };
  for (const Tokens& field : fields) EXPECT_EQ(line_starting(lines, field), field);
  // #, table, Cob-ID, kind, slave address, unit, type, address, quantity
  EXPECT_EQ(line_starting(lines, {"0", "request"}), (Tokens{"0", "request", "0x100", "29-bit", "192.168.0.11", "17",
                                                            "3", "holding", "registers", "40001", "4"}));
  EXPECT_EQ(line_starting(lines, {"3", "setting"}),
            (Tokens{"3", "setting", "0x300", "29-bit", "172.16.5.10", "2", "3", "holding", "registers", "9", "2"}));
  EXPECT_EQ(lines.back(), (Tokens{"Problems:", "none"}));

  const test::CliRun json = dump({file, "--json"});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  EXPECT_TRUE(contains(json.out, "\"layout\": \"bank.bin\",\n  \"size\": 88,\n  \"header\": [12, 38, 64],\n"));
  EXPECT_TRUE(contains(json.out,
                       "\"bank_params\": {\"can_baud_code\": 5, \"can_bit_rate\": 250000, \"can_type\": 1, "
                       "\"ip_address\": \"192.168.0.10\", \"subnet_mask\": \"255.255.255.0\", \"time_out\": 4464, "
                       "\"port\": 502, \"en_gat\": 0, \"gateway\": \"192.168.0.1\", \"dis_sock\": 1, "
                       "\"request_rows\": 2, \"setting_rows\": 2},\n"))
      << json.out;
  EXPECT_TRUE(contains(json.out,
                       "{\"index\": 1, \"table\": \"request\", \"cob_id\": \"0x200\", \"cob_kind\": \"29-bit\", "
                       "\"slave_address\": \"10.0.0.2\", \"unit_id\": 1, \"type_code\": 1, \"type_name\": \"coils\", "
                       "\"address\": 7, \"quantity\": 64},\n"))
      << json.out;
}

TEST_F(DumpTest, AChecksumThatDoesNotVerifyFailsButTheReportIsComplete) {
  Bytes bytes = Serialize_Bank2(test::sample_bank2());
  bytes[Records_Size + 2044] ^= 1;  // 3110 -> 3111
  const std::string file = write("bank2.bin", bytes);

  const test::CliRun text = dump({file});
  EXPECT_EQ(text.exit_code, 1);
  const auto lines = token_lines(text.out);
  EXPECT_EQ(line_starting(lines, {"Checksum"}),
            (Tokens{"Checksum", "3111", "(DOES", "NOT", "VERIFY:", "the", "block", "adds", "up", "to", "3110)"}));
  EXPECT_EQ(line_starting(lines, {"2", "setting"}).size(), 18u);
  EXPECT_TRUE(contains(text.out,
                       "Problems: 1\n  - the checksum does not verify: the file holds 3111, the "
                       "General_Block adds up to 3110\n"));
  EXPECT_TRUE(contains(text.err, file)) << text.err;
  EXPECT_TRUE(contains(text.err, "checksum does not verify")) << text.err;

  const test::CliRun json = dump({"--json", file});
  EXPECT_EQ(json.exit_code, 1);
  EXPECT_TRUE(contains(json.out, "\"checksum\": {\"stored\": 3111, \"computed\": 3110, \"verified\": false}"));
  EXPECT_TRUE(contains(json.out, "\"checksum_verified\": false,\n  \"problems\": [\n    \"the checksum does not"));
  EXPECT_TRUE(contains(json.out, "\"index\": 2"));
}

TEST_F(DumpTest, OtherFaultsFailToo) {
  Bytes bytes = test::sample_bank();
  bytes[64] = 9;  // CAN_Baud code
  const test::CliRun run = dump({write("bank.bin", bytes)});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(contains(run.out, "CAN_Baud code   9 (unknown)\n")) << run.out;
  EXPECT_TRUE(contains(run.out, "Problems: 1\n  - the CAN_Baud code 9 is outside 1..8\n")) << run.out;
  EXPECT_TRUE(contains(run.err, "1 problem found")) << run.err;
}

// A file name is bytes on POSIX systems; the JSON report must still be valid
// UTF-8 JSON, with the bytes that are not UTF-8 replaced.
TEST_F(DumpTest, JsonIsValidUtf8WhateverTheFileName) {
  const Bytes bank2 = Serialize_Bank2(test::sample_bank2());
  const std::string names[] = {"plain.bin",         "caf\xC3\xA9.bin",      "bad\xFF\xFE.bin", "cut\xE2\x82.bin",
                               "over\xC0\xAF.bin", "sur\xED\xA0\x80.bin",
#ifndef _WIN32
                               // Windows allows none of these in a file name; its paths' own
                               // backslashes still reach the JSON there.
                               "quote\"back\\slash\ttab.bin"
#endif
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::string file = write(name, bank2);
    const test::CliRun run = dump({"--json", file});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(test::JsonCheck::error_in(run.out), "") << run.out;
  }
#ifndef _WIN32
  // Windows' file names are UTF-16: there the name's bytes are read in the
  // code page and no byte is left that is not UTF-8.
  const test::CliRun bad = dump({"--json", write("bad\xFF.bin", bank2)});
  EXPECT_TRUE(contains(bad.out, "bad\xEF\xBF\xBD.bin")) << "U+FFFD in place of the byte";
#endif
}

TEST_F(DumpTest, RefusesFilesOfNeitherLayout) {
  Bytes bad_header = test::sample_bank();
  bad_header[4] = 13;
  const struct {
    const char* name;
    Bytes bytes;
    const char* reason;
  } cases[] = {
      {"empty.bin", {}, "the file is empty"},
      {"short.bin", {1, 2, 3}, "3 bytes is the size of neither a bank2.bin (always 34816 bytes) nor a bank.bin"},
      {"header.bin", bad_header, "but this file holds 12, 13 and 64"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = write(c.name, c.bytes);
    for (const std::vector<std::string>& args : {std::vector<std::string>{file}, {"--json", file}}) {
      const test::CliRun run = dump(args);
      EXPECT_EQ(run.exit_code, 1);
      EXPECT_EQ(run.out, "");
      EXPECT_TRUE(contains(run.err, file + " is not a configuration image: ")) << run.err;
      EXPECT_TRUE(contains(run.err, c.reason)) << run.err;
    }
  }
}

TEST_F(DumpTest, AFileThatCannotBeReadFails) {
  for (const fs::path& file : {temp_ / "missing.bin", temp_.path()}) {
    const test::CliRun run = dump({file.string()});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("sw48230-cli: cannot read " + file.string() + ": ", 0), 0u) << run.err;
  }
}

TEST_F(DumpTest, WrongArgumentsShowTheUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {}, {"--json"}, {"a.bin", "b.bin"}, {"--json", "--json", "a.bin"}, {"--xml", "a.bin"},
  };
  for (const auto& args : cases) {
    const test::CliRun run = dump(args);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(contains(run.err, "dump [--json] FILE")) << run.err;
  }
}

}  // namespace
}  // namespace sw48230
