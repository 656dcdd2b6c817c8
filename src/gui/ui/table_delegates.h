#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

namespace sw48230 {

// Edits a cell with a drop-down list of fixed texts. The cell keeps the text
// of the chosen entry; a text that is not in the list (loaded from a file)
// shows as it is until the user picks an entry.
class ComboBoxDelegate final : public QStyledItemDelegate {
  Q_OBJECT
 public:
  ComboBoxDelegate(QStringList items, QObject* parent);

  void setItems(QStringList items) { items_ = std::move(items); }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

 private:
  QStringList items_;
};

}  // namespace sw48230
