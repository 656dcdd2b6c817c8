#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include "request_screen_fixture.h"
#include "screen_test.h"

using namespace sw48230;
using test::at;
using test::cell;
using test::click;
using test::Fixture;
using test::select;
using test::set_cell;

namespace {

// Starts an edit of the cell the way a user does, by typing into the grid,
// and types the rest into the editor that opened. Returns the editor.
QWidget* type(QTableView* view, int row, int col, const QString& text) {
  select(view, row, col);
  QTest::keyClicks(view, text.left(1));
  QWidget* editor = view->indexWidget(at(view, row, col));
  if (editor != nullptr) QTest::keyClicks(editor, text.mid(1));
  return editor;
}

// Opens the cell's editor with the edit key.
QWidget* open_editor(QTableView* view, int row, int col) {
  select(view, row, col);
  QTest::keyClick(view, Qt::Key_F2);
  return view->indexWidget(at(view, row, col));
}

QString rows_file(int count) {
  QString rows;
  for (int i = 1; i <= count; ++i) rows += QStringLiteral("<row COB=\"%1\" Mnemonic=\"m%1\"/>").arg(i);
  return "<R>" + rows + "</R>";
}

// The hint that a user resting the mouse at `pos` of `widget` gets.
QString hint_at(QWidget* widget, QPoint pos) {
  QToolTip::hideText();
  if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) return QStringLiteral("a hint stayed up");
  QHelpEvent help(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
  QApplication::sendEvent(widget, &help);
  return QToolTip::isVisible() ? QToolTip::text() : QString();
}

QPoint cell_centre(QTableView* view, int row, int col) { return view->visualRect(at(view, row, col)).center(); }

// A request that passes the checks of both tables on jumper hardware.
QByteArray good_row(int cob) {
  return "<row COB=\"" + QByteArray::number(cob) + "\" IP_Add_B1=\"10\" Type=\"0\" Address_Word=\"0\" Quantity=\"1\"/>";
}

// Fills row 1 with a read of 64 coils at 10.0.0.1 under `cob`, which passes
// the checks of a jumper project when the Cob-ID does.
void type_coil_request(QTableView* view, const QString& cob) {
  set_cell(view, 1, 2, cob);
  set_cell(view, 1, 4, "10.0.0.1");
  set_cell(view, 1, 6, "1");
  set_cell(view, 1, 7, "Coil Status");
  set_cell(view, 1, 8, "0");
  set_cell(view, 1, 9, "64");
}

const char* file_of(const QByteArray& step) {
  return step == "Btn_COB_Request" ? "PROJECTS/Plant1/var.xml" : "PROJECTS/Plant1/var2.xml";
}

QList<int> hidden_columns(QTableView* view) {
  QList<int> hidden;
  for (int col = 0; col < view->model()->columnCount(); ++col) {
    if (view->isColumnHidden(col)) hidden.append(col);
  }
  return hidden;
}

}  // namespace

class TFRequestScreenTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  void columnsFollowTheDeviceType_data() {
    QTest::addColumn<QByteArray>("step");
    QTest::addColumn<int>("device_type");
    QTest::addColumn<QList<int>>("hidden");
    // The result column (14) shows only once a test ran.
    QTest::newRow("read, jumper") << QByteArray("Btn_COB_Request") << 0 << QList<int>{1, 3, 5, 10, 11, 12, 14};
    QTest::newRow("read, dip-switch") << QByteArray("Btn_COB_Request") << 1 << QList<int>{14};
    QTest::newRow("write, jumper") << QByteArray("Btn_COB_Setting") << 0 << QList<int>{1, 3, 5, 10, 11, 12, 14};
    QTest::newRow("write, dip-switch") << QByteArray("Btn_COB_Setting") << 1 << QList<int>{10, 11, 14};
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
      type_coil_request(view, "2048");
      click(dialog, "Btn_OK");
      QVERIFY(dialog->isVisible());
      QCOMPARE(cell(view, 1, 2), QStringLiteral("2048"));
      QVERIFY(!QFileInfo::exists(f.program.path("PROJECTS/Plant1/var.xml")));
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
      QCOMPARE(view->currentIndex(), view->model()->index(511, 13));  // the end of the table
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
      const QString& error = f.fakes.boxes.errors[0];
      QVERIFY2(error.startsWith(QDir::toNativeSeparators(f.program.path("PROJECTS/Plant1/var2.xml")) + "\n"),
               qPrintable(error));
      QVERIFY2(error.contains("var2.xml cannot be read: "), qPrintable(error));
      QCOMPARE(cell(view, 1, 2), QString());
    });
  }

  // OK keeps the screen and its edits when the file cannot be replaced, and
  // says so: the path, then what failed.
  void aTableThatCannotBeSavedIsSaid() {
    Fixture f(0);
    QVERIFY(QDir().mkpath(f.program.path("PROJECTS/Plant1/var.xml/keep")));
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      QTRY_COMPARE(f.fakes.boxes.errors.size(), 1);  // the folder cannot be read as a table either
      type_coil_request(view, "385");
      click(dialog, "Btn_OK");
      QVERIFY(dialog->isVisible());
      QCOMPARE(cell(view, 1, 2), QStringLiteral("385"));
      f.fakes.boxes.answers.push_back(true);  // leave without saving
      click(dialog, "Btn_Cancel");
    });
    QCOMPARE(f.fakes.boxes.errors.size(), 2);
    const QString path = QDir::toNativeSeparators(f.program.path("PROJECTS/Plant1/var.xml"));
    const QString& error = f.fakes.boxes.errors[1];
    QVERIFY2(error.startsWith(path + "\n" + path + " cannot be written: "), qPrintable(error));
  }

  // Enter with the jump option on: the typed text is committed, then the
  // cursor moves exactly one cell, to the next one the user can see.
  void enterCommitsAndMovesOneVisibleCell_data() {
    QTest::addColumn<QByteArray>("step");
    QTest::addColumn<int>("device_type");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");  // empty: Enter without an editor
    QTest::addColumn<int>("next_row");
    QTest::addColumn<int>("next_col");
    const QByteArray read("Btn_COB_Request");
    const QByteArray write("Btn_COB_Setting");
    QTest::newRow("read, jumper, Cob-ID") << read << 0 << 1 << 2 << "385" << 1 << 4;
    QTest::newRow("read, jumper, address") << read << 0 << 1 << 4 << "10.0.0.1" << 1 << 6;
    QTest::newRow("read, jumper, NPoint") << read << 0 << 3 << 9 << "4" << 3 << 13;
    QTest::newRow("read, jumper, last column") << read << 0 << 3 << 13 << "pump" << 4 << 2;
    QTest::newRow("read, jumper, no editor") << read << 0 << 3 << 4 << "" << 3 << 6;
    QTest::newRow("read, jumper, last cell") << read << 0 << 512 << 13 << "end" << 512 << 13;
    QTest::newRow("read, dip-switch, Cob-ID") << read << 1 << 1 << 2 << "385" << 1 << 3;
    QTest::newRow("read, dip-switch, last column") << read << 1 << 7 << 13 << "pump" << 8 << 1;
    QTest::newRow("read, dip-switch, poll time") << read << 1 << 7 << 10 << "100" << 7 << 11;
    QTest::newRow("write, jumper, slave ID") << write << 0 << 2 << 6 << "1" << 2 << 7;
    QTest::newRow("write, jumper, last column") << write << 0 << 2 << 13 << "valve" << 3 << 2;
    QTest::newRow("write, dip-switch, NPoint") << write << 1 << 2 << 9 << "2" << 2 << 12;
    QTest::newRow("write, dip-switch, no editor") << write << 1 << 2 << 9 << "" << 2 << 12;
    QTest::newRow("write, dip-switch, last cell") << write << 1 << 512 << 13 << "x" << 512 << 13;
  }

  void enterCommitsAndMovesOneVisibleCell() {
    QFETCH(QByteArray, step);
    QFETCH(int, device_type);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(int, next_row);
    QFETCH(int, next_col);
    Fixture f(device_type, "<enable_jump_field_tables>1</enable_jump_field_tables>");
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      if (typed.isEmpty()) {
        select(view, row, col);
        QTest::keyClick(view, Qt::Key_Return);
      } else {
        QWidget* editor = type(view, row, col, typed);
        QVERIFY(editor != nullptr);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(cell(view, row, col), typed);
      }
      QCOMPARE(view->currentIndex(), at(view, next_row, next_col));
      QVERIFY(view->indexWidget(at(view, row, col)) == nullptr);  // the edit ended
      QVERIFY(!view->isColumnHidden(view->currentIndex().column()));
      QVERIFY(dialog->isVisible());
    });
  }

  // A drop-down list ends on Enter like a text cell, whether its list is
  // open or not.
  void enterOnADropDownListCommitsAndMovesOnce() {
    Fixture f(0, "<enable_jump_field_tables>1</enable_jump_field_tables>");
    f.open("Btn_COB_Request", [](QDialog*, QTableView* view) {
      auto* closed = qobject_cast<QComboBox*>(open_editor(view, 1, 7));
      QVERIFY(closed != nullptr);
      QTest::keyClick(closed, Qt::Key_Return);
      QCOMPARE(cell(view, 1, 7), QString());  // nothing chosen, nothing written
      QCOMPARE(view->currentIndex(), at(view, 1, 8));

      // A choice on the closed list ends the edit at once; Enter then moves.
      closed = qobject_cast<QComboBox*>(open_editor(view, 3, 7));
      QVERIFY(closed != nullptr);
      QTest::keyClick(closed, Qt::Key_End);
      QCOMPARE(cell(view, 3, 7), QStringLiteral("Input Register"));
      QVERIFY(view->indexWidget(at(view, 3, 7)) == nullptr);
      QTest::keyClick(view, Qt::Key_Return);
      QCOMPARE(view->currentIndex(), at(view, 3, 8));

      auto* open = qobject_cast<QComboBox*>(open_editor(view, 2, 7));
      QVERIFY(open != nullptr);
      QTest::keyClick(open, Qt::Key_F4);
      QTRY_VERIFY(open->view()->isVisible());
      QTest::keyClick(open->view(), Qt::Key_Home);
      QTest::keyClick(open->view(), Qt::Key_Down);
      QTest::keyClick(open->view(), Qt::Key_Return);
      QCOMPARE(cell(view, 2, 7), QStringLiteral("Input Status"));
      QCOMPARE(view->currentIndex(), at(view, 2, 8));
      QVERIFY(view->indexWidget(at(view, 2, 7)) == nullptr);
    });
  }

  void enterWithTheOptionOffOnlyCommits() {
    Fixture f(0);
    f.open("Btn_COB_Setting", [](QDialog* dialog, QTableView* view) {
      QTest::keyClick(type(view, 1, 2, "12"), Qt::Key_Return);
      QCOMPARE(cell(view, 1, 2), QStringLiteral("12"));
      QCOMPARE(view->currentIndex(), at(view, 1, 2));
      QVERIFY(view->indexWidget(at(view, 1, 2)) == nullptr);
      QVERIFY(dialog->isVisible());
    });
  }

  void aRowWithoutACobIdBeforeRequestsIsRefused_data() {
    QTest::addColumn<QByteArray>("step");
    QTest::newRow("read") << QByteArray("Btn_COB_Request");
    QTest::newRow("write") << QByteArray("Btn_COB_Setting");
  }

  void aRowWithoutACobIdBeforeRequestsIsRefused() {
    QFETCH(QByteArray, step);
    Fixture f(0);
    const QByteArray before = "<R>" + good_row(1) + good_row(2) + good_row(3) + "</R>";
    f.write(file_of(step), before);
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      select(view, 2, 4);
      click(dialog, "Btn_InsRow");
      QCOMPARE(cell(view, 3, 2), QStringLiteral("2"));
      select(view, 4, 13);
      click(dialog, "Btn_OK");
      QVERIFY(dialog->isVisible());
      QCOMPARE(view->currentIndex(), at(view, 2, 2));
      QCOMPARE(f.read(file_of(step)), before);
      click(dialog, "Btn_Undo");

      // Clearing a Cob-ID in the middle is the same gap.
      QWidget* editor = open_editor(view, 2, 2);
      QVERIFY(editor != nullptr);
      QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(editor, Qt::Key_Delete);
      QTest::keyClick(editor, Qt::Key_Return);
      select(view, 1, 13);
      click(dialog, "Btn_OK");
      QVERIFY(dialog->isVisible());
      QCOMPARE(view->currentIndex(), at(view, 2, 2));
      QCOMPARE(f.read(file_of(step)), before);

      QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
      click(dialog, "Btn_OK");
      QVERIFY(!dialog->isVisible());
    });
    QCOMPARE(
        f.fakes.boxes.errors,
        QStringList(2, "Error row 2!! Cob-ID is empty, but rows below it hold requests, which would not be saved"));
    QCOMPARE(f.read(file_of(step)).count("<row "), 3);
  }

  void insertRowOnAFullTableIsRefused() {
    for (const QByteArray& step : {QByteArray("Btn_COB_Request"), QByteArray("Btn_COB_Setting")}) {
      Fixture f(1);
      f.write(file_of(step), rows_file(512).toUtf8());
      f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
        select(view, 3, 2);
        click(dialog, "Btn_InsRow");
        QCOMPARE(cell(view, 3, 2), QStringLiteral("3"));
        QCOMPARE(cell(view, 512, 13), QStringLiteral("m512"));
        QVERIFY(!dialog->findChild<QPushButton*>("Btn_Undo")->isEnabled());
      });
      QCOMPARE(f.fakes.boxes.errors,
               QStringList{"Error!!! The table is full: row 512 is in use. Delete a row before inserting one"});
    }
  }

  // Minimising and restoring the screen, or any other show that the window
  // system causes, keeps the edits and the copied row.
  void aRestoredScreenKeepsItsEdits() {
    Fixture f(1);
    f.write("PROJECTS/Plant1/var.xml", "<R><row COB=\"385\" Mnemonic=\"pump\"/></R>");
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      QTest::keyClick(type(view, 1, 13, "fan"), Qt::Key_Return);
      select(view, 1, 2);
      click(dialog, "Btn_CopyRow");
      f.write("PROJECTS/Plant1/var.xml", "<R/>");
      QVERIFY(test::minimise_and_restore(dialog));
      QCOMPARE(cell(view, 1, 13), QStringLiteral("fan"));
      select(view, 2, 2);
      click(dialog, "Btn_PasteRow");
      QCOMPARE(cell(view, 2, 13), QStringLiteral("fan"));
    });
    QVERIFY(f.fakes.boxes.errors.isEmpty());
  }

  void cancelEscapeAndCloseAskBeforeDroppingEdits() {
    Fixture f(0);
    f.fakes.boxes.answers = {false, false, true};
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView*) {
      click(dialog, "Btn_Cancel");  // nothing changed yet: no question
    });
    QVERIFY(f.fakes.boxes.questions.isEmpty());
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      QTest::keyClick(type(view, 1, 2, "5"), Qt::Key_Return);
      click(dialog, "Btn_Cancel");
      QVERIFY(dialog->isVisible());
      QTest::keyClick(view, Qt::Key_Escape);
      QVERIFY(dialog->isVisible());
      QCOMPARE(cell(view, 1, 2), QStringLiteral("5"));
      dialog->close();  // the close box
      QVERIFY(!dialog->isVisible());
    });
    QCOMPARE(f.fakes.boxes.questions, QStringList(3, test::default_text(123)));
    QVERIFY(!QFileInfo::exists(f.program.path("PROJECTS/Plant1/var.xml")));

    // An edit still open counts; an edit undone does not.
    f.fakes.boxes.questions.clear();
    f.open("Btn_COB_Setting", [&](QDialog* dialog, QTableView* view) {
      QVERIFY(type(view, 1, 2, "5") != nullptr);
      click(dialog, "Btn_Cancel");
      QVERIFY(dialog->isVisible());
      QCOMPARE(f.fakes.boxes.questions.size(), 1);
      click(dialog, "Btn_Undo");
      QCOMPARE(cell(view, 1, 2), QString());
      click(dialog, "Btn_Cancel");
      QVERIFY(!dialog->isVisible());
    });
    QCOMPARE(f.fakes.boxes.questions.size(), 1);
  }

  void onlyColumnTitlesHaveHints() {
    Fixture f(0);
    f.open("Btn_COB_Setting", [](QDialog*, QTableView* view) {
      QCOMPARE(hint_at(view->viewport(), cell_centre(view, 1, 2)), QString());
      QCOMPARE(hint_at(view->viewport(), cell_centre(view, 3, 0)), QString());
      QHeaderView* header = view->horizontalHeader();
      const QPoint title(header->sectionViewportPosition(2) + header->sectionSize(2) / 2, header->height() / 2);
      QCOMPARE(hint_at(header->viewport(), title), test::default_text(427));
    });
  }

  void undoAndRedoWalkTheChanges() {
    Fixture f(0);
    f.write("PROJECTS/Plant1/var2.xml", "<R>" + good_row(1) + good_row(2) + good_row(3) + "</R>");
    f.fakes.boxes.answers = {true};
    f.open("Btn_COB_Setting", [&](QDialog* dialog, QTableView* view) {
      auto* undo = dialog->findChild<QPushButton*>("Btn_Undo");
      auto* redo = dialog->findChild<QPushButton*>("Btn_Redo");
      QVERIFY(!undo->isEnabled() && !redo->isEnabled());
      QTest::keyClick(type(view, 1, 13, "pump"), Qt::Key_Return);
      select(view, 1, 2);
      click(dialog, "Btn_CopyRow");
      select(view, 2, 2);
      click(dialog, "Btn_DelRow");
      click(dialog, "Btn_InsRow");
      click(dialog, "Btn_PasteRow");
      const auto column = [view](int col) {
        QStringList texts;
        for (int row = 1; row <= 4; ++row) texts.append(cell(view, row, col));
        return texts;
      };
      QCOMPARE(column(2), (QStringList{"1", "1", "3", ""}));

      QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);  // the paste
      QCOMPARE(column(2), (QStringList{"1", "", "3", ""}));
      QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);  // the insert
      QCOMPARE(column(2), (QStringList{"1", "3", "", ""}));
      select(view, 4, 13);
      click(dialog, "Btn_Undo");  // the delete
      QCOMPARE(column(2), (QStringList{"1", "2", "3", ""}));
      QCOMPARE(view->currentIndex().row(), 1);
      click(dialog, "Btn_Undo");  // the typing
      QCOMPARE(column(13), (QStringList{"", "", "", ""}));
      QVERIFY(!undo->isEnabled());

      QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
      QCOMPARE(column(13), (QStringList{"pump", "", "", ""}));
      QCOMPARE(view->currentIndex(), at(view, 1, 13));
      QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
      QCOMPARE(column(2), (QStringList{"1", "3", "", ""}));
      click(dialog, "Btn_Redo");
      click(dialog, "Btn_Redo");
      QCOMPARE(column(2), (QStringList{"1", "1", "3", ""}));
      QVERIFY(!redo->isEnabled());
      click(dialog, "Btn_OK");
      QVERIFY(!dialog->isVisible());
    });
    // OK ended the history: the next opening starts without one.
    f.open("Btn_COB_Setting", [](QDialog* dialog, QTableView* view) {
      QVERIFY(!dialog->findChild<QPushButton*>("Btn_Undo")->isEnabled());
      QCOMPARE(cell(view, 2, 13), QStringLiteral("pump"));
      QCOMPARE(cell(view, 3, 2), QStringLiteral("3"));
    });
  }
};

QTEST_MAIN(TFRequestScreenTest)
#include "tf_request_screen_test.moc"
