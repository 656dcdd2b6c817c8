// The screens in each shipped language: nothing stays English, nothing is
// cut off.

#include <QFile>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTest>

#include "core/tables/request_table.h"
#include "core/tables/table_kind.h"
#include "gui/ui/message_boxes.h"
#include "screen_test.h"

using namespace sw48230;
using test::click;
using test::find;

namespace {

// A program folder with one open project of `device_type`, started in
// `language`, one of the shipped ones.
struct LanguageFixture : test::ProgramFixture {
  LanguageFixture(const QString& language, int device_type) {
    QFile shipped(QStringLiteral(SW48230_SHIPPED_LANGUAGES "/") + language + QStringLiteral(".lng"));
    if (!shipped.open(QIODevice::ReadOnly)) qFatal("cannot read the shipped %s", qPrintable(shipped.fileName()));
    program.write("LANGUAGE/" + language + ".lng", shipped.readAll());
    program.add_open_project("<lastlang><language>" + language.toUtf8() + "</language></lastlang>");
    program.write("PROJECTS/Plant1/ParGen.xml",
                  "<G><Device_Type>" + QByteArray::number(device_type) + "</Device_Type></G>");
    // The longest values the cells hold.
    program.write("PROJECTS/Plant1/var.xml",
                  "<R><row Enable=\"Y\" COB=\"536870911\" CAN_Type=\"CAN 2.0B (29 bits)\" IP_Add_B1=\"255\" "
                  "IP_Add_B2=\"255\" IP_Add_B3=\"255\" IP_Add_B4=\"254\" Port=\"65535\" ID_Modbus=\"255\" Type=\"3\" "
                  "Address_Word=\"65535\" Quantity=\"125\" PollTime=\"60000\" MaxError=\"255\" Swap=\"Y\"/></R>");
    program.write("PROJECTS/Plant1/var2.xml",
                  "<R><row Enable=\"Y\" COB=\"536870911\" CAN_Type=\"CAN 2.0B (29 bits)\" IP_Add_B1=\"255\" "
                  "IP_Add_B2=\"255\" IP_Add_B3=\"255\" IP_Add_B4=\"254\" Port=\"65535\" ID_Modbus=\"255\" Type=\"3\" "
                  "Address_Word=\"65535\" Quantity=\"123\" PollTime=\"60000\" MaxError=\"255\" Swap=\"Y\"/></R>");
  }
};

void languages_and_tables() {
  QTest::addColumn<QString>("language");
  QTest::addColumn<QByteArray>("step");
  QTest::addColumn<int>("device_type");
  for (const char* language : {"English", "Italiano", "Deutsch"}) {
    for (const char* step : {"Btn_COB_Request", "Btn_COB_Setting"}) {
      for (const int device_type : {0, 1}) {
        QTest::addRow("%s, %s, type %d", language, step, device_type)
            << QString::fromLatin1(language) << QByteArray(step) << device_type;
      }
    }
  }
}

}  // namespace

class ScreenLanguageTest : public test::ScreenTest {
  Q_OBJECT

 private slots:
  // The real boxes, as a user meets them: Cancel on a changed table asks.
  void questionBoxesAnswerInTheLanguageOfTheirText_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("no");
    QTest::newRow("English") << QStringLiteral("English") << QStringLiteral("Yes") << QStringLiteral("No");
    QTest::newRow("Italiano") << QStringLiteral("Italiano") << QStringLiteral("Sì") << QStringLiteral("No");
    QTest::newRow("Deutsch") << QStringLiteral("Deutsch") << QStringLiteral("Ja") << QStringLiteral("Nein");
  }

  void questionBoxesAnswerInTheLanguageOfTheirText() {
    QFETCH(QString, language);
    QFETCH(QString, yes);
    QFETCH(QString, no);
    LanguageFixture f(language, 1);
    QtMessageBoxes boxes;
    const Services fake = f.fakes.services();
    f.start(Services{boxes, fake.programs, fake.browser, fake.http, fake.serial_ports, fake.echo, fake.clock,
                     fake.prober, fake.files});
    QStringList captions;
    f.open("Btn_COB_Request", nullptr, [&](QDialog* screen) {
      click(screen, "Btn_InsRow");
      test::when_dialog_shown([&](QDialog* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        QVERIFY(box != nullptr);
        for (QAbstractButton* button : box->buttons()) captions.append(button->text());
        click(box->button(QMessageBox::No));
      });
      click(screen, "Btn_Cancel");
      QVERIFY2(screen->isVisible(), "No must keep the screen open");
    });
    captions.sort();
    QStringList expected{yes, no};
    expected.sort();
    QCOMPARE(captions, expected);
  }

  // Every column title, every choice of a drop-down list and the longest
  // values a cell holds are shown whole: the cell's text margins included,
  // as the grid draws them.
  void everyTitleChoiceAndValueFitsItsColumn_data() { languages_and_tables(); }

  void everyTitleChoiceAndValueFitsItsColumn() {
    QFETCH(QString, language);
    QFETCH(QByteArray, step);
    QFETCH(int, device_type);
    LanguageFixture f(language, device_type);
    f.start();
    const TableKind& kind = step == "Btn_COB_Request" ? Read_Requests() : Write_Requests();
    f.open(step.constData(), nullptr, [&](QDialog* screen) {
      auto* grid = find<QTableView>(screen, "ACG_Modbus");
      QHeaderView* header = grid->horizontalHeader();
      const int title_margins = 2 * grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
      const int cell_margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
      const auto fits = [&](int col, const QFontMetrics& metrics, const QString& text, int margins) {
        const int needed = metrics.horizontalAdvance(text) + margins;
        QVERIFY2(needed <= grid->columnWidth(col), qPrintable(QStringLiteral("column %1: \"%2\" needs %3, has %4")
                                                                  .arg(col)
                                                                  .arg(text)
                                                                  .arg(needed)
                                                                  .arg(grid->columnWidth(col))));
      };
      for (int col = 0; col < RequestTable::ColCount; ++col) {
        if (grid->isColumnHidden(col)) continue;
        fits(col, header->fontMetrics(), grid->model()->headerData(col, Qt::Horizontal).toString(), title_margins);
        if (RequestTable::kind(col) == ColumnKind::Text || RequestTable::kind(col) == ColumnKind::Number) {
          fits(col, grid->fontMetrics(), grid->model()->index(0, col).data().toString(), cell_margins);
        }
      }
      for (const std::string& choice : kind.type_texts) {
        fits(Col_Type, grid->fontMetrics(), QString::fromStdString(choice), cell_margins);
      }
      if (!grid->isColumnHidden(Col_CAN_Type)) {
        for (const char* choice : {CAN_Type_11_Bits, CAN_Type_29_Bits}) {
          fits(Col_CAN_Type, grid->fontMetrics(), QString::fromLatin1(choice), cell_margins);
        }
      }
    });
  }
};

QTEST_MAIN(ScreenLanguageTest)
#include "screen_language_test.moc"
