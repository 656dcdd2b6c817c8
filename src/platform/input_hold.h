#pragma once

#include <QObject>

class QCoreApplication;

namespace sw48230 {

// Keeps the user out while the program waits in a loop of its own (for an
// updater, for a ping): the
// windows paint under a wait cursor, but clicks, keys and the window
// system's close are dropped, not saved for later, so nothing the user did
// meanwhile starts once the wait is over.
class UserInputHold final : public QObject {
 public:
  UserInputHold();
  ~UserInputHold() override;

  UserInputHold(const UserInputHold&) = delete;
  UserInputHold& operator=(const UserInputHold&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QCoreApplication* app_;
  bool cursor_set_ = false;
};

}  // namespace sw48230
