#include "screen_test.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "core/common/paths.h"
#include "gui/app/tf_main.h"

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

ProgramDir::ProgramDir(const QString& folder) : program_(folder.isEmpty() ? root_.path() : root_.filePath(folder)) {
  QVERIFY2(root_.isValid(), qPrintable(root_.errorString()));
  mkpath(QString());
}

QString ProgramDir::path(const QString& name) const {
  return name.isEmpty() ? program_ : QDir(program_).filePath(name);
}

std::filesystem::path ProgramDir::fs_path() const { return path_from_utf8(program_.toStdString()); }

void ProgramDir::mkpath(const QString& name) const { QVERIFY2(QDir().mkpath(path(name)), qPrintable(path(name))); }

void ProgramDir::write(const QString& name, const QByteArray& bytes) const {
  const QString file = path(name);
  QVERIFY2(QDir().mkpath(QFileInfo(file).path()), qPrintable(file));
  write_fixture(file, bytes);
}

QByteArray ProgramDir::read(const QString& name) const {
  QFile file(path(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ProgramDir::add_open_project(const QByteArray& remembered, const QString& name) const {
  mkpath(QStringLiteral("PROJECTS/") + name + QStringLiteral("/bin"));
  write(QStringLiteral("Velstrom.xml"), "<Conf_Settings><lastproj><projectname>" + name.toUtf8() +
                                            "</projectname></lastproj>" + remembered + "</Conf_Settings>");
}

ProgramFixture::ProgramFixture(const QString& folder) : program(folder) {}

ProgramFixture::~ProgramFixture() = default;

void ProgramFixture::start() { start(fakes.services()); }

void ProgramFixture::start(const Services& services) {
  window = std::make_unique<TFMain>(services, program.fs_path());
  window->show();
}

void ProgramFixture::open(const char* button, const char* screen, const std::function<void(QDialog*)>& act) {
  bool shown = false;
  when_dialog_shown([&](QDialog* dialog) {
    shown = true;
    if (screen != nullptr) QCOMPARE(dialog->objectName(), QString::fromLatin1(screen));
    act(dialog);
    if (dialog->isVisible()) dialog->done(QDialog::Rejected);  // never leave a test hanging
  });
  click(window.get(), button);
  QVERIFY2(shown, button);
}

void missing_control(const QObject* parent, const char* name, const std::source_location& where) {
  const QString text = QStringLiteral("no control %1 in %2").arg(QString::fromLatin1(name), parent->objectName());
  QTest::qFail(qPrintable(text), where.file_name(), static_cast<int>(where.line()));
  qFatal("%s", qPrintable(text));
}

void click(QWidget* widget) {
  const bool check_box = qobject_cast<QCheckBox*>(widget) != nullptr;
  QTest::mouseClick(widget, Qt::LeftButton, {}, check_box ? QPoint(6, widget->height() / 2) : QPoint());
}

void click(const QObject* parent, const char* name, const std::source_location& where) {
  click(find<QWidget>(parent, name, where));
}

}  // namespace sw48230::test
