#include "gui/project/tf_new_project.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/common/paths.h"
#include "core/project/project_dialog_messages.h"
#include "core/project/project_store.h"
#include "gui/ui/message_boxes.h"
#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"

namespace sw48230 {

TFNew_Project::TFNew_Project(const Context& context, QWidget* parent)
    : Screen(context, parent),
      Label1(make_named<QLabel>(this, "Label1")),
      E_New_Proj(make_named<QLineEdit>(this, "E_New_Proj")),
      Btn_OK(make_named<QPushButton>(this, "Btn_OK")),
      Btn_Cancel(make_named<QPushButton>(this, "Btn_Cancel")) {
  setObjectName("TFNew_Project");
  Label1->setBuddy(E_New_Proj);

  // Enter in the name field confirms; the buttons must not take it as well.
  Btn_OK->setAutoDefault(false);
  Btn_Cancel->setAutoDefault(false);
  connect(E_New_Proj, &QLineEdit::returnPressed, this, &TFNew_Project::Btn_OKClick);
  connect(Btn_OK, &QPushButton::clicked, this, &TFNew_Project::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

  body()->addWidget(Label1);
  body()->addWidget(E_New_Proj);
  body()->addLayout(button_row({Btn_OK, Btn_Cancel}));

  Set_Lang();
}

void TFNew_Project::Set_Lang() {
  setWindowTitle(text(Msg_New_Project_Title));
  set_caption(L_SW_Desc, text(Msg_New_Project_Description));
  set_caption(Label1, text(Msg_New_Project_Name));
  set_hint(E_New_Proj, text(Msg_New_Project_Name_Hint));
  set_caption(Btn_OK, text(Msg_New_Project_OK), text(Msg_New_Project_OK_Hint));
  set_caption(Btn_Cancel, text(Msg_New_Project_Cancel), text(Msg_New_Project_Cancel_Hint));
}

int TFNew_Project::Open(const std::filesystem::path& projects_dir) {
  projects_dir_ = projects_dir;
  return Screen::Open();
}

void TFNew_Project::FormShow() {
  E_New_Proj->clear();
  E_New_Proj->setFocus();
}

void TFNew_Project::Btn_OKClick() {
  // The name is taken as typed: blanks are part of it and the name rules
  // judge them.
  const std::string name = to_utf8(E_New_Proj->text());
  const Result<std::filesystem::path> created = Create_Project(projects_dir_, name);
  if (!created) {
    context_.services.boxes.error(this, failure_text(context_.messages, created.failure()));
    return;
  }
  name_ = name;
  folder_ = *created;
  accept();
}

}  // namespace sw48230
