#include "gui/project/tf_open_conf.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/project/project_dialog_messages.h"
#include "core/project/project_store.h"
#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"

namespace sw48230 {

TFOpenConf::TFOpenConf(const Context& context, QWidget* parent)
    : Screen(context, parent),
      Label1(make_named<QLabel>(this, "Label1")),
      ListBox1(make_named<QListWidget>(this, "ListBox1")),
      Btn_OK(make_named<QPushButton>(this, "Btn_OK")),
      Btn_Cancel(make_named<QPushButton>(this, "Btn_Cancel")) {
  setObjectName("TFOpenConf");
  Label1->setBuddy(ListBox1);
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

  connect(ListBox1, &QListWidget::currentTextChanged, this, [this](const QString& name) {
    if (ListBox1->currentItem() != nullptr) Name_Conf_ = name;
  });
  connect(ListBox1, &QListWidget::itemActivated, this, &TFOpenConf::Btn_OKClick);
  connect(Btn_OK, &QPushButton::clicked, this, &TFOpenConf::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

  body()->addWidget(Label1);
  body()->addWidget(ListBox1);
  body()->addLayout(button_row({Btn_OK, Btn_Cancel}));

  Set_Lang();
}

void TFOpenConf::Set_Lang() {
  setWindowTitle(text(Msg_Open_Project_Title));
  set_caption(L_SW_Desc, text(Msg_Open_Project_Description));
  set_caption(Label1, text(Msg_Open_Project_List));
  set_hint(ListBox1, text(Msg_Open_Project_List_Hint));
  set_caption(Btn_OK, text(Msg_Open_Project_OK), text(Msg_Open_Project_OK_Hint));
  set_caption(Btn_Cancel, text(Msg_Open_Project_Cancel), text(Msg_Open_Project_Cancel_Hint));
}

int TFOpenConf::Open(const std::filesystem::path& projects_dir, const std::string& active) {
  projects_dir_ = projects_dir;
  active_ = active;
  return Screen::Open();
}

void TFOpenConf::FormShow() { Fill_List(); }

// The list is rebuilt at every opening, so folders added or removed outside the
// program appear or disappear.
void TFOpenConf::Fill_List() {
  const std::vector<std::string> projects = List_Projects(projects_dir_);
  ListBox1->clear();
  for (const std::string& name : projects) ListBox1->addItem(to_qstring(name));

  if (const auto selected = Preselect_Project(projects, active_)) {
    ListBox1->setCurrentRow(static_cast<int>(*selected));
    Name_Conf_ = to_qstring(projects[*selected]);
  }
  ListBox1->setFocus();
}

void TFOpenConf::Btn_OKClick() {
  // With nothing to choose, OK cannot name a project: a name kept from an
  // earlier use may no longer exist.
  if (ListBox1->count() == 0) {
    reject();
    return;
  }
  accept();
}

}  // namespace sw48230
