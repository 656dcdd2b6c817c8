#pragma once

#include <QString>
#include <string>

class QWidget;

namespace sw48230 {

class MessageTable;

QString to_qstring(const std::string& utf8);
std::string to_utf8(const QString& text);

// The text of a message table entry.
QString message(const MessageTable& messages, int index);

// Sets a control's visible text and hint (tooltip). Screen readers and UI
// automation get the caption as the control's name, else the hint.
void set_caption(QWidget* widget, const QString& caption, const QString& hint = QString());

// For controls without a visible text of their own (icon buttons, fields).
void set_hint(QWidget* widget, const QString& hint);

}  // namespace sw48230
