#pragma once

#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "core/probe/tested_rows.h"
#include "core/project/project.h"
#include "core/tables/network_warnings.h"
#include "core/tables/request_file.h"
#include "core/tables/request_find.h"
#include "core/tables/row_editing.h"
#include "gui/ui/screen.h"

class QPushButton;
class QTableView;
class QUndoStack;

namespace sw48230 {

class ComboBoxDelegate;
class RequestCsvActions;
class RequestFindBar;
class RequestTableModel;
class RequestTableView;
class RequestTestPanel;
class RequestWarningsView;
struct TableTarget;

// A table of Modbus TCP master requests tied to Cob-IDs. The read requests
// (TFCOBRequest, var.xml) and the write requests (TFCOBSetting, var2.xml)
// are this one screen with the differences of their TableKind. It shows the
// table of the project it is opened with, checks it on OK and hands it to
// `store`, staying open with the user's edits when that fails. Every change
// of the user can be undone back to the opened table.
class RequestScreen : public Screen {
  Q_OBJECT
 public:
  using TableStore = std::function<std::optional<Failure>(const RequestTable&)>;

  // The user's options for editing a table.
  struct Editing {
    bool jump_fields = false;             // Enter moves on to the next field
    bool double_click_auto_size = false;  // a title double-clicked fits its column
  };

  // `copied` is the row Copy takes, shared by both tables for the program's
  // whole run.
  RequestScreen(const TableKind& kind, const Context& context, RowCopyBuffer& copied, QWidget* parent);
  ~RequestScreen() override;

  // Opens modally on the project's table; the project also gives what the
  // checks, the warnings and Test take from the settings and the other table.
  int Open(Project project, TableStore store, Editing editing);

  void Set_Lang() override;

  const RequestTable& table() const { return table_; }

  void reject() override;

 protected:
  void FormShow() override;
  bool Has_Unsaved_Changes() const override;
  void done(int result) override;

 private:
  void Update_Columns();
  void Show_Change(int row, int col, bool move_cursor);
  bool Jump_Next_Cell();
  TableTarget row_target();
  int current_row() const;
  std::set<int> selected_rows() const;
  bool Checks_Pass();
  void Btn_OKClick();
  void Btn_TestClick();
  void Show_Test_Scope();
  void Show_Test_Summary();
  void Show_Result_Column();
  void Fit_Columns();
  void Btn_DelRowClick();
  void Btn_InsRowClick();
  void Btn_CopyRowClick();
  void Btn_PasteRowClick();
  void ACG_ModbusDblClickCell(int column);
  // Export, import, the network warnings and find: wired in by the
  // constructor, each a control of its own.
  void Build_Tools();
  void Set_Tools_Lang();
  void Update_Warnings();
  void Select_Rows(const std::vector<int>& rows);
  std::optional<FindHit> Find_Cell(const QString& query, bool forward);

  const TableKind& kind_;
  RowCopyBuffer& copied_;
  Project project_;
  TableStore store_;
  Editing editing_;
  RequestTable table_;
  // The last test of this opening; its results follow their rows.
  TestedRows tested_;
  TableContext table_context_;
  bool Do_Copy = false;

  QUndoStack* undo_;
  RequestTableModel* model_;
  RequestTableView* ACG_Modbus;
  ComboBoxDelegate* can_type_delegate_;
  ComboBoxDelegate* type_delegate_;
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
  QPushButton* Btn_DelRow;
  QPushButton* Btn_InsRow;
  QPushButton* Btn_CopyRow;
  QPushButton* Btn_PasteRow;
  QPushButton* Btn_Undo;
  QPushButton* Btn_Redo;
  RequestTestPanel* test_panel_;
  RequestCsvActions* csv_ = nullptr;
  RequestWarningsView* warnings_ = nullptr;
  RequestFindBar* find_bar_ = nullptr;
  // Where the converter sits, for the warnings; read at every opening.
  std::optional<ConverterNetwork> converter_;
};

// COB Request: the read requests.
class TFCOBRequest final : public RequestScreen {
  Q_OBJECT
 public:
  TFCOBRequest(const Context& context, RowCopyBuffer& copied, QWidget* parent);
};

// COB Setting: the write requests.
class TFCOBSetting final : public RequestScreen {
  Q_OBJECT
 public:
  TFCOBSetting(const Context& context, RowCopyBuffer& copied, QWidget* parent);
};

}  // namespace sw48230
