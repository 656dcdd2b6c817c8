#include "gui/ui/table_delegates.h"

#include <QComboBox>

namespace sw48230 {

ComboBoxDelegate::ComboBoxDelegate(QStringList items, QObject* parent)
    : QStyledItemDelegate(parent), items_(std::move(items)) {}

QWidget* ComboBoxDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  auto* editor = new QComboBox(parent);
  editor->addItems(items_);
  // A choice ends the edit at once, as a list in a grid cell is expected to.
  connect(editor, &QComboBox::activated, this, [this, editor] {
    auto* self = const_cast<ComboBoxDelegate*>(this);
    emit self->commitData(editor);
    emit self->closeEditor(editor);
  });
  return editor;
}

void ComboBoxDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* list = static_cast<QComboBox*>(editor);
  list->setCurrentIndex(list->findText(index.data(Qt::EditRole).toString(), Qt::MatchFixedString));
}

void ComboBoxDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
  const auto* list = static_cast<QComboBox*>(editor);
  if (list->currentIndex() >= 0) model->setData(index, list->currentText(), Qt::EditRole);
}

}  // namespace sw48230
