#include "gui/update/tf_boot_tcp.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/update/ethernet_update.h"
#include "core/update/ping.h"
#include "core/update/update_messages.h"
#include "gui/ui/message_boxes.h"
#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"
#include "gui/update/run_updater.h"
#include "platform/input_hold.h"

namespace sw48230 {
namespace {

const QColor Found_Color(0x00, 0x80, 0x00);
const QColor Not_Found_Color(0xFF, 0x00, 0x00);

}  // namespace

TFBootTCP::TFBootTCP(const Context& context, QWidget* parent)
    : Screen(context, parent),
      Page_Address(make_named<QWidget>(this, "Page_Address")),
      L_IP_Address(make_named<QLabel>(Page_Address, "L_IP_Address")),
      L_Ping(make_named<QLabel>(Page_Address, "L_Ping")),
      Btn_Ping(make_named<QPushButton>(Page_Address, "Btn_Ping")),
      LPing(make_named<QLabel>(Page_Address, "LPing")),
      Btn_Cancel(make_named<QPushButton>(Page_Address, "Btn_Cancel")),
      Btn_Next(make_named<QPushButton>(Page_Address, "Btn_Next")),
      options_(this) {
  setObjectName("TFBootTCP");

  auto* address_row = new QHBoxLayout;
  for (std::size_t i = 0; i < E_IP.size(); ++i) {
    const std::string name = "E_IP" + std::to_string(i + 1);
    E_IP[i] = make_named<QLineEdit>(Page_Address, name.c_str());
    E_IP[i]->setText(QStringLiteral("0"));
    E_IP[i]->setFixedWidth(48);
    address_row->addWidget(E_IP[i]);
    if (i < Label_Dot.size()) {
      const std::string dot = "Label" + std::to_string(i + 2);
      Label_Dot[i] = make_named<QLabel>(Page_Address, dot.c_str());
      Label_Dot[i]->setText(QStringLiteral("."));
      address_row->addWidget(Label_Dot[i]);
    }
  }
  for (std::size_t i = 0; i + 1 < E_IP.size(); ++i) E_IP[i]->installEventFilter(this);
  for (QLineEdit* field : E_IP) connect(field, &QLineEdit::textChanged, this, &TFBootTCP::Forget_Ping);
  address_row->addStretch();
  L_IP_Address->setBuddy(E_IP[0]);

  QFont heading = L_Ping->font();
  heading.setBold(true);
  L_Ping->setFont(heading);
  L_IP_Address->setFont(heading);
  QFont result_font = LPing->font();
  result_font.setBold(true);
  LPing->setFont(result_font);
  auto* ping_row = new QHBoxLayout;
  ping_row->addWidget(Btn_Ping);
  ping_row->addWidget(LPing, 1);

  auto* address_layout = new QVBoxLayout(Page_Address);
  address_layout->setContentsMargins(0, 0, 0, 0);
  address_layout->addWidget(L_IP_Address);
  address_layout->addLayout(address_row);
  address_layout->addSpacing(8);
  address_layout->addWidget(L_Ping);
  address_layout->addLayout(ping_row);
  address_layout->addLayout(button_row({Btn_Cancel, Btn_Next}));

  body()->addWidget(Page_Address);
  body()->addWidget(options_.page);
  body()->setSizeConstraint(QLayout::SetFixedSize);
  setMinimumWidth(360);

  set_tab_chain({E_IP[0], E_IP[1], E_IP[2], E_IP[3], Btn_Ping, Btn_Cancel, Btn_Next, options_.CB_Firmware,
                 options_.CB_Read_Firm, options_.CB_Conf, options_.CB_Read_Conf, options_.Btn_Update});

  connect(Btn_Ping, &QPushButton::clicked, this, &TFBootTCP::LbButton1Click);
  connect(Btn_Next, &QPushButton::clicked, this, &TFBootTCP::LbButton2Click);
  connect(Btn_Cancel, &QPushButton::clicked, this, &TFBootTCP::reject);
  connect(options_.Btn_Update, &QPushButton::clicked, this, &TFBootTCP::LbButton4Click);

  Show_Page(1);
  Set_Lang();
}

// L_IP_Address is captioned when the screen is shown.
void TFBootTCP::Set_Lang() {
  setWindowTitle(text(Msg_Boot_TCP_Title));
  set_caption(L_SW_Desc, text(Msg_Boot_TCP_Title));
  set_caption(L_Ping, text(Msg_Boot_TCP_Check_Connection));
  set_caption(Btn_Ping, text(Msg_Boot_TCP_Ping), text(Msg_Boot_TCP_Ping_Hint));
  for (std::size_t i = 0; i < E_IP.size(); ++i)
    set_hint(E_IP[i], text(Msg_Boot_TCP_First_Address_Hint + static_cast<int>(i)));
  set_caption(Btn_Cancel, text(Msg_Boot_TCP_Cancel), text(Msg_Boot_TCP_Cancel_Hint));
  set_caption(Btn_Next, text(Msg_Boot_TCP_Next), text(Msg_Boot_TCP_Next_Hint));
  set_caption(options_.L_Options, text(Msg_Boot_TCP_Options));
  set_caption(options_.CB_Firmware, text(Msg_Boot_TCP_Firmware), text(Msg_Boot_TCP_Firmware_Hint));
  set_caption(options_.CB_Read_Firm, text(Msg_Boot_TCP_Read_Firmware), text(Msg_Boot_TCP_Read_Firmware_Hint));
  set_caption(options_.CB_Conf, text(Msg_Boot_TCP_Configuration), text(Msg_Boot_TCP_Configuration_Hint));
  set_caption(options_.CB_Read_Conf, text(Msg_Boot_TCP_Read_Configuration), text(Msg_Boot_TCP_Read_Configuration_Hint));
  set_caption(options_.Btn_Update, text(Msg_Boot_TCP_Update), text(Msg_Boot_TCP_Update_Hint));
}

int TFBootTCP::Open(const UpdaterFolders& folders, const std::string& last_address, AddressKeeper keep) {
  folders_ = folders;
  last_address_ = last_address;
  keep_address_ = std::move(keep);
  return Screen::Open();
}

// The fields keep their texts from the last opening unless the remembered
// address is a valid one.
void TFBootTCP::FormShow() {
  Show_Page(1);
  LPing->clear();
  LPing->setToolTip(QString());
  const std::string& last = last_address_;
  if (!last.empty()) {
    if (const std::optional<IpParts> parts = Valid_IP(last)) {
      for (std::size_t i = 0; i < E_IP.size(); ++i) E_IP[i]->setText(to_qstring((*parts)[i]));
    }
  }
  set_caption(L_IP_Address, text(Msg_IP_Address) + QStringLiteral(" HD48230"));
  Esegui_Ping = false;
  E_IP[0]->setFocus();
}

void TFBootTCP::Show_Page(int page) {
  Page_Address->setVisible(page == 1);
  options_.page->setVisible(page == 2);
}

QString TFBootTCP::Address_Text() const {
  return to_qstring(sw48230::Address_Text(
      {to_utf8(E_IP[0]->text()), to_utf8(E_IP[1]->text()), to_utf8(E_IP[2]->text()), to_utf8(E_IP[3]->text())}));
}

void TFBootTCP::Show_Ping_Result(const QString& caption, bool found, const QString& detail) {
  QPalette palette = LPing->palette();
  palette.setColor(QPalette::WindowText, found ? Found_Color : Not_Found_Color);
  LPing->setPalette(palette);
  set_caption(LPing, caption, detail);
}

// A ping found the device at the address it was sent to: any edit of the
// address makes it say nothing about the device the updater would be sent to.
void TFBootTCP::Forget_Ping() {
  Esegui_Ping = false;
  LPing->clear();
  LPing->setToolTip(QString());
}

void TFBootTCP::LbButton1Click() {
  Forget_Ping();
  const Result<PingOutcome> result = [this] {
    // The ping keeps the window painting for up to ten seconds; a click
    // meanwhile, on Next or Cancel, must not act on a half-known result.
    const UserInputHold hold;
    return Run_Ping(context_.services.echo, context_.services.clock, to_utf8(Address_Text()));
  }();
  if (!result) {
    // The reason (such as ICMP not being allowed) goes into the tooltip.
    Show_Ping_Result(failure_text(context_.messages, result.failure()), false, to_qstring(result.failure().reason));
    return;
  }
  switch (*result) {
    case PingOutcome::Found:
      Esegui_Ping = true;
      Show_Ping_Result(text(Msg_Device_Found), true);
      break;
    case PingOutcome::Not_Found:
      Show_Ping_Result(text(Msg_Device_Not_Found), false);
      break;
  }
}

void TFBootTCP::LbButton2Click() {
  if (!Esegui_Ping) {
    context_.services.boxes.error(this, text(Msg_Not_In_Network));
    return;
  }
  Show_Page(2);
  options_.Btn_Update->setFocus();
  if (keep_address_) keep_address_(to_utf8(Address_Text()));
}

// The screen stays on this page afterwards, so the update can be run again.
void TFBootTCP::LbButton4Click() {
  const auto failure = Compile_XML_Parameter(folders_.program_dir, to_utf8(Address_Text()), options_.choices(),
                                             folders_.master_dir, folders_.project_dir);
  if (failure) {
    // An updater started without its parameters would work from an old
    // file, possibly with another device's address.
    context_.services.boxes.error(
        this, failure_text(context_.messages, *failure, Ethernet_Update_File(folders_.program_dir)));
    return;
  }
  Run_Updater(context_, this, Ethernet_Updater_Path(folders_.program_dir), QString());
}

bool TFBootTCP::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->text() == QStringLiteral(".")) {
    for (std::size_t i = 0; i + 1 < E_IP.size(); ++i) {
      if (watched != E_IP[i]) continue;
      // "." separates the parts as the user reads an address: it moves on
      // instead of going into the field.
      QLineEdit* next = E_IP[i + 1];
      if (next->isEnabled() && next->isVisible() && next->focusPolicy() != Qt::NoFocus) next->setFocus();
      return true;
    }
  }
  return Screen::eventFilter(watched, event);
}

}  // namespace sw48230
