#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/app/program_dir.h"
#include "core/common/paths.h"
#include "core/common/product.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"
#include "core/i18n/update_check.h"
#include "core/probe/prober.h"
#include "gui/app/tf_main.h"
#include "gui/ui/file_dialogs.h"
#include "gui/ui/message_boxes.h"
#include "gui/ui/texts.h"
#include "platform/event_loop_clock.h"
#include "platform/http_getter.h"
#include "platform/icmp_echo.h"
#include "platform/program_starter.h"
#include "platform/serial_ports.h"
#include "platform/signal_bridge.h"
#include "platform/url_opener.h"

namespace {

// --help and --version must work where there is no display as well.
bool only_prints(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray arg(argv[i]);
    if (arg == "--help" || arg == "-h" || arg == "--help-all" || arg == "--version" || arg == "-v") return true;
  }
  return false;
}

std::filesystem::path to_path(const QString& dir) {
  return sw48230::path_from_utf8(sw48230::to_utf8(QDir::toNativeSeparators(dir)));
}

std::string environment(const char* name) { return sw48230::to_utf8(qEnvironmentVariable(name)); }

sw48230::ProgramDirFacts program_dir_facts(const QString& given) {
  const QString executable_dir = QApplication::applicationDirPath();
  const QDir dir(executable_dir);
  sw48230::ProgramDirFacts facts;
  if (!given.isNull()) facts.given = to_path(QDir(given.isEmpty() ? QStringLiteral(".") : given).absolutePath());
  facts.executable_dir = to_path(executable_dir);
  facts.executable_dir_writable = QFileInfo(executable_dir).isWritable();
  facts.executable_dir_holds_data = QFileInfo(dir.filePath(QString::fromUtf8(sw48230::Projects_Folder_Name))).isDir() ||
                                    QFileInfo::exists(dir.filePath(QString::fromUtf8(sw48230::Settings_File_Name)));
  facts.installed_languages_present =
      QFileInfo(QString::fromStdString(sw48230::path_to_utf8(sw48230::Installed_Language_Dir(facts.executable_dir))))
          .isDir();
  facts.xdg_data_home = environment("XDG_DATA_HOME");
  facts.home = environment("HOME");
  facts.local_app_data = environment("LOCALAPPDATA");
  facts.user_profile = environment("USERPROFILE");
  return facts;
}

// The program starts with the languages it can read; what it could not
// install is said on standard error, as a settings file it cannot save.
void report_language_refresh(const sw48230::LanguageRefresh& refresh) {
  std::string lines;
  for (const sw48230::Failure& skipped : refresh.skipped) {
    lines += "sw48230: skipped " + skipped.file + ": " + skipped.reason + "\n";
  }
  for (const sw48230::Failure& failure : refresh.not_written) {
    lines += "sw48230: " + sw48230::Failure_Message(sw48230::English_Messages(), failure) + "\n";
  }
  std::fputs(lines.c_str(), stderr);
  std::fflush(stderr);
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace sw48230;
  if (only_prints(argc, argv)) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(SW_Code));
  QApplication::setApplicationVersion(QString::fromUtf8(Version_Text));
  // Lets the desktop match the windows with the menu entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("com.norvane.sw48230"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("com.norvane.sw48230")));

  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(SW_Desc) + QStringLiteral(" - configurator"));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption program_dir_option(
      QStringLiteral("program-dir"),
      QStringLiteral("Folder with MASTER, PROJECTS, LANGUAGE and Velstrom.xml (default: the program's folder when it "
                     "is writable and holds PROJECTS or Velstrom.xml, else the user's data folder)."),
      QStringLiteral("DIR"));
  // Used by the start-up benchmark: the time to a shown main window.
  QCommandLineOption exit_when_shown_option(QStringLiteral("exit-when-shown"),
                                            QStringLiteral("Quit as soon as the main window is shown."));
  exit_when_shown_option.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(program_dir_option);
  parser.addOption(exit_when_shown_option);
  parser.process(application);

  const ProgramDirChoice program_dir = Choose_Program_Dir(
      program_dir_facts(parser.isSet(program_dir_option) ? parser.value(program_dir_option) : QString()));
  report_language_refresh(Prepare_Program_Dir(program_dir));

  QtMessageBoxes boxes;
  SystemProgramStarter programs;
  DesktopUrlOpener browser;
  QtHttpGetter http(Update_Host(qgetenv(Update_Host_Variable).constData()));
  SystemSerialPorts serial_ports;
  SystemIcmpEcho echo;
  EventLoopClock clock;
  ModbusProber prober;
  QtFileDialogs files;
  const Services services{boxes, programs, browser, http, serial_ports, echo, clock, prober, files};

  TFMain main_window(services, program_dir.dir);
  SignalBridge signals_bridge;
  QObject::connect(&signals_bridge, &SignalBridge::terminationRequested, &main_window, &TFMain::Terminate);

  main_window.show();
  if (parser.isSet(exit_when_shown_option)) QTimer::singleShot(0, &application, &QApplication::quit);
  return QApplication::exec();
}
