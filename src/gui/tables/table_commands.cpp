#include "gui/tables/table_commands.h"

#include <utility>

namespace sw48230 {
namespace {

constexpr int Last_Row = RequestTable::RowCount - 1;

void tell_moved(const TableTarget& target, int row, int delta) {
  if (target.moved) target.moved(row, delta);
}

}  // namespace

CellEdit::CellEdit(TableTarget target, int row, int col, std::string text)
    : target_(std::move(target)),
      row_(row),
      col_(col),
      before_(target_.table.cell(row, col)),
      after_(std::move(text)) {}

void CellEdit::set(const std::string& text) {
  target_.table.cell(row_, col_) = text;
  target_.show(row_, col_, std::exchange(done_once_, true));
}

RowOperation::RowOperation(TableTarget target, Kind kind, int row, RowCopyBuffer pasted)
    : target_(std::move(target)), kind_(kind), row_(row), pasted_(std::move(pasted)) {
  Copy_Row(target_.table, kind == Kind::Insert ? Last_Row : row, lost_);
}

void RowOperation::redo() {
  switch (kind_) {
    case Kind::Delete:
      Delete_Row(target_.table, row_);
      tell_moved(target_, row_, -1);
      break;
    case Kind::Insert:
      Insert_Row(target_.table, row_);
      tell_moved(target_, row_, +1);
      break;
    case Kind::Paste:
      Paste_Row(target_.table, row_, pasted_);
      break;
  }
  target_.show(row_, -1, true);
}

void RowOperation::undo() {
  switch (kind_) {
    case Kind::Delete:
      // The delete left the last row empty, so the insert moves nothing out.
      Insert_Row(target_.table, row_);
      Paste_Row(target_.table, row_, lost_);
      tell_moved(target_, row_, +1);
      break;
    case Kind::Insert:
      Delete_Row(target_.table, row_);
      Paste_Row(target_.table, Last_Row, lost_);
      tell_moved(target_, row_, -1);
      break;
    case Kind::Paste:
      Paste_Row(target_.table, row_, lost_);
      break;
  }
  target_.show(row_, -1, true);
}

TableReplace::TableReplace(TableTarget target, const RequestTable& rows)
    : target_(std::move(target)), before_(target_.table), after_(rows) {}

void TableReplace::set(const RequestTable& rows) {
  // The cursor goes to the top of the new rows; the core's current cell is
  // the screen's to set.
  const int row = target_.table.current_row;
  const int col = target_.table.current_col;
  target_.table = rows;
  target_.table.current_row = row;
  target_.table.current_col = col;
  target_.show(1, -1, true);
}

}  // namespace sw48230
