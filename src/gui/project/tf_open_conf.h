#pragma once

#include "gui/ui/screen.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace sw48230 {

// Lists the projects and lets the user choose the one to open. The main
// window reads the choice from Name_Conf after OK.
class TFOpenConf final : public Screen {
  Q_OBJECT
 public:
  TFOpenConf(const Context& context, QWidget* parent);

  void Set_Lang() override;

  const QString& Name_Conf() const { return Name_Conf_; }

 protected:
  void FormShow() override;

 private:
  void Fill_List();
  void Btn_OKClick();

  QLabel* Label1;
  QListWidget* ListBox1;
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
  QString Name_Conf_;
};

}  // namespace sw48230
