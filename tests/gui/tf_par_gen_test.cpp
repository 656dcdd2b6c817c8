#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "core/commsettings/comm_settings.h"
#include "core/project/project.h"
#include "gui/app/tf_main.h"
#include "screen_test.h"

using namespace sw48230;

namespace {

// A program directory with one open project.
struct Fixture : test::ProgramFixture {
  Fixture() {
    program.add_open_project();
    start();
  }

  QString pargen() const { return program.path("PROJECTS/Plant1/ParGen.xml"); }

  void write_pargen(const QByteArray& content) const { program.write("PROJECTS/Plant1/ParGen.xml", content); }

  QByteArray read_pargen() const { return program.read("PROJECTS/Plant1/ParGen.xml"); }

  // Opens step 2 and lets `act` drive the screen; fails when it did not open.
  void open_settings(const std::function<void(QDialog*)>& act) { open("Btn_Prm_Gen", "TFParGen", act); }
};

using test::click;
using test::find;

bool shown(QDialog* dialog, const char* name) { return find(dialog, name)->isVisibleTo(dialog); }

// The window's height once its layout has followed the last change.
// A change of visibility reaches the window level by level, one posted
// layout request each.
int height_now(QDialog* dialog) {
  for (int level = 0; level < 4; ++level) QCoreApplication::processEvents();
  return dialog->height();
}

constexpr const char* Jumper_Only[] = {"CB_CAN_Type", "E_Port_Modbus_TCP_Master",
                                       "CB_Dont_Disconnect_Modbus_TCP_Master"};

}  // namespace

class TFParGenTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  void aNewProjectProposesDipSwitchHardwareAndSavesTheWholeFile() {
    Fixture f;
    f.open_settings([](QDialog* dialog) {
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Set Communication"));
      QCOMPARE(find<QComboBox>(dialog, "CB_Select_Device")->currentIndex(), 1);
      QCOMPARE(find<QComboBox>(dialog, "CB_Select_Device")->currentText(), QStringLiteral("Hardware with Dip-Switch"));
      QCOMPARE(find<QComboBox>(dialog, "CB_CAN_Baud")->currentText(), QStringLiteral("1000K"));
      QCOMPARE(find<QLineEdit>(dialog, "E_IP4_Modbus_TCP_Master")->text(), QStringLiteral("10"));
      for (const char* name : Jumper_Only) QVERIFY2(!shown(dialog, name), name);
      click(dialog, "Btn_OK");
      QVERIFY(!dialog->isVisible());
    });
    QCOMPARE(f.read_pargen(),
             QByteArray("<GeneralParameter><Device_Type>1</Device_Type><CAN_Baud>7</CAN_Baud><CAN_Type>0</CAN_Type>"
                        "<TCP_IP_1>192</TCP_IP_1><TCP_IP_2>168</TCP_IP_2><TCP_IP_3>0</TCP_IP_3><TCP_IP_4>10</TCP_IP_4>"
                        "<TCP_SUB_1>255</TCP_SUB_1><TCP_SUB_2>255</TCP_SUB_2><TCP_SUB_3>255</TCP_SUB_3>"
                        "<TCP_SUB_4>0</TCP_SUB_4><TCP_GAT_1>192</TCP_GAT_1><TCP_GAT_2>168</TCP_GAT_2>"
                        "<TCP_GAT_3>0</TCP_GAT_3><TCP_GAT_4>1</TCP_GAT_4><En_GAT>0</En_GAT><Port>502</Port>"
                        "<Time_Out>1000</Time_Out><Dis_Sock>0</Dis_Sock></GeneralParameter>"
                        "<!--SW_VERSION = 2.007-->"));
    QVERIFY(f.fakes.boxes.errors.isEmpty());
    QVERIFY(f.fakes.boxes.questions.isEmpty());
  }

  void theDeviceTypeShowsAndHidesTheJumperFields() {
    Fixture f;
    f.write_pargen("<GeneralParameter><Device_Type>0</Device_Type><Port>10000</Port></GeneralParameter>");
    f.open_settings([](QDialog* dialog) {
      auto* device = find<QComboBox>(dialog, "CB_Select_Device");
      QCOMPARE(device->currentIndex(), 0);
      for (const char* name : Jumper_Only) QVERIFY2(shown(dialog, name), name);
      const int jumper_height = height_now(dialog);
      device->setCurrentIndex(1);
      for (const char* name : Jumper_Only) QVERIFY2(!shown(dialog, name), name);
      QVERIFY(height_now(dialog) < jumper_height);
      // Hidden, the port is neither checked nor changed.
      click(dialog, "Btn_OK");
      QVERIFY(!dialog->isVisible());
    });
    QVERIFY(f.read_pargen().contains("<Device_Type>1</Device_Type>"));
    QVERIFY(f.read_pargen().contains("<Port>10000</Port>"));
    QVERIFY(f.fakes.boxes.errors.isEmpty());
  }

  void theDotKeyMovesAlongTheAddressFields() {
    Fixture f;
    f.open_settings([](QDialog* dialog) {
      auto* ip1 = find<QLineEdit>(dialog, "E_IP1_Modbus_TCP_Master");
      auto* ip4 = find<QLineEdit>(dialog, "E_IP4_Modbus_TCP_Master");
      auto* gat4 = find<QLineEdit>(dialog, "E_GAT4_Modbus_TCP_Master");
      ip4->setFocus();
      QTest::keyClick(ip4, '.');
      QCOMPARE(ip4->text(), QStringLiteral("10"));
      QCOMPARE(dialog->focusWidget(), find(dialog, "E_SM1_Modbus_TCP_Master"));

      ip1->setFocus();
      ip1->clear();
      QTest::keyClicks(ip1, "10.");
      QCOMPARE(ip1->text(), QStringLiteral("10"));
      QCOMPARE(dialog->focusWidget(), find(dialog, "E_IP2_Modbus_TCP_Master"));

      gat4->setFocus();
      QTest::keyClick(gat4, '.');
      QCOMPARE(gat4->text(), QStringLiteral("1"));
      QCOMPARE(dialog->focusWidget(), gat4);

      // Other fields take the dot as typed.
      auto* timeout = find<QLineEdit>(dialog, "E_TO_Modbus_TCP_Master");
      QTest::keyClick(timeout, '.');
      QCOMPARE(timeout->text(), QStringLiteral("1000."));
    });
  }

  void cancelAsksBeforeDroppingChanges() {
    Fixture f;
    f.write_pargen("<GeneralParameter><Device_Type>1</Device_Type></GeneralParameter>");
    const QByteArray before = f.read_pargen();
    // Untouched: closes at once.
    f.open_settings([](QDialog* dialog) {
      click(dialog, "Btn_Cancel");
      QVERIFY(!dialog->isVisible());
    });
    QVERIFY(f.fakes.boxes.questions.isEmpty());

    f.fakes.boxes.answers = {false, false, true};
    f.open_settings([](QDialog* dialog) {
      find<QComboBox>(dialog, "CB_Select_Device")->setCurrentIndex(0);
      click(dialog, "Btn_Cancel");
      QVERIFY(dialog->isVisible());
      dialog->close();  // the close box asks as well
      QVERIFY(dialog->isVisible());
      QTest::keyClick(dialog, Qt::Key_Escape);
      QVERIFY(!dialog->isVisible());
    });
    QCOMPARE(f.fakes.boxes.questions, QStringList(3, QStringLiteral("Do you want to exit without saving changes?")));
    QCOMPARE(f.read_pargen(), before);
  }

  void aFailingCheckKeepsTheScreenAndItsEdits() {
    Fixture f;
    f.write_pargen("<GeneralParameter><Device_Type>0</Device_Type></GeneralParameter>");
    const QByteArray before = f.read_pargen();
    f.open_settings([&](QDialog* dialog) {
      auto* ip1 = find<QLineEdit>(dialog, "E_IP1_Modbus_TCP_Master");
      auto* gat1 = find<QLineEdit>(dialog, "E_GAT1_Modbus_TCP_Master");
      auto* port = find<QLineEdit>(dialog, "E_Port_Modbus_TCP_Master");
      ip1->setText("12 ");
      gat1->setText("300");
      port->setText("10000");
      // Each failure takes the user to the field it is about.
      click(dialog, "Btn_OK");
      QVERIFY(dialog->isVisible());
      QCOMPARE(dialog->focusWidget(), ip1);
      ip1->setText(" 12");
      click(dialog, "Btn_OK");  // the gateway is not checked while it is off
      QCOMPARE(dialog->focusWidget(), port);
      click(dialog, "CB_En_GAT_Modbus_TCP_Master");
      click(dialog, "Btn_OK");
      QVERIFY(dialog->isVisible());
      QCOMPARE(dialog->focusWidget(), gat1);
      QCOMPARE(gat1->text(), QStringLiteral("300"));
      QCOMPARE(port->text(), QStringLiteral("10000"));
      QCOMPARE(f.read_pargen(), before);
      gat1->setText("1");
      port->setText("1502");
      click(dialog, "Btn_OK");
      QVERIFY(!dialog->isVisible());
    });
    QCOMPARE(f.fakes.boxes.errors,
             (QStringList{"Error Modbus TCP Master!! IP Address 1 must be between 0 and 255",
                          "Error Modbus TCP Master!! PORT must be between 0 and 65535 and differnt from 10000",
                          "Error Modbus TCP Master!! GATEWAY IP 1 must be between 0 and 255"}));
    QVERIFY(f.read_pargen().contains("<TCP_IP_1> 12</TCP_IP_1>"));
    QVERIFY(f.read_pargen().contains("<En_GAT>1</En_GAT>"));
  }

  void aFoldedGroupStaysFoldedAndIsStillChecked() {
    Fixture f;
    f.write_pargen("<GeneralParameter><Device_Type>1</Device_Type><TCP_SUB_2>x</TCP_SUB_2></GeneralParameter>");
    f.open_settings([](QDialog* dialog) {
      QVERIFY(!shown(dialog, "Btn_Expande_Modbus_TCP_Master"));
      const int expanded_height = height_now(dialog);
      click(dialog, "Btn_Collapse_Modbus_TCP_Master");
      QVERIFY(!shown(dialog, "E_IP1_Modbus_TCP_Master"));
      QVERIFY(shown(dialog, "Btn_Expande_Modbus_TCP_Master"));
      QVERIFY(!shown(dialog, "Btn_Collapse_Modbus_TCP_Master"));
      QVERIFY(height_now(dialog) < expanded_height);
      click(dialog, "Btn_OK");
      QVERIFY(dialog->isVisible());
    });
    QCOMPARE(f.fakes.boxes.errors, QStringList{"Error Modbus TCP Master!! SUBNET Mask 2 must be between 0 and 255"});
    f.open_settings([](QDialog* dialog) {
      QVERIFY(!shown(dialog, "E_SM2_Modbus_TCP_Master"));
      QCOMPARE(find<QLineEdit>(dialog, "E_SM2_Modbus_TCP_Master")->text(), QStringLiteral("x"));
      click(dialog, "Btn_Expande_Modbus_TCP_Master");
      QVERIFY(shown(dialog, "E_SM2_Modbus_TCP_Master"));
    });
  }

  void fileErrorsAreShownAndKeepTheEdits() {
    Fixture f;
    f.write_pargen("<GeneralParameter><Device_Type>1</GeneralParameter>");
    f.open_settings([&](QDialog* dialog) {
      QTRY_COMPARE(f.fakes.boxes.errors.size(), 1);
      QVERIFY2(f.fakes.boxes.errors[0].startsWith(f.pargen() + "\n"), qPrintable(f.fakes.boxes.errors[0]));
      QVERIFY2(f.fakes.boxes.errors[0].contains("ParGen.xml cannot be read: "), qPrintable(f.fakes.boxes.errors[0]));
      QCOMPARE(find<QComboBox>(dialog, "CB_Select_Device")->currentIndex(), 0);

      // A folder in the file's place cannot be replaced.
      QFile::remove(f.pargen());
      QVERIFY(QDir().mkdir(f.pargen()));
      find<QLineEdit>(dialog, "E_IP1_Modbus_TCP_Master")->setText("172");
      click(dialog, "Btn_OK");
      QVERIFY(dialog->isVisible());
      QCOMPARE(find<QLineEdit>(dialog, "E_IP1_Modbus_TCP_Master")->text(), QStringLiteral("172"));
    });
    QCOMPARE(f.fakes.boxes.errors.size(), 2);
    QVERIFY2(f.fakes.boxes.errors[1].startsWith(f.pargen() + "\n"), qPrintable(f.fakes.boxes.errors[1]));
    QVERIFY2(f.fakes.boxes.errors[1].contains(" cannot be written: "), qPrintable(f.fakes.boxes.errors[1]));
  }

  void theProjectReadersReadTheSavedDeviceType() {
    Fixture f;
    QCOMPARE(Read_Table_Context(Read_ParGen_File(ParGen_Path(f.window->state().Project_Dir))).Hard_Type, 0);
    f.open_settings([](QDialog* dialog) { click(dialog, "Btn_OK"); });
    QCOMPARE(Read_Table_Context(Read_ParGen_File(ParGen_Path(f.window->state().Project_Dir))).Hard_Type, 1);
  }
};

QTEST_MAIN(TFParGenTest)
#include "tf_par_gen_test.moc"
