#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

namespace sw48230 {

// Edits a grid cell and leaves the Enter key to the grid: Enter in the
// editor only reports `Enter_Pressed`, so that the grid commits the edit and
// moves the cursor once, instead of the editor and the grid each acting on
// the same key.
class CellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  explicit CellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

 signals:
  void Enter_Pressed(QWidget* editor);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Edits a cell with a drop-down list of fixed texts. The cell keeps the text
// of the chosen entry; a text that is not in the list (loaded from a file)
// shows as it is until the user picks an entry. Enter on the open list
// takes the highlighted entry, like Enter on the closed list.
class ComboBoxDelegate final : public CellDelegate {
  Q_OBJECT
 public:
  ComboBoxDelegate(QStringList items, QObject* parent);

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

  const QStringList& items() const { return items_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QStringList items_;
};

}  // namespace sw48230
