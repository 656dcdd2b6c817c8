#include "platform/input_hold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

namespace sw48230 {

UserInputHold::UserInputHold() : app_(QCoreApplication::instance()) {
  if (app_ == nullptr) return;
  app_->installEventFilter(this);
  if (qobject_cast<QGuiApplication*>(app_) != nullptr) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    cursor_set_ = true;
  }
}

UserInputHold::~UserInputHold() {
  if (app_ == nullptr) return;
  // Input held back by the waiting loops (they exclude user input) arrives
  // now, while it is still dropped: a click made during the wait must not
  // start something the moment the wait is over.
  QCoreApplication::processEvents();
  app_->removeEventFilter(this);
  if (cursor_set_) QGuiApplication::restoreOverrideCursor();
}

bool UserInputHold::eventFilter(QObject* watched, QEvent* event) {
  if (event->isInputEvent()) return true;
  // The window system's close (close box, Alt+F4) reaches the widget as a
  // spontaneous event; QWidget::close() from the program does not, and that
  // is how the main window shuts down on a termination signal.
  if (event->type() == QEvent::Close && event->spontaneous() && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->isWindow()) {
    // An unhandled close event counts as accepted, so refuse it explicitly.
    event->ignore();
    return true;
  }
  return false;
}

}  // namespace sw48230
