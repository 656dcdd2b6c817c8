#include "gui/tables/request_find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"

namespace sw48230 {

RequestFindBar::RequestFindBar(QWidget* parent, Finder find)
    : QWidget(parent),
      find_(std::move(find)),
      L_Find(make_named<QLabel>(this, "L_Find")),
      E_Find(make_named<QLineEdit>(this, "E_Find")),
      Btn_Find_Previous(make_named<QPushButton>(this, "Btn_Find_Previous")),
      Btn_Find_Next(make_named<QPushButton>(this, "Btn_Find_Next")),
      Btn_Find_Close(make_named<QPushButton>(this, "Btn_Find_Close")),
      L_Find_Status(make_named<QLabel>(this, "L_Find_Status")) {
  setObjectName(QStringLiteral("Find_Bar"));
  L_Find->setBuddy(E_Find);
  L_Find_Status->setTextFormat(Qt::PlainText);
  for (QPushButton* button : {Btn_Find_Previous, Btn_Find_Next, Btn_Find_Close}) button->setAutoDefault(false);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(L_Find);
  layout->addWidget(E_Find, 1);
  layout->addWidget(Btn_Find_Previous);
  layout->addWidget(Btn_Find_Next);
  layout->addWidget(Btn_Find_Close);
  layout->addWidget(L_Find_Status, 1);
  connect(Btn_Find_Next, &QPushButton::clicked, this, [this] { Find(true); });
  connect(Btn_Find_Previous, &QPushButton::clicked, this, [this] { Find(false); });
  connect(Btn_Find_Close, &QPushButton::clicked, this, &RequestFindBar::Close);
  // A new query starts without the last one's note.
  connect(E_Find, &QLineEdit::textEdited, L_Find_Status, &QLabel::clear);
  setVisible(false);
}

void RequestFindBar::Set_Texts(Texts texts) {
  texts_ = std::move(texts);
  set_caption(L_Find, texts_.label, texts_.hint);
  set_hint(E_Find, texts_.hint);
  set_caption(Btn_Find_Next, texts_.next, texts_.next_hint);
  set_caption(Btn_Find_Previous, texts_.previous, texts_.previous_hint);
  set_caption(Btn_Find_Close, texts_.close, texts_.close_hint);
  L_Find_Status->clear();
}

void RequestFindBar::Open() {
  setVisible(true);
  E_Find->setFocus(Qt::ShortcutFocusReason);
  E_Find->selectAll();
}

void RequestFindBar::Close() {
  if (!isVisible()) return;
  setVisible(false);
  L_Find_Status->clear();
  emit closed();
}

// The keys reach the bar from its line edit and its buttons, which leave
// Enter and Escape to their parent; the screen must not see them, since
// there Escape would close it.
void RequestFindBar::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      Close();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button != nullptr && isAncestorOf(button)) {
        button->click();
      } else {
        Find(!event->modifiers().testFlag(Qt::ShiftModifier));
      }
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void RequestFindBar::Find(bool forward) {
  if (E_Find->text().trimmed().isEmpty()) {
    L_Find_Status->clear();
    return;
  }
  const std::optional<FindHit> hit = find_(E_Find->text(), forward);
  QString note;
  if (!hit) {
    note = texts_.no_match;
  } else if (hit->wrapped) {
    note = forward ? texts_.wrapped_to_top : texts_.wrapped_to_end;
  }
  L_Find_Status->setText(note);
  L_Find_Status->setAccessibleName(note);
}

}  // namespace sw48230
