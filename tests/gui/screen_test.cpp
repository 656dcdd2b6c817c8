#include "screen_test.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace sw48230::test {

// The offscreen platform that the tests run on says so when it lacks a
// window function (size hints, raise, keyboard grab); that is the platform's
// gap, not a fault of the screen.
void ScreenTest::init() {
  QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!This plugin does not support )")));
}

void write_fixture(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
  QVERIFY2(written, qPrintable(path + QStringLiteral(": ") + file.errorString()));
}

}  // namespace sw48230::test
