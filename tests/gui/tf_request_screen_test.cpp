#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "fakes.h"
#include "gui/app/tf_main.h"

using namespace sw48230;

namespace {

// A program directory with one open project of the given device type.
struct Fixture {
  QTemporaryDir program;
  test::FakeServices fakes;
  std::unique_ptr<TFMain> window;

  explicit Fixture(int device_type, const QByteArray& flags = "") {
    QDir(program.path()).mkpath("PROJECTS/Plant1/bin");
    write("Velstrom.xml",
          "<C><lastproj><projectname>Plant1</projectname></lastproj><lastinternet>" + flags + "</lastinternet></C>");
    write("PROJECTS/Plant1/ParGen.xml",
          "<GeneralParameter><Device_Type>" + QByteArray::number(device_type) + "</Device_Type></GeneralParameter>");
    window = std::make_unique<TFMain>(fakes.services(), program.path().toStdString());
    window->show();
  }

  void write(const QString& name, const QByteArray& content) const {
    QFile file(program.filePath(name));
    if (file.open(QIODevice::WriteOnly)) file.write(content);
  }

  QByteArray read(const QString& name) const {
    QFile file(program.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Opens the step's screen and lets `act` drive it.
  void open(const char* step, std::function<void(QDialog*, QTableView*)> act) {
    bool shown = false;
    test::when_dialog_shown([&](QDialog* dialog) {
      shown = true;
      act(dialog, dialog->findChild<QTableView*>("ACG_Modbus"));
      if (dialog->isVisible()) dialog->done(QDialog::Rejected);
    });
    QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(step)), Qt::LeftButton);
    QVERIFY(shown);
  }
};

QString cell(QTableView* view, int row, int col) {
  const QModelIndex index = view->model()->index(row - 1, col);
  const QVariant check = index.data(Qt::CheckStateRole);
  if (check.isValid()) return check.value<Qt::CheckState>() == Qt::Checked ? "Y" : "N";
  return index.data().toString();
}

void set_cell(QTableView* view, int row, int col, const QString& text) {
  QVERIFY(view->model()->setData(view->model()->index(row - 1, col), text, Qt::EditRole));
}

void select(QTableView* view, int row, int col) { view->setCurrentIndex(view->model()->index(row - 1, col)); }

void click(QDialog* dialog, const char* name) {
  QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

QList<int> hidden_columns(QTableView* view) {
  QList<int> hidden;
  for (int col = 0; col < view->model()->columnCount(); ++col) {
    if (view->isColumnHidden(col)) hidden.append(col);
  }
  return hidden;
}

}  // namespace

class TFRequestScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void columnsFollowTheDeviceType_data() {
    QTest::addColumn<QByteArray>("step");
    QTest::addColumn<int>("device_type");
    QTest::addColumn<QList<int>>("hidden");
    QTest::newRow("read, jumper") << QByteArray("Btn_COB_Request") << 0 << QList<int>{1, 3, 5, 10, 11, 12};
    QTest::newRow("read, dip-switch") << QByteArray("Btn_COB_Request") << 1 << QList<int>{};
    QTest::newRow("write, jumper") << QByteArray("Btn_COB_Setting") << 0 << QList<int>{1, 3, 5, 10, 11, 12};
    QTest::newRow("write, dip-switch") << QByteArray("Btn_COB_Setting") << 1 << QList<int>{10, 11};
  }

