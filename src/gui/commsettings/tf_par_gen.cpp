#include "gui/commsettings/tf_par_gen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/commsettings/comm_settings_messages.h"
#include "gui/ui/message_boxes.h"
#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"

namespace sw48230 {
namespace {

constexpr int Address_Width = 44;

void fill(QComboBox* list, const std::vector<std::string>& texts) {
  list->clear();
  for (const std::string& text : texts) list->addItem(to_qstring(text));
}

}  // namespace

TFParGen::TFParGen(const Context& context, QWidget* parent) : Screen(context, parent) {
  setObjectName("TFParGen");

  QWidget* device = make_group(Select_Device_Group, "GB_select_Device");
  QWidget* can = make_group(CAN_Group, "GB_CAN");
  QWidget* modbus = make_group(Modbus_TCP_Master_Group, "GB_Modbus_TCP_Master");

  // Select Device.
  CB_Select_Device = make_named<QComboBox>(device, "CB_Select_Device");
  auto* device_layout = new QVBoxLayout(device);
  device_layout->setContentsMargins(0, 0, 0, 0);
  device_layout->addWidget(CB_Select_Device);

  // CAN.
  L_CAN_Baud = make_named<QLabel>(can, "L_CAN_Baud");
  CB_CAN_Baud = make_named<QComboBox>(can, "CB_CAN_Baud");
  L_CAN_Type = make_named<QLabel>(can, "L_CAN_Type");
  CB_CAN_Type = make_named<QComboBox>(can, "CB_CAN_Type");
  fill(CB_CAN_Type, CAN_Type_Texts());
  L_CAN_Baud->setBuddy(CB_CAN_Baud);
  L_CAN_Type->setBuddy(CB_CAN_Type);
  auto* can_layout = new QGridLayout(can);
  can_layout->setContentsMargins(0, 0, 0, 0);
  can_layout->addWidget(L_CAN_Baud, 0, 0);
  can_layout->addWidget(CB_CAN_Baud, 0, 1);
  can_layout->addWidget(L_CAN_Type, 1, 0);
  can_layout->addWidget(CB_CAN_Type, 1, 1);
  can_layout->setColumnStretch(1, 1);

  // Modbus TCP Master.
  L_Modbus_TCP_Master_IP_Add = make_named<QLabel>(modbus, "L_Modbus_TCP_Master_IP_Add");
  L_Modbus_TCP_Master_SM_Add = make_named<QLabel>(modbus, "L_Modbus_TCP_Master_SM_Add");
  CB_En_GAT_Modbus_TCP_Master = make_named<QCheckBox>(modbus, "CB_En_GAT_Modbus_TCP_Master");
  for (std::size_t i = 0; i < 4; ++i) {
    const std::string byte = std::to_string(i + 1);
    E_IP[i] = make_edit(("E_IP" + byte + "_Modbus_TCP_Master").c_str(), Address_Width);
    E_SM[i] = make_edit(("E_SM" + byte + "_Modbus_TCP_Master").c_str(), Address_Width);
    E_GAT[i] = make_edit(("E_GAT" + byte + "_Modbus_TCP_Master").c_str(), Address_Width);
    address_chain_[i] = E_IP[i];
    address_chain_[4 + i] = E_SM[i];
    address_chain_[8 + i] = E_GAT[i];
  }
  for (QLineEdit* edit : address_chain_) edit->installEventFilter(this);
  L_ModbusTCPMaster_Port = make_named<QLabel>(modbus, "L_ModbusTCPMaster_Port");
  E_Port_Modbus_TCP_Master = make_edit("E_Port_Modbus_TCP_Master", 2 * Address_Width);
  L_ModbusTCPMaster_TimeOut = make_named<QLabel>(modbus, "L_ModbusTCPMaster_TimeOut");
  E_TO_Modbus_TCP_Master = make_edit("E_TO_Modbus_TCP_Master", 2 * Address_Width);
  CB_Dont_Disconnect_Modbus_TCP_Master = make_named<QCheckBox>(modbus, "CB_Dont_Disconnect_Modbus_TCP_Master");
  L_Modbus_TCP_Master_IP_Add->setBuddy(E_IP[0]);
  L_Modbus_TCP_Master_SM_Add->setBuddy(E_SM[0]);
  L_ModbusTCPMaster_Port->setBuddy(E_Port_Modbus_TCP_Master);
  L_ModbusTCPMaster_TimeOut->setBuddy(E_TO_Modbus_TCP_Master);

  auto* modbus_layout = new QGridLayout(modbus);
  modbus_layout->setContentsMargins(0, 0, 0, 0);
  const auto add_address_row = [modbus_layout](int row, QWidget* caption, const std::array<QLineEdit*, 4>& bytes) {
    modbus_layout->addWidget(caption, row, 0);
    for (int i = 0; i < 4; ++i) modbus_layout->addWidget(bytes[static_cast<std::size_t>(i)], row, 1 + i);
  };
  add_address_row(0, L_Modbus_TCP_Master_IP_Add, E_IP);
  add_address_row(1, L_Modbus_TCP_Master_SM_Add, E_SM);
  add_address_row(2, CB_En_GAT_Modbus_TCP_Master, E_GAT);
  // Without the port row, the time-out moves up into its place.
  modbus_layout->addWidget(L_ModbusTCPMaster_Port, 3, 0);
  modbus_layout->addWidget(E_Port_Modbus_TCP_Master, 3, 1, 1, 2);
  modbus_layout->addWidget(L_ModbusTCPMaster_TimeOut, 4, 0);
  modbus_layout->addWidget(E_TO_Modbus_TCP_Master, 4, 1, 1, 2);
  modbus_layout->addWidget(CB_Dont_Disconnect_Modbus_TCP_Master, 5, 0, 1, 5);

  Btn_OK = make_named<QPushButton>(this, "Btn_OK");
  Btn_Cancel = make_named<QPushButton>(this, "Btn_Cancel");
  Btn_OK->setDefault(true);
  connect(Btn_OK, &QPushButton::clicked, this, &TFParGen::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &TFParGen::reject);

  for (const Group& group : groups_) body()->addWidget(group.box);
  // Reading order: each group's fold control on its caption line before its
  // fields, the addresses row by row, then the confirming buttons.
  const Group& device_group = groups_[Select_Device_Group];
  const Group& can_group = groups_[CAN_Group];
  const Group& modbus_group = groups_[Modbus_TCP_Master_Group];
  set_tab_chain({device_group.collapse,
                 device_group.expand,
                 CB_Select_Device,
                 can_group.collapse,
                 can_group.expand,
                 CB_CAN_Baud,
                 CB_CAN_Type,
                 modbus_group.collapse,
                 modbus_group.expand,
                 E_IP[0],
                 E_IP[1],
                 E_IP[2],
                 E_IP[3],
                 E_SM[0],
                 E_SM[1],
                 E_SM[2],
                 E_SM[3],
                 CB_En_GAT_Modbus_TCP_Master,
                 E_GAT[0],
                 E_GAT[1],
                 E_GAT[2],
                 E_GAT[3],
                 E_Port_Modbus_TCP_Master,
                 E_TO_Modbus_TCP_Master,
                 CB_Dont_Disconnect_Modbus_TCP_Master,
                 Btn_OK,
                 Btn_Cancel});
  body()->addLayout(button_row({Btn_OK, Btn_Cancel}));
  // The window follows its content as groups fold and fields hide.
  body()->setSizeConstraint(QLayout::SetFixedSize);

  connect(CB_Select_Device, &QComboBox::currentIndexChanged, this, [this] {
    On_Change();
    Move_GroupBoxs();
    Update_CAN_Baud();
  });
  for (QComboBox* list : {CB_CAN_Baud, CB_CAN_Type})
    connect(list, &QComboBox::currentIndexChanged, this, &TFParGen::On_Change);
  for (QCheckBox* box : {CB_En_GAT_Modbus_TCP_Master, CB_Dont_Disconnect_Modbus_TCP_Master}) {
    connect(box, &QCheckBox::clicked, this, &TFParGen::On_Change);
  }

  Set_Lang();
  CB_Select_Device->setCurrentIndex(Device_Type_Jumper);
  Update_CAN_Baud();
  Move_GroupBoxs();
  Is_Change_ = false;
}

QWidget* TFParGen::make_group(GroupIndex index, const char* name) {
  Group& group = groups_[index];
  group.box = make_named<QGroupBox>(this, name);
  const QString suffix = QString::fromLatin1(name).mid(3);  // after "GB_"
  group.collapse = new QToolButton(group.box);
  group.collapse->setObjectName("Btn_Collapse_" + suffix);
  group.collapse->setArrowType(Qt::UpArrow);
  group.expand = new QToolButton(group.box);
  group.expand->setObjectName("Btn_Expande_" + suffix);
  group.expand->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {group.collapse, group.expand}) {
    button->setAutoRaise(true);
    button->setFixedSize(18, 18);
  }
  // The two controls sit on the caption line, in the top right corner; the
  // box places them whenever it is resized.
  group.box->installEventFilter(this);
  group.fields = new QWidget(group.box);
  auto* layout = new QVBoxLayout(group.box);
  layout->addWidget(group.fields);
  group.expand->hide();

