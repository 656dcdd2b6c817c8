#pragma once

#include <array>
#include <vector>

#include "core/update/serial_update.h"
#include "core/update/updater_folders.h"
#include "gui/ui/screen.h"
#include "gui/update/update_options.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace sw48230 {

// The last step for jumper hardware: the user picks the serial port and what
// to write, and the serial updater runs with one command line that says so.
// Page 1 chooses the port, page 2 the options.
class TFBootSer final : public Screen {
  Q_OBJECT
 public:
  TFBootSer(const Context& context, QWidget* parent);

  int Open(const UpdaterFolders& folders);

  void Set_Lang() override;

 protected:
  void FormShow() override;

 private:
  UpdaterFolders folders_;

  void update_ComPort();
  void Show_Page(int page);
  void Btn_NextClick();
  void Btn_UpdateClick();

  QWidget* Page_Port;
  std::array<QLabel*, 5> L_Steps;
  QComboBox* CB_Com;
  QPushButton* Btn_COM_List;
  QPushButton* Btn_Cancel;
  QPushButton* Btn_Next;
  UpdateOptions options_;

  // The ports CB_Com lists, in its order.
  std::vector<SerialPort> ports_;
};

}  // namespace sw48230
