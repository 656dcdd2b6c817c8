#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "gui/app/tf_main.h"
#include "screen_test.h"

using namespace sw48230;

namespace {

// A program directory with one open project whose ParGen.xml names the
// device type.
struct Fixture : test::ProgramFixture {
  explicit Fixture(const QByteArray& device_type, const QString& project = "Plant1", const QString& language = {}) {
    QByteArray settings = "<C><lastproj><projectname>" + project.toUtf8() + "</projectname></lastproj>";
    if (!language.isEmpty()) {
      QFile shipped(QStringLiteral(SW48230_SHIPPED_LANGUAGES "/") + language + ".lng");
      if (!shipped.open(QIODevice::ReadOnly)) qFatal("cannot read the shipped %s", qPrintable(shipped.fileName()));
      write("LANGUAGE/" + language + ".lng", shipped.readAll());
      settings += "<lastlang><language>" + language.toUtf8() + "</language></lastlang>";
    }
    write("Velstrom.xml", settings + "</C>");
    set_device_type(project, device_type);
    start();
  }

  void write(const QString& name, const QByteArray& content) const { program.write(name, content); }

  // Writes the project's ParGen.xml with this device type, making the
  // project when it is new.
  void set_device_type(const QString& project, const QByteArray& device_type) const {
    program.mkpath("PROJECTS/" + project + "/bin");
    write("PROJECTS/" + project + "/ParGen.xml",
          "<GeneralParameter><Device_Type>" + device_type +
              "</Device_Type><CAN_Baud>4</CAN_Baud>"
              "<TCP_IP_1>192</TCP_IP_1><TCP_IP_2>168</TCP_IP_2><TCP_IP_3>0</TCP_IP_3><TCP_IP_4>10</TCP_IP_4>"
              "<TCP_SUB_1>255</TCP_SUB_1><TCP_SUB_2>255</TCP_SUB_2><TCP_SUB_3>255</TCP_SUB_3><TCP_SUB_4>0</TCP_SUB_4>"
              "<TCP_GAT_1>192</TCP_GAT_1><TCP_GAT_2>168</TCP_GAT_2><TCP_GAT_3>0</TCP_GAT_3><TCP_GAT_4>1</TCP_GAT_4>"
              "<En_GAT>0</En_GAT><Port>502</Port><Time_Out>1000</Time_Out><Dis_Sock>0</Dis_Sock>"
              "<CAN_Type>0</CAN_Type></GeneralParameter>");
  }

  // Opens the project with the open dialog of step 1.
  void open_project(const QString& project) {
    bool opened = false;
    test::when_dialog_shown([&](QDialog* dialog) {
      opened = true;
      auto* list = test::find<QListWidget>(dialog, "ListBox1");
      const QList<QListWidgetItem*> items = list->findItems(project, Qt::MatchExactly);
      QCOMPARE(items.size(), 1);
      list->setCurrentItem(items.front());
      test::find<QPushButton>(dialog, "Btn_OK")->click();
    });
    QTest::mouseClick(test::find<QPushButton>(window.get(), "Btn_Open"), Qt::LeftButton);
    QVERIFY(opened);
    QCOMPARE(window->state().Project_Name, project.toStdString());
  }

  qint64 size(const QString& name) const {
    const QFileInfo info(program.path(name));
    return info.exists() ? info.size() : -1;
  }

  // Presses Update Device; returns the name of the screen that opened, or
  // an empty text when none did.
  QString update_device() {
    QString opened;
    const QPointer<QTimer> watcher = test::when_dialog_shown([&](QDialog* dialog) {
      opened = dialog->objectName();
      dialog->done(QDialog::Rejected);
    });
    QTest::mouseClick(test::find<QPushButton>(window.get(), "Btn_CreateBin"), Qt::LeftButton);
    delete watcher.data();  // a refused build opened nothing to watch for
    return opened;
  }
};

}  // namespace

class UpdateDeviceTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  void dipSwitchHardwareBuildsBank2AndOpensTheEthernetUpdate() {
    Fixture f("1");
    QCOMPARE(f.update_device(), QStringLiteral("TFBootTCP"));
    QCOMPARE(f.size("PROJECTS/Plant1/bin/bank2.bin"), 34816);
    QCOMPARE(f.size("PROJECTS/Plant1/bin/bank.bin"), 0);  // no bank.bin build has run yet
    QFile bank2(f.program.path("PROJECTS/Plant1/bin/bank2.bin"));
    QVERIFY(bank2.open(QIODevice::ReadOnly));
    QCOMPARE(bank2.readAll().right(4), QByteArray("\x1C\x0F\x00\x00", 4));  // checksum 3868
    QVERIFY(f.fakes.boxes.errors.isEmpty());
  }

  void otherDeviceTypesBuildBankAndOpenTheSerialUpdate() {
    // Only the exact text "1" builds bank2.bin; the updater follows the image.
    for (const QByteArray& type : {QByteArray("0"), QByteArray(" 0"), QByteArray("00"), QByteArray("one")}) {
      Fixture f(type);
      QCOMPARE(f.update_device(), QStringLiteral("TFBootSer"));
      QCOMPARE(f.size("PROJECTS/Plant1/bin/bank.bin"), 36);
      QCOMPARE(f.size("PROJECTS/Plant1/bin/bank2.bin"), 0);
    }
  }

  void aFailedBuildWritesNothingAndOpensNothing() {
    Fixture f("1");
    f.write("PROJECTS/Plant1/bin/bank2.bin", "earlier image");
    // The table screen shows the address byte's fallback, so the checks
    // pass; the image has no fallback for it.
    f.write("PROJECTS/Plant1/var.xml",
            "<C_TO_Customer_Protocol><row Enable=\"Y\" COB=\"1\" CAN_Type=\"CAN 2.0A (11 bits)\" IP_Add_B1=\"192\" "
            "IP_Add_B2=\"168\" IP_Add_B4=\"11\" Port=\"502\" Address_Word=\"0\" Quantity=\"1\" "
            "PollTime=\"100\"/></C_TO_Customer_Protocol>");
    QCOMPARE(f.update_device(), QString());
    QCOMPARE(f.fakes.boxes.errors.size(), 1);
    QVERIFY(f.fakes.boxes.errors[0].contains("var.xml"));
    QVERIFY(f.fakes.boxes.errors[0].contains("IP_Add_B3"));
    QCOMPARE(f.size("PROJECTS/Plant1/bin/bank2.bin"), qint64(sizeof("earlier image") - 1));
    QCOMPARE(f.size("PROJECTS/Plant1/bin/bank.bin"), -1);
  }

  // The build error is told in the user's language, with the project's
  // own names (file, row, attribute, value) as they are.
  void buildErrorsAreShownInTheChosenLanguage() {
    // The table screen shows the address byte's fallback, so the checks
    // pass; the image has no fallback for it.
    const QByteArray no_address_byte =
        "<C_TO_Customer_Protocol><row Enable=\"Y\" COB=\"1\" CAN_Type=\"CAN 2.0A (11 bits)\" IP_Add_B1=\"192\" "
        "IP_Add_B2=\"168\" IP_Add_B4=\"11\" Port=\"502\" Address_Word=\"0\" Quantity=\"1\" "
        "PollTime=\"100\"/></C_TO_Customer_Protocol>";
    const struct {
      const char* language;
      bool without_settings;  // a missing ParGen.xml passes the checks and builds bank.bin
      QString error;
    } cases[] = {
        {"", false, "var.xml, row 1: attribute IP_Add_B3 is missing"},
        {"Italiano", false, "var.xml, riga 1: manca l'attributo IP_Add_B3"},
        {"Deutsch", false, "var.xml, Zeile 1: Attribut IP_Add_B3 fehlt"},
        {"", true, "ParGen.xml is missing"},
        {"Italiano", true, "ParGen.xml manca"},
    };
    for (const auto& c : cases) {
      Fixture f("1", "Plant1", QString::fromUtf8(c.language));
      if (c.without_settings) {
        QVERIFY(QFile::remove(f.program.path("PROJECTS/Plant1/ParGen.xml")));
      } else {
        f.write("PROJECTS/Plant1/var.xml", no_address_byte);
      }
      QCOMPARE(f.update_device(), QString());
      QCOMPARE(f.fakes.boxes.errors.size(), 1);
      // The file's path in the project, then what is wrong with it.
      const QString file = c.without_settings ? "ParGen.xml" : "var.xml";
      const QString path = QDir::toNativeSeparators(f.program.path("PROJECTS/Plant1/" + file));
      QCOMPARE(f.fakes.boxes.errors[0], path + "\n" + c.error);
    }
  }

  // The checks' own lines about a file are told in the user's language too,
  // with the file's names and values as they are.
  void checkLinesAreShownInTheChosenLanguage() {
    QByteArray rows = "<C_TO_Customer_Protocol>";
    for (int i = 0; i < 513; ++i) rows += "<row/>";  // one row more than a table holds
    rows += "</C_TO_Customer_Protocol>";
    const struct {
      const char* language;
      QByteArray device_type;
      bool extra_row;
      QString error;
    } cases[] = {
        {"", "2", false, "ParGen.xml\nelement Device_Type is outside its list 0..1: \"2\""},
        {"Italiano", "2", false, "ParGen.xml\nl'elemento Device_Type è fuori dalla sua lista 0..1: \"2\""},
        {"Deutsch", " 1", false, "ParGen.xml\nElement Device_Type gilt als 1, ist aber nicht \"1\": \" 1\""},
        {"", "1", true, "var.xml\n1 row beyond row 512 is not checked, and saving the table leaves it out"},
        {"Italiano", "1", true,
         "var.xml\n1 riga oltre la riga 512 non viene controllata e il salvataggio della tabella la esclude"},
    };
    for (const auto& c : cases) {
      Fixture f(c.device_type, "Plant1", QString::fromUtf8(c.language));
      if (c.extra_row) f.write("PROJECTS/Plant1/var.xml", rows);
      QCOMPARE(f.update_device(), QString());
      QCOMPARE(f.fakes.boxes.errors.size(), 1);
      const QString project_dir = QDir::toNativeSeparators(f.program.path("PROJECTS/Plant1"));
      QCOMPARE(f.fakes.boxes.errors[0], project_dir + QDir::separator() + c.error);
    }
  }

  // Only checked tables reach a device: the first failure is shown as the
  // table screen would show it, and nothing is built or opened.
  void aProjectWhoseChecksFailIsRefused() {
    Fixture f("0");
    f.write("PROJECTS/Plant1/bin/bank.bin", "earlier image");
    f.write("PROJECTS/Plant1/var2.xml",
            "<C_TO_Customer_Protocol><row COB=\"5000\" IP_Add_B1=\"192\" IP_Add_B2=\"168\" IP_Add_B3=\"0\" "
            "IP_Add_B4=\"11\" Type=\"7\" Address_Word=\"-1\" Quantity=\"1000\"/>"
            "<row COB=\"3000\"/></C_TO_Customer_Protocol>");
    QCOMPARE(f.update_device(), QString());
    QCOMPARE(f.fakes.boxes.errors.size(), 1);
    QVERIFY(f.fakes.boxes.errors[0].endsWith("var2.xml\nError row 1!! Cob-ID must be between 0 and 2047"));
    QCOMPARE(f.size("PROJECTS/Plant1/bin/bank.bin"), qint64(sizeof("earlier image") - 1));
    QCOMPARE(f.size("PROJECTS/Plant1/bin/bank2.bin"), -1);
  }

  // A list choice the settings screen cannot show stops the build.
  void listChoicesOutsideTheirListsAreRefused() {
    for (const QByteArray& type : {QByteArray("2"), QByteArray(" 1"), QByteArray("01")}) {
      Fixture f(type);
      QCOMPARE(f.update_device(), QString());
      QCOMPARE(f.fakes.boxes.errors.size(), 1);
      QVERIFY(f.fakes.boxes.errors[0].contains("ParGen.xml"));
      QVERIFY(f.fakes.boxes.errors[0].contains("element Device_Type"));
      QCOMPARE(f.size("PROJECTS/Plant1/bin/bank.bin"), -1);
    }
  }

  void aMissingBinFolderIsReportedAndOpensNothing() {
    Fixture f("0");
    QVERIFY(QDir(f.program.path("PROJECTS/Plant1/bin")).removeRecursively());
    QCOMPARE(f.update_device(), QString());
    QCOMPARE(f.fakes.boxes.errors.size(), 1);
    QVERIFY(f.fakes.boxes.errors[0].contains("bank.bin"));
  }

  // Both files are written every time, but a project never receives
  // another project's image: the file of the kind not built keeps a build
  // of the same project only, else it is empty.
  void theOtherFileHoldsOnlyABuildOfTheSameProject_data() {
    QTest::addColumn<QByteArray>("first_type");  // of Plant1, updated first
    QTest::addColumn<QString>("second");         // the project updated next
    QTest::addColumn<QByteArray>("second_type");
    QTest::addColumn<QString>("second_screen");
    QTest::addColumn<qint64>("bank");  // sizes of the second project's files
    QTest::addColumn<qint64>("bank2");
    QTest::newRow("type 1, then another project of type 0")
        << QByteArray("1") << "Plant2" << QByteArray("0") << "TFBootSer" << qint64(36) << qint64(0);
    QTest::newRow("type 0, then another project of type 1")
        << QByteArray("0") << "Plant2" << QByteArray("1") << "TFBootTCP" << qint64(0) << qint64(34816);
    QTest::newRow("type 0, then the same project as type 1")
        << QByteArray("0") << "Plant1" << QByteArray("1") << "TFBootTCP" << qint64(36) << qint64(34816);
    QTest::newRow("type 1, then the same project as type 0")
        << QByteArray("1") << "Plant1" << QByteArray("0") << "TFBootSer" << qint64(36) << qint64(34816);
  }

  void theOtherFileHoldsOnlyABuildOfTheSameProject() {
    QFETCH(QByteArray, first_type);
    QFETCH(QString, second);
    QFETCH(QByteArray, second_type);
    QFETCH(QString, second_screen);
    QFETCH(qint64, bank);
    QFETCH(qint64, bank2);
    Fixture f(first_type);
    QVERIFY(!f.update_device().isEmpty());
    f.set_device_type(second, second_type);
    if (second != QStringLiteral("Plant1")) f.open_project(second);
    QCOMPARE(f.update_device(), second_screen);
    QCOMPARE(f.size("PROJECTS/" + second + "/bin/bank.bin"), bank);
    QCOMPARE(f.size("PROJECTS/" + second + "/bin/bank2.bin"), bank2);
    QVERIFY(f.fakes.boxes.errors.isEmpty());
  }

  void aProjectIsNeeded() {
    test::ProgramFixture f;
    f.start();
    test::click(f.window.get(), "Btn_CreateBin");
    QCOMPARE(f.fakes.boxes.errors, QStringList{"Error! Project not Valid"});
    QCOMPARE(QDir(f.program.path("PROJECTS")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
  }
};

QTEST_MAIN(UpdateDeviceTest)
#include "update_device_test.moc"