  connect(group.collapse, &QToolButton::clicked, this, [this, index] { Set_Group_Expanded(index, false); });
  connect(group.expand, &QToolButton::clicked, this, [this, index] { Set_Group_Expanded(index, true); });
  return group.fields;
}

// Folding changes no value: folded fields are still checked and saved.
void TFParGen::Set_Group_Expanded(GroupIndex index, bool expanded) {
  Group& group = groups_[index];
  // Folded from the keyboard, the focus stays on the spot, now the other control.
  const QWidget* focus = focusWidget();
  const bool had_focus = focus == group.collapse || focus == group.expand;
  group.fields->setVisible(expanded);
  group.collapse->setVisible(expanded);
  group.expand->setVisible(!expanded);
  if (had_focus) (expanded ? group.collapse : group.expand)->setFocus();
  Move_GroupBoxs();
}

QLineEdit* TFParGen::make_edit(const char* name, int width) {
  auto* edit = make_named<QLineEdit>(groups_[Modbus_TCP_Master_Group].fields, name);
  edit->setFixedWidth(width);
  connect(edit, &QLineEdit::textChanged, this, &TFParGen::On_Change);
  return edit;
}

void TFParGen::Set_Lang() {
  setWindowTitle(text(Msg_Comm_Title));
  set_caption(L_SW_Desc, text(Msg_Comm_Description));
  set_caption(Btn_OK, text(Msg_Comm_OK), text(Msg_Comm_OK_Hint));
  set_caption(Btn_Cancel, text(Msg_Comm_Cancel), text(Msg_Comm_Cancel_Hint));
  set_caption(groups_[Select_Device_Group].box, text(Msg_Comm_Select_Device));
  {
    const int selected = CB_Select_Device->currentIndex();
    const QSignalBlocker block(CB_Select_Device);
    CB_Select_Device->clear();
    CB_Select_Device->addItems({text(Msg_Comm_Device_Jumper), text(Msg_Comm_Device_Dip_Switch)});
    CB_Select_Device->setCurrentIndex(selected < 0 ? Device_Type_Jumper : selected);
  }
  set_hint(CB_Select_Device, text(Msg_Comm_Device_Hint));
  set_caption(groups_[CAN_Group].box, text(Msg_Comm_CAN));
  set_caption(L_CAN_Baud, text(Msg_Comm_CAN_Baud));
  set_hint(CB_CAN_Baud, text(Msg_Comm_CAN_Baud_Hint));
  set_caption(L_CAN_Type, text(Msg_Comm_CAN_Type));
  set_hint(CB_CAN_Type, text(Msg_Comm_CAN_Type_Hint));
  set_caption(groups_[Modbus_TCP_Master_Group].box, text(Msg_Comm_Master));
  set_caption(L_Modbus_TCP_Master_IP_Add, text(Msg_Comm_IP));
  set_caption(L_Modbus_TCP_Master_SM_Add, text(Msg_Comm_Subnet));
  set_caption(CB_En_GAT_Modbus_TCP_Master, text(Msg_Comm_Gateway), text(Msg_Comm_Gateway_Hint));
  for (std::size_t i = 0; i < 4; ++i) {
    const int offset = static_cast<int>(i);
    set_hint(E_IP[i], text(Msg_Comm_First_IP_Hint + offset));
    set_hint(E_SM[i], text(Msg_Comm_First_Subnet_Hint + offset));
    set_hint(E_GAT[i], text(Msg_Comm_First_Gateway_Hint + offset));
  }
  set_caption(L_ModbusTCPMaster_Port, text(Msg_Comm_Port));
  set_hint(E_Port_Modbus_TCP_Master, text(Msg_Comm_Port_Hint));
  set_caption(L_ModbusTCPMaster_TimeOut, text(Msg_Comm_Time_Out));
  set_hint(E_TO_Modbus_TCP_Master, text(Msg_Comm_Time_Out_Hint));
  set_caption(CB_Dont_Disconnect_Modbus_TCP_Master, text(Msg_Comm_Keep_Connected), text(Msg_Comm_Keep_Connected_Hint));
  for (const Group& group : groups_) {
    set_hint(group.collapse, text(Msg_Comm_Collapse));
    set_hint(group.expand, text(Msg_Comm_Expand));
  }
}

