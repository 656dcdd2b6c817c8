#include "gui/ui/texts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include "core/common/failure.h"
#include "core/common/paths.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"

namespace sw48230 {

QString to_qstring(const std::string& utf8) { return QString::fromStdString(utf8); }

std::string to_utf8(const QString& text) { return text.toStdString(); }

QString message(const MessageTable& messages, int index) { return to_qstring(messages.text(index)); }

QString path_and_reason(const std::filesystem::path& path, const QString& reason) {
  return to_qstring(path_to_utf8(path)) + QLatin1Char('\n') + reason;
}

QString path_and_reason(const std::filesystem::path& path, const std::string& reason) {
  return path_and_reason(path, to_qstring(reason));
}

QString failure_text(const MessageTable& messages, const Failure& failure, const std::filesystem::path& path) {
  if (path.empty()) return to_qstring(Failure_Message(messages, failure));
  return path_and_reason(path, Failure_Text(messages, failure));
}

void set_caption(QWidget* widget, const QString& caption, const QString& hint) {
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setTextFormat(Qt::PlainText);  // a translated text is never markup
    label->setText(caption);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(caption);
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(caption);
  } else {
    widget->setWindowTitle(caption);
  }
  widget->setToolTip(hint);
  widget->setAccessibleName(caption.isEmpty() ? hint : caption);
}

void set_hint(QWidget* widget, const QString& hint) {
  widget->setToolTip(hint);
  widget->setAccessibleName(hint);
}

}  // namespace sw48230
