#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

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

}  // namespace sw48230::test