void TFParGen::setSettings(const CommSettings& settings) {
  CB_Select_Device->setCurrentIndex(settings.Device_Type);
  CB_CAN_Baud->setCurrentIndex(settings.CAN_Baud);
  CB_CAN_Type->setCurrentIndex(settings.CAN_Type);
  for (std::size_t i = 0; i < 4; ++i) {
    E_IP[i]->setText(to_qstring(settings.TCP_IP[i]));
    E_SM[i]->setText(to_qstring(settings.TCP_SUB[i]));
    E_GAT[i]->setText(to_qstring(settings.TCP_GAT[i]));
  }
  CB_En_GAT_Modbus_TCP_Master->setChecked(settings.En_GAT);
  E_Port_Modbus_TCP_Master->setText(to_qstring(settings.Port));
  E_TO_Modbus_TCP_Master->setText(to_qstring(settings.Time_Out));
  CB_Dont_Disconnect_Modbus_TCP_Master->setChecked(settings.Dis_Sock);
}

CommSettings TFParGen::settings() const {
  CommSettings settings;
  settings.Device_Type = CB_Select_Device->currentIndex();
  settings.CAN_Baud = CB_CAN_Baud->currentIndex();
  settings.CAN_Type = CB_CAN_Type->currentIndex();
  for (std::size_t i = 0; i < 4; ++i) {
    settings.TCP_IP[i] = to_utf8(E_IP[i]->text());
    settings.TCP_SUB[i] = to_utf8(E_SM[i]->text());
    settings.TCP_GAT[i] = to_utf8(E_GAT[i]->text());
  }
  settings.En_GAT = CB_En_GAT_Modbus_TCP_Master->isChecked();
  settings.Port = to_utf8(E_Port_Modbus_TCP_Master->text());
  settings.Time_Out = to_utf8(E_TO_Modbus_TCP_Master->text());
  settings.Dis_Sock = CB_Dont_Disconnect_Modbus_TCP_Master->isChecked();
  return settings;
}

