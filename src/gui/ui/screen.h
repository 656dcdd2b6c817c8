#pragma once

#include <QDialog>

#include "gui/app/context.h"

class QLabel;
class QVBoxLayout;

namespace sw48230 {

// A modal screen of the program. It is created once at start-up and reused;
// its texts come from the message table through Set_Lang, which runs at
// creation and again after every language change. Its header shows the
// software code and a description line.
class Screen : public QDialog {
  Q_OBJECT
 public:
  Screen(const Context& context, QWidget* parent);

  virtual void Set_Lang() = 0;

 protected:
  // Builds the header; derived screens add their controls below it.
  QVBoxLayout* body() const { return body_; }
  QString text(int index) const;

  Context context_;
  QLabel* L_SW_Code;
  QLabel* L_SW_Desc;

 private:
  QVBoxLayout* body_;
};

}  // namespace sw48230