  void columnsFollowTheDeviceType() {
    QFETCH(QByteArray, step);
    QFETCH(int, device_type);
    QFETCH(QList<int>, hidden);
    Fixture f(device_type);
    // Hidden cells keep their values through load and save.
    f.write("PROJECTS/Plant1/var.xml", "<R><row COB=\"1\" PollTime=\"250\" MaxError=\"3\" Swap=\"N\"/></R>");
    f.write("PROJECTS/Plant1/var2.xml", "<R><row COB=\"1\" PollTime=\"250\" MaxError=\"3\" Swap=\"N\"/></R>");
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      QCOMPARE(hidden_columns(view), hidden);
      QCOMPARE(cell(view, 1, 10), QStringLiteral("250"));
      QCOMPARE(cell(view, 1, 12), QStringLiteral("N"));
      set_cell(view, 1, 8, "0");
      set_cell(view, 1, 9, "1");
      click(dialog, "Btn_OK");
      QVERIFY(!dialog->isVisible());
    });
    QVERIFY(f.fakes.boxes.errors.isEmpty());
    const QString file = step == "Btn_COB_Request" ? "PROJECTS/Plant1/var.xml" : "PROJECTS/Plant1/var2.xml";
    QVERIFY(f.read(file).contains("PollTime=\"250\" MaxError=\"3\" Swap=\"N\""));
  }

  void titlesAndHintsByMeaning() {
    Fixture f(1);
    f.open("Btn_COB_Request", [](QDialog* dialog, QTableView* view) {
      QCOMPARE(dialog->windowTitle(), QStringLiteral("CAN Request Access"));
      const auto header = [view](int col, int role) { return view->model()->headerData(col, Qt::Horizontal, role); };
      QCOMPARE(header(2, Qt::DisplayRole).toString(), QStringLiteral("Cob-ID"));
      QCOMPARE(header(2, Qt::ToolTipRole).toString(),
               QStringLiteral("Cob-ID of CAN Message for send the Modbus TCP Read Request"));
      QCOMPARE(header(11, Qt::ToolTipRole).toString(), QStringLiteral("Maximum number of errors"));
      QCOMPARE(header(13, Qt::ToolTipRole).toString(), QStringLiteral("Description of the Modbus TCP Master Request"));
      QVERIFY(!header(0, Qt::ToolTipRole).isValid());
    });
    f.open("Btn_COB_Setting", [](QDialog* dialog, QTableView* view) {
      QCOMPARE(dialog->windowTitle(), QStringLiteral("CAN Setting Access"));
      QCOMPARE(view->model()->headerData(12, Qt::Horizontal, Qt::ToolTipRole).toString(),
               QStringLiteral("Possibility to swap the two byte of Modbus Registers"));
    });
  }

  void aFailedCheckKeepsTheEdits() {
    Fixture f(0);
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      QCOMPARE(cell(view, 1, 2), QString());
      set_cell(view, 1, 2, "2048");
      set_cell(view, 1, 4, "10.0.0.1");
      set_cell(view, 1, 6, "1");
      set_cell(view, 1, 7, "Coil Status");
      set_cell(view, 1, 8, "0");
      set_cell(view, 1, 9, "64");
      click(dialog, "Btn_OK");
      QVERIFY(dialog->isVisible());
      QCOMPARE(cell(view, 1, 2), QStringLiteral("2048"));
      QVERIFY(!QFileInfo::exists(f.program.filePath("PROJECTS/Plant1/var.xml")));
      set_cell(view, 1, 2, "0x7FF");
      click(dialog, "Btn_OK");
      QVERIFY(!dialog->isVisible());
    });
    QCOMPARE(f.fakes.boxes.errors, QStringList{"Error row 1!! Cob-ID must be between 0 and 2047"});
    QVERIFY(f.read("PROJECTS/Plant1/var.xml").contains("COB=\"0x7FF\""));
  }

  void pasteNeedsACopyOnTheSameScreenSinceItWasShown() {
    Fixture f(1);
    f.write("PROJECTS/Plant1/var.xml", "<R><row COB=\"385\" Mnemonic=\"pump\"/></R>");
    f.open("Btn_COB_Request", [](QDialog* dialog, QTableView* view) {
      select(view, 1, 2);
      click(dialog, "Btn_CopyRow");
      select(view, 2, 2);
      click(dialog, "Btn_PasteRow");  // row 2 is free: no question
      QCOMPARE(cell(view, 2, 13), QStringLiteral("pump"));
      click(dialog, "Btn_PasteRow");  // now in use: asked, and No keeps it
      set_cell(view, 2, 13, "kept");
    });
    QCOMPARE(f.fakes.boxes.questions, QStringList{"Row Already used. Do you want to overwrite the values?"});

    f.open("Btn_COB_Setting", [](QDialog* dialog, QTableView* view) {
      select(view, 1, 2);
      click(dialog, "Btn_PasteRow");
      QCOMPARE(cell(view, 1, 13), QString());
      click(dialog, "Btn_CopyRow");
      select(view, 3, 2);
      click(dialog, "Btn_PasteRow");
    });
    f.open("Btn_COB_Request", [](QDialog* dialog, QTableView* view) {
      select(view, 4, 2);
      click(dialog, "Btn_PasteRow");
      QCOMPARE(cell(view, 4, 2), QString());
    });
    QCOMPARE(f.fakes.boxes.errors, QStringList(2, "Error!!! Copy a valid row before Paste it"));
  }

  void deleteAndInsertRows() {
    Fixture f(0);
    f.write("PROJECTS/Plant1/var2.xml", "<R><row COB=\"1\"/><row COB=\"2\"/><row COB=\"3\"/></R>");
    f.fakes.boxes.answers = {false, true};
    f.open("Btn_COB_Setting", [](QDialog* dialog, QTableView* view) {
      select(view, 2, 2);
      click(dialog, "Btn_DelRow");
      QCOMPARE(cell(view, 2, 2), QStringLiteral("2"));
      click(dialog, "Btn_DelRow");
      QCOMPARE(cell(view, 2, 2), QStringLiteral("3"));
      QCOMPARE(cell(view, 3, 2), QString());
      QCOMPARE(cell(view, 2, 0), QStringLiteral("2"));
      select(view, 1, 2);
      click(dialog, "Btn_InsRow");
      QCOMPARE(cell(view, 1, 2), QString());
      QCOMPARE(cell(view, 1, 1), QStringLiteral("Y"));
      QCOMPARE(cell(view, 2, 2), QStringLiteral("1"));
      QCOMPARE(view->currentIndex().row(), 0);
    });
    QCOMPARE(f.fakes.boxes.questions, QStringList(2, "Are you sure to delete the Row number 2"));
  }

  void enterWalksTheCellsWhenTheOptionIsOn() {
    Fixture on(1, "<enable_jump_field_tables>1</enable_jump_field_tables>");
    on.open("Btn_COB_Request", [](QDialog*, QTableView* view) {
      select(view, 1, 13);
      QTest::keyClick(view, Qt::Key_Return);
      QCOMPARE(view->currentIndex(), view->model()->index(1, 1));
      select(view, 512, 13);
      QTest::keyClick(view, Qt::Key_Enter);
      QCOMPARE(view->currentIndex(), view->model()->index(0, 1));
    });
    Fixture off(1);
    off.open("Btn_COB_Request", [](QDialog* dialog, QTableView* view) {
      select(view, 1, 13);
      QTest::keyClick(view, Qt::Key_Return);
      QCOMPARE(view->currentIndex(), view->model()->index(0, 13));
      QVERIFY(dialog->isVisible());  // Enter does not press a button either
    });
  }

  void doubleClickOnATitleFitsTheColumnWhenTheOptionIsOn() {
    for (const bool option : {true, false}) {
      Fixture f(1, option ? "<Double_Click_Auto_Size>1</Double_Click_Auto_Size>" : "");
      f.open("Btn_COB_Request", [option](QDialog*, QTableView* view) {
        QHeaderView* header = view->horizontalHeader();
        view->setColumnWidth(13, 4);  // as narrow as the header allows
        const int narrow = view->columnWidth(13);
        const QPoint title(header->sectionViewportPosition(13) + narrow / 2, header->height() / 2);
        QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, title);
        QCOMPARE(view->columnWidth(13) > narrow, option);
      });
    }
  }

  void checkBoxCellsKeepYAndN() {
    Fixture f(1);
    f.open("Btn_COB_Request", [](QDialog*, QTableView* view) {
      const QModelIndex swap = view->model()->index(0, 12);
      QCOMPARE(cell(view, 1, 12), QStringLiteral("N"));  // fresh: empty, shown unticked
      QVERIFY(view->model()->setData(swap, Qt::Checked, Qt::CheckStateRole));
      QCOMPARE(cell(view, 1, 12), QStringLiteral("Y"));
      QVERIFY(!(view->model()->flags(swap) & Qt::ItemIsEditable));
      QVERIFY(!(view->model()->flags(view->model()->index(0, 0)) & Qt::ItemIsEditable));
    });
  }

  void fileProblemsAreShown() {
    Fixture f(1);
    QByteArray rows;
    for (int i = 1; i <= 514; ++i) rows += "<row COB=\"" + QByteArray::number(i) + "\"/>";
    f.write("PROJECTS/Plant1/var.xml", "<R>" + rows + "</R>");
    f.write("PROJECTS/Plant1/var2.xml", "<R><row COB=\"1\"></R>");
    f.open("Btn_COB_Request", [&](QDialog*, QTableView* view) {
      QTRY_COMPARE(f.fakes.boxes.warnings.size(), 1);
      QVERIFY(f.fakes.boxes.warnings[0].contains("2 rows"));
      QCOMPARE(cell(view, 512, 2), QStringLiteral("512"));
    });
    f.open("Btn_COB_Setting", [&](QDialog*, QTableView* view) {
      QTRY_COMPARE(f.fakes.boxes.errors.size(), 1);
      QVERIFY(f.fakes.boxes.errors[0].contains("var2.xml"));
      QCOMPARE(cell(view, 1, 2), QString());
    });
  }
};

QTEST_MAIN(TFRequestScreenTest)
#include "tf_request_screen_test.moc"
