#include "core/common/failure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/i18n/message_table.h"
#include "core/image/image_error.h"

namespace sw48230 {
namespace {

TEST(FillPlaceholders, EachNumberTakesItsValueOnce) {
  const struct {
    const char* text;
    std::vector<std::string> values;
    const char* filled;
  } cases[] = {
      {"%1 of %2 rows tested", {"3", "10"}, "3 of 10 rows tested"},
      {"%2 before %1", {"a", "b"}, "b before a"},
      {"%1 and %1", {"x"}, "x and x"},
      // A value is not searched again: a file named "%2" stays so.
      {"%1: %2", {"%2", "reason"}, "%2: reason"},
      {"%1 is missing", {}, "%1 is missing"},
      {"%3 has no value", {"a", "b"}, "%3 has no value"},
      {"100% sure, %0 and %", {"x"}, "100% sure, %0 and %"},
      {"", {"x"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Fill_Placeholders(c.text, c.values), c.filled);
  }
}

// The English text is what the command-line tool has always printed; the
// same failure reads in the user's language on a screen.
TEST(FailureMessage, EnglishAsBeforeAndTranslatedWithTheSameValues) {
  MessageTable italian;
  italian.Default_Messages();
  italian.Read_Lng_File(std::filesystem::path(SW48230_SHIPPED_LANGUAGES) / "Italiano.lng");
  const struct {
    Failure failure;
    const char* english;
    const char* italian;
  } cases[] = {
      {File_Missing("ParGen.xml"), "ParGen.xml is missing", "ParGen.xml manca"},
      {File_Unreadable("var2.xml", "unexpected end"), "var2.xml cannot be read: unexpected end",
       "var2.xml non può essere letto: unexpected end"},
      {Element_Not_A_Number("ParGen.xml", "CAN_Baud", "x"), "ParGen.xml: element CAN_Baud is not a number: \"x\"",
       "ParGen.xml: l'elemento CAN_Baud non è un numero: \"x\""},
      {Element_Outside_List("ParGen.xml", "CAN_Baud", 7, "8"), "ParGen.xml: element CAN_Baud is outside its list 0..7: \"8\"",
       "ParGen.xml: l'elemento CAN_Baud è fuori dal suo elenco 0..7: \"8\""},
      {Attribute_Missing("var.xml", 3, "Address_Word"), "var.xml, row 3: attribute Address_Word is missing",
       "var.xml, riga 3: manca l'attributo Address_Word"},
      {Too_Many_Rows("var.xml", 513, 512), "var.xml has 513 rows, more than the 512 a table holds",
       "var.xml ha 513 righe, più delle 512 che una tabella contiene"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.english);
    EXPECT_EQ(c.failure.message(), c.english);
    EXPECT_EQ(Failure_Message(italian, c.failure), c.italian);
  }
}

TEST(FailureResult, HoldsTheValueOrTheFailure) {
  const Result<int> value = 7;
  ASSERT_TRUE(value);
  EXPECT_EQ(*value, 7);

  const Result<int> failed = File_Missing("var.xml");
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.failure().file, "var.xml");
  EXPECT_EQ(failed.failure().text, Msg_Failure_File_Missing);
}

}  // namespace
}  // namespace sw48230
