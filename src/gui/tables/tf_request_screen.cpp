#include "gui/tables/tf_request_screen.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <set>

#include "core/common/failure.h"
#include "core/common/paths.h"
#include "core/commsettings/device_type.h"
#include "core/i18n/message_table.h"
#include "core/probe/probe_plan.h"
#include "core/tables/project_network.h"
#include "core/tables/request_checks.h"
#include "core/tables/request_tools_messages.h"
#include "core/tables/table_screen_messages.h"
#include "gui/tables/request_csv_actions.h"
#include "gui/tables/request_find_bar.h"
#include "gui/tables/request_table_model.h"
#include "gui/tables/request_test_panel.h"
#include "gui/tables/request_warnings_view.h"
#include "gui/tables/table_commands.h"
#include "gui/ui/message_boxes.h"
#include "gui/ui/table_delegates.h"
#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"

namespace sw48230 {

// The grid. Enter, with an editor or a drop-down list open or not, commits
// the edit and then asks `jump` to move the cursor; it moves only while the
// option is on.
class RequestTableView final : public QTableView {
 public:
  RequestTableView(QWidget* parent, std::function<bool()> jump) : QTableView(parent), jump_(std::move(jump)) {}

  // Hands an edit still open to the model, as leaving the cell would.
  void commit_open_edit() {
    if (state() != EditingState) return;
    if (QWidget* editor = focusWidget(); editor != nullptr && isAncestorOf(editor)) commitData(editor);
  }

  // What a column needs for its title and the values in the grid.
  int fitting_width(int col) const {
    return std::max(sizeHintForColumn(col), horizontalHeader()->sectionSizeHint(col));
  }

