#pragma once

// An open project in a program directory, for the tests of the request
// screens, and the cell helpers they share.

#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "fakes.h"
#include "gui/app/tf_main.h"
#include "screen_test.h"

namespace sw48230::test {

// A program directory with one open project of the given device type.
struct Fixture {
  QTemporaryDir program;
  FakeServices fakes;
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
    sw48230::test::write_fixture(program.filePath(name), content);
  }

  QByteArray read(const QString& name) const {
    QFile file(program.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Opens the step's screen and lets `act` drive it.
  void open(const char* step, std::function<void(QDialog*, QTableView*)> act) {
    bool shown = false;
    when_dialog_shown([&](QDialog* dialog) {
      shown = true;
      // The user works in the screen's window, which the keys' shortcuts need.
      dialog->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(dialog));
      act(dialog, dialog->findChild<QTableView*>("ACG_Modbus"));
      if (dialog->isVisible()) dialog->done(QDialog::Rejected);
    });
    QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(step)), Qt::LeftButton);
    QVERIFY(shown);
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

inline void click(QDialog* dialog, const char* name) {
  QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

inline QModelIndex at(QTableView* view, int row, int col) { return view->model()->index(row - 1, col); }

}  // namespace sw48230::test
