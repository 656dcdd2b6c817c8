#include "core/common/xml_file.h"

#include <gtest/gtest.h>

#include "support/failure_of.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::read_file;
using test::TempDir;
using test::write_file;

TEST(XmlFile, TheRootIsTheFirstElementWhateverComesBeforeIt) {
  TempDir dir;
  const struct {
    const char* name;
    const char* content;
  } cases[] = {
      {"plain", "<A><Device_Type>1</Device_Type></A>"},
      {"declaration", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<A><Device_Type>1</Device_Type></A>"},
      {"comment first", "<!-- SW_VERSION = 2.007 --><A><Device_Type>1</Device_Type></A>"},
      {"instruction", "<?style x?><A><Device_Type>1</Device_Type></A><!-- after -->"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    write_file(dir / "f.xml", c.content);
    const auto document = load_xml_file(dir / "f.xml");
    ASSERT_TRUE(document);
    EXPECT_EQ(child_text(root_element(*document), "Device_Type"), "1");
  }
}

TEST(XmlFile, TextsAreTakenAsWrittenAndMissingElementsAreTold) {
  TempDir dir;
  write_file(dir / "f.xml", "<R><a> </a><b/><c> 12 </c><d>x</d><d>y</d></R>");
  const auto document = load_xml_file(dir / "f.xml");
  ASSERT_TRUE(document);
  const auto root = root_element(*document);
  EXPECT_EQ(child_text(root, "a"), " ");
  EXPECT_EQ(child_text(root, "b"), "");
  EXPECT_EQ(child_text(root, "c"), " 12 ");
  EXPECT_EQ(child_text(root, "d"), "x");  // the first of that name counts
  EXPECT_EQ(child_text(root, "e"), std::nullopt);
}

TEST(XmlFile, MissingOrBrokenFilesGiveNothing) {
  TempDir dir;
  EXPECT_FALSE(load_xml_file(dir / "missing.xml"));
  const Result<pugi::xml_document> missing = read_xml_file(dir / "missing.xml");
  ASSERT_FALSE(missing);
  EXPECT_TRUE(Is_File_Missing(missing.failure()));
  EXPECT_EQ(test::english(missing.failure()), "missing.xml is missing");
  std::filesystem::create_directory(dir / "folder.xml");
  const Result<pugi::xml_document> folder = read_xml_file(dir / "folder.xml");
  ASSERT_FALSE(folder);
  EXPECT_FALSE(Is_File_Missing(folder.failure()));
  EXPECT_EQ(folder.failure().text, Msg_Failure_File_Unreadable);
  EXPECT_FALSE(folder.failure().reason.empty());
  write_file(dir / "broken.xml", "<R><a>1</R>");
  EXPECT_FALSE(load_xml_file(dir / "broken.xml"));
  const Result<pugi::xml_document> broken = read_xml_file(dir / "broken.xml");
  ASSERT_FALSE(broken);
  EXPECT_EQ(broken.failure().text, Msg_Failure_File_Unreadable);
  EXPECT_EQ(broken.failure().file, "broken.xml");
  EXPECT_NE(broken.failure().reason.find("at byte"), std::string::npos);
  const Result<pugi::xml_document> text = parse_xml_file_bytes("<R><a>1</R>", "var.xml");
  ASSERT_FALSE(text);
  EXPECT_EQ(test::english(text.failure()).rfind("var.xml cannot be read: ", 0), 0u) << test::english(text.failure());
  write_file(dir / "empty.xml", "");
  EXPECT_FALSE(load_xml_file(dir / "empty.xml"));
}

TEST(XmlFile, WritesWithoutDeclarationOrIndentation) {
  pugi::xml_document document;
  auto root = document.append_child("Root");
  document.append_child(pugi::node_comment).set_value("SW_VERSION = 2.007");
  root.append_child("Name").text().set("a<b & \"c\" ü");
  EXPECT_EQ(serialize_xml(document), "<Root><Name>a&lt;b &amp; \"c\" \xC3\xBC</Name></Root><!--SW_VERSION = 2.007-->");
}

}  // namespace
}  // namespace sw48230
