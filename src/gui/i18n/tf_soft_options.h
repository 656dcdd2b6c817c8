#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/settings/app_settings.h"
#include "gui/ui/screen.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace sw48230 {

// The software options: the language, internet access with the update
// check, and two table-editing behaviours. A language chosen here re-captions
// every screen at once through `change_language`; the language name and the
// flags reach the application state only with OK.
class TFSoftOptions final : public Screen {
  Q_OBJECT
 public:
  TFSoftOptions(const Context& context, std::function<void()> change_language, QWidget* parent);

  // Shows `settings`, the languages offered in `language_dir`; after OK,
  // settings() holds the user's choices.
  int Open(const AppSettings& settings, const std::filesystem::path& language_dir);
  const AppSettings& settings() const { return settings_; }

  void Set_Lang() override;

 protected:
  void FormShow() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static constexpr int Slot_Count = 6;

  AppSettings settings_;
  std::filesystem::path language_dir_;

  void Draw_Page();
  void Show_Language_Texts();
  void Choose_Language(int slot);
  void Enable_Controls();
  void Btn_Check_UpdateClick();
  void Btn_OKClick();

  std::function<void()> change_language_;
  std::vector<std::string> SL_Languages;
  int Show_Page = 1;
  std::string Language_In_Use;

  QTabWidget* PageControl;
  QWidget* TS_Language;
  QWidget* TS_Con_Options;
  QWidget* TS_Soft_Settings;
  QLabel* L_Sel_Lang;
  std::array<QLabel*, Slot_Count> I_L{};
  std::array<QLabel*, Slot_Count> L_L{};
  QLabel* L_Page_Lang;
  QPushButton* Btn_Prev;
  QPushButton* Btn_Next;
  QCheckBox* CB_En_Con;
  QCheckBox* CB_Update;
  QPushButton* Btn_Check_Update;
  QLabel* LL_Check_Update;
  QCheckBox* CB_Soft_Set_Jump_Table;
  QCheckBox* CB_DoubleClick_Auto_Size;
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
};

}  // namespace sw48230
