#include "gui/ui/message_boxes.h"

#include <QMessageBox>

#include "core/app/product.h"

namespace sw48230 {

void QtMessageBoxes::error(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QString::fromUtf8(SW_Code), text, QMessageBox::Ok);
}

void QtMessageBoxes::warning(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, QString::fromUtf8(SW_Code), text, QMessageBox::Ok);
}

bool QtMessageBoxes::question(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, QString::fromUtf8(SW_Code), text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace sw48230
