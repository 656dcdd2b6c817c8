#include "gui/update/tf_boot_ser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/common/paths.h"
#include "core/update/update_messages.h"
#include "gui/ui/icons.h"
#include "gui/ui/message_boxes.h"
#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"
#include "gui/update/run_updater.h"
#include "platform/serial_ports.h"

namespace sw48230 {
TFBootSer::TFBootSer(const Context& context, QWidget* parent)
    : Screen(context, parent),
      Page_Port(make_named<QWidget>(this, "Page_Port")),
      CB_Com(make_named<QComboBox>(Page_Port, "CB_Com")),
      Btn_COM_List(make_named<QPushButton>(Page_Port, "Btn_COM_List")),
      Btn_Cancel(make_named<QPushButton>(Page_Port, "Btn_Cancel")),
      Btn_Next(make_named<QPushButton>(Page_Port, "Btn_Next")),
      options_(this) {
  setObjectName("TFBootSer");

  auto* port_layout = new QVBoxLayout(Page_Port);
  port_layout->setContentsMargins(0, 0, 0, 0);
  for (std::size_t i = 0; i < L_Steps.size(); ++i) {
    const std::string name = "L_Steps" + std::to_string(i + 1);
    L_Steps[i] = make_named<QLabel>(Page_Port, name.c_str());
    port_layout->addWidget(L_Steps[i]);
  }
  QFont heading = L_Steps[0]->font();
  heading.setBold(true);
  L_Steps[0]->setFont(heading);
  L_Steps[3]->setBuddy(CB_Com);

  CB_Com->setEditable(false);
  CB_Com->setMinimumWidth(160);
  Btn_COM_List->setIcon(program_icon(IconKind::Refresh, 20));
  auto* port_row = new QHBoxLayout;
  port_row->addWidget(CB_Com);
  port_row->addWidget(Btn_COM_List);
  port_row->addStretch();
  port_layout->addLayout(port_row);
  port_layout->addLayout(button_row({Btn_Cancel, Btn_Next}));
  Btn_Next->setDefault(true);

  body()->addWidget(Page_Port);
  body()->addWidget(options_.page);
  // The window follows the page that is shown.
  body()->setSizeConstraint(QLayout::SetFixedSize);

  connect(Btn_COM_List, &QPushButton::clicked, this, &TFBootSer::update_ComPort);
  connect(Btn_Cancel, &QPushButton::clicked, this, &TFBootSer::reject);
  connect(Btn_Next, &QPushButton::clicked, this, &TFBootSer::Btn_NextClick);
  connect(options_.Btn_Update, &QPushButton::clicked, this, &TFBootSer::Btn_UpdateClick);

  Show_Page(1);
  Set_Lang();
}

void TFBootSer::Set_Lang() {
  setWindowTitle(text(Msg_Boot_Ser_Title));
  set_caption(L_SW_Desc, text(Msg_Boot_Ser_Description));
  for (std::size_t i = 0; i < L_Steps.size(); ++i)
    set_caption(L_Steps[i], text(Msg_Boot_Ser_First_Step + static_cast<int>(i)));
  set_hint(Btn_COM_List, text(Msg_Boot_Ser_Refresh_Hint));
  set_hint(CB_Com, text(Msg_Boot_Ser_Port_Hint));
  set_caption(options_.L_Options, text(Msg_Boot_Ser_Options));
  set_caption(options_.CB_Firmware, text(Msg_Boot_Ser_Firmware), text(Msg_Boot_Ser_Firmware_Hint));
  set_caption(options_.CB_Read_Firm, text(Msg_Boot_Ser_Read_Firmware), text(Msg_Boot_Ser_Read_Firmware_Hint));
  set_caption(options_.CB_Conf, text(Msg_Boot_Ser_Configuration), text(Msg_Boot_Ser_Configuration_Hint));
  set_caption(options_.CB_Read_Conf, text(Msg_Boot_Ser_Read_Configuration), text(Msg_Boot_Ser_Read_Configuration_Hint));
  set_caption(Btn_Cancel, text(Msg_Boot_Ser_Cancel), text(Msg_Boot_Ser_Cancel_Hint));
  set_caption(Btn_Next, text(Msg_Boot_Ser_Next), text(Msg_Boot_Ser_Next_Hint));
  set_caption(options_.Btn_Update, text(Msg_Boot_Ser_Update), text(Msg_Boot_Ser_Update_Hint));
}

// The check boxes are left as the user set them at the last opening.
int TFBootSer::Open(const UpdaterFolders& folders) {
  folders_ = folders;
  return Screen::Open();
}

void TFBootSer::FormShow() {
  update_ComPort();
  Show_Page(1);
}

void TFBootSer::update_ComPort() {
  ports_ = context_.services.serial_ports.EnumPorts();
  CB_Com->clear();
  for (const SerialPort& port : ports_) CB_Com->addItem(to_qstring(port.name));
  CB_Com->setCurrentIndex(ports_.empty() ? -1 : 0);
}

void TFBootSer::Show_Page(int page) {
  Page_Port->setVisible(page == 1);
  options_.page->setVisible(page == 2);
}

void TFBootSer::Btn_NextClick() {
  if (CB_Com->currentText().isEmpty()) {
    context_.services.boxes.error(this, text(Msg_Select_Port));
    return;
  }
  Show_Page(2);
  options_.Btn_Update->setFocus();
}

// The screen stays on this page afterwards, so the update can be run again.
void TFBootSer::Btn_UpdateClick() {
  const int selected = CB_Com->currentIndex();
  if (selected < 0 || static_cast<std::size_t>(selected) >= ports_.size()) return;
  const std::string arguments = Serial_Update_Arguments(ports_[static_cast<std::size_t>(selected)].device,
                                                        options_.choices(), folders_.master_dir, folders_.project_dir);
  Run_Updater(context_, this, Serial_Updater_Path(folders_.program_dir), to_qstring(arguments));
}

}  // namespace sw48230
