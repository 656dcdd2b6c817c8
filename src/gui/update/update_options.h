#pragma once

#include "core/update/update_choices.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

namespace sw48230 {

// Page 2 of both update screens: what the updater writes and reads back, and
// the button that runs it. The boxes start ticked when the screen is created
// and keep the user's choice for the rest of the run.
struct UpdateOptions {
  explicit UpdateOptions(QWidget* parent);

  UpdateChoices choices() const;

  QWidget* page;
  QLabel* L_Options;
  QCheckBox* CB_Firmware;
  QCheckBox* CB_Read_Firm;
  QCheckBox* CB_Conf;
  QCheckBox* CB_Read_Conf;
  QPushButton* Btn_Update;
};

}  // namespace sw48230
