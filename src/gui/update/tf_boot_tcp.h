#pragma once

#include <array>
#include <functional>
#include <string>

#include "core/update/updater_folders.h"
#include "gui/ui/screen.h"
#include "gui/update/update_options.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace sw48230 {

// The last step for dip-switch hardware: the user enters the device's
// address and pings it, chooses what to write, and the Ethernet updater runs
// with everything it needs in Ethernet_Update.xml. Page 1 finds the device,
// page 2 holds the options.
class TFBootTCP final : public Screen {
  Q_OBJECT
 public:
  using AddressKeeper = std::function<void(const std::string&)>;

  TFBootTCP(const Context& context, QWidget* parent);

  // `last_address` fills the fields when it is a valid address; the address
  // of a device found goes to `keep` at once, so it is remembered however
  // the screen ends.
  int Open(const UpdaterFolders& folders, const std::string& last_address, AddressKeeper keep);

  void Set_Lang() override;

 protected:
  void FormShow() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  UpdaterFolders folders_;
  std::string last_address_;
  AddressKeeper keep_address_;

  void Show_Page(int page);
  QString Address_Text() const;
  void Show_Ping_Result(const QString& caption, bool found, const QString& detail = QString());
  void Forget_Ping();
  void LbButton1Click();  // Btn_Ping
  void LbButton2Click();  // Btn_Next
  void LbButton4Click();  // Btn_Update

  QWidget* Page_Address;
  QLabel* L_IP_Address;
  std::array<QLineEdit*, 4> E_IP;
  std::array<QLabel*, 3> Label_Dot;  // Label2 .. Label4
  QLabel* L_Ping;
  QPushButton* Btn_Ping;
  QLabel* LPing;
  QPushButton* Btn_Cancel;
  QPushButton* Btn_Next;
  UpdateOptions options_;

  // The device answered the last ping since the screen was shown, at the
  // address the fields still hold; Next needs it.
  bool Esegui_Ping = false;
};

}  // namespace sw48230
