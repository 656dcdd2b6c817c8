#pragma once

#include <QObject>

namespace sw48230 {

// Keeps the user out while the screen waits in a loop of its own: the
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
};

}  // namespace sw48230
