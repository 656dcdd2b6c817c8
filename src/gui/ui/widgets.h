#pragma once

#include <QHBoxLayout>
#include <QString>
#include <QWidget>
#include <initializer_list>

namespace sw48230 {

// Creates a control carrying its control name, by which tests and UI
// automation find it.
template <typename Widget>
Widget* make_named(QWidget* parent, const char* name) {
  auto* widget = new Widget(parent);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// Sets the Tab order to follow `chain`, as a user reads the screen; hidden
// controls are skipped when Tab moves.
inline void set_tab_chain(std::initializer_list<QWidget*> chain) {
  QWidget* previous = nullptr;
  for (QWidget* widget : chain) {
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

// The row of confirming buttons under a screen's content, right-aligned.
inline QHBoxLayout* button_row(std::initializer_list<QWidget*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QWidget* button : buttons) row->addWidget(button);
  return row;
}

}  // namespace sw48230
