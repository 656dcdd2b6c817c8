#pragma once

#include <filesystem>
#include <string>

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

  // Lists the projects under `projects_dir`, the `active` one chosen (an
  // empty name while none is open).
  int Open(const std::filesystem::path& projects_dir, const std::string& active);

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
  std::filesystem::path projects_dir_;
  std::string active_;
};

}  // namespace sw48230
