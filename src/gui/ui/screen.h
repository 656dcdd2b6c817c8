#pragma once

#include <QDialog>

#include "gui/ui/context.h"

class QLabel;
class QWidget;
class QVBoxLayout;

namespace sw48230 {

class MessageBoxes;

// A modal screen of the program. It is created once at start-up and reused;
// its texts come from the message table through Set_Lang, which runs at
// creation and again after every language change. Its header shows the
// software code and a description line.
class Screen : public QDialog {
  Q_OBJECT
 public:
  Screen(const Context& context, QWidget* parent);

  virtual void Set_Lang() = 0;

  // The opening from the main window: the screen loads what it shows, then
  // runs modally. Only this loads: a show that the window system causes
  // (restoring a minimised window, switching desktops) leaves the screen as
  // the user left it.
  int Open();

  // Cancel, the Escape key and the window's close box: unsaved changes are
  // given up only after the user said so.
  void reject() override;

 protected:
  virtual void FormShow() {}
  virtual bool Has_Unsaved_Changes() const { return false; }

  // Builds the header; derived screens add their controls below it.
  QVBoxLayout* body() const { return body_; }
  QString text(int index) const;

  // A box shown once the screen is up, so the user sees what it is about:
  // `box` is &MessageBoxes::error or &MessageBoxes::warning.
  void Show_When_Up(void (MessageBoxes::*box)(QWidget*, const QString&), const QString& message);

  Context context_;
  QLabel* L_SW_Code;
  QLabel* L_SW_Desc;

 private:
  QVBoxLayout* body_;
};

}  // namespace sw48230
