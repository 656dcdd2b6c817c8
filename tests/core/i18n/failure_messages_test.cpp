#include "core/i18n/failure_messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/i18n/message_table.h"
#include "core/image/image_error.h"

namespace sw48230 {
namespace {

MessageTable italian() {
  MessageTable table;
  table.Default_Messages();
  table.Read_Lng_File(std::filesystem::path(SW48230_SHIPPED_LANGUAGES) / "Italiano.lng");
  return table;
}

// The English text is what the command-line tool has always printed; the
// same failure reads in the user's language on a screen, its file where its
// text puts it, and a box under the file's path shows the text without a
// name it would repeat.
TEST(FailureMessage, EnglishAsBeforeAndTranslatedWithTheSameValues) {
  const MessageTable translated = italian();
  const struct {
    Failure failure;
    const char* english;
    const char* italian;
    const char* under_path;  // Failure_Text in English
  } cases[] = {
      {File_Missing("ParGen.xml"), "ParGen.xml is missing", "ParGen.xml manca", "ParGen.xml is missing"},
      {File_Unreadable("var2.xml", "unexpected end"), "var2.xml cannot be read: unexpected end",
       "var2.xml non può essere letto: unexpected end", "var2.xml cannot be read: unexpected end"},
      {Cannot_Be_Read("var2.xml", "unexpected end"), "var2.xml: cannot be read: unexpected end",
       "var2.xml: impossibile leggere il file: unexpected end", "cannot be read: unexpected end"},
      {Element_Not_A_Number("ParGen.xml", "CAN_Baud", "x"), "ParGen.xml: element CAN_Baud is not a number: \"x\"",
       "ParGen.xml: l'elemento CAN_Baud non è un numero: \"x\"", "ParGen.xml: element CAN_Baud is not a number: \"x\""},
      {Element_Outside_List("ParGen.xml", "CAN_Baud", 7, "8"),
       "ParGen.xml: element CAN_Baud is outside its list 0..7: \"8\"",
       "ParGen.xml: l'elemento CAN_Baud è fuori dalla sua lista 0..7: \"8\"",
       "element CAN_Baud is outside its list 0..7: \"8\""},
      {Element_Not_Exactly_1("ParGen.xml", "Device_Type", "01"),
       "ParGen.xml: element Device_Type reads as 1 but is not \"1\": \"01\"",
       "ParGen.xml: l'elemento Device_Type vale 1 ma non è scritto \"1\": \"01\"",
       "element Device_Type reads as 1 but is not \"1\": \"01\""},
      {Attribute_Missing("var.xml", 3, "Address_Word"), "var.xml, row 3: attribute Address_Word is missing",
       "var.xml, riga 3: manca l'attributo Address_Word", "var.xml, row 3: attribute Address_Word is missing"},
      {Too_Many_Rows("var.xml", 513, 512), "var.xml has 513 rows, more than the 512 a table holds",
       "var.xml ha 513 righe, più delle 512 che una tabella contiene",
       "var.xml has 513 rows, more than the 512 a table holds"},
      {Headed_Failure(Msg_Folder_Not_Created, "/home/me/PROJECTS", "Permission denied"),
       "Error! The folder could not be created: /home/me/PROJECTS: Permission denied",
       "Errore! Impossibile creare la cartella: /home/me/PROJECTS: Permission denied",
       "Error! The folder could not be created: /home/me/PROJECTS: Permission denied"},
      {Headed_Failure(Msg_Folder_Not_Created, "/home/me/PROJECTS", ""),
       "Error! The folder could not be created: /home/me/PROJECTS",
       "Errore! Impossibile creare la cartella: /home/me/PROJECTS",
       "Error! The folder could not be created: /home/me/PROJECTS"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.english);
    EXPECT_EQ(Failure_Message(English_Messages(), c.failure), c.english);
    EXPECT_EQ(Failure_Message(translated, c.failure), c.italian);
    EXPECT_EQ(Failure_Text(English_Messages(), c.failure), c.under_path);
  }
}

// A value is never read as a placeholder or a place: a file or a reason
// holding "%1" or ": " stays as it is.
TEST(FailureMessage, ValuesAndPlacesAreTakenAsTheyAre) {
  EXPECT_EQ(Failure_Message(English_Messages(), Cannot_Be_Read("%1: x.xml", "%1")), "%1: x.xml: cannot be read: %1");
}

TEST(FailureMessage, RowTextPutsTheLabelAndTheNumberBeforeTheText) {
  const MessageTable translated = italian();
  // 380: "Error row ", 503: "CSV line ".
  EXPECT_EQ(Row_Text(English_Messages(), 380, 3, "!! x"), "Error row 3!! x");
  EXPECT_EQ(Row_Text(English_Messages(), 503, 12, ", column COB!! y"), "CSV line 12, column COB!! y");
  EXPECT_EQ(Row_Text(translated, 380, 3, "!! x"), translated.text(380) + "3!! x");
}

}  // namespace
}  // namespace sw48230
