#pragma once

#include <QString>

class QWidget;

namespace sw48230 {

// The program's two kinds of message box. Screens get them through this
// interface so that tests can answer them without a real dialog.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;

  // An error icon and one OK button.
  virtual void error(QWidget* parent, const QString& text) = 0;

  // A warning icon and one OK button.
  virtual void warning(QWidget* parent, const QString& text) = 0;

  // A question icon with Yes and No; true only for Yes.
  virtual bool question(QWidget* parent, const QString& text) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
 public:
  void error(QWidget* parent, const QString& text) override;
  void warning(QWidget* parent, const QString& text) override;
  bool question(QWidget* parent, const QString& text) override;
};

}  // namespace sw48230
