#pragma once

#include <QWidget>
#include <filesystem>
#include <optional>

#include "core/app/app_state.h"
#include "core/common/failure.h"
#include "core/i18n/message_table.h"
#include "core/image/image_build.h"
#include "gui/ui/context.h"

class QLabel;
class QPushButton;
class QTimer;

namespace sw48230 {

class RequestScreen;
class TFAbout;
struct TableKind;
class TFNew_Project;
class TFOpenConf;
class TFParGen;
class TFCOBRequest;
class TFCOBSetting;
class TFSoftOptions;
class TFBootTCP;
class TFBootSer;

// The main window: owns the application state and the message table,
// creates every screen once, and leads the user through the five steps.
class TFMain final : public QWidget {
  Q_OBJECT
 public:
  TFMain(const Services& services, const std::filesystem::path& program_dir);

  const AppState& state() const { return state_; }

  // Re-captions every screen after the language changed.
  void Change_Language();

  // The last part of Update Device, once the image is written: the Ethernet
  // update for a bank2.bin image (dip-switch hardware), else the serial update.
  void Show_Update_Screen(ImageKind built);

  // Ends the program as the close box does: open dialogs and message boxes
  // are dropped without asking and the settings saved. Used for SIGINT and
  // SIGTERM.
  void Terminate();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Update_Device();
  void Open_Settings();
  void Open_Table(RequestScreen& screen, const TableKind& kind);
  void FormCreate(const std::filesystem::path& program_dir);
  void Create_Screens();
  void Set_Lang();
  void Show_Project_Labels();
  void Btn_COB_RequestClick();
  void Create_New_Project();
  void Open_Project();
  std::optional<Failure> Save_Setting();
  void Set_Update_Timer();
  void Timer_UpdateTimer();
  void L_NorvaneClick();

  AppState state_;
  MessageTable messages_;
  // The two image buffers live for the whole run: a build overwrites only
  // the buffer of its own kind, and a buffer is written only into the
  // project it was built for.
  ImageBuffers image_buffers_;
  Context context_;

  QLabel* L_SW_Code;
  QLabel* L_SW_Desc;
  QPushButton* Btn_Info;
  QPushButton* Btn_Opz;
  QPushButton* Btn_Close;
  QLabel* LL_Update;
  QLabel* L_Begin;
  QLabel* L_Name_Conf;
  QLabel* L_Name_Conf_L2;
  QLabel* L_Step[9];  // 1..8 used; 6..8 stay hidden
  QPushButton* Btn_New;
  QPushButton* Btn_Open;
  QPushButton* Btn_Prm_Gen;
  QPushButton* Btn_COB_Request;
  QPushButton* Btn_COB_Setting;
  QPushButton* Btn_CreateBin;
  QLabel* L_Norvane;
  QTimer* Timer_Update;

  TFNew_Project* FNew_Project = nullptr;
  TFOpenConf* FOpenConf = nullptr;
  TFAbout* FAbout = nullptr;
  TFParGen* FParGen = nullptr;
  TFCOBRequest* FCOBRequest = nullptr;
  TFCOBSetting* FCOBSetting = nullptr;
  TFSoftOptions* FSoftOptions = nullptr;
  TFBootTCP* FBootTCP = nullptr;
  TFBootSer* FBootSer = nullptr;
};

}  // namespace sw48230
