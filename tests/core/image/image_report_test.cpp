#include "core/image/image_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "core/image/comm_image.h"
#include "support/failure_of.h"
#include "support/json_check.h"
#include "support/sample_images.h"

namespace sw48230 {
namespace {

DecodedImage decoded(const Bytes& bytes) {
  const Result<DecodedImage> decode = Decode_Image(bytes, "bank.bin");
  EXPECT_TRUE(decode) << test::english(decode.failure());
  return decode ? *decode : DecodedImage{};
}

// The JSON report must parse back to the very string it was given, with the
// bytes that are not UTF-8 replaced by U+FFFD, and never throw on them.
TEST(ImageReportJson, AwkwardStringsParseBackToThemselves) {
  const DecodedImage image = decoded(Serialize_Bank2(test::sample_bank2()));
  const struct {
    const char* name;
    std::string raw;
    std::string parsed;
  } cases[] = {
      {"quote and backslash", "a\"b\\c", "a\"b\\c"},
      {"short escapes", "\n\r\t", "\n\r\t"},
      {"control bytes", std::string("\x00\x01\x08\x0C\x1F\x7F", 6), std::string("\x00\x01\x08\x0C\x1F\x7F", 6)},
      {"non-ASCII UTF-8", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"lone invalid byte", "bad\xFF.bin", "bad\xEF\xBF\xBD.bin"},
      {"cut sequence", "cut\xE2\x82", "cut\xEF\xBF\xBD"},
      {"empty", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string json = Image_Report_Json(image, c.raw);
    ASSERT_EQ(test::JsonCheck::error_in(json), "") << json;
    EXPECT_EQ(nlohmann::json::parse(json).at("file").get<std::string>(), c.parsed);
  }
}

// Escapes that stored reports and other platforms' outputs are compared by:
// upper-case hex digits and no \b or \f short forms.
TEST(ImageReportJson, ControlBytesKeepTheirLongUpperCaseEscape) {
  const DecodedImage image = decoded(test::sample_bank());
  const std::string json = Image_Report_Json(image, std::string("\x08\x0C\x1F\x0A", 4));
  EXPECT_NE(json.find(R"("file": "\u0008\u000C\u001F\n",)"), std::string::npos) << json;
}

// Both reports come from one list of fields: each value the text shows in a
// row is the one the JSON gives for the same row.
TEST(ImageReport, TextAndJsonGiveTheSameValues) {
  for (const Bytes& bytes : {Serialize_Bank2(test::sample_bank2()), test::sample_bank()}) {
    const DecodedImage image = decoded(bytes);
    const nlohmann::json json = nlohmann::json::parse(Image_Report_Json(image, "x.bin"));
    const nlohmann::json& rows = json.contains("records") ? json.at("records") : json.at("rows");
    ASSERT_FALSE(rows.empty());

    const std::string text = Image_Report_Text(image, "x.bin");
    std::istringstream lines(text);
    std::vector<std::vector<std::string>> table;
    for (std::string line; std::getline(lines, line);) {
      std::istringstream words(line);
      std::vector<std::string> cells;
      for (std::string word; words >> word;) cells.push_back(word);
      if (!cells.empty() && cells[0] != "#" && std::isdigit(static_cast<unsigned char>(cells[0][0])) &&
          cells.size() > 5) {
        table.push_back(cells);
      }
    }
    ASSERT_EQ(table.size(), rows.size()) << text;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      SCOPED_TRACE(i);
      const nlohmann::json& row = rows[i];
      const std::vector<std::string>& cells = table[i];
      EXPECT_EQ(cells[0], std::to_string(row.at("index").get<int>()));
      EXPECT_EQ(cells[1], row.at("table").get<std::string>());
      for (const char* key : {"cob_id", "cob_kind", "slave_address"}) {
        EXPECT_NE(std::find(cells.begin(), cells.end(), row.at(key).get<std::string>()), cells.end()) << key;
      }
      EXPECT_EQ(cells.back(), row.contains("swap") ? (row.at("swap").get<bool>() ? "Y" : "N")
                                                   : std::to_string(row.at("quantity").get<int>()));
    }
  }
}

}  // namespace
}  // namespace sw48230
