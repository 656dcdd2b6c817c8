#include "gui/i18n/tf_soft_options.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/common/file_read.h"
#include "core/i18n/language_list.h"
#include "core/i18n/soft_options_messages.h"
#include "core/settings/app_settings.h"
#include "gui/i18n/version_check.h"
#include "gui/ui/message_boxes.h"
#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"
#include "platform/http_getter.h"
#include "platform/url_opener.h"

namespace sw48230 {
namespace {

// Controls that come and go with the page keep their room, so the page
// does not jump around while the user leafs through it.
void keep_room_when_hidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

// Flags are small pictures; a large one must not stretch the page.
constexpr QSize Flag_Size(48, 32);

}  // namespace

TFSoftOptions::TFSoftOptions(const Context& context, std::function<void()> change_language, QWidget* parent)
    : Screen(context, parent), change_language_(std::move(change_language)) {
  setObjectName("TFSoftOptions");
  PageControl = make_named<QTabWidget>(this, "PageControl");
  TS_Language = make_named<QWidget>(PageControl, "TS_Language");
  TS_Con_Options = make_named<QWidget>(PageControl, "TS_Con_Options");
  TS_Soft_Settings = make_named<QWidget>(PageControl, "TS_Soft_Settings");
  PageControl->addTab(TS_Language, QString());
  PageControl->addTab(TS_Con_Options, QString());
  PageControl->addTab(TS_Soft_Settings, QString());

  // Language page: the selection, two columns of three slots, the pager.
  L_Sel_Lang = make_named<QLabel>(TS_Language, "L_Sel_Lang");
  auto* slot_grid = new QGridLayout;
  for (int slot = 0; slot < Slot_Count; ++slot) {
    const QByteArray number = QByteArray::number(slot + 1);
    QLabel* image = make_named<QLabel>(TS_Language, ("I_L" + number).constData());
    QLabel* name = make_named<QLabel>(TS_Language, ("L_L" + number).constData());
    image->setFixedSize(Flag_Size);
    image->setAlignment(Qt::AlignCenter);
    name->setMinimumWidth(120);
    name->setFocusPolicy(Qt::StrongFocus);  // chosen with Space or Enter as well
    for (QLabel* part : {image, name}) {
      part->setCursor(Qt::PointingHandCursor);
      part->installEventFilter(this);
      keep_room_when_hidden(part);
    }
    I_L[static_cast<std::size_t>(slot)] = image;
    L_L[static_cast<std::size_t>(slot)] = name;
    auto* cell = new QHBoxLayout;
    cell->addWidget(image);
    cell->addWidget(name, 1);
    slot_grid->addLayout(cell, slot % 3, slot / 3);
  }
  L_Page_Lang = make_named<QLabel>(TS_Language, "L_Page_Lang");
  L_Page_Lang->setAlignment(Qt::AlignCenter);
  Btn_Prev = make_named<QPushButton>(TS_Language, "Btn_Prev");
  Btn_Next = make_named<QPushButton>(TS_Language, "Btn_Next");
  keep_room_when_hidden(Btn_Prev);
  keep_room_when_hidden(Btn_Next);
  auto* pager = new QHBoxLayout;
  pager->addWidget(Btn_Prev);
  pager->addWidget(L_Page_Lang, 1);
  pager->addWidget(Btn_Next);
  auto* language_page = new QVBoxLayout(TS_Language);
  language_page->addWidget(L_Sel_Lang);
  language_page->addLayout(slot_grid);
  language_page->addStretch();
  language_page->addLayout(pager);

  // Connection page.
  CB_En_Con = make_named<QCheckBox>(TS_Con_Options, "CB_En_Con");
  CB_Update = make_named<QCheckBox>(TS_Con_Options, "CB_Update");
  Btn_Check_Update = make_named<QPushButton>(TS_Con_Options, "Btn_Check_Update");
  LL_Check_Update = make_named<QLabel>(TS_Con_Options, "LL_Check_Update");
  auto* connection_page = new QVBoxLayout(TS_Con_Options);
  connection_page->addWidget(CB_En_Con);
  connection_page->addWidget(CB_Update);
  auto* check_row = new QHBoxLayout;
  check_row->addWidget(Btn_Check_Update);
  check_row->addStretch();
  connection_page->addLayout(check_row);
  connection_page->addWidget(LL_Check_Update);
  connection_page->addStretch();

  // Software settings page.
  CB_Soft_Set_Jump_Table = make_named<QCheckBox>(TS_Soft_Settings, "CB_Soft_Set_Jump_Table");
  CB_DoubleClick_Auto_Size = make_named<QCheckBox>(TS_Soft_Settings, "CB_DoubleClick_Auto_Size");
  auto* settings_page = new QVBoxLayout(TS_Soft_Settings);
  settings_page->addWidget(CB_Soft_Set_Jump_Table);
  settings_page->addWidget(CB_DoubleClick_Auto_Size);
  settings_page->addStretch();

  Btn_OK = make_named<QPushButton>(this, "Btn_OK");
  Btn_Cancel = make_named<QPushButton>(this, "Btn_Cancel");
  body()->addWidget(PageControl);
  // Texts of another language may be longer: the window grows with them.
  body()->setSizeConstraint(QLayout::SetMinimumSize);
  body()->addLayout(button_row({Btn_OK, Btn_Cancel}));

  connect(Btn_Prev, &QPushButton::clicked, this, [this] {
    if (Show_Page - 1 > 0) --Show_Page;
    Draw_Page();
  });
  connect(Btn_Next, &QPushButton::clicked, this, [this] {
    if (Language_Page(static_cast<int>(SL_Languages.size()), Show_Page).page_count >= Show_Page + 1) ++Show_Page;
    Draw_Page();
  });
  for (QCheckBox* box : {CB_En_Con, CB_Update, CB_Soft_Set_Jump_Table, CB_DoubleClick_Auto_Size}) {
    connect(box, &QCheckBox::clicked, this, &TFSoftOptions::Enable_Controls);
  }
  connect(Btn_Check_Update, &QPushButton::clicked, this, &TFSoftOptions::Btn_Check_UpdateClick);
  connect(LL_Check_Update, &QLabel::linkActivated, this,
          [this](const QString& url) { context_.services.browser.open_url(url); });
  connect(Btn_OK, &QPushButton::clicked, this, &TFSoftOptions::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  Btn_OK->setDefault(true);

  LL_Check_Update->hide();
  Draw_Page();
  Set_Lang();
}

void TFSoftOptions::Set_Lang() {
  setWindowTitle(text(Msg_Options_Title));
  set_caption(L_SW_Desc, text(Msg_Options_Description));
  PageControl->setAccessibleName(text(Msg_Options_Description));
  const std::pair<QWidget*, int> tabs[] = {
      {TS_Language, Msg_Options_Language_Tab},
      {TS_Con_Options, Msg_Options_Connection_Tab},
      {TS_Soft_Settings, Msg_Options_Settings_Tab},
  };
  for (const auto& [page, index] : tabs) {
    PageControl->setTabText(PageControl->indexOf(page), text(index));
    page->setAccessibleName(text(index));
  }
  set_caption(Btn_Prev, text(Msg_Options_Previous));
  set_caption(Btn_Next, text(Msg_Options_Next));
  set_caption(CB_En_Con, text(Msg_Options_Enable_Internet));
  set_caption(CB_Update, text(Msg_Options_Check_At_Start));
  set_caption(Btn_Check_Update, text(Msg_Options_Check_Update));
  set_caption(CB_Soft_Set_Jump_Table, text(Msg_Options_Jump_Fields));
  set_caption(CB_DoubleClick_Auto_Size, text(Msg_Options_Auto_Size));
  set_caption(Btn_OK, text(Msg_Options_OK));
  set_caption(Btn_Cancel, text(Msg_Options_Cancel));
  Show_Language_Texts();
}

int TFSoftOptions::Open(const AppSettings& settings, const std::filesystem::path& language_dir) {
  settings_ = settings;
  language_dir_ = language_dir;
  return Screen::Open();
}

void TFSoftOptions::FormShow() {
  const AppSettings& state = settings_;
  Language_In_Use = state.Language_Name;
  SL_Languages = List_Language_Files(language_dir_);
  Show_Page = 1;
  Draw_Page();

  LL_Check_Update->hide();
  PageControl->setCurrentWidget(TS_Language);

  CB_En_Con->setChecked(state.enable_internet);
  CB_Update->setChecked(state.enable_update);
  CB_Soft_Set_Jump_Table->setChecked(state.enable_jump_field_tables);
  CB_DoubleClick_Auto_Size->setChecked(state.Double_Click_Auto_Size);
  Enable_Controls();
}

void TFSoftOptions::Show_Language_Texts() {
  set_caption(L_Sel_Lang, text(Msg_Options_Selected_Language) + to_qstring(Language_In_Use));
  const LanguagePage page = Language_Page(static_cast<int>(SL_Languages.size()), Show_Page);
  set_caption(L_Page_Lang, text(Msg_Options_Page) + QString::number(page.page) + text(Msg_Options_Page_Of) +
                               QString::number(page.page_count));
}

void TFSoftOptions::Draw_Page() {
  const LanguagePage page = Language_Page(static_cast<int>(SL_Languages.size()), Show_Page);
  Show_Page = page.page;
  Show_Language_Texts();
  Btn_Prev->setVisible(page.prev_visible);
  Btn_Next->setVisible(page.next_visible);

  for (int slot = 0; slot < Slot_Count; ++slot) {
    QLabel* image = I_L[static_cast<std::size_t>(slot)];
    QLabel* name = L_L[static_cast<std::size_t>(slot)];
    if (slot >= page.shown) {
      image->hide();
      name->hide();
      continue;
    }
    const std::string language = Language_Of(SL_Languages[static_cast<std::size_t>(page.first + slot)]);
    set_caption(name, to_qstring(language));
    name->show();

    // A bitmap that exists but cannot be read shows nothing, as a missing one;
    // read with a bound, so that a device or a FIFO of a flag's name cannot
    // hold up the screen.
    QPixmap flag;
    if (const auto bitmap = Flag_Bitmap(language_dir_, language)) {
      if (const Result<std::string> bytes = read_regular_file(*bitmap, Language_File_Limit)) {
        flag.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<uint>(bytes->size()));
      }
    }
    if (flag.width() > Flag_Size.width() || flag.height() > Flag_Size.height()) {
      flag = flag.scaled(Flag_Size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    image->setPixmap(flag);
    set_hint(image, to_qstring(language));
    image->setVisible(!flag.isNull());
  }
}

bool TFSoftOptions::eventFilter(QObject* watched, QEvent* event) {
  for (int slot = 0; slot < Slot_Count; ++slot) {
    if (watched != I_L[static_cast<std::size_t>(slot)] && watched != L_L[static_cast<std::size_t>(slot)]) continue;
    const bool clicked =
        event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    const bool pressed =
        event->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space ||
                                              static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                              static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (clicked || pressed) {
      Choose_Language(slot);
      return true;
    }
    break;
  }
  return Screen::eventFilter(watched, event);
}

void TFSoftOptions::Choose_Language(int slot) {
  const LanguagePage page = Language_Page(static_cast<int>(SL_Languages.size()), Show_Page);
  if (slot >= page.shown) return;
  const std::string name = Language_Of(SL_Languages[static_cast<std::size_t>(page.first + slot)]);
  const QString question = text(Msg_Options_Change_Language) + to_qstring(Language_In_Use) +
                           text(Msg_Options_Change_Language_To) + to_qstring(name) +
                           text(Msg_Options_Change_Language_End);
  if (!context_.services.boxes.question(this, question)) return;

  Language_In_Use = name;
  Preview_Language(context_.messages, language_dir_, name);
  if (change_language_) {
    change_language_();
  } else {
    Set_Lang();
  }
}

// A disabled CB_Update keeps its check mark: OK commits it as it stands, so
// the automatic check comes back when internet access is allowed again.
void TFSoftOptions::Enable_Controls() {
  CB_Update->setEnabled(CB_En_Con->isChecked());
  Btn_Check_Update->setEnabled(CB_En_Con->isChecked() && CB_Update->isChecked());
}

void TFSoftOptions::Btn_Check_UpdateClick() {
  HttpGetter& http = context_.services.http;
  if (Check_Version(http)) {
    show_link(LL_Check_Update, text(Msg_Options_New_Version), Download_Page(http));
  } else {
    set_caption(LL_Check_Update, text(Msg_Options_No_Update));
  }
  LL_Check_Update->show();
}

void TFSoftOptions::Btn_OKClick() {
  AppSettings& state = settings_;
  state.Language_Name = Language_In_Use;
  state.enable_internet = CB_En_Con->isChecked();
  state.enable_update = CB_Update->isChecked();
  state.enable_jump_field_tables = CB_Soft_Set_Jump_Table->isChecked();
  state.Double_Click_Auto_Size = CB_DoubleClick_Auto_Size->isChecked();
  accept();
}

}  // namespace sw48230
