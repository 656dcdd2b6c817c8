#pragma once

// An open project in a program directory, for the tests of the request
// screens, and the cell helpers they share.

#include <QDialog>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <functional>

#include "screen_test.h"

namespace sw48230::test {

// A program directory with one open project of the given device type;
// `prober` replaces the real probe where a test needs one of its own.
struct Fixture : ProgramFixture {
  explicit Fixture(int device_type, const QByteArray& flags = "", Prober* prober = nullptr) {
    program.add_open_project("<lastinternet>" + flags + "</lastinternet>");
    write("PROJECTS/Plant1/ParGen.xml",
          "<GeneralParameter><Device_Type>" + QByteArray::number(device_type) + "</Device_Type></GeneralParameter>");
    if (prober == nullptr) {
      start();
      return;
    }
    const Services fake = fakes.services();
    start(Services{fake.boxes, fake.programs, fake.browser, fake.http, fake.serial_ports, fake.echo, fake.clock,
                   *prober, fake.files});
  }

  void write(const QString& name, const QByteArray& content) const { program.write(name, content); }
  QByteArray read(const QString& name) const { return program.read(name); }

  // Opens the step's screen and lets `act` drive it.
  void open(const char* step, const std::function<void(QDialog*, QTableView*)>& act) {
    ProgramFixture::open(step, nullptr, [&](QDialog* dialog) {
      // The user works in the screen's window, which the keys' shortcuts need.
      dialog->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(dialog));
      act(dialog, find<QTableView>(dialog, "ACG_Modbus"));
    });
  }
};

inline QString cell(QTableView* view, int row, int col) {
  const QModelIndex index = view->model()->index(row - 1, col);
  const QVariant check = index.data(Qt::CheckStateRole);
  if (check.isValid()) return check.value<Qt::CheckState>() == Qt::Checked ? "Y" : "N";
  return index.data().toString();
}

inline void set_cell(QTableView* view, int row, int col, const QString& text) {
  QVERIFY(view->model()->setData(view->model()->index(row - 1, col), text, Qt::EditRole));
}

inline void select(QTableView* view, int row, int col) {
  view->setCurrentIndex(view->model()->index(row - 1, col));
  view->scrollTo(view->currentIndex());
}

inline QModelIndex at(QTableView* view, int row, int col) { return view->model()->index(row - 1, col); }

}  // namespace sw48230::test
