#include "core/i18n/update_check.h"

#include <gtest/gtest.h>

namespace sw48230 {
namespace {

TEST(UpdateCheckTest, ConvVersionTakesFourCharactersAroundThePoint) {
  const struct {
    const char* text;
    int number;
  } cases[] = {
      {"2.007", 2007},           // the program's own form
      {"VER. 2.010", 2010},      // the reply's form
      {"VER.   2.010  ", 2010},  // the part after the first blank is trimmed
      {"2.0071", 2007},          // anything after the fifth character is ignored
      {"2x007", 2007},           // the point itself is never looked at
      {"$.FFF", 4095},           // the number rule reads hexadecimal too
      {"10.01", -1},             // "1.01" is not a number
      {"VER. 10.01", -1},        // the same after the prefix
      {"2.0", -1},               // too short
      {"VER. 2.0", -1},          // too short after the prefix
      {"", -1},                  // nothing at all
      {"VER.", -1},              // no blank: the whole text, too short
      {"VER. a.bcd", -1},        // letters
      {"VER. 2.0 7", -1},        // a blank inside the digits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Conv_Version(c.text), c.number);
  }
}

TEST(UpdateCheckTest, OnlyAHigherVersionOfTheServerCountsAsNewer) {
  const struct {
    const char* reply;
    bool newer;
  } cases[] = {
      {"VER. 2.010", true},     {"VER. 2.007", false},
      {"VER. 1.999", false},    {"ver. 0.000", false},
      {"VER. 0.000", false},    {"  VER. 0.000\r\n", false},
      {"VER. 2.0071", false},   {"2.100", true},
      {"VER. 10.01", false},    {"  VER. 2.010  ", true},
      {"VER. 2.010\r\n", true}, {"ver. 2.010", true},
      {"VER. 2.0", false},      {"", false},
      {" \r\n\t", false},       {"<html><body>Not Found</body></html>", false},
      {"VER. 9.999", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    EXPECT_EQ(Is_Newer_Version(c.reply), c.newer);
  }
}

TEST(UpdateCheckTest, TheComparisonIsAgainstTheProgramsOwnVersion) {
  EXPECT_EQ(Conv_Version(Version_Text), 2007);
  EXPECT_FALSE(Is_Newer_Version("VER. 2.010", "2.010"));
  EXPECT_TRUE(Is_Newer_Version("VER. 2.011", "2.010"));
  EXPECT_FALSE(Is_Newer_Version("VER. 9.999", "not a version"));
}

TEST(UpdateCheckTest, RequestAndPagesOfTheVersionService) {
  EXPECT_EQ(Version_Request_Target(), "/home/download/GetversionSW.asp?nomesw=SW48230");
  EXPECT_EQ(Version_Request_Headers(),
            (HttpHeaders{{"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"},
                         {"User-Agent", "Mozilla/3.0 (compatible; Indy Library)"}}));

  EXPECT_EQ(Update_Host(nullptr), "www.norvane.com");
  EXPECT_EQ(Update_Host(""), "www.norvane.com");
  EXPECT_EQ(Update_Host("127.0.0.1:8080"), "127.0.0.1:8080");

  EXPECT_EQ(Download_Page_Url("www.norvane.com"), "https://www.norvane.com/Home/download/download.asp#HD48230");
  EXPECT_EQ(Download_Page_Url("127.0.0.1:8080"), "http://127.0.0.1:8080/Home/download/download.asp#HD48230");
  // The home page link of the main window lives on the same server.
  EXPECT_EQ(Web_Page_Url(Maker_Web_Address, "/HOME/default.asp?frompg=SW48230"), Home_Page_Url);
}

}  // namespace
}  // namespace sw48230
