#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/common/failure.h"
#include "core/commsettings/comm_settings.h"
#include "core/commsettings/pargen_file.h"
#include "gui/ui/screen.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace sw48230 {

// Edits the project's communication settings (ParGen.xml): device type, CAN
// bit rate and frame format, and the converter's Modbus TCP master
// parameters. It shows the settings of the file it is opened with and
// hands what the user confirms to `store`, staying open with the user's
// edits when that fails.
class TFParGen final : public Screen {
  Q_OBJECT
 public:
  using SettingsStore = std::function<std::optional<Failure>(const CommSettings&)>;

  TFParGen(const Context& context, QWidget* parent);

  // `path` is where the file is, for what the user is told about it.
  int Open(const ParGenFile& file, const std::filesystem::path& path, SettingsStore store);

  void Set_Lang() override;

  void setSettings(const CommSettings& settings);
  CommSettings settings() const;

 protected:
  void FormShow() override;
  bool Has_Unsaved_Changes() const override { return Is_Change_; }
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A group box whose fields can be folded away under its caption line. The
  // screen lives as long as the program, so a folded group stays folded at
  // the next opening.
  struct Group {
    QGroupBox* box = nullptr;
    QWidget* fields = nullptr;
    QToolButton* collapse = nullptr;
    QToolButton* expand = nullptr;
  };

  enum GroupIndex { Select_Device_Group, CAN_Group, Modbus_TCP_Master_Group };

  QWidget* make_group(GroupIndex index, const char* name);
  void Set_Group_Expanded(GroupIndex index, bool expanded);
  QLineEdit* make_edit(const char* name, int width);
  void FormActivate();
  void On_Change();
  void Move_GroupBoxs();
  void Update_CAN_Baud();
  // The field a failed check is about, to take the user there.
  QLineEdit* Field_Edit(const CommCheckFailure& failure) const;
  void Btn_OKClick();

  // GB_select_Device, GB_CAN, GB_Modbus_TCP_Master, top to bottom.
  std::array<Group, 3> groups_;

  QComboBox* CB_Select_Device;
  QLabel* L_CAN_Baud;
  QComboBox* CB_CAN_Baud;
  QLabel* L_CAN_Type;
  QComboBox* CB_CAN_Type;
  QLabel* L_Modbus_TCP_Master_IP_Add;
  QLabel* L_Modbus_TCP_Master_SM_Add;
  QCheckBox* CB_En_GAT_Modbus_TCP_Master;
  std::array<QLineEdit*, 4> E_IP;
  std::array<QLineEdit*, 4> E_SM;
  std::array<QLineEdit*, 4> E_GAT;
  QLabel* L_ModbusTCPMaster_Port;
  QLineEdit* E_Port_Modbus_TCP_Master;
  QLabel* L_ModbusTCPMaster_TimeOut;
  QLineEdit* E_TO_Modbus_TCP_Master;
  QCheckBox* CB_Dont_Disconnect_Modbus_TCP_Master;
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;

  // IP1..IP4, SM1..SM4, GAT1..GAT4: the order in which "." moves the focus.
  std::array<QLineEdit*, 12> address_chain_;
  bool Is_Change_ = false;
  ParGenFile file_;
  std::filesystem::path path_;
  SettingsStore store_;
};

}  // namespace sw48230
