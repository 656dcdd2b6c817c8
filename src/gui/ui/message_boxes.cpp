#include "gui/ui/message_boxes.h"

#include <QMessageBox>
#include <QPushButton>

#include "core/common/product.h"

namespace sw48230 {
namespace {

// Qt's own captions would stay English: the program loads no Qt translation.
void show_box(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QString& ok) {
  QMessageBox box(icon, QString::fromUtf8(SW_Code), text, QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setText(ok);
  box.exec();
}

}  // namespace

void QtMessageBoxes::error(QWidget* parent, const QString& text) {
  show_box(parent, QMessageBox::Critical, text, buttons().ok);
}

void QtMessageBoxes::warning(QWidget* parent, const QString& text) {
  show_box(parent, QMessageBox::Warning, text, buttons().ok);
}

bool QtMessageBoxes::question(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(SW_Code), text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::No);
  box.button(QMessageBox::Yes)->setText(buttons().yes);
  box.button(QMessageBox::No)->setText(buttons().no);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace sw48230
