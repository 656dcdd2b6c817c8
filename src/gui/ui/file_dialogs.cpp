#include "gui/ui/file_dialogs.h"

#include <QFileDialog>

namespace sw48230 {

QString QtFileDialogs::open_file(QWidget* parent, const QString& title, const QString& start, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, title, start, filter);
}

QString QtFileDialogs::save_file(QWidget* parent, const QString& title, const QString& start, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, title, start, filter);
}

}  // namespace sw48230
