// The configurator's main window wired to termination signals as the
// program wires it, with real message boxes, driven into a state where
// nobody is there to answer: the communication settings open with an
// unsaved edit ("edits"), or its Cancel question on top ("question"), or
// the read requests open with an unsaved edit of a cell ("table"), or a
// test of the read requests under way ("testing").
// Prints "ready" once there; the test then sends the signal.
//
// Usage: termination_driver <program folder> edits|question|table|testing

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <cstdio>

#include "fakes.h"
#include "gui/app/tf_main.h"
#include "gui/ui/message_boxes.h"
#include "platform/signal_bridge.h"

using namespace sw48230;

namespace {

void say_ready() {
  std::fputs("ready\n", stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 3) return 2;
  const QString scenario = QString::fromLocal8Bit(argv[2]);
  const bool question = scenario == QStringLiteral("question");

  test::FakeServices fakes;
  QtMessageBoxes boxes;
  Services services = fakes.services();
  TFMain window(Services{boxes, services.programs, services.browser, services.http, services.serial_ports,
                         services.echo, services.clock, services.prober, services.files},
                QString::fromLocal8Bit(argv[1]).toStdString());
  SignalBridge signals_bridge;
  QObject::connect(&signals_bridge, &SignalBridge::terminationRequested, &window, &TFMain::Terminate);
  window.show();

  if (scenario == QStringLiteral("table")) {
    test::when_dialog_shown([](QDialog* screen) {
      auto* grid = screen->findChild<QTableView*>(QStringLiteral("ACG_Modbus"));
      grid->setFocus();
      grid->setCurrentIndex(grid->model()->index(0, 13));
      QTest::keyClicks(grid, QStringLiteral("typed"));
      QTest::keyClick(grid->focusWidget(), Qt::Key_Return);
      say_ready();
    });
    QTimer::singleShot(0, &window, [&window] {
      QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Btn_COB_Request")), Qt::LeftButton);
    });
    return QApplication::exec();
  }
  if (scenario == QStringLiteral("testing")) {
    test::when_dialog_shown([](QDialog* screen) {
      QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("Btn_Test")), Qt::LeftButton);
      if (screen->findChild<QPushButton*>(QStringLiteral("Btn_Stop"))->isVisible()) say_ready();
    });
    QTimer::singleShot(0, &window, [&window] {
      QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Btn_COB_Request")), Qt::LeftButton);
    });
    return QApplication::exec();
  }

  test::when_dialog_shown([question](QDialog* settings) {
    auto* timeout = settings->findChild<QLineEdit*>(QStringLiteral("E_TO_Modbus_TCP_Master"));
    timeout->setFocus();
    QTest::keyClick(timeout, Qt::Key_7);
    if (!question) {
      say_ready();
      return;
    }
    test::when_dialog_shown([](QDialog* box) {
      if (qobject_cast<QMessageBox*>(box) != nullptr) say_ready();
    });
    // Asks whether to drop the edit, and waits for an answer.
    QTest::mouseClick(settings->findChild<QPushButton*>(QStringLiteral("Btn_Cancel")), Qt::LeftButton);
  });
  QTimer::singleShot(0, &window, [&window] {
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Btn_Prm_Gen")), Qt::LeftButton);
  });
  return QApplication::exec();
}
