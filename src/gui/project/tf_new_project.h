#pragma once

#include <filesystem>
#include <string>

#include "gui/ui/screen.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace sw48230 {

// Asks for the name of a new project and creates its folder under the
// projects folder it is opened with; after OK, Name and Folder tell the
// main window which project to make the active one.
class TFNew_Project final : public Screen {
  Q_OBJECT
 public:
  TFNew_Project(const Context& context, QWidget* parent);

  int Open(const std::filesystem::path& projects_dir);
  const std::string& Name() const { return name_; }
  const std::filesystem::path& Folder() const { return folder_; }

  void Set_Lang() override;

 protected:
  void FormShow() override;

 private:
  void Btn_OKClick();

  std::filesystem::path projects_dir_;
  std::string name_;
  std::filesystem::path folder_;

  QLabel* Label1;
  QLineEdit* E_New_Proj;
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
};

}  // namespace sw48230
