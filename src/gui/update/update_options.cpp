#include "gui/update/update_options.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/ui/widgets.h"

namespace sw48230 {

UpdateOptions::UpdateOptions(QWidget* parent)
    : page(make_named<QWidget>(parent, "Page_Options")),
      L_Options(make_named<QLabel>(page, "L_Options")),
      CB_Firmware(make_named<QCheckBox>(page, "CB_Firmware")),
      CB_Read_Firm(make_named<QCheckBox>(page, "CB_Read_Firm")),
      CB_Conf(make_named<QCheckBox>(page, "CB_Conf")),
      CB_Read_Conf(make_named<QCheckBox>(page, "CB_Read_Conf")),
      Btn_Update(make_named<QPushButton>(page, "Btn_Update")) {
  QFont heading = L_Options->font();
  heading.setBold(true);
  L_Options->setFont(heading);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(L_Options);
  for (QCheckBox* box : {CB_Firmware, CB_Read_Firm, CB_Conf, CB_Read_Conf}) {
    box->setChecked(true);
    layout->addWidget(box);
  }
  layout->addLayout(button_row({Btn_Update}));
}

UpdateChoices UpdateOptions::choices() const {
  return {CB_Firmware->isChecked(), CB_Read_Firm->isChecked(), CB_Conf->isChecked(), CB_Read_Conf->isChecked()};
}

}  // namespace sw48230
