#pragma once

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <initializer_list>
#include <memory>

#include "fakes.h"
#include "gui/app/tf_main.h"

namespace sw48230::test {

// A program folder (with a blank in its name, as under "Program Files") with
// the project Plant1 open, and the main window over it.
struct UpdateFixture {
  QTemporaryDir root;
  QString program = root.filePath(QStringLiteral("Velstrom 2"));
  FakeServices fakes;
  std::unique_ptr<TFMain> window;

  // `device_type` goes into ParGen.xml, none when empty; `last_ip` is the
  // remembered device address.
  explicit UpdateFixture(const QByteArray& device_type = "0", const QByteArray& last_ip = "192.168.2.205") {
    QDir(root.path()).mkpath(QStringLiteral("Velstrom 2/PROJECTS/Plant1/bin"));
    write(QStringLiteral("Velstrom.xml"),
          "<Conf_Settings><lastproj><projectname>Plant1</projectname></lastproj><lastipadd><ipaddress>" + last_ip +
              "</ipaddress></lastipadd></Conf_Settings>");
    if (!device_type.isEmpty()) {
      write(QStringLiteral("PROJECTS/Plant1/ParGen.xml"),
            "<GeneralParameter><Device_Type>" + device_type + "</Device_Type></GeneralParameter>");
    }
  }

  // Builds the main window; `services` replaces the fakes' own where a test
  // needs a real service or one of its own.
  void start(const Services& services) {
    window = std::make_unique<TFMain>(services, program.toStdString());
    window->show();
  }
  void start() { start(fakes.services()); }

  QString path(const QString& name) const { return QDir(program).filePath(name); }

  void write(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  }

  // Shows the update screen as Update Device does after its build and lets
  // `act` drive it;
  // fails unless `screen` came up.
  void open_update(const char* screen, const std::function<void(QDialog*)>& act) {
    bool shown = false;
    when_dialog_shown([&](QDialog* dialog) {
      shown = true;
      QCOMPARE(dialog->objectName(), QString::fromLatin1(screen));
      act(dialog);
      if (dialog->isVisible()) dialog->reject();  // never leave a test hanging
    });
    const bool ethernet = QString::fromLatin1(screen) == QStringLiteral("TFBootTCP");
    window->Show_Update_Screen(ethernet ? ImageKind::Bank2 : ImageKind::Bank);
    QVERIFY(shown);
  }
};

template <typename Widget = QWidget>
Widget* find(QDialog* dialog, const char* name) {
  auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
  if (widget == nullptr) qFatal("no control %s", name);
  return widget;
}

// A control's texts by message index; -1 where it has none to check.
struct ControlTexts {
  const char* name;
  int caption;
  int hint;
};

// Each control shows its caption and hint from the message table and has a
// name for screen readers.
inline void expect_texts(QDialog* dialog, std::initializer_list<ControlTexts> controls) {
  for (const ControlTexts& c : controls) {
    QWidget* widget = find(dialog, c.name);
    if (c.caption >= 0) QCOMPARE(widget->property("text").toString(), default_text(c.caption));
    QCOMPARE(widget->toolTip(), c.hint < 0 ? QString() : default_text(c.hint));
    QVERIFY2(!widget->accessibleName().isEmpty(), c.name);
  }
}

inline void click(QDialog* dialog, const char* name) {
  QTest::mouseClick(find<QAbstractButton>(dialog, name), Qt::LeftButton);
}

// Clicks a check box on its box, where a user clicks it.
inline void tick(QDialog* dialog, const char* name) {
  auto* box = find<QAbstractButton>(dialog, name);
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}

inline bool shown(QDialog* dialog, const char* name) { return find(dialog, name)->isVisibleTo(dialog); }

}  // namespace sw48230::test