  void Enter_In_Editor(QWidget* editor) {
    // A list whose choice already ended the edit leaves only the move.
    if (indexWidget(currentIndex()) == editor) {
      commitData(editor);
      closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    setFocus();
    jump_();
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && jump_()) return;
    QTableView::keyPressEvent(event);
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

RequestScreen::RequestScreen(const TableKind& kind, const Context& context, RowCopyBuffer& copied, QWidget* parent)
    : Screen(context, parent),
      kind_(kind),
      copied_(copied),
      undo_(new QUndoStack(this)),
      model_(new RequestTableModel(
          table_, tested_,
          [this](int row, int col, std::string text) {
            undo_->push(new CellEdit(row_target(), row, col, std::move(text)));
          },
          this)),
      Btn_OK(make_named<QPushButton>(this, "Btn_OK")),
      Btn_Cancel(make_named<QPushButton>(this, "Btn_Cancel")),
      Btn_DelRow(make_named<QPushButton>(this, "Btn_DelRow")),
      Btn_InsRow(make_named<QPushButton>(this, "Btn_InsRow")),
      Btn_CopyRow(make_named<QPushButton>(this, "Btn_CopyRow")),
      Btn_PasteRow(make_named<QPushButton>(this, "Btn_PasteRow")),
      Btn_Undo(make_named<QPushButton>(this, "Btn_Undo")),
      Btn_Redo(make_named<QPushButton>(this, "Btn_Redo")),
      test_panel_(new RequestTestPanel(
          this, context_.services.prober,
          [this](const ProbeResult& result) {
            tested_.Arrived(result);
            model_->Results_Changed();
            Show_Result_Column();
          },
          [this] { Show_Test_Summary(); })) {
  setObjectName(QString::fromLatin1(kind.screen_name));
  setSizeGripEnabled(true);

  ACG_Modbus = new RequestTableView(this, [this] { return Jump_Next_Cell(); });
  ACG_Modbus->setObjectName("ACG_Modbus");
  ACG_Modbus->setModel(model_);
  ACG_Modbus->verticalHeader()->hide();
  ACG_Modbus->verticalHeader()->setDefaultSectionSize(ACG_Modbus->fontMetrics().height() + 8);
  ACG_Modbus->horizontalHeader()->setStretchLastSection(true);
  // The answers of a test stand beside the row numbers, where they are seen
  // whatever the width of the window; the column shows once a test ran.
  ACG_Modbus->horizontalHeader()->moveSection(RequestTableModel::Col_Result, Col_Number + 1);
  ACG_Modbus->setColumnHidden(RequestTableModel::Col_Result, true);
  // Several rows can be picked for a test.
  ACG_Modbus->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ACG_Modbus->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  ACG_Modbus->setMinimumSize(900, 400);
  auto* cell_delegate = new CellDelegate(this);
  can_type_delegate_ = new ComboBoxDelegate({CAN_Type_11_Bits, CAN_Type_29_Bits}, this);
  type_delegate_ = new ComboBoxDelegate(to_qstrings(kind.type_texts), this);
  ACG_Modbus->setItemDelegate(cell_delegate);
  ACG_Modbus->setItemDelegateForColumn(Col_CAN_Type, can_type_delegate_);
  ACG_Modbus->setItemDelegateForColumn(Col_Type, type_delegate_);
  for (CellDelegate* delegate :
       {cell_delegate, static_cast<CellDelegate*>(can_type_delegate_), static_cast<CellDelegate*>(type_delegate_)}) {
    connect(delegate, &CellDelegate::Enter_Pressed, this,
            [this](QWidget* editor) { ACG_Modbus->Enter_In_Editor(editor); });
  }
  connect(ACG_Modbus->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
          &RequestScreen::ACG_ModbusDblClickCell);

  connect(Btn_OK, &QPushButton::clicked, this, &RequestScreen::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Btn_DelRow, &QPushButton::clicked, this, &RequestScreen::Btn_DelRowClick);
  connect(Btn_InsRow, &QPushButton::clicked, this, &RequestScreen::Btn_InsRowClick);
  connect(Btn_CopyRow, &QPushButton::clicked, this, &RequestScreen::Btn_CopyRowClick);
  connect(Btn_PasteRow, &QPushButton::clicked, this, &RequestScreen::Btn_PasteRowClick);
  connect(Btn_Undo, &QPushButton::clicked, this, [this] {
    ACG_Modbus->commit_open_edit();
    undo_->undo();
  });
  connect(Btn_Redo, &QPushButton::clicked, undo_, &QUndoStack::redo);
  connect(test_panel_->test_button(), &QPushButton::clicked, this, &RequestScreen::Btn_TestClick);
  connect(ACG_Modbus->selectionModel(), &QItemSelectionModel::selectionChanged, this, &RequestScreen::Show_Test_Scope);
  connect(undo_, &QUndoStack::indexChanged, this, &RequestScreen::Show_Test_Scope);
  connect(undo_, &QUndoStack::canUndoChanged, Btn_Undo, &QPushButton::setEnabled);
  connect(undo_, &QUndoStack::canRedoChanged, Btn_Redo, &QPushButton::setEnabled);
  Btn_Undo->setEnabled(false);
  Btn_Redo->setEnabled(false);
  // The keys work wherever the focus is on the screen; an open cell editor
  // undoes its own typing first.
  auto* undo_keys = new QAction(this);
  undo_keys->setShortcuts(QKeySequence::Undo);
  connect(undo_keys, &QAction::triggered, Btn_Undo, &QPushButton::click);
  auto* redo_keys = new QAction(this);
  redo_keys->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  connect(redo_keys, &QAction::triggered, Btn_Redo, &QPushButton::click);
  addActions({undo_keys, redo_keys});
  for (QPushButton* button :
       {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow, Btn_Undo, Btn_Redo}) {
    button->setAutoDefault(false);  // Enter belongs to the grid
  }

  Build_Tools();
  auto* rows = new QHBoxLayout;
  for (QPushButton* button : {Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow, Btn_Undo, Btn_Redo}) {
    rows->addWidget(button);
  }
  rows->addStretch();
  for (QPushButton* button : {csv_->export_button(), csv_->import_button(), warnings_->button()}) {
    rows->addWidget(button);
  }
  body()->addLayout(rows);
  body()->addWidget(find_bar_);
  body()->addWidget(ACG_Modbus, 1);
  body()->addWidget(warnings_->list());
  body()->addWidget(test_panel_);
  body()->addLayout(button_row({Btn_OK, Btn_Cancel}));
  // Tab leaves the grid for the next control, so every button is reachable
  // from the keyboard; the arrow keys move between cells.
  ACG_Modbus->setTabKeyNavigation(false);
  set_tab_chain({Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow, Btn_Undo, Btn_Redo, csv_->export_button(),
                 csv_->import_button(), warnings_->button(), find_bar_->query_field(), find_bar_->previous_button(),
                 find_bar_->next_button(), find_bar_->close_button(), ACG_Modbus, warnings_->list(),
                 test_panel_->test_button(), test_panel_->stop_button(), Btn_OK, Btn_Cancel});

  Set_Lang();
}

// The history tells of its end when it goes: the screen must still be whole
// to hear it. The grid's selection may change while the grid goes, after
// the table it describes is gone.
RequestScreen::~RequestScreen() {
  test_panel_->Stop();
  delete undo_;
  disconnect(ACG_Modbus->selectionModel(), nullptr, this, nullptr);
}

void RequestScreen::Set_Lang() {
  setWindowTitle(text(kind_.msg_title));
  set_caption(L_SW_Desc, text(kind_.msg_description));
  QPushButton* const buttons[] = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
  for (int i = 0; i < 6; ++i) {
    set_caption(buttons[i], text(kind_.msg_first_button + i), text(kind_.msg_first_button_hint + i));
  }
  set_caption(Btn_Undo, text(Msg_Undo), text(Msg_Undo_Hint));
  set_caption(Btn_Redo, text(Msg_Redo), text(Msg_Redo_Hint));
  QStringList titles;
  QStringList hints;
  for (int col = 0; col < RequestTable::ColCount; ++col) {
    titles.append(text(kind_.msg_first_column_title + col));
    const std::optional<int> hint = Column_Hint_Message(kind_, col);
    hints.append(hint ? text(*hint) : QString());
  }
  titles.append(text(Msg_Test_Result));
  hints.append(text(Msg_Test_Result_Hint));
  model_->setTitles(titles, hints);
  QStringList words;
  for (int i = 0; i < Msg_Test_Status_Count; ++i) words.append(text(Msg_Test_First_Status + i));
  model_->Set_Status_Words(words);
  model_->Results_Changed();
  test_panel_->Set_Texts(text(Msg_Test), text(Msg_Test_Hint), text(Msg_Test_Stop), text(Msg_Test_Stop_Hint),
                         text(Msg_Test_Progress));
  Show_Test_Scope();
  if (!test_panel_->Running()) Show_Test_Summary();
  // Only the column titles have hints; a hint of the whole grid would show
  // over every cell.
  ACG_Modbus->setAccessibleName(text(kind_.msg_description));
  // The grid's corner button would select all cells, which a table of
  // single-cell edits has no use for; it is only named for screen readers.
  for (auto* corner : ACG_Modbus->findChildren<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly)) {
    corner->setEnabled(false);
    corner->setAccessibleName(text(kind_.msg_description));
  }
  Set_Tools_Lang();
  Fit_Columns();
}

int RequestScreen::Open(Project project, TableStore store, Editing editing) {
  project_ = std::move(project);
  store_ = std::move(store);
  editing_ = editing;
  return Screen::Open();
}

void RequestScreen::FormShow() {
  const std::filesystem::path file = Table_Path(project_.dir, kind_);
  table_context_ = project_.table_context();
  converter_ = Read_Converter_Network(project_.settings);
  model_->Set_Context(table_context_);
  Update_Columns();
  const Result<RequestLoad> loaded = Load_Table(project_, kind_, table_);
  tested_.Clear();
  ACG_Modbus->setColumnHidden(RequestTableModel::Col_Result, true);
  test_panel_->Show_Summary(QString());
  model_->Table_Changed();
  // No row is selected at the opening, so Test probes every row until the
  // user picks some.
  ACG_Modbus->clearSelection();
  ACG_Modbus->selectionModel()->setCurrentIndex(model_->index(0, Col_COB), QItemSelectionModel::NoUpdate);
  Do_Copy = false;
  undo_->clear();
  Update_Warnings();
  find_bar_->Close();
  warnings_->Close_List();
  Show_Test_Scope();
  Fit_Columns();

  if (!loaded) Show_When_Up(&MessageBoxes::error, failure_text(context_.messages, loaded.failure(), file));
  if (loaded && loaded->rows_left_out > 0) {
    const std::string reason =
        Fill_Placeholders(context_.messages.text(Msg_Rows_Left_Out),
                          {std::to_string(loaded->rows_left_out), std::to_string(RequestTable::Data_Rows)});
    Show_When_Up(&MessageBoxes::warning, path_and_reason(file, reason));
  }
}

bool RequestScreen::Has_Unsaved_Changes() const { return !undo_->isClean(); }

void RequestScreen::reject() {
  ACG_Modbus->commit_open_edit();  // an edit still open counts as a change
  Screen::reject();
}

// OK and Cancel end the history; the next opening starts a new one.
void RequestScreen::done(int result) {
  test_panel_->Stop();
  Screen::done(result);
  undo_->clear();
}

// After a change or its undo: the cursor goes to the changed cell, or to the
// changed row, so the user sees what happened.
void RequestScreen::Show_Change(int row, int col, bool move_cursor) {
  if (col < 0) {
    model_->Table_Changed();
    const QModelIndex current = ACG_Modbus->currentIndex();
    col = current.isValid() ? current.column() : Col_COB;
  } else {
    model_->Cell_Changed(row, col);
  }
  if (move_cursor) ACG_Modbus->setCurrentIndex(model_->index(row - 1, col));
}

bool RequestScreen::Jump_Next_Cell() {
  const QModelIndex current = ACG_Modbus->currentIndex();
  table_.current_row = current.isValid() ? RequestTableModel::table_row(current) : 1;
  table_.current_col = current.isValid() ? current.column() : Col_Enable;
  if (!sw48230::Jump_Next_Cell(table_, editing_.jump_fields, Hidden_Columns(kind_, table_context_.Hard_Type))) {
    return false;
  }
  ACG_Modbus->setCurrentIndex(model_->index(table_.current_row - 1, table_.current_col));
  return true;
}

// Hidden columns keep their values: they are loaded and saved like the others.
void RequestScreen::Update_Columns() {
  for (int col = 0; col < RequestTable::ColCount; ++col) ACG_Modbus->setColumnHidden(col, false);
  for (int col : Hidden_Columns(kind_, table_context_.Hard_Type)) ACG_Modbus->setColumnHidden(col, true);
}

TableTarget RequestScreen::row_target() {
  return TableTarget{table_, [this](int row, int col, bool move_cursor) { Show_Change(row, col, move_cursor); },
                     [this](int row, int delta) {
                       if (delta < 0) {
                         tested_.Row_Removed(row);
                       } else {
                         tested_.Row_Inserted(row);
                       }
                     }};
}

int RequestScreen::current_row() const {
  const QModelIndex current = ACG_Modbus->currentIndex();
  return current.isValid() ? RequestTableModel::table_row(current) : 1;
}

// The checks of OK, which Test passes through too: a failure is said, as OK
// says it.
bool RequestScreen::Checks_Pass() {
  ACG_Modbus->commit_open_edit();
  if (const auto failure = Controllo_Dati(kind_, table_, table_context_)) {
    if (failure->message == Msg_Row_Gap) ACG_Modbus->setCurrentIndex(model_->index(failure->row - 1, failure->column));
    context_.services.boxes.error(this, to_qstring(Failure_Message(context_.messages, kind_, *failure)));
    return false;
  }
  return true;
}

void RequestScreen::Btn_OKClick() {
  if (!Checks_Pass()) return;
  if (const auto failure = store_(table_)) {
    context_.services.boxes.error(this, failure_text(context_.messages, *failure, Table_Path(project_.dir, kind_)));
    return;
  }
  accept();
}

// The rows are probed as they stand on the screen: the table goes into the
// plan as OK would save it, with the project as it was opened.
void RequestScreen::Btn_TestClick() {
  if (!Checks_Pass()) return;
  const Result<ProbePlan> plan = Make_Probe_Plan(With_Table(project_, kind_, table_));
  if (!plan) {
    context_.services.boxes.error(this, failure_text(context_.messages, plan.failure()));
    return;
  }
  const std::vector<int> rows = Rows_To_Test(table_, table_context_, selected_rows());
  std::vector<ProbeRequest> requests;
  for (const ProbeRequest& request : plan->requests) {
    if (request.table == &kind_ && std::binary_search(rows.begin(), rows.end(), request.row)) {
      requests.push_back(request);
    }
  }
  if (requests.empty()) {
    context_.services.boxes.warning(this, text(Msg_Test_No_Row));
    return;
  }
  std::vector<int> tested;
  for (const ProbeRequest& request : requests) tested.push_back(request.row);
  tested_.Start(table_, tested);
  model_->Results_Changed();
  test_panel_->Show_Summary(QString());
  Show_Result_Column();
  ACG_Modbus->scrollTo(model_->index(tested.front() - 1, RequestTableModel::Col_Result));
  ProbeOptions options;
  if (plan->timeout_ms > 0) options.timeout_ms = plan->timeout_ms;
  test_panel_->Start(std::move(requests), options);
}

std::set<int> RequestScreen::selected_rows() const {
  std::set<int> selected;
  for (const QModelIndex& index : ACG_Modbus->selectionModel()->selectedIndexes()) {
    selected.insert(RequestTableModel::table_row(index));
  }
  return selected;
}

// Said before Test runs, so that a single clicked cell, which narrows the
// test to its row, is seen.
void RequestScreen::Show_Test_Scope() {
  const std::set<int> selected = selected_rows();
  const std::size_t count = Rows_To_Test(table_, table_context_, selected).size();
  const int scope = !selected.empty()                                    ? Msg_Test_Scope_Selected
                    : table_context_.Hard_Type == Device_Type_Dip_Switch ? Msg_Test_Scope_Enabled
                                                                         : Msg_Test_Scope_All;
  test_panel_->Show_Scope(to_qstring(Fill_Placeholders(to_utf8(text(scope)), {std::to_string(count)})));
}

void RequestScreen::Show_Test_Summary() {
  const TestSummary summary = tested_.Summary();
  if (summary.to_test == 0) return;
  std::vector<std::string> values = {std::to_string(summary.tested), std::to_string(summary.to_test)};
  for (const int count : summary.by_status) values.push_back(std::to_string(count));
  const int ended = summary.tested < summary.to_test ? Msg_Test_Summary_Stopped : Msg_Test_Summary;
  test_panel_->Show_Summary(to_qstring(Fill_Placeholders(to_utf8(text(ended)), values)));
}

// Wide enough for the answers so far, but never so wide that the requests
// they belong to leave the window; the whole answer is the cell's hint.
void RequestScreen::Show_Result_Column() {
  constexpr int col = RequestTableModel::Col_Result;
  ACG_Modbus->setColumnHidden(col, false);
  const int wanted = ACG_Modbus->fitting_width(col);
  const int widest = std::max(ACG_Modbus->viewport()->width() / 3, 120);
  ACG_Modbus->setColumnWidth(col, std::min(wanted, widest));
}

// Every title, every choice of a drop-down list and the values shown fit
// their columns, in any language; the last column takes the rest.
void RequestScreen::Fit_Columns() {
  constexpr int widest = 320;
  for (int col = 0; col < RequestTable::ColCount; ++col) {
    int width = ACG_Modbus->fitting_width(col);
    if (const auto* list = qobject_cast<const ComboBoxDelegate*>(ACG_Modbus->itemDelegateForColumn(col))) {
      QComboBox editor;
      editor.setFont(ACG_Modbus->font());
      editor.addItems(list->items());
      width = std::max(width, editor.sizeHint().width());
    }
    ACG_Modbus->setColumnWidth(col, std::min(width, widest));
  }
}

void RequestScreen::Btn_DelRowClick() {
  ACG_Modbus->commit_open_edit();
  const int row = current_row();
  if (!context_.services.boxes.question(this, text(kind_.msg_delete_question) + QString::number(row))) return;
  undo_->push(new RowOperation(row_target(), RowOperation::Kind::Delete, row));
}

void RequestScreen::Btn_InsRowClick() {
  ACG_Modbus->commit_open_edit();
  if (!Can_Insert_Row(table_)) {
    context_.services.boxes.error(this, text(Msg_Table_Full));
    return;
  }
  undo_->push(new RowOperation(row_target(), RowOperation::Kind::Insert, current_row()));
}

void RequestScreen::Btn_CopyRowClick() {
  ACG_Modbus->commit_open_edit();
  Copy_Row(table_, current_row(), copied_);
  Do_Copy = true;
}

void RequestScreen::Btn_PasteRowClick() {
  ACG_Modbus->commit_open_edit();
  const int row = current_row();
  const RowCopyBuffer& buffer = copied_;
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
  undo_->push(new RowOperation(row_target(), RowOperation::Kind::Paste, row, buffer));
}

void RequestScreen::ACG_ModbusDblClickCell(int column) {
  // Only column titles reach here; the option is read at each click.
  if (AutoSize_Column(editing_.double_click_auto_size, 0)) ACG_Modbus->resizeColumnToContents(column);
}

void RequestScreen::Build_Tools() {
  csv_ = new RequestCsvActions(this, kind_, context_,
                               {.shown = [this]() -> const RequestTable& {
                                  ACG_Modbus->commit_open_edit();
                                  return table_;
                                },
                                .table_context = [this]() -> const TableContext& { return table_context_; },
                                .table_file = [this] { return Table_Path(project_.dir, kind_); },
                                .replace =
                                    [this](const RequestTable& rows) {
                                      ACG_Modbus->commit_open_edit();
                                      undo_->push(new TableReplace(row_target(), rows));
                                    }});
  warnings_ = new RequestWarningsView(this, [this](const std::vector<int>& rows) { Select_Rows(rows); });
  // Every change of the rows goes through the history, so the warnings follow
  // each edit, undo and import.
  connect(undo_, &QUndoStack::indexChanged, this, &RequestScreen::Update_Warnings);
  find_bar_ =
      new RequestFindBar(this, [this](const QString& query, bool forward) { return Find_Cell(query, forward); });
  connect(find_bar_, &RequestFindBar::closed, ACG_Modbus, [this] { ACG_Modbus->setFocus(Qt::OtherFocusReason); });
  auto* find_keys = new QAction(this);
  find_keys->setShortcuts(QKeySequence::Find);
  connect(find_keys, &QAction::triggered, find_bar_, &RequestFindBar::Open);
  addAction(find_keys);
}

void RequestScreen::Set_Tools_Lang() {
  csv_->Set_Lang();
  warnings_->Set_Texts(text(Msg_Warnings), text(Msg_Warnings_Hint), text(Msg_Warnings_List));
  find_bar_->Set_Texts({text(Msg_Find), text(Msg_Find_Hint), text(Msg_Find_Next), text(Msg_Find_Next_Hint),
                        text(Msg_Find_Previous), text(Msg_Find_Previous_Hint), text(Msg_Find_Close),
                        text(Msg_Find_Close_Hint), text(Msg_Find_No_Match), text(Msg_Find_Wrapped_Top),
                        text(Msg_Find_Wrapped_End)});
  Update_Warnings();  // their texts are in the language too
}

void RequestScreen::Update_Warnings() {
  std::map<int, QString> hints;
  std::vector<RequestWarningsView::Entry> entries;
  for (const NetworkWarning& warning : Network_Warnings(kind_, table_, table_context_, converter_)) {
    const QString reason = to_qstring(Network_Warning_Text(context_.messages, warning));
    for (const int row : warning.rows) {
      QString& hint = hints[row];
      hint += (hint.isEmpty() ? QString() : QStringLiteral("\n")) + reason;
    }
    entries.push_back({reason, warning.rows});
  }
  model_->Set_Warnings(std::move(hints));
  warnings_->Show_Warnings(std::move(entries));
}

void RequestScreen::Select_Rows(const std::vector<int>& rows) {
  if (rows.empty()) return;
  QItemSelectionModel* selection = ACG_Modbus->selectionModel();
  const QModelIndex first = model_->index(rows.front() - 1, Col_COB);
  selection->setCurrentIndex(first, QItemSelectionModel::Clear);
  for (const int row : rows) {
    selection->select(model_->index(row - 1, Col_COB), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  ACG_Modbus->scrollTo(first);
}

std::optional<FindHit> RequestScreen::Find_Cell(const QString& query, bool forward) {
  ACG_Modbus->commit_open_edit();
  const QModelIndex current = ACG_Modbus->currentIndex();
  const std::optional<FindHit> hit =
      Find_Request(table_, to_utf8(query), current.isValid() ? RequestTableModel::table_row(current) : 1,
                   current.isValid() ? current.column() : Col_Number, forward);
  if (hit) {
    const QModelIndex found = model_->index(hit->row - 1, hit->col);
    ACG_Modbus->setCurrentIndex(found);
    ACG_Modbus->scrollTo(found);
  }
  return hit;
}

TFCOBRequest::TFCOBRequest(const Context& context, RowCopyBuffer& copied, QWidget* parent)
    : RequestScreen(Read_Requests(), context, copied, parent) {}

TFCOBSetting::TFCOBSetting(const Context& context, RowCopyBuffer& copied, QWidget* parent)
    : RequestScreen(Write_Requests(), context, copied, parent) {}

}  // namespace sw48230
