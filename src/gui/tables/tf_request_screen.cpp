#include "gui/tables/tf_request_screen.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "core/app/app_state.h"
#include "core/common/paths.h"
#include "core/tables/request_checks.h"
#include "gui/tables/request_table_model.h"
#include "gui/ui/message_boxes.h"
#include "gui/ui/table_delegates.h"
#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"

namespace sw48230 {

// The grid, with the Enter key walking to the next cell while the option is
// on, also when Enter ends an edit.
class RequestTableView final : public QTableView {
 public:
  RequestTableView(QWidget* parent, std::function<bool()> jump) : QTableView(parent), jump_(std::move(jump)) {}

  // Hands an edit still open to the model, as leaving the cell would.
  void commit_open_edit() {
    if (state() != EditingState) return;
    if (QWidget* editor = focusWidget(); editor != nullptr && isAncestorOf(editor)) commitData(editor);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && jump_()) return;
    QTableView::keyPressEvent(event);
  }

  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
    QTableView::closeEditor(editor, hint);
    // Enter in an editor ends the edit with this hint.
    if (hint == QAbstractItemDelegate::SubmitModelCache) jump_();
  }

 private:
  std::function<bool()> jump_;
};

namespace {

QStringList to_qstrings(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list.append(to_qstring(text));
  return list;
}

}  // namespace

RequestScreen::RequestScreen(const TableKind& kind, const Context& context, QWidget* parent)
    : Screen(context, parent),
      kind_(kind),
      model_(new RequestTableModel(table_, this)),
      Btn_OK(make_named<QPushButton>(this, "Btn_OK")),
      Btn_Cancel(make_named<QPushButton>(this, "Btn_Cancel")),
      Btn_DelRow(make_named<QPushButton>(this, "Btn_DelRow")),
      Btn_InsRow(make_named<QPushButton>(this, "Btn_InsRow")),
      Btn_CopyRow(make_named<QPushButton>(this, "Btn_CopyRow")),
      Btn_PasteRow(make_named<QPushButton>(this, "Btn_PasteRow")) {
  setObjectName(QString::fromLatin1(kind.screen_name));
  setSizeGripEnabled(true);

  ACG_Modbus = new RequestTableView(this, [this] {
    const QModelIndex current = ACG_Modbus->currentIndex();
    table_.current_row = current.isValid() ? RequestTableModel::table_row(current) : 1;
    table_.current_col = current.isValid() ? current.column() : Col_Enable;
    if (!Jump_Next_Cell(table_, context_.state.enable_jump_field_tables)) return false;
    ACG_Modbus->setCurrentIndex(model_->index(table_.current_row - 1, table_.current_col));
    return true;
  });
  ACG_Modbus->setObjectName("ACG_Modbus");
  ACG_Modbus->setModel(model_);
  ACG_Modbus->verticalHeader()->hide();
  ACG_Modbus->verticalHeader()->setDefaultSectionSize(ACG_Modbus->fontMetrics().height() + 8);
  ACG_Modbus->horizontalHeader()->setStretchLastSection(true);
  ACG_Modbus->setSelectionMode(QAbstractItemView::SingleSelection);
  ACG_Modbus->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  ACG_Modbus->setMinimumSize(900, 400);
  can_type_delegate_ = new ComboBoxDelegate({CAN_Type_11_Bits, CAN_Type_29_Bits}, this);
  type_delegate_ = new ComboBoxDelegate(to_qstrings(kind.type_texts), this);
  ACG_Modbus->setItemDelegateForColumn(Col_CAN_Type, can_type_delegate_);
  ACG_Modbus->setItemDelegateForColumn(Col_Type, type_delegate_);
  connect(ACG_Modbus->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
          &RequestScreen::ACG_ModbusDblClickCell);

  connect(Btn_OK, &QPushButton::clicked, this, &RequestScreen::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Btn_DelRow, &QPushButton::clicked, this, &RequestScreen::Btn_DelRowClick);
  connect(Btn_InsRow, &QPushButton::clicked, this, &RequestScreen::Btn_InsRowClick);
  connect(Btn_CopyRow, &QPushButton::clicked, this, &RequestScreen::Btn_CopyRowClick);
  connect(Btn_PasteRow, &QPushButton::clicked, this, &RequestScreen::Btn_PasteRowClick);
  for (QPushButton* button : {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow}) {
    button->setAutoDefault(false);  // Enter belongs to the grid
  }

  auto* rows = new QHBoxLayout;
  for (QPushButton* button : {Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow}) rows->addWidget(button);
  rows->addStretch();
  body()->addLayout(rows);
  body()->addWidget(ACG_Modbus, 1);
  body()->addLayout(button_row({Btn_OK, Btn_Cancel}));
  // Tab leaves the grid for the next control, so every button is reachable
  // from the keyboard; the arrow keys move between cells.
  ACG_Modbus->setTabKeyNavigation(false);
  set_tab_chain({Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow, ACG_Modbus, Btn_OK, Btn_Cancel});

  Set_Lang();
}

