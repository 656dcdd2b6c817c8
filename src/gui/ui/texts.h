#pragma once

#include <QString>
#include <filesystem>
#include <string>

class QWidget;

namespace sw48230 {

class MessageTable;
struct Failure;

QString to_qstring(const std::string& utf8);
std::string to_utf8(const QString& text);

// The text of a message table entry.
QString message(const MessageTable& messages, int index);

// A box about a file: its path, then the reason on a line of its own.
QString path_and_reason(const std::filesystem::path& path, const QString& reason);
QString path_and_reason(const std::filesystem::path& path, const std::string& reason);

// A box about a core failure: the failure in the language of `messages`.
// With `path`, the path the user knows comes first, on a line of its own,
// and a text that follows its file's name goes under it without that name.
QString failure_text(const MessageTable& messages, const Failure& failure, const std::filesystem::path& path = {});

// Sets a control's visible text and hint (tooltip). Screen readers and UI
// automation get the caption as the control's name, else the hint.
void set_caption(QWidget* widget, const QString& caption, const QString& hint = QString());

// For controls without a visible text of their own (icon buttons, fields).
void set_hint(QWidget* widget, const QString& hint);

}  // namespace sw48230
