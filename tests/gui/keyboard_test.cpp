#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "screen_test.h"
#include "update_fixture.h"

using namespace sw48230;

namespace {

// The controls Tab visits, by name, starting at `first` and going once
// round the window, pressing real Tab keys.
QStringList tab_chain(QWidget* first) {
  QWidget* window = first->window();
  first->setFocus(Qt::TabFocusReason);
  QStringList chain;
  QWidget* current = window->focusWidget();
  for (int step = 0; step < 60 && current != nullptr; ++step) {
    chain.append(current->objectName().isEmpty() ? QString::fromLatin1(current->metaObject()->className())
                                                 : current->objectName());
    QTest::keyClick(current, Qt::Key_Tab);
    current = window->focusWidget();
    if (current == first) return chain;
  }
  chain.append(QStringLiteral("<never back at the start>"));
  return chain;
}

void press(QWidget* widget, Qt::Key key) {
  widget->setFocus(Qt::TabFocusReason);
  QTest::keyClick(widget, key);
}

const QStringList Request_Chain{"Btn_DelRow",   "Btn_InsRow", "Btn_CopyRow", "Btn_PasteRow", "Btn_Export", "Btn_Import",
                                "Btn_Warnings", "ACG_Modbus", "Btn_Test",    "Btn_OK",       "Btn_Cancel"};
// Undo joins the chain, in its place, once there is something to undo.
const QStringList Request_Chain_After_Edit{"Btn_DelRow", "Btn_InsRow", "Btn_CopyRow", "Btn_PasteRow",
                                           "Btn_Undo",   "Btn_Export", "Btn_Import",  "Btn_Warnings",
                                           "ACG_Modbus", "Btn_Test",   "Btn_OK",      "Btn_Cancel"};
const QStringList Options_Page{"CB_Firmware", "CB_Read_Firm", "CB_Conf", "CB_Read_Conf", "Btn_Update"};

}  // namespace

class KeyboardTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  // Any warning fails, except the offscreen platform's note that it cannot
  // resize windows to their content.
  void init() {
    ScreenTest::init();
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!This plugin does not support propagateSizeHints)")));
  }

  // Tab follows reading order: left to right, then down.
  void tabFollowsReadingOrderOnEveryScreen_data() {
    QTest::addColumn<QByteArray>("device_type");
    QTest::addColumn<QByteArray>("button");  // of the main window; empty for the main window itself
    QTest::addColumn<QByteArray>("page");    // the control whose key leads to the page checked, if any
    QTest::addColumn<int>("page_key");
    QTest::addColumn<int>("languages");  // language files in the program folder
    QTest::addColumn<QStringList>("chain");
    QTest::newRow("main window") << QByteArray("0") << QByteArray() << QByteArray() << 0 << 0
                                 << QStringList{"Btn_Info",      "Btn_Opz",     "Btn_Close",       "Btn_New",
                                                "Btn_Open",      "Btn_Prm_Gen", "Btn_COB_Request", "Btn_COB_Setting",
                                                "Btn_CreateBin", "L_Norvane"};
    QTest::newRow("about") << QByteArray("0") << QByteArray("Btn_Info") << QByteArray() << 0 << 0
                           << QStringList{"Label4", "Btn_OK"};
    QTest::newRow("new project") << QByteArray("0") << QByteArray("Btn_New") << QByteArray() << 0 << 0
                                 << QStringList{"E_New_Proj", "Btn_OK", "Btn_Cancel"};
    QTest::newRow("open project") << QByteArray("0") << QByteArray("Btn_Open") << QByteArray() << 0 << 0
                                  << QStringList{"ListBox1", "Btn_OK", "Btn_Cancel"};
    QTest::newRow("options, languages")
        << QByteArray("0") << QByteArray("Btn_Opz") << QByteArray() << 0 << 7
        << QStringList{"qt_tabwidget_tabbar", "L_L1", "L_L2", "L_L3", "L_L4", "L_L5", "L_L6", "Btn_Next", "Btn_OK",
                       "Btn_Cancel"};
    QTest::newRow("options, connection") << QByteArray("0") << QByteArray("Btn_Opz")
                                         << QByteArray("qt_tabwidget_tabbar") << int(Qt::Key_Right) << 0
                                         << QStringList{"qt_tabwidget_tabbar", "CB_En_Con", "Btn_OK", "Btn_Cancel"};
    QTest::newRow("communication, jumper") << QByteArray("0") << QByteArray("Btn_Prm_Gen") << QByteArray() << 0 << 0
                                           << QStringList{"Btn_Collapse_select_Device",
                                                          "CB_Select_Device",
                                                          "Btn_Collapse_CAN",
                                                          "CB_CAN_Baud",
                                                          "CB_CAN_Type",
                                                          "Btn_Collapse_Modbus_TCP_Master",
                                                          "E_IP1_Modbus_TCP_Master",
                                                          "E_IP2_Modbus_TCP_Master",
                                                          "E_IP3_Modbus_TCP_Master",
                                                          "E_IP4_Modbus_TCP_Master",
                                                          "E_SM1_Modbus_TCP_Master",
                                                          "E_SM2_Modbus_TCP_Master",
                                                          "E_SM3_Modbus_TCP_Master",
                                                          "E_SM4_Modbus_TCP_Master",
                                                          "CB_En_GAT_Modbus_TCP_Master",
                                                          "E_GAT1_Modbus_TCP_Master",
                                                          "E_GAT2_Modbus_TCP_Master",
                                                          "E_GAT3_Modbus_TCP_Master",
                                                          "E_GAT4_Modbus_TCP_Master",
                                                          "E_Port_Modbus_TCP_Master",
                                                          "E_TO_Modbus_TCP_Master",
                                                          "CB_Dont_Disconnect_Modbus_TCP_Master",
                                                          "Btn_OK",
                                                          "Btn_Cancel"};
    QTest::newRow("communication, dip-switch") << QByteArray("1") << QByteArray("Btn_Prm_Gen") << QByteArray() << 0 << 0
                                               << QStringList{"Btn_Collapse_select_Device",
                                                              "CB_Select_Device",
                                                              "Btn_Collapse_CAN",
                                                              "CB_CAN_Baud",
                                                              "Btn_Collapse_Modbus_TCP_Master",
                                                              "E_IP1_Modbus_TCP_Master",
                                                              "E_IP2_Modbus_TCP_Master",
                                                              "E_IP3_Modbus_TCP_Master",
                                                              "E_IP4_Modbus_TCP_Master",
                                                              "E_SM1_Modbus_TCP_Master",
                                                              "E_SM2_Modbus_TCP_Master",
                                                              "E_SM3_Modbus_TCP_Master",
                                                              "E_SM4_Modbus_TCP_Master",
                                                              "CB_En_GAT_Modbus_TCP_Master",
                                                              "E_GAT1_Modbus_TCP_Master",
                                                              "E_GAT2_Modbus_TCP_Master",
                                                              "E_GAT3_Modbus_TCP_Master",
                                                              "E_GAT4_Modbus_TCP_Master",
                                                              "E_TO_Modbus_TCP_Master",
                                                              "Btn_OK",
                                                              "Btn_Cancel"};
    QTest::newRow("COB Request") << QByteArray("0") << QByteArray("Btn_COB_Request") << QByteArray() << 0 << 0
                                 << Request_Chain;
    QTest::newRow("COB Setting") << QByteArray("0") << QByteArray("Btn_COB_Setting") << QByteArray() << 0 << 0
                                 << Request_Chain;
    QTest::newRow("COB Request, after a change")
        << QByteArray("0") << QByteArray("Btn_COB_Request") << QByteArray("Btn_InsRow") << int(Qt::Key_Space) << 0
        << Request_Chain_After_Edit;
    QTest::newRow("COB Setting, after a change")
        << QByteArray("1") << QByteArray("Btn_COB_Setting") << QByteArray("Btn_InsRow") << int(Qt::Key_Space) << 0
        << Request_Chain_After_Edit;
    QTest::newRow("serial update, port") << QByteArray("0") << QByteArray("TFBootSer") << QByteArray() << 0 << 0
                                         << QStringList{"CB_Com", "Btn_COM_List", "Btn_Cancel", "Btn_Next"};
    QTest::newRow("serial update, options") << QByteArray("0") << QByteArray("TFBootSer") << QByteArray("Btn_Next")
                                            << int(Qt::Key_Space) << 0 << Options_Page;
    QTest::newRow("ethernet update, address")
        << QByteArray("1") << QByteArray("TFBootTCP") << QByteArray() << 0 << 0
        << QStringList{"E_IP1", "E_IP2", "E_IP3", "E_IP4", "Btn_Ping", "Btn_Cancel", "Btn_Next"};
    QTest::newRow("ethernet update, options") << QByteArray("1") << QByteArray("TFBootTCP") << QByteArray("Btn_Next")
                                              << int(Qt::Key_Space) << 0 << Options_Page;
  }

  void tabFollowsReadingOrderOnEveryScreen() {
    QFETCH(QByteArray, device_type);
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, page);
    QFETCH(int, page_key);
    QFETCH(int, languages);
    QFETCH(QStringList, chain);
    test::UpdateFixture f(device_type, "127.0.0.1");
    f.program.mkpath(QStringLiteral("LANGUAGE"));
    for (int i = 0; i < languages; ++i) f.write(QStringLiteral("LANGUAGE/Lang%1.lng").arg(i), "STR0 = x\r\n");
    f.fakes.serial_ports.ports = {{"COM3", R"(\\.\COM3)"}};
    f.fakes.echo.answer = EchoReply::With_Data;
    f.start();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    if (button.isEmpty()) {
      const QStringList actual = tab_chain(test::find(f.window.get(), chain.first().toLatin1().constData()));
      QVERIFY2(actual == chain, qPrintable(actual.join(QStringLiteral(", "))));
      return;
    }
    const auto check = [&](QDialog* dialog) {
      if (!page.isEmpty()) {
        // Ping first where Next needs it, from the keyboard as well.
        if (auto* ping = dialog->findChild<QAbstractButton*>(QStringLiteral("Btn_Ping"))) press(ping, Qt::Key_Space);
        press(test::find(dialog, page.constData()), Qt::Key(page_key));
      }
      const QStringList actual = tab_chain(test::find(dialog, chain.first().toLatin1().constData()));
      QVERIFY2(actual == chain, qPrintable(actual.join(QStringLiteral(", "))));
    };
    if (button.startsWith("TF")) {
      f.open_update(button.constData(), check);
    } else {
      f.open(button.constData(), nullptr, check);
    }
  }

  void theHomePageLinksOpenWithEnterOrSpace() {
    test::UpdateFixture f;
    f.start();
    auto* link = test::find(f.window.get(), "L_Norvane");
    QCOMPARE(link->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    press(link, Qt::Key_Return);
    press(link, Qt::Key_Space);
    press(link, Qt::Key_A);
    QCOMPARE(f.fakes.browser.urls.size(), 2);
    f.open("Btn_Info", nullptr, [&](QDialog* about) {
      press(test::find(about, "Label4"), Qt::Key_Enter);
      press(test::find(about, "Label4"), Qt::Key_Space);
      press(test::find(about, "Btn_OK"), Qt::Key_Space);
      QVERIFY(!about->isVisible());
    });
    QCOMPARE(f.fakes.browser.urls.size(), 4);
    for (const QString& url : f.fakes.browser.urls) QVERIFY(url.endsWith("/HOME/default.asp?frompg=SW48230"));
  }

  // The fold controls of Set Communication work from the keyboard, and the
  // focus stays where the user is.
  void groupsFoldAndUnfoldFromTheKeyboard() {
    test::UpdateFixture f;
    f.start();
    f.open("Btn_Prm_Gen", nullptr, [](QDialog* dialog) {
      auto* fold = test::find(dialog, "Btn_Collapse_CAN");
      press(fold, Qt::Key_Space);
      QVERIFY(!test::shown(dialog, "CB_CAN_Baud"));
      QCOMPARE(dialog->focusWidget(), test::find(dialog, "Btn_Expande_CAN"));
      QTest::keyClick(dialog->focusWidget(), Qt::Key_Space);
      QVERIFY(test::shown(dialog, "CB_CAN_Baud"));
      QCOMPARE(dialog->focusWidget(), fold);
    });
  }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
