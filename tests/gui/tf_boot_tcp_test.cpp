#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
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

QByteArray read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList fields(QDialog* dialog) {
  QStringList texts;
  for (const char* name : {"E_IP1", "E_IP2", "E_IP3", "E_IP4"}) texts.append(find<QLineEdit>(dialog, name)->text());
  return texts;
}

bool on_page(QDialog* dialog, int page) {
  for (const char* name : {"L_IP_Address", "E_IP1", "E_IP4", "Btn_Ping", "LPing", "Btn_Cancel", "Btn_Next"}) {
    if (shown(dialog, name) != (page == 1)) return false;
  }
  for (const char* name : {"L_Options", "CB_Firmware", "CB_Read_Conf", "Btn_Update"}) {
    if (shown(dialog, name) != (page == 2)) return false;
  }
  return true;
}

QColor text_color(QDialog* dialog) { return find<QLabel>(dialog, "LPing")->palette().color(QPalette::WindowText); }

// Records each start and what Ethernet_Update.xml held at that moment.
class XmlCheckingStarter final : public ProgramStarter {
 public:
  explicit XmlCheckingStarter(QString xml) : xml_(std::move(xml)) {}
  ProgramRun Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo) override {
    calls.append({NomeSW, Parameter, tipo, read(xml_)});
    return {};
  }
  struct Call {
    QString program;
    QString arguments;
    bool hidden;
    QByteArray xml;
  };
  QList<Call> calls;

 private:
  QString xml_;
};

// A clock that clicks a button at its first pause, as a user would while
// the ping runs.
class ClickingClock final : public Clock {
 public:
  std::chrono::milliseconds now() const override { return now_; }
  bool pause(std::chrono::milliseconds duration) override {
    if (target != nullptr) {
      QTest::mouseClick(target, Qt::LeftButton);
      target = nullptr;
    }
    now_ += duration;
    return true;
  }
  QAbstractButton* target = nullptr;

 private:
  std::chrono::milliseconds now_{0};
};

}  // namespace

class TFBootTCPTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  void theRememberedAddressFillsTheFieldsOnlyWhenValid_data() {
    QTest::addColumn<QByteArray>("last_ip");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("valid") << QByteArray("192.168.2.205") << QStringList{"192", "168", "2", "205"};
    QTest::newRow("blanks trimmed") << QByteArray(" 10. 1 .2.3 ") << QStringList{"10", "1", "2", "3"};
    QTest::newRow("three parts") << QByteArray("192.168.2") << QStringList{"0", "0", "0", "0"};
    QTest::newRow("part above 255") << QByteArray("192.168.2.256") << QStringList{"0", "0", "0", "0"};
    QTest::newRow("not a number") << QByteArray("192.168.b.1") << QStringList{"0", "0", "0", "0"};
    QTest::newRow("empty") << QByteArray() << QStringList{"0", "0", "0", "0"};
  }
  void theRememberedAddressFillsTheFieldsOnlyWhenValid() {
    QFETCH(QByteArray, last_ip);
    QFETCH(QStringList, expected);
    test::UpdateFixture f("1", last_ip);
    f.start();
    f.open_update("TFBootTCP", [&](QDialog* dialog) {
      QVERIFY(on_page(dialog, 1));
      QCOMPARE(fields(dialog), expected);
      QCOMPARE(find<QLabel>(dialog, "L_IP_Address")->text(), default_text(58) + QStringLiteral(" HD48230"));
      QVERIFY(find<QLabel>(dialog, "LPing")->text().isEmpty());
    });
  }

  void theDotMovesToTheNextFieldExceptInTheLast() {
    test::UpdateFixture f("1");
    f.start();
    f.open_update("TFBootTCP", [](QDialog* dialog) {
      auto* ip1 = find<QLineEdit>(dialog, "E_IP1");
      auto* ip4 = find<QLineEdit>(dialog, "E_IP4");
      ip1->setFocus();
      ip1->clear();
      QTest::keyClicks(ip1, "10.");
      QCOMPARE(ip1->text(), QStringLiteral("10"));
      QCOMPARE(dialog->focusWidget(), find(dialog, "E_IP2"));
      QTest::keyClick(dialog->focusWidget(), '.');
      QCOMPARE(dialog->focusWidget(), find(dialog, "E_IP3"));
      QTest::keyClick(dialog->focusWidget(), '.');
      QCOMPARE(dialog->focusWidget(), ip4);
      ip4->end(false);
      QTest::keyClick(ip4, '.');
      QCOMPARE(ip4->text(), QStringLiteral("205."));
      QCOMPARE(fields(dialog), (QStringList{"10", "168", "2", "205."}));
    });
  }

  void nextNeedsASuccessfulPingOfTheAddressShown() {
    test::UpdateFixture f("1", "10.1.2.3");
    f.start();
    f.open_update("TFBootTCP", [&](QDialog* dialog) {
      click(dialog, "Btn_Next");
      QCOMPARE(f.fakes.boxes.errors, QStringList{default_text(72)});
      QVERIFY(on_page(dialog, 1));

      // A device that never answers.
      click(dialog, "Btn_Ping");
      QCOMPARE(find<QLabel>(dialog, "LPing")->text(), default_text(70));
      QCOMPARE(text_color(dialog), QColor(Qt::red));
      click(dialog, "Btn_Next");
      QCOMPARE(f.fakes.boxes.errors.size(), 2);
      QVERIFY(on_page(dialog, 1));

      f.fakes.echo.answer = EchoReply::With_Data;
      click(dialog, "Btn_Ping");
      QCOMPARE(find<QLabel>(dialog, "LPing")->text(), default_text(69));
      QCOMPARE(text_color(dialog), QColor(0x00, 0x80, 0x00));
      click(dialog, "Btn_Next");
      QVERIFY(on_page(dialog, 2));
    });
    QCOMPARE(f.fakes.boxes.errors.size(), 2);
    QCOMPARE(f.window->state().Last_IP_Address, std::string("10.1.2.3"));
    QCOMPARE(f.fakes.echo.targets, (std::vector<std::string>{"10.1.2.3", "10.1.2.3"}));
    // The device is pinged with its address text as the data.
    QCOMPARE(f.fakes.echo.payloads.back(), std::string("10.1.2.3"));
  }

  void anEditedAddressNeedsANewPing_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pinged_again");
    QTest::newRow("first") << QStringLiteral("E_IP1") << QStringLiteral("109.1.2.3");
    QTest::newRow("second") << QStringLiteral("E_IP2") << QStringLiteral("10.19.2.3");
    QTest::newRow("third") << QStringLiteral("E_IP3") << QStringLiteral("10.1.29.3");
    QTest::newRow("fourth") << QStringLiteral("E_IP4") << QStringLiteral("10.1.2.39");
  }

  // A ping found the device at the address pinged: the updater must never be
  // sent to an address nobody pinged.
  void anEditedAddressNeedsANewPing() {
    QFETCH(QString, field);
    QFETCH(QString, pinged_again);
    test::UpdateFixture f("1", "10.1.2.3");
    f.fakes.echo.answer = EchoReply::With_Data;
    f.start();
    f.open_update("TFBootTCP", [&](QDialog* dialog) {
      click(dialog, "Btn_Ping");
      QCOMPARE(find<QLabel>(dialog, "LPing")->text(), default_text(69));
      auto* edited = find<QLineEdit>(dialog, field.toLatin1().constData());
      edited->setFocus();
      edited->end(false);
      QTest::keyClick(edited, Qt::Key_9);
      QVERIFY(find<QLabel>(dialog, "LPing")->text().isEmpty());
      click(dialog, "Btn_Next");
      QCOMPARE(f.fakes.boxes.errors, QStringList{default_text(72)});
      QVERIFY(on_page(dialog, 1));

      // Taking the edit back is an edit too.
      QTest::keyClick(edited, Qt::Key_Backspace);
      click(dialog, "Btn_Next");
      QCOMPARE(f.fakes.boxes.errors.size(), 2);
      QTest::keyClick(edited, Qt::Key_9);

      click(dialog, "Btn_Ping");
      click(dialog, "Btn_Next");
      QVERIFY(on_page(dialog, 2));
    });
    QCOMPARE(QString::fromStdString(f.fakes.echo.targets.back()), pinged_again);
    QCOMPARE(QString::fromStdString(f.window->state().Last_IP_Address), pinged_again);
  }

  void aTargetThatCannotBePingedShowsMessage71() {
    test::UpdateFixture f("1", "10.1.2.3");
    f.fakes.echo.open_error = "the system allows no ICMP socket";
    f.start();
    f.open_update("TFBootTCP", [&](QDialog* dialog) {
      click(dialog, "Btn_Ping");
      auto* result = find<QLabel>(dialog, "LPing");
      QCOMPARE(result->text(), default_text(71));
      QCOMPARE(result->toolTip(), QStringLiteral("the system allows no ICMP socket"));
      QCOMPARE(text_color(dialog), QColor(Qt::red));
      click(dialog, "Btn_Next");
      QVERIFY(on_page(dialog, 1));
    });
    // Shown in the label only, then 72 for Next.
    QCOMPARE(f.fakes.boxes.errors, QStringList{default_text(72)});
  }

  void updateWritesTheXmlBeforeStartingTheUpdaterWithoutArguments() {
    test::UpdateFixture f("1", "10.1.2.3");
    XmlCheckingStarter starter(f.path("Ethernet_Update.xml"));
    f.fakes.echo.answer = EchoReply::With_Data;
    Services services = f.fakes.services();
    f.start(Services{services.boxes, starter, services.browser, services.http, services.serial_ports, services.echo,
                     services.clock, services.prober, services.files});
    f.open_update("TFBootTCP", [&](QDialog* dialog) {
      click(dialog, "Btn_Ping");
      click(dialog, "Btn_Next");
      click(dialog, "CB_Firmware");
      click(dialog, "Btn_Update");
      QVERIFY(on_page(dialog, 2));
      click(dialog, "CB_Firmware");
      click(dialog, "CB_Read_Conf");
      click(dialog, "Btn_Update");
    });
    QCOMPARE(starter.calls.size(), 2);
    for (const auto& call : starter.calls) {
      QCOMPARE(call.program, f.path("Ethernet_Update.exe"));
      QVERIFY(call.arguments.isEmpty());
      QVERIFY(!call.hidden);
      QVERIFY(call.xml.startsWith("<Ethernet_Update><Version>1000</Version>"));
      QVERIFY(call.xml.contains("<IP_Address_Dev>10.1.2.3</IP_Address_Dev>"));
    }
    // Configuration only, then both with the configuration not read back.
    const QByteArray image = "<Ope_FileName>" + f.path("PROJECTS/Plant1/bin/bank2.bin").toUtf8() + "</Ope_FileName>";
    const QByteArray firmware = "<Ope_FileName>" + f.path("MASTER/sim48230K.sim").toUtf8() + "</Ope_FileName>";
    QCOMPARE(starter.calls[0].xml.count("<Operation>"), 1);
    QVERIFY(starter.calls[0].xml.contains(image));
    QCOMPARE(starter.calls[1].xml.count("<Operation>"), 2);
    QVERIFY(starter.calls[1].xml.indexOf(firmware) < starter.calls[1].xml.indexOf(image));
    QVERIFY(starter.calls[1].xml.contains("<Ope_Read_Back>1</Ope_Read_Back>"));
    QVERIFY(starter.calls[1].xml.contains("<Ope_Read_Back>0</Ope_Read_Back>"));
    QVERIFY(f.fakes.boxes.errors.isEmpty());
  }

  void aFileThatCannotBeWrittenIsShownAndNothingStarts() {
    test::UpdateFixture f("1", "10.1.2.3");
    f.fakes.echo.answer = EchoReply::With_Data;
    f.start();
    // A folder in its place cannot be replaced by a file.
    f.program.mkpath(QStringLiteral("Ethernet_Update.xml/keep"));
    f.open_update("TFBootTCP", [&](QDialog* dialog) {
      click(dialog, "Btn_Ping");
      click(dialog, "Btn_Next");
      click(dialog, "Btn_Update");
      QVERIFY(dialog->isVisible());
    });
    QCOMPARE(f.fakes.boxes.errors.size(), 1);
    // The path, then the failure's own text, which names the file too.
    const QString& error = f.fakes.boxes.errors[0];
    QVERIFY2(error.startsWith(f.path("Ethernet_Update.xml") + QStringLiteral("\n")), qPrintable(error));
    QVERIFY2(error.contains(f.path("Ethernet_Update.xml") + QStringLiteral(" cannot be written: ")), qPrintable(error));
    QVERIFY(f.fakes.programs.calls.empty());
  }

  void aSecondShowingStartsOnPage1AndNeedsANewPing() {
    test::UpdateFixture f("1", "10.1.2.3");
    f.fakes.echo.answer = EchoReply::With_Data;
    f.start();
    f.open_update("TFBootTCP", [&](QDialog* dialog) {
      click(dialog, "Btn_Ping");
      click(dialog, "Btn_Next");
      click(dialog, "CB_Read_Firm");
      dialog->close();
    });
    f.fakes.echo.answer = EchoReply::None;
    f.open_update("TFBootTCP", [&](QDialog* dialog) {
      QVERIFY(on_page(dialog, 1));
      QVERIFY(find<QLabel>(dialog, "LPing")->text().isEmpty());
      QVERIFY(!find<QCheckBox>(dialog, "CB_Read_Firm")->isChecked());
      QVERIFY(find<QCheckBox>(dialog, "CB_Firmware")->isChecked());
      click(dialog, "Btn_Next");
      QVERIFY(on_page(dialog, 1));
    });
    QCOMPARE(f.fakes.boxes.errors, QStringList{default_text(72)});
  }

  void clicksDuringThePingAreDropped() {
    test::UpdateFixture f("1", "10.1.2.3");
    ClickingClock clock;
    Services services = f.fakes.services();
    f.start(Services{services.boxes, services.programs, services.browser, services.http, services.serial_ports,
                     services.echo, clock, services.prober, services.files});
    f.open_update("TFBootTCP", [&](QDialog* dialog) {
      clock.target = find<QAbstractButton>(dialog, "Btn_Cancel");
      click(dialog, "Btn_Ping");
      QVERIFY(clock.target == nullptr);
      QVERIFY(dialog->isVisible());
      QCOMPARE(find<QLabel>(dialog, "LPing")->text(), default_text(70));
      // Input works again afterwards.
      click(dialog, "Btn_Cancel");
      QVERIFY(!dialog->isVisible());
    });
  }

  void aFailedUpdaterRunIsReported_data() { test::updater_outcomes_data(); }
  void aFailedUpdaterRunIsReported() {
    test::UpdateFixture f("1", "127.0.0.1");
    f.fakes.echo.answer = EchoReply::With_Data;
    test::check_updater_outcome("TFBootTCP", QStringLiteral("Ethernet_Update.exe"), f, [](QDialog* dialog) {
      click(dialog, "Btn_Ping");
      click(dialog, "Btn_Next");
      click(dialog, "Btn_Update");
    });
  }

  void captionsAndHintsComeFromTheMessageTable() {
    test::UpdateFixture f("1");
    f.start();
    f.open_update("TFBootTCP", [](QDialog* dialog) {
      QCOMPARE(dialog->windowTitle(), default_text(57));
      QCOMPARE(find<QLabel>(dialog, "L_SW_Code")->text(), QStringLiteral("SW48230"));
      test::expect_texts(dialog, {
                                     {"L_SW_Desc", 57, -1},
                                     {"L_Ping", 59, -1},
                                     {"Btn_Ping", 60, 471},
                                     {"E_IP1", -1, 467},
                                     {"E_IP4", -1, 470},
                                     {"Btn_Cancel", 61, 472},
                                     {"Btn_Next", 62, 473},
                                     {"L_Options", 63, -1},
                                     {"CB_Firmware", 64, 474},
                                     {"CB_Read_Firm", 65, 475},
                                     {"CB_Conf", 66, 476},
                                     {"CB_Read_Conf", 67, 477},
                                     {"Btn_Update", 68, 478},
                                 });
    });
  }
};

QTEST_MAIN(TFBootTCPTest)
#include "tf_boot_tcp_test.moc"
