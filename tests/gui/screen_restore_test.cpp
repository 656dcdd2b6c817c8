#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "screen_test.h"
#include "update_fixture.h"

using namespace sw48230;
using namespace sw48230::test;

// Only an opening from the main window loads a screen; a show the window
// system causes leaves every screen as the user left it.
class ScreenRestoreTest : public ScreenTest {
  Q_OBJECT

 private slots:
  void settingsKeepTheirEdits() {
    UpdateFixture f("1");
    f.start();
    f.open("Btn_Prm_Gen", nullptr, [&](QDialog* dialog) {
      auto* timeout = find<QLineEdit>(dialog, "E_TO_Modbus_TCP_Master");
      timeout->selectAll();
      QTest::keyClicks(timeout, "777");
      f.write("PROJECTS/Plant1/ParGen.xml", "<GeneralParameter><Time_Out>5</Time_Out></GeneralParameter>");
      QVERIFY(test::minimise_and_restore(dialog));
      QCOMPARE(timeout->text(), QStringLiteral("777"));
    });
  }

  void optionsKeepTheirChoices() {
    UpdateFixture f;
    f.start();
    f.open("Btn_Opz", nullptr, [](QDialog* dialog) {
      auto* internet = find<QCheckBox>(dialog, "CB_En_Con");
      const bool before = internet->isChecked();
      click(dialog, "CB_En_Con");
      QVERIFY(test::minimise_and_restore(dialog));
      QCOMPARE(internet->isChecked(), !before);
    });
  }

  void projectDialogsKeepWhatWasTypedAndListed() {
    UpdateFixture f;
    f.start();
    f.open("Btn_New", nullptr, [](QDialog* dialog) {
      QTest::keyClicks(find<QLineEdit>(dialog, "E_New_Proj"), "Plant2");
      QVERIFY(test::minimise_and_restore(dialog));
      QCOMPARE(find<QLineEdit>(dialog, "E_New_Proj")->text(), QStringLiteral("Plant2"));
    });
    f.open("Btn_Open", nullptr, [&](QDialog* dialog) {
      auto* list = find<QListWidget>(dialog, "ListBox1");
      const int listed = list->count();
      list->setCurrentRow(listed - 1);
      f.program.mkpath(QStringLiteral("PROJECTS/Plant0"));
      QVERIFY(test::minimise_and_restore(dialog));
      QCOMPARE(list->count(), listed);
      QCOMPARE(list->currentRow(), listed - 1);
    });
  }

  void ethernetUpdateKeepsThePingAndThePage() {
    UpdateFixture f("1");
    f.start();
    f.fakes.echo.answer = EchoReply::With_Data;
    f.open_update("TFBootTCP", [](QDialog* dialog) {
      click(dialog, "Btn_Ping");
      const QString ping = find<QLabel>(dialog, "LPing")->text();
      QVERIFY(!ping.isEmpty());
      QVERIFY(test::minimise_and_restore(dialog));
      QCOMPARE(find<QLabel>(dialog, "LPing")->text(), ping);
      click(dialog, "Btn_Next");
      QVERIFY(shown(dialog, "Btn_Update"));
      QVERIFY(test::minimise_and_restore(dialog));
      QVERIFY(shown(dialog, "Btn_Update"));
    });
  }

  void serialUpdateKeepsItsPage() {
    UpdateFixture f;
    f.start();
    f.fakes.serial_ports.ports = {{"ttyUSB0", "/dev/ttyUSB0"}};
    f.open_update("TFBootSer", [&](QDialog* dialog) {
      click(dialog, "Btn_Next");
      QVERIFY(shown(dialog, "Btn_Update"));
      QVERIFY(test::minimise_and_restore(dialog));
      QVERIFY(shown(dialog, "Btn_Update"));
      QCOMPARE(f.fakes.serial_ports.enumerations, 1);
    });
  }
};

QTEST_MAIN(ScreenRestoreTest)
#include "screen_restore_test.moc"
