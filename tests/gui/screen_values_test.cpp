// The project screens driven with values alone, without a main window or a
// project folder: what a screen shows is what it was opened with, and what
// the user confirms goes to the store it was handed, nowhere else.

#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <vector>

#include "core/common/paths.h"
#include "core/i18n/message_table.h"
#include "core/project/project.h"
#include "gui/commsettings/tf_par_gen.h"
#include "gui/tables/tf_request_screen.h"
#include "request_screen_fixture.h"
#include "screen_test.h"

using namespace sw48230;

namespace {

using test::click;
using test::find;

void set_element(ParGenFile& file, const char* name, const char* text) {
  for (std::size_t i = 0; i < pargen::Element_Names.size(); ++i) {
    if (std::string_view(name) == pargen::Element_Names[i]) file.elements[i] = text;
  }
}

struct Kit {
  Kit() { messages.Default_Messages(); }

  MessageTable messages;
  test::FakeServices fakes;
  Context context{messages, fakes.services()};
  QTemporaryDir folder;  // stays empty: nothing may be written there
};

}  // namespace

class ScreenValuesTest : public test::ScreenTest {
  Q_OBJECT

 private slots:
  // A store that fails keeps the screen open with the user's edit, says
  // why, and the next OK hands the same edit over again.
  void theSettingsScreenShowsItsFileAndHandsOverWhatIsConfirmed() {
    Kit kit;
    TFParGen screen(kit.context, nullptr);
    ParGenFile file;
    set_element(file, pargen::Device_Type, "1");
    set_element(file, pargen::TCP_IP[0], "10");
    const std::filesystem::path path = path_from_utf8(kit.folder.filePath("ParGen.xml").toStdString());
    std::vector<CommSettings> stored;
    const auto store = [&stored, &path](const CommSettings& settings) -> std::optional<Failure> {
      stored.push_back(settings);
      if (stored.size() == 1) return File_Not_Written(path, std::string("no room left"));
      return std::nullopt;
    };

    test::when_dialog_shown([&](QDialog* dialog) {
      auto* ip1 = find<QLineEdit>(dialog, "E_IP1_Modbus_TCP_Master");
      QCOMPARE(ip1->text(), QStringLiteral("10"));
      ip1->setFocus();
      ip1->selectAll();
      QTest::keyClicks(ip1, "172");
      click(dialog, "Btn_OK");
      QCOMPARE(stored.size(), std::size_t{1});
      QVERIFY(dialog->isVisible());
      QCOMPARE(kit.fakes.boxes.errors.size(), 1);
      QVERIFY2(kit.fakes.boxes.errors.front().contains(QStringLiteral("no room left")),
               qPrintable(kit.fakes.boxes.errors.front()));
      QCOMPARE(ip1->text(), QStringLiteral("172"));
      click(dialog, "Btn_OK");
    });
    QCOMPARE(screen.Open(file, path, store), int(QDialog::Accepted));
    QCOMPARE(stored.size(), std::size_t{2});
    QCOMPARE(stored.back(), stored.front());
    QCOMPARE(stored.back().TCP_IP[0], std::string("172"));
    QCOMPARE(stored.back().Device_Type, Device_Type_Dip_Switch);
    QVERIFY(QDir(kit.folder.path()).isEmpty());
  }

  // The table shown is the project's, not a file's; OK hands it over as
  // edited, and Cancel hands nothing.
  void aRequestScreenWorksOnTheProjectItIsOpenedWith() {
    Kit kit;
    RowCopyBuffer copied;
    TFCOBSetting screen(kit.context, copied, nullptr);
    Project project;
    project.dir = path_from_utf8(kit.folder.path().toStdString());
    set_element(project.settings, pargen::Device_Type, "0");
    RequestTable table;
    table.cell(1, Col_COB) = "300";
    table.cell(1, Col_IP) = "10.0.0.5";
    table.cell(1, Col_ID_Modbus) = "1";
    table.cell(1, Col_Type) = "Holding Register";
    table.cell(1, Col_Address) = "4";
    table.cell(1, Col_NPoint) = "1";
    project = With_Table(project, Write_Requests(), table);
    std::vector<RequestTable> stored;
    const auto store = [&stored](const RequestTable& saved) -> std::optional<Failure> {
      stored.push_back(saved);
      return std::nullopt;
    };

    test::when_dialog_shown([&](QDialog* dialog) {
      auto* grid = find<QTableView>(dialog, "ACG_Modbus");
      QCOMPARE(test::cell(grid, 1, Col_COB), QStringLiteral("300"));
      QCOMPARE(test::cell(grid, 2, Col_COB), QString());
      test::set_cell(grid, 1, Col_Address, QStringLiteral("40"));
      click(dialog, "Btn_OK");
    });
    QCOMPARE(screen.Open(project, store, {}), int(QDialog::Accepted));
    QCOMPARE(stored.size(), std::size_t{1});
    QCOMPARE(stored.front().cell(1, Col_COB), std::string("300"));
    QCOMPARE(stored.front().cell(1, Col_Address), std::string("40"));

    test::when_dialog_shown([&](QDialog* dialog) {
      test::set_cell(find<QTableView>(dialog, "ACG_Modbus"), 1, Col_Address, QStringLiteral("41"));
      kit.fakes.boxes.answers = {true};  // yes, give the change up
      dialog->reject();
    });
    QCOMPARE(screen.Open(project, store, {}), int(QDialog::Rejected));
    QCOMPARE(stored.size(), std::size_t{1});
    QVERIFY(QDir(kit.folder.path()).isEmpty());
  }
};

QTEST_MAIN(ScreenValuesTest)
#include "screen_values_test.moc"
