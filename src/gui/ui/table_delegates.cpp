#include "gui/ui/table_delegates.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>

namespace sw48230 {
namespace {

bool is_enter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The list of an editor: a view inside the popup that the editor owns.
QComboBox* list_owner(QObject* watched) {
  if (qobject_cast<QAbstractItemView*>(watched) == nullptr) return nullptr;
  for (QObject* up = watched->parent(); up != nullptr; up = up->parent()) {
    if (auto* owner = qobject_cast<QComboBox*>(up)) return owner;
  }
  return nullptr;
}

}  // namespace

bool CellDelegate::eventFilter(QObject* watched, QEvent* event) {
  if (auto* editor = qobject_cast<QWidget*>(watched); editor != nullptr && is_enter(event)) {
    emit Enter_Pressed(editor);
    return true;
  }
  return QStyledItemDelegate::eventFilter(watched, event);
}

ComboBoxDelegate::ComboBoxDelegate(QStringList items, QObject* parent)
    : CellDelegate(parent), items_(std::move(items)) {}

QWidget* ComboBoxDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  auto* editor = new QComboBox(parent);
  editor->addItems(items_);
  auto* self = const_cast<ComboBoxDelegate*>(this);
  // The open list has the keyboard, so its Enter is caught there.
  editor->view()->installEventFilter(self);
  // A choice by mouse ends the edit at once, as a list in a grid cell is
  // expected to.
  connect(editor, &QComboBox::activated, this, [self, editor] {
    emit self->commitData(editor);
    emit self->closeEditor(editor);
  });
  return editor;
}

bool ComboBoxDelegate::eventFilter(QObject* watched, QEvent* event) {
  QComboBox* editor = list_owner(watched);
  if (editor != nullptr && is_enter(event)) {
    const QModelIndex highlighted = editor->view()->currentIndex();
    if (highlighted.isValid()) editor->setCurrentIndex(highlighted.row());
    editor->hidePopup();
    emit Enter_Pressed(editor);
    return true;
  }
  if (editor != nullptr) return false;  // the list's other keys are its own
  return CellDelegate::eventFilter(watched, event);
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