void RequestScreen::Set_Lang() {
  setWindowTitle(text(kind_.msg_title));
  set_caption(L_SW_Desc, text(kind_.msg_description));
  QPushButton* const buttons[] = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
  for (int i = 0; i < 6; ++i) {
    set_caption(buttons[i], text(kind_.msg_first_button + i), text(kind_.msg_first_button_hint + i));
  }
  QStringList titles;
  QStringList hints;
  for (int col = 0; col < RequestTable::ColCount; ++col) {
    titles.append(text(kind_.msg_first_column_title + col));
    const int hint = Column_Hint_Message(kind_, col);
    hints.append(hint != 0 ? text(hint) : QString());
  }
  model_->setTitles(titles, hints);
  set_hint(ACG_Modbus, text(kind_.msg_description));
  // The grid's corner button would select all cells, which a table of
  // single-cell edits has no use for; it is only named for screen readers.
  for (auto* corner : ACG_Modbus->findChildren<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly)) {
    corner->setEnabled(false);
    corner->setAccessibleName(text(kind_.msg_description));
  }
}

void RequestScreen::showEvent(QShowEvent* event) {
  FormShow();
  Screen::showEvent(event);
}

void RequestScreen::FormShow() {
  const AppState& state = context_.state;
  const std::filesystem::path file = state.Project_Dir / kind_.file_name;
  table_context_ = Read_Table_Context(state.ParGen_File);
  Update_Columns();
  const RequestLoad loaded = Load_Requests(kind_, file, table_context_, table_);
  model_->Table_Changed();
  ACG_Modbus->setCurrentIndex(model_->index(0, Col_COB));
  Do_Copy = false;

  if (!loaded.error.empty()) show_file_error(loaded.error);
  if (loaded.rows_left_out > 0) {
    const QString warning =
        QStringLiteral(
            "%1\n%2 rows of this file are beyond row %3 and are not shown; saving the table leaves them out.")
            .arg(to_qstring(path_to_utf8(file)))
            .arg(loaded.rows_left_out)
            .arg(RequestTable::Data_Rows);
    QTimer::singleShot(0, this, [this, warning] { context_.services.boxes.warning(this, warning); });
  }
}

void RequestScreen::show_file_error(const std::string& error) {
  // Shown once the screen is up, so the user sees what the message is about.
  const QString message = to_qstring(path_to_utf8(context_.state.Project_Dir / kind_.file_name) + "\n" + error);
  QTimer::singleShot(0, this, [this, message] { context_.services.boxes.error(this, message); });
}

// Hidden columns keep their values: they are loaded and saved like the others.
void RequestScreen::Update_Columns() {
  for (int col = 0; col < RequestTable::ColCount; ++col) ACG_Modbus->setColumnHidden(col, false);
  for (int col : Hidden_Columns(kind_, table_context_.Hard_Type)) ACG_Modbus->setColumnHidden(col, true);
}

int RequestScreen::current_row() const {
  const QModelIndex current = ACG_Modbus->currentIndex();
  return current.isValid() ? RequestTableModel::table_row(current) : 1;
}

void RequestScreen::Btn_OKClick() {
  ACG_Modbus->commit_open_edit();
  if (const auto failure = Controllo_dati(kind_, table_, table_context_)) {
    context_.services.boxes.error(this,
                                  text(kind_.msg_error_row) + QString::number(failure->row) + text(failure->message));
    return;
  }
  const std::filesystem::path file = context_.state.Project_Dir / kind_.file_name;
  if (const std::error_code error = Save_Requests(kind_, file, table_)) {
    context_.services.boxes.error(this, to_qstring(path_to_utf8(file) + "\n" + error.message()));
    return;
  }
  accept();
}

void RequestScreen::Btn_DelRowClick() {
  ACG_Modbus->commit_open_edit();
  const int row = current_row();
  if (!context_.services.boxes.question(this, text(kind_.msg_delete_question) + QString::number(row))) return;
  Delete_Row(table_, row);
  model_->Table_Changed();
}

void RequestScreen::Btn_InsRowClick() {
  ACG_Modbus->commit_open_edit();
  Insert_Row(table_, current_row());
  model_->Table_Changed();
}

void RequestScreen::Btn_CopyRowClick() {
  ACG_Modbus->commit_open_edit();
  Copy_Row(table_, current_row(), context_.state.Row_Copy_Buffer);
  Do_Copy = true;
}

void RequestScreen::Btn_PasteRowClick() {
  ACG_Modbus->commit_open_edit();
  const int row = current_row();
  const RowCopyBuffer& buffer = context_.state.Row_Copy_Buffer;
  switch (Check_Paste(table_, row, Do_Copy, buffer)) {
    case PasteCheck::Nothing_Copied:
      context_.services.boxes.error(this, text(Msg_Paste_Nothing_Copied));
      return;
    case PasteCheck::Bad_Copy:
      context_.services.boxes.error(this, text(Msg_Paste_Bad_Copy));
      return;
    case PasteCheck::Row_In_Use:
      if (!context_.services.boxes.question(this, text(Msg_Paste_Overwrite))) return;
      break;
    case PasteCheck::Free:
      break;
  }
  Paste_Row(table_, row, buffer);
  model_->Table_Changed();
}

void RequestScreen::ACG_ModbusDblClickCell(int column) {
  // Only column titles reach here; the option is read at each click.
  if (AutoSize_Column(context_.state.Double_Click_Auto_Size, 0)) ACG_Modbus->resizeColumnToContents(column);
}

TFCOBRequest::TFCOBRequest(const Context& context, QWidget* parent) : RequestScreen(Read_Requests(), context, parent) {}

TFCOBSetting::TFCOBSetting(const Context& context, QWidget* parent)
    : RequestScreen(Write_Requests(), context, parent) {}

}  // namespace sw48230
