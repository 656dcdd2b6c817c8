#pragma once

#include <QUndoCommand>
#include <functional>
#include <string>

#include "core/tables/row_editing.h"

namespace sw48230 {

// What an undoable change of a request table works on: the table, and how
// the screen shows a change: it refreshes the cell (`col` -1: the whole
// table) and, on an undo or redo, puts the cursor there. `moved` hears of
// rows that moved, before `show`: a row removed (`delta` -1, later rows move
// up) or inserted (+1, it and later rows move down).
struct TableTarget {
  RequestTable& table;
  std::function<void(int row, int col, bool move_cursor)> show;
  std::function<void(int row, int delta)> moved = {};
};

// The user set one cell's text.
class CellEdit final : public QUndoCommand {
 public:
  CellEdit(TableTarget target, int row, int col, std::string text);

  void redo() override { set(after_); }
  void undo() override { set(before_); }

 private:
  void set(const std::string& text);

  TableTarget target_;
  int row_;
  int col_;
  std::string before_;
  std::string after_;
  // The first redo is the edit itself, made where the user is (or is going).
  bool done_once_ = false;
};

// Delete Row, Insert Row or Paste Row on one row. Each keeps what its undo
// needs to bring back: the row it overwrote or dropped.
class RowOperation final : public QUndoCommand {
 public:
  enum class Kind { Delete, Insert, Paste };

  // Call only where the operation may run (Insert: the last row is not in
  // use); `pasted` is the buffer of a paste.
  RowOperation(TableTarget target, Kind kind, int row, RowCopyBuffer pasted = {});

  void redo() override;
  void undo() override;

 private:
  TableTarget target_;
  Kind kind_;
  int row_;
  RowCopyBuffer pasted_;
  // The row that the operation overwrites (Delete, Paste) or pushes out of
  // the table (Insert: the last row).
  RowCopyBuffer lost_;
};

// The whole table replaced at once, as an import does: one step to undo.
class TableReplace final : public QUndoCommand {
 public:
  TableReplace(TableTarget target, const RequestTable& rows);

  void redo() override { set(after_); }
  void undo() override { set(before_); }

 private:
  void set(const RequestTable& rows);

  TableTarget target_;
  RequestTable before_;
  RequestTable after_;
};

}  // namespace sw48230
