#include "core/common/xml_characters.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "core/common/xml_file.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

TEST(XmlCharacters, WhatADocumentCanHold) {
  const struct {
    std::string text;
    std::optional<std::string> first_bad;
  } cases[] = {
      {"plain, \t\r\n \xC3\xBC \xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBF\xBD", std::nullopt},
      {std::string("a\0b", 3), "U+0000"},
      {"esc \x1B", "U+001B"},
      {"\x7F and \xC2\x85 are allowed, \x0B is not", "U+000B"},
      {"\xEF\xBF\xBE", "U+FFFE"},
      {"\xEF\xBF\xBF", "U+FFFF"},
      {"Latin-1 \xB0", "0xB0"},
      {"overlong \xC0\xAF", "0xC0"},
      {"surrogate \xED\xA0\x80", "0xED"},
      {"cut \xE2\x82", "0xE2"},
      {"beyond U+10FFFF \xF4\x90\x80\x80", "0xF4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Find_Non_Xml_Character(c.text), c.first_bad);
  }
}

TEST(XmlCharacters, ReferencesCountAsTheirCharacters) {
  EXPECT_EQ(Find_Non_Xml_Content("<a b=\"&#09;&#13;&#10;&#x20AC;&amp;#27;\"/>"), std::nullopt);
  EXPECT_EQ(Find_Non_Xml_Content("<a b=\"&#27;\"/>"), "U+001B");
  EXPECT_EQ(Find_Non_Xml_Content("<a>&#x1b;</a>"), "U+001B");
  EXPECT_EQ(Find_Non_Xml_Content("<a>&#65534;</a>"), "U+FFFE");
  EXPECT_EQ(Find_Non_Xml_Content("<a>&#99999999999999999999;</a>"), "U+110000");
  EXPECT_EQ(Find_Non_Xml_Content("<!--\x01-->"), "U+0001");
}

// pugixml writes a control character as a reference that XML 1.0 forbids,
// and reads it back; only the writer's own check keeps it out of a file.
TEST(XmlCharacters, TheWriterRefusesWhatPugixmlWouldWrite) {
  pugi::xml_document document;
  document.append_child("R").append_attribute("M").set_value("a\x01z");
  const std::string text = serialize_xml(document);
  EXPECT_NE(text.find("&#01;"), std::string::npos) << text;
  ASSERT_TRUE(parse_xml_file_bytes(text, "f.xml"));

  test::TempDir dir;
  const std::optional<Failure> failure = write_xml_file(dir / "f.xml", text);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->text, Msg_Failure_File_Not_Written);
  EXPECT_NE(failure->reason.find("U+0001"), std::string::npos) << failure->reason;
  EXPECT_FALSE(std::filesystem::exists(dir / "f.xml"));

  EXPECT_FALSE(write_xml_file(dir / "g.xml", "<R M=\"a&#09;z\"/>"));
  EXPECT_EQ(test::read_file(dir / "g.xml"), "<R M=\"a&#09;z\"/>");
}

}  // namespace
}  // namespace sw48230
