#include "gui/ui/screen.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "core/app/main_window_messages.h"
#include "core/common/product.h"
#include "gui/ui/message_boxes.h"
#include "gui/ui/texts.h"

namespace sw48230 {

Screen::Screen(const Context& context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      L_SW_Code(new QLabel(this)),
      L_SW_Desc(new QLabel(this)),
      body_(new QVBoxLayout(this)) {
  setModal(true);
  L_SW_Code->setObjectName("L_SW_Code");
  L_SW_Desc->setObjectName("L_SW_Desc");
  QFont code_font = L_SW_Code->font();
  code_font.setPointSizeF(code_font.pointSizeF() * 1.8);
  code_font.setBold(true);
  L_SW_Code->setFont(code_font);
  set_caption(L_SW_Code, QString::fromUtf8(SW_Code));
  body_->addWidget(L_SW_Code);
  body_->addWidget(L_SW_Desc);
}

int Screen::Open() {
  FormShow();
  return exec();
}

void Screen::reject() {
  if (Has_Unsaved_Changes() && !context_.services.boxes.question(this, text(Msg_Exit_Without_Saving))) return;
  QDialog::reject();
}

QString Screen::text(int index) const { return message(context_.messages, index); }

void Screen::Show_When_Up(void (MessageBoxes::*box)(QWidget*, const QString&), const QString& message) {
  QTimer::singleShot(0, this, [this, box, message] { (context_.services.boxes.*box)(this, message); });
}

}  // namespace sw48230
