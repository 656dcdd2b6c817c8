#include "gui/update/input_hold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

namespace sw48230 {

UserInputHold::UserInputHold() {
  QCoreApplication::instance()->installEventFilter(this);
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

UserInputHold::~UserInputHold() {
  // Input held back by the waiting loops arrives now, while it is still
  // dropped.
  QCoreApplication::processEvents();
  QCoreApplication::instance()->removeEventFilter(this);
  QGuiApplication::restoreOverrideCursor();
}

bool UserInputHold::eventFilter(QObject* watched, QEvent* event) {
  if (event->isInputEvent()) return true;
  // A close from the program itself (on a termination signal) still goes
  // through; only the window system's close box is refused.
  if (event->type() == QEvent::Close && event->spontaneous() && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->isWindow()) {
    event->ignore();
    return true;
  }
  return false;
}

}  // namespace sw48230
