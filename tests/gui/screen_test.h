#pragma once

// The kit of the screen tests: the base that fails on any Qt warning, a
// temporary program directory, the main window over it, and finding and
// clicking controls by name.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <memory>
#include <source_location>

#include "fakes.h"

class QDialog;
class QWidget;

namespace sw48230 {
class TFMain;
}

namespace sw48230::test {

// The base of every screen test: any Qt warning fails the test function in
// which it was raised, so a misused widget or editor cannot pass unnoticed.
// A test that expects a warning names it with QTest::ignoreMessage; one
// with an init() of its own calls this one first.
class ScreenTest : public QObject {
  Q_OBJECT

 protected slots:
  void init();
};

// Writes a fixture file whole; a file that cannot be written fails the
// running test instead of leaving it to test something else.
void write_fixture(const QString& path, const QByteArray& bytes);

// A program directory in a fresh temporary folder, removed when the test
// ends. With `folder` the program lives one level down, in a folder of that
// name (a blank in it tests what "Program Files" does).
class ProgramDir {
 public:
  explicit ProgramDir(const QString& folder = QString());

  // The program directory, or a file or folder in it.
  QString path(const QString& name = QString()) const;
  std::filesystem::path fs_path() const;
  // The temporary folder that holds the program directory.
  const QTemporaryDir& root() const { return root_; }

  // Makes a folder with its parents; one that cannot be made fails the test.
  void mkpath(const QString& name) const;
  // Writes a file whole, making its folder first; see write_fixture.
  void write(const QString& name, const QByteArray& bytes) const;
  // A file's bytes; empty when it cannot be read.
  QByteArray read(const QString& name) const;

  // Makes `name` the project the program opens at its start: the project's
  // folder with its bin folder, and a settings file that names it, holding
  // `remembered` as well (other items of the settings file).
  void add_open_project(const QByteArray& remembered = QByteArray(),
                        const QString& name = QStringLiteral("Plant1")) const;

 private:
  QTemporaryDir root_;
  QString program_;
};

// A program directory, the fake services and the main window over them.
struct ProgramFixture {
  explicit ProgramFixture(const QString& folder = QString());
  ~ProgramFixture();

  // Builds and shows the main window; `services` replaces the fakes where a
  // test needs a real service or one of its own.
  void start();
  void start(const Services& services);

  // Clicks the main window's `button` and lets `act` drive the screen it
  // opens; fails unless a screen opened, or one named otherwise than
  // `screen` when that is given. A screen left open is cancelled.
  void open(const char* button, const char* screen, const std::function<void(QDialog*)>& act);

  ProgramDir program;
  FakeServices fakes;
  std::unique_ptr<TFMain> window;
};

// Fails the running test at the caller's line, naming the control, and
// stops the program: nothing is left to drive.
[[noreturn]] void missing_control(const QObject* parent, const char* name, const std::source_location& where);

// The child of `parent` with this object name.
template <typename Widget = QWidget>
Widget* find(const QObject* parent, const char* name,
             const std::source_location& where = std::source_location::current()) {
  auto* widget = parent->findChild<Widget*>(QString::fromLatin1(name));
  if (widget == nullptr) missing_control(parent, name, where);
  return widget;
}

// Clicks a control with the mouse where a user does: a check box on its
// box, which alone reacts, anything else in its middle.
void click(QWidget* widget);
void click(const QObject* parent, const char* name,
           const std::source_location& where = std::source_location::current());

}  // namespace sw48230::test