void TFParGen::showEvent(QShowEvent* event) {
  Screen::showEvent(event);
  FormActivate();
}

int TFParGen::Open(const ParGenFile& file, const std::filesystem::path& path, SettingsStore store) {
  file_ = file;
  path_ = path;
  store_ = std::move(store);
  return Screen::Open();
}

void TFParGen::FormShow() {
  const Result<CommSettings> loaded = Load_Comm_Settings(file_);
  setSettings(loaded ? *loaded : Unreadable_Comm_Settings());
  Is_Change_ = false;
  Move_GroupBoxs();
  Update_CAN_Baud();
  if (!loaded) Show_When_Up(&MessageBoxes::error, failure_text(context_.messages, loaded.failure(), path_));
}

// A window placed above the top of the screen could not be moved back by
// its title bar.
void TFParGen::FormActivate() {
  const QScreen* current = screen();
  if (current == nullptr) return;
  const int top = current->availableGeometry().top();
  if (frameGeometry().top() < top) move(x(), top);
}

void TFParGen::On_Change() { Is_Change_ = true; }

void TFParGen::Move_GroupBoxs() {
  const bool jumper = CB_Select_Device->currentIndex() == Device_Type_Jumper;
  L_CAN_Type->setVisible(jumper);
  CB_CAN_Type->setVisible(jumper);
  L_ModbusTCPMaster_Port->setVisible(jumper);
  E_Port_Modbus_TCP_Master->setVisible(jumper);
  CB_Dont_Disconnect_Modbus_TCP_Master->setVisible(jumper);
}

void TFParGen::Update_CAN_Baud() {
  const int selected = CB_CAN_Baud->currentIndex();
  const QSignalBlocker block(CB_CAN_Baud);
  fill(CB_CAN_Baud, CAN_Baud_Texts());
  CB_CAN_Baud->setCurrentIndex(selected);
}

bool TFParGen::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    for (const Group& group : groups_) {
      if (watched != group.box) continue;
      for (QToolButton* button : {group.collapse, group.expand}) {
        button->move(group.box->width() - button->width() - 4, 0);
        button->raise();
      }
    }
  }
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->text() == QStringLiteral(".")) {
    const auto at = std::find(address_chain_.begin(), address_chain_.end(), watched);
    if (at != address_chain_.end()) {
      // "." separates the bytes as the user reads an address: it moves on
      // instead of going into the field.
      const auto next = at + 1;
      if (next != address_chain_.end() && (*next)->isVisible() && (*next)->isEnabled()) (*next)->setFocus();
      return true;
    }
  }
  return Screen::eventFilter(watched, event);
}

QLineEdit* TFParGen::Field_Edit(const CommCheckFailure& failure) const {
  const auto byte = static_cast<std::size_t>(failure.byte);
  switch (failure.field) {
    case CommField::IP:
      return E_IP[byte];
    case CommField::Subnet:
      return E_SM[byte];
    case CommField::Gateway:
      return E_GAT[byte];
    case CommField::Port:
      return E_Port_Modbus_TCP_Master;
    case CommField::Time_Out:
      break;
  }
  return E_TO_Modbus_TCP_Master;
}

void TFParGen::Btn_OKClick() {
  const CommSettings current = settings();
  if (const auto failed = Controllo_Dati(current)) {
    context_.services.boxes.error(this, to_qstring(Failure_Message(context_.messages, *failed)));
    Field_Edit(*failed)->setFocus();
    return;
  }
  if (const auto failure = store_(current)) {
    context_.services.boxes.error(this, failure_text(context_.messages, *failure, path_));
    return;
  }
  accept();
}

}  // namespace sw48230
