#pragma once

#include <QString>

class QWidget;

namespace sw48230 {

// The dialogs that pick a file. Screens get them through this interface so
// that tests can answer them with a path, without a real dialog.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;

  // The file the user chose to read, or an empty text when cancelled.
  // `filter` is in the dialog's form, "CSV files (*.csv)".
  virtual QString open_file(QWidget* parent, const QString& title, const QString& start, const QString& filter) = 0;

  // The file the user chose to write (an existing one only after the user
  // agreed to replace it), or an empty text when cancelled.
  virtual QString save_file(QWidget* parent, const QString& title, const QString& start, const QString& filter) = 0;
};

class QtFileDialogs final : public FileDialogs {
 public:
  QString open_file(QWidget* parent, const QString& title, const QString& start, const QString& filter) override;
  QString save_file(QWidget* parent, const QString& title, const QString& start, const QString& filter) override;
};

}  // namespace sw48230
