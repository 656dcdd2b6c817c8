#pragma once

#include "gui/ui/screen.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace sw48230 {

// Asks for the name of a new project, creates its folder and makes it the
// active project.
class TFNew_Project final : public Screen {
  Q_OBJECT
 public:
  TFNew_Project(const Context& context, QWidget* parent);

  void Set_Lang() override;

 protected:
  void FormShow() override;

 private:
  void Btn_OKClick();

  QLabel* Label1;
  QLineEdit* E_New_Proj;
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
};

}  // namespace sw48230
