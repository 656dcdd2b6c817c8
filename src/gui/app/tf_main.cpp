#include "gui/app/tf_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "core/app/main_window_messages.h"
#include "core/common/failure.h"
#include "core/common/paths.h"
#include "core/common/product.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/update_check.h"
#include "core/project/project.h"
#include "core/project/project_checks.h"
#include "gui/app/tf_about.h"
#include "gui/commsettings/tf_par_gen.h"
#include "gui/i18n/tf_soft_options.h"
#include "gui/i18n/version_check.h"
#include "gui/project/tf_new_project.h"
#include "gui/project/tf_open_conf.h"
#include "gui/tables/tf_request_screen.h"
#include "gui/ui/icons.h"
#include "gui/ui/link_label.h"
#include "gui/ui/message_boxes.h"
#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"
#include "gui/update/tf_boot_ser.h"
#include "gui/update/tf_boot_tcp.h"
#include "platform/url_opener.h"

namespace sw48230 {
namespace {

// The settings file's own failure under the heading that says what was lost.
Failure settings_not_saved(const std::filesystem::path& settings_file, const Failure& failure) {
  return Headed_Failure(Msg_Settings_Not_Saved, path_to_utf8(settings_file), failure.reason);
}

}  // namespace

TFMain::TFMain(const Services& services, const std::filesystem::path& program_dir) : context_{messages_, services} {
  FormCreate(program_dir);
  Create_Screens();
}

void TFMain::FormCreate(const std::filesystem::path& program_dir) {
  setObjectName("TFMain");

  L_SW_Code = make_named<QLabel>(this, "L_SW_Code");
  L_SW_Desc = make_named<QLabel>(this, "L_SW_Desc");
  Btn_Info = make_named<QPushButton>(this, "Btn_Info");
  Btn_Opz = make_named<QPushButton>(this, "Btn_Opz");
  Btn_Close = make_named<QPushButton>(this, "Btn_Close");
  LL_Update = make_named<QLabel>(this, "LL_Update");
  L_Begin = make_named<QLabel>(this, "L_Begin");
  L_Name_Conf = make_named<QLabel>(this, "L_Name_Conf");
  L_Name_Conf_L2 = make_named<QLabel>(this, "L_Name_Conf_L2");
  for (int step = 1; step <= 8; ++step) {
    L_Step[step] = make_named<QLabel>(this, QStringLiteral("L_Step_%1").arg(step).toLatin1().constData());
  }
  L_Step[0] = nullptr;
  Btn_New = make_named<QPushButton>(this, "Btn_New");
  Btn_Open = make_named<QPushButton>(this, "Btn_Open");
  Btn_Prm_Gen = make_named<QPushButton>(this, "Btn_Prm_Gen");
  Btn_COB_Request = make_named<QPushButton>(this, "Btn_COB_Request");
  Btn_COB_Setting = make_named<QPushButton>(this, "Btn_COB_Setting");
  Btn_CreateBin = make_named<QPushButton>(this, "Btn_CreateBin");
  L_Norvane = make_named<QLabel>(this, "L_Norvane");
  Timer_Update = new QTimer(this);
  Timer_Update->setObjectName("Timer_Update");
  Timer_Update->setInterval(First_Update_Check_Ms);
  connect(Timer_Update, &QTimer::timeout, this, &TFMain::Timer_UpdateTimer);
  connect(LL_Update, &QLabel::linkActivated, this,
          [this](const QString& url) { context_.services.browser.open_url(url); });

  // Title block and icon buttons.
  QFont code_font = L_SW_Code->font();
  code_font.setPointSizeF(code_font.pointSizeF() * 2.2);
  code_font.setBold(true);
  L_SW_Code->setFont(code_font);
  Btn_Info->setIcon(program_icon(IconKind::Information));
  Btn_Opz->setIcon(program_icon(IconKind::Options));
  Btn_Close->setIcon(program_icon(IconKind::Close));
  for (QPushButton* button : {Btn_Info, Btn_Opz, Btn_Close}) button->setIconSize(QSize(32, 32));

  auto* title = new QGridLayout;
  title->addWidget(L_SW_Code, 0, 0);
  title->addWidget(L_SW_Desc, 1, 0);
  title->addWidget(LL_Update, 2, 0);
  auto* icons = new QHBoxLayout;
  icons->addWidget(Btn_Info);
  icons->addWidget(Btn_Opz);
  icons->addWidget(Btn_Close);
  title->addLayout(icons, 0, 1, 2, 1, Qt::AlignRight | Qt::AlignTop);
  title->setColumnStretch(0, 1);
  LL_Update->hide();

  // The "Begin" row and the numbered steps.
  QFont step_font = L_Begin->font();
  step_font.setBold(true);
  auto* steps = new QGridLayout;
  steps->addWidget(L_Begin, 0, 0);
  steps->addWidget(L_Name_Conf, 0, 1, 1, 2);
  steps->addWidget(L_Name_Conf_L2, 1, 1, 1, 2);
  L_Begin->setFont(step_font);
  QFont name_font = L_Name_Conf_L2->font();
  name_font.setBold(true);
  L_Name_Conf_L2->setFont(name_font);

  const std::vector<std::vector<QPushButton*>> step_buttons = {
      {Btn_New, Btn_Open}, {Btn_Prm_Gen}, {Btn_COB_Request}, {Btn_COB_Setting}, {Btn_CreateBin}};
  for (int step = 1; step <= 5; ++step) {
    L_Step[step]->setFont(step_font);
    steps->addWidget(L_Step[step], step + 1, 0);
    int column = 1;
    for (QPushButton* button : step_buttons[static_cast<std::size_t>(step - 1)]) {
      button->setMinimumHeight(36);
      steps->addWidget(button, step + 1, column++);
      connect(button, &QPushButton::clicked, this, &TFMain::Btn_COB_RequestClick);
    }
  }
  steps->addWidget(L_Norvane, 6, 2, Qt::AlignRight);
  steps->setColumnStretch(1, 1);
  steps->setColumnStretch(2, 1);
  for (int step = 6; step <= 8; ++step) L_Step[step]->hide();
  for (QPushButton* button : {Btn_Info, Btn_Opz, Btn_Close}) {
    connect(button, &QPushButton::clicked, this, &TFMain::Btn_COB_RequestClick);
  }

  L_Norvane->setText(QString::fromUtf8(Maker_Web_Address));
  L_Norvane->setAccessibleName(QString::fromUtf8(Maker_Web_Address));
  make_link(L_Norvane, [this] { L_NorvaneClick(); });

  setMinimumWidth(560);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(title);
  layout->addSpacing(12);
  layout->addLayout(steps);

  Start_Up(state_, messages_, program_dir);
  if (Update_Timer_Enabled(state_)) Timer_Update->start();

  setWindowTitle(QString::fromUtf8(Title_Text));
  L_SW_Code->setText(QString::fromUtf8(SW_Code));
  L_SW_Desc->setText(QString::fromUtf8(SW_Desc));
  Show_Project_Labels();
  Set_Lang();
}

void TFMain::Create_Screens() {
  FNew_Project = new TFNew_Project(context_, this);
  FOpenConf = new TFOpenConf(context_, this);
  FAbout = new TFAbout(context_.services.browser, this);
  FSoftOptions = new TFSoftOptions(
      context_, [this] { Change_Language(); }, this);
  FBootTCP = new TFBootTCP(context_, this);
  FBootSer = new TFBootSer(context_, this);
  FParGen = new TFParGen(context_, this);
  FCOBRequest = new TFCOBRequest(context_, state_.Row_Copy_Buffer, this);
  FCOBSetting = new TFCOBSetting(context_, state_.Row_Copy_Buffer, this);
}

void TFMain::Set_Lang() {
  const auto text = [this](int index) { return message(messages_, index); };
  set_caption(L_Begin, text(Msg_Main_Begin));
  for (int step = 1; step <= 5; ++step) set_caption(L_Step[step], text(Msg_Main_First_Step + step - 1));
  set_hint(Btn_Info, text(Msg_Main_Info_Hint));
  set_hint(Btn_Opz, text(Msg_Main_Options_Hint));
  set_hint(Btn_Close, text(Msg_Main_Close_Hint));
  set_caption(Btn_New, text(Msg_Main_New), text(Msg_Main_New_Hint));
  set_caption(Btn_Open, text(Msg_Main_Open), text(Msg_Main_Open_Hint));
  set_caption(Btn_CreateBin, text(Msg_Main_Update_Device), text(Msg_Main_Update_Device_Hint));
  set_caption(Btn_Prm_Gen, text(Msg_Main_Set_Communication), text(Msg_Main_Set_Communication_Hint));
  set_caption(Btn_COB_Request, text(Msg_Main_COB_Request), text(Msg_Main_COB_Request_Hint));
  set_caption(Btn_COB_Setting, text(Msg_Main_COB_Setting), text(Msg_Main_COB_Setting_Hint));
  context_.services.boxes.Set_Buttons({text(Msg_Box_OK), text(Msg_Box_Yes), text(Msg_Box_No)});
}

void TFMain::Change_Language() {
  Set_Lang();
  FBootSer->Set_Lang();
  FBootTCP->Set_Lang();
  FNew_Project->Set_Lang();
  FOpenConf->Set_Lang();
  FSoftOptions->Set_Lang();
  FParGen->Set_Lang();
  FCOBRequest->Set_Lang();
  FCOBSetting->Set_Lang();
}

// The project labels are set when a project is opened or created and at
// start-up, not by a language change.
void TFMain::Show_Project_Labels() {
  if (state_.project_open()) {
    set_caption(L_Name_Conf, message(messages_, Msg_Main_Project_Opened));
    set_caption(L_Name_Conf_L2, to_qstring(state_.Project_Name));
  } else {
    set_caption(L_Name_Conf, message(messages_, Msg_Main_No_Project));
    set_caption(L_Name_Conf_L2, message(messages_, Msg_Main_No_Project_Hint));
  }
}

void TFMain::Btn_COB_RequestClick() {
  const QObject* button = sender();
  if (button == Btn_New) {
    Create_New_Project();
  } else if (button == Btn_Open) {
    Open_Project();
  } else if (button == Btn_Close) {
    close();
  } else if (button == Btn_Info) {
    FAbout->exec();
  } else if (button == Btn_Opz) {
    if (FSoftOptions->Open(state_, state_.Language_Dir) == QDialog::Accepted) {
      static_cast<AppSettings&>(state_) = FSoftOptions->settings();
      if (const auto failure = Save_Setting()) {
        context_.services.boxes.warning(this,
                                        failure_text(messages_, settings_not_saved(state_.settings_file(), *failure)));
      }
      Set_Update_Timer();
    }
  } else if (!state_.project_open()) {
    context_.services.boxes.error(this, message(messages_, Msg_Project_Not_Valid));
  } else if (button == Btn_Prm_Gen) {
    Open_Settings();
  } else if (button == Btn_COB_Request) {
    Open_Table(*FCOBRequest, Read_Requests());
  } else if (button == Btn_COB_Setting) {
    Open_Table(*FCOBSetting, Write_Requests());
  } else if (button == Btn_CreateBin) {
    Update_Device();
  }
}

// Every screen opens on the project as it is on disk now, and what it
// confirms is written before it closes.
void TFMain::Open_Settings() {
  const std::filesystem::path dir = state_.Project_Dir;
  FParGen->Open(Read_ParGen_File(ParGen_Path(dir)), ParGen_Path(dir),
                [dir](const CommSettings& settings) { return Save_Settings(dir, settings); });
}

void TFMain::Open_Table(RequestScreen& screen, const TableKind& kind) {
  const std::filesystem::path dir = state_.Project_Dir;
  screen.Open(
      Load_Project(dir), [dir, &kind](const RequestTable& table) { return Save_Table(dir, kind, table); },
      {.jump_fields = state_.enable_jump_field_tables, .double_click_auto_size = state_.Double_Click_Auto_Size});
}

// Builds the image and writes both files before the update screen opens. A
// build or write that fails stops here, so no updater is ever handed an
// image that is incomplete or stale.
void TFMain::Update_Device() {
  // Only checked tables reach a device; the first failure is shown as its
  // screen would show it.
  // One reading of the project: the image is built from the files as they
  // were checked.
  const Project project = Load_Project(state_.Project_Dir);
  const auto failures = Check_Project(project, messages_, true);
  if (!failures.empty()) {
    const std::filesystem::path file = state_.Project_Dir / path_from_utf8(failures.front().file);
    context_.services.boxes.error(this, path_and_reason(file, failures.front().text));
    return;
  }
  const Result<ImageBuild> build = Build_Image(project, image_buffers_);
  if (!build.ok()) {
    const Failure& failure = build.failure();
    context_.services.boxes.error(this,
                                  failure_text(messages_, failure, state_.Project_Dir / path_from_utf8(failure.file)));
    return;
  }
  if (const auto failed = Write_Image_Files(state_.Project_Dir, image_buffers_)) {
    context_.services.boxes.error(this, failure_text(messages_, *failed));
    return;
  }
  // The image just built decides the updater, so the one started always
  // sends the image of this project.
  Show_Update_Screen(build->kind);
}

void TFMain::Create_New_Project() {
  if (FNew_Project->Open(state_.Projects_Dir) != QDialog::Accepted) return;
  Activate_Project(state_, FNew_Project->Name(), FNew_Project->Folder());
  Show_Project_Labels();
}

void TFMain::Open_Project() {
  const std::string active = state_.project_open() ? state_.Project_Name : std::string();
  if (FOpenConf->Open(state_.Projects_Dir, active) != QDialog::Accepted) return;
  sw48230::Open_Project(state_, to_utf8(FOpenConf->Name_Conf()));
  Show_Project_Labels();
}

void TFMain::Show_Update_Screen(ImageKind built) {
  const UpdaterFolders folders{state_.Program_Dir, state_.Master_Dir, state_.Project_Dir};
  if (built == ImageKind::Bank2) {
    FBootTCP->Open(folders, state_.Last_IP_Address,
                   [this](const std::string& address) { state_.Last_IP_Address = address; });
  } else {
    FBootSer->Open(folders);
  }
}

std::optional<Failure> TFMain::Save_Setting() { return sw48230::Save_Setting(state_.settings_file(), state_); }

// A timer that already runs keeps its countdown and its interval.
void TFMain::Set_Update_Timer() {
  if (!Update_Timer_Enabled(state_)) {
    Timer_Update->stop();
  } else if (!Timer_Update->isActive()) {
    Timer_Update->start();
  }
}

void TFMain::Timer_UpdateTimer() {
  // Stopped while the request waits: its event loop must not start another.
  Timer_Update->stop();
  HttpGetter& http = context_.services.http;
  if (Check_Version(http)) {
    show_link(LL_Update, message(messages_, Msg_New_Version), Download_Page(http));
    LL_Update->show();
  } else {
    LL_Update->hide();
  }
  Timer_Update->setInterval(Update_Check_Interval_Ms);
  Timer_Update->start();
}

// A settings file that cannot be written must not keep the program from
// ending, nor hold it up with a box at logout: one line on standard error
// says what was lost.
void TFMain::closeEvent(QCloseEvent* event) {
  if (const auto failure = Save_Setting()) {
    const std::string line = Failure_Message(messages_, settings_not_saved(state_.settings_file(), *failure)) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
  }
  event->accept();
}

// Nobody may be there to answer a question: every open dialog and message
// box ends at once as if cancelled without changes, so a screen's own
// Cancel, which asks before dropping edits, is bypassed, and no edit that
// was not confirmed is saved. Each ends through its own done(), which
// never asks, so that a screen finishes what it runs (a test of its
// requests) as after Cancel.
void TFMain::Terminate() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (auto* dialog = qobject_cast<QDialog*>(window); dialog != nullptr && dialog->isVisible()) {
      dialog->done(QDialog::Rejected);
    }
  }
  close();
}

void TFMain::L_NorvaneClick() { context_.services.browser.open_url(QString::fromUtf8(Home_Page_Url)); }

}  // namespace sw48230
