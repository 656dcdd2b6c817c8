#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include "core/i18n/message_table.h"
#include "gui/ui/texts.h"
#include "platform/program_starter.h"
#include "screen_test.h"
#include "update_fixture.h"

using namespace sw48230;
using test::click;
using test::default_text;
using test::find;
using test::shown;

namespace {

QStringList items(QComboBox* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts.append(list->itemText(i));
  return texts;
}

const std::vector<SerialPort> Two_Ports = {{"COM3", R"(\\.\COM3)"}, {"COM7", R"(\\.\COM7)"}};

constexpr const char* Page_1[] = {"L_Steps1", "L_Steps5", "CB_Com", "Btn_COM_List", "Btn_Cancel", "Btn_Next"};
constexpr const char* Page_2[] = {"L_Options", "CB_Firmware", "CB_Read_Firm", "CB_Conf", "CB_Read_Conf", "Btn_Update"};

bool on_page(QDialog* dialog, int page) {
  for (const char* name : Page_1) {
    if (shown(dialog, name) != (page == 1)) return false;
  }
  for (const char* name : Page_2) {
    if (shown(dialog, name) != (page == 2)) return false;
  }
  return true;
}

}  // namespace

class TFBootSerTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  void updateRunsTheSerialUpdaterWithItsCommandLine() {
    test::UpdateFixture f;
    f.fakes.serial_ports.ports = Two_Ports;
    f.start();
    f.open_update("TFBootSer", [&](QDialog* dialog) {
      QVERIFY(on_page(dialog, 1));
      auto* ports = find<QComboBox>(dialog, "CB_Com");
      QCOMPARE(items(ports), (QStringList{"COM3", "COM7"}));
      QCOMPARE(ports->currentIndex(), 0);
      for (const char* name : {"CB_Firmware", "CB_Read_Firm", "CB_Conf", "CB_Read_Conf"}) {
        QVERIFY2(find<QCheckBox>(dialog, name)->isChecked(), name);
      }
      click(dialog, "Btn_Next");
      QVERIFY(on_page(dialog, 2));
      QVERIFY(f.fakes.programs.calls.empty());

      click(dialog, "Btn_Update");
      // Nothing is shown afterwards; the update can be run again.
      QVERIFY(dialog->isVisible());
      QVERIFY(on_page(dialog, 2));
      click(dialog, "Btn_Update");
    });
    const QString expected = QStringLiteral("\\\\.\\COM3 FW FR PW PR \"") + f.path("MASTER/sim48230.sim") +
                             QStringLiteral("\" \"") + f.path("PROJECTS/Plant1/bin/") + QStringLiteral("\"");
    QCOMPARE(f.fakes.programs.calls.size(), std::size_t{2});
    for (const auto& call : f.fakes.programs.calls) {
      QCOMPARE(call.program, f.path("Ser_48230_Update.exe"));
      QCOMPARE(call.arguments, expected);
      QVERIFY(!call.hidden);
    }
    QVERIFY(f.fakes.boxes.errors.isEmpty());
  }

  void nextWithoutAPortShowsMessage89() {
    test::UpdateFixture f;
    f.start();
    f.open_update("TFBootSer", [&](QDialog* dialog) {
      QCOMPARE(find<QComboBox>(dialog, "CB_Com")->count(), 0);
      click(dialog, "Btn_Next");
      QVERIFY(on_page(dialog, 1));
      QVERIFY(dialog->isVisible());

      // A port plugged in meanwhile appears on the list button.
      f.fakes.serial_ports.ports = {{"ttyUSB0", "/dev/ttyUSB0"}};
      click(dialog, "Btn_COM_List");
      QCOMPARE(find<QComboBox>(dialog, "CB_Com")->currentText(), QStringLiteral("ttyUSB0"));
      click(dialog, "Btn_Next");
      QVERIFY(on_page(dialog, 2));
      // The device path, not the name, goes to the updater.
      click(dialog, "CB_Conf");
      click(dialog, "Btn_Update");
    });
    QCOMPARE(f.fakes.boxes.errors, QStringList{default_text(89)});
    QCOMPARE(f.fakes.programs.calls.size(), std::size_t{1});
    QVERIFY(f.fakes.programs.calls[0].arguments.startsWith(QStringLiteral("/dev/ttyUSB0 FW FR NO PR \"")));
  }

  void aSecondShowingStartsOnPage1WithTheBoxesAsLeft() {
    test::UpdateFixture f;
    f.fakes.serial_ports.ports = Two_Ports;
    f.start();
    f.open_update("TFBootSer", [&](QDialog* dialog) {
      find<QComboBox>(dialog, "CB_Com")->setCurrentIndex(1);
      click(dialog, "Btn_Next");
      click(dialog, "CB_Firmware");
      click(dialog, "CB_Read_Conf");
      dialog->close();  // page 2 has no Cancel: the close box ends it
      QVERIFY(!dialog->isVisible());
      QCOMPARE(dialog->result(), int(QDialog::Rejected));
    });
    f.fakes.serial_ports.ports = {{"COM4", R"(\\.\COM4)"}};
    f.open_update("TFBootSer", [&](QDialog* dialog) {
      QVERIFY(on_page(dialog, 1));
      QCOMPARE(items(find<QComboBox>(dialog, "CB_Com")), QStringList{"COM4"});
      QVERIFY(!find<QCheckBox>(dialog, "CB_Firmware")->isChecked());
      QVERIFY(find<QCheckBox>(dialog, "CB_Read_Firm")->isChecked());
      QVERIFY(find<QCheckBox>(dialog, "CB_Conf")->isChecked());
      QVERIFY(!find<QCheckBox>(dialog, "CB_Read_Conf")->isChecked());
      click(dialog, "Btn_Next");
      click(dialog, "Btn_Update");
    });
    QCOMPARE(f.fakes.serial_ports.enumerations, 2);
    QCOMPARE(f.fakes.programs.calls.size(), std::size_t{1});
    QVERIFY(f.fakes.programs.calls[0].arguments.startsWith(QStringLiteral("\\\\.\\COM4 NO FR PW NO \"")));
  }

  void cancelClosesWithoutRunningAnything() {
    test::UpdateFixture f;
    f.fakes.serial_ports.ports = Two_Ports;
    f.start();
    f.open_update("TFBootSer", [](QDialog* dialog) {
      click(dialog, "Btn_Cancel");
      QVERIFY(!dialog->isVisible());
      QCOMPARE(dialog->result(), int(QDialog::Rejected));
    });
    QVERIFY(f.fakes.programs.calls.empty());
  }

  void captionsAndHintsComeFromTheMessageTable() {
    test::UpdateFixture f;
    f.start();
    f.open_update("TFBootSer", [](QDialog* dialog) {
      QCOMPARE(dialog->windowTitle(), default_text(73));
      QCOMPARE(find<QLabel>(dialog, "L_SW_Code")->text(), QStringLiteral("SW48230"));
      test::expect_texts(dialog, {
                                     {"L_SW_Desc", 74, -1},
                                     {"L_Steps1", 75, -1},
                                     {"L_Steps5", 79, -1},
                                     {"Btn_COM_List", -1, 80},
                                     {"CB_Com", -1, 459},
                                     {"L_Options", 81, -1},
                                     {"CB_Firmware", 82, 462},
                                     {"CB_Read_Firm", 83, 463},
                                     {"CB_Conf", 84, 464},
                                     {"CB_Read_Conf", 85, 465},
                                     {"Btn_Cancel", 86, 460},
                                     {"Btn_Next", 87, 461},
                                     {"Btn_Update", 88, 466},
                                 });
    });
  }

  void aFailedUpdaterRunIsReported_data() { test::updater_outcomes_data(); }
  void aFailedUpdaterRunIsReported() {
    test::UpdateFixture f;
    f.fakes.serial_ports.ports = Two_Ports;
    test::check_updater_outcome("TFBootSer", QStringLiteral("Ser_48230_Update.exe"), f, [](QDialog* dialog) {
      click(dialog, "Btn_Next");
      click(dialog, "Btn_Update");
    });
  }

  // The whole hand-over: the updater program in the program folder gets the
  // argument string split as its own runtime would split it.
  void theRealUpdaterGetsTheArgumentsOneByOne() {
    test::UpdateFixture f;
    QVERIFY(QFile::copy(QStringLiteral(FAKE_UPDATER_PATH), f.path("Ser_48230_Update.exe")));
    const QString record = f.program.root().filePath(QStringLiteral("record"));
    qputenv("FAKE_UPDATER_RECORD", QFile::encodeName(record));
    qunsetenv("FAKE_UPDATER_SLEEP_MS");
    SystemProgramStarter starter;
    Services services = f.fakes.services();
    f.fakes.serial_ports.ports = Two_Ports;
    f.start(Services{services.boxes, starter, services.browser, services.http, services.serial_ports, services.echo,
                     services.clock, services.prober, services.files});
    f.open_update("TFBootSer", [](QDialog* dialog) {
      click(dialog, "Btn_Next");
      click(dialog, "Btn_Update");
    });
    QVERIFY2(QFileInfo::exists(record + QStringLiteral(".done")), "the updater did not run to its end");
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    // The record lists each argument as "<length> <bytes>".
    QByteArray expected;
    for (const QString& argument :
         {f.path("Ser_48230_Update.exe"), QStringLiteral(R"(\\.\COM3)"), QStringLiteral("FW"), QStringLiteral("FR"),
          QStringLiteral("PW"), QStringLiteral("PR"), f.path("MASTER/sim48230.sim"), f.path("PROJECTS/Plant1/bin/")}) {
      const QByteArray bytes = argument.toUtf8();
      expected += QByteArray::number(bytes.size()) + ' ' + bytes + '\n';
    }
    QVERIFY2(content.contains("argc 8\n" + expected), content.constData());
  }
};

QTEST_MAIN(TFBootSerTest)
#include "tf_boot_ser_test.moc"
