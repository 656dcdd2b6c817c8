#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTimer>

#include "core/app/product.h"
#include "core/common/paths.h"
#include "core/i18n/update_check.h"
#include "gui/app/tf_main.h"
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

}  // namespace

int main(int argc, char* argv[]) {
  using namespace sw48230;
  if (only_prints(argc, argv)) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(SW_Code));
  QApplication::setApplicationVersion(QString::fromUtf8(Version_Text));

  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(SW_Desc) + QStringLiteral(" - configurator"));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption program_dir_option(
      QStringLiteral("program-dir"),
      QStringLiteral("Folder with MASTER, PROJECTS, LANGUAGE and Velstrom.xml (default: the program's folder)."),
      QStringLiteral("DIR"));
  // Used by the start-up benchmark: the time to a shown main window.
  QCommandLineOption exit_when_shown_option(QStringLiteral("exit-when-shown"),
                                            QStringLiteral("Quit as soon as the main window is shown."));
  exit_when_shown_option.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(program_dir_option);
  parser.addOption(exit_when_shown_option);
  parser.process(application);

  const QString program_dir = parser.isSet(program_dir_option) ? QDir(parser.value(program_dir_option)).absolutePath()
                                                               : QApplication::applicationDirPath();
  QDir().mkpath(program_dir);

  QtMessageBoxes boxes;
  SystemProgramStarter programs;
  DesktopUrlOpener browser;
  QtHttpGetter http(Update_Host(qgetenv(Update_Host_Variable).constData()));
  SystemSerialPorts serial_ports;
  SystemIcmpEcho echo;
  EventLoopClock clock;
  const Services services{boxes, programs, browser, http, serial_ports, echo, clock};

  TFMain main_window(services, path_from_utf8(to_utf8(QDir::toNativeSeparators(program_dir))));
  SignalBridge signals_bridge;
  QObject::connect(&signals_bridge, &SignalBridge::terminationRequested, &main_window, &TFMain::Terminate);

  main_window.show();
  if (parser.isSet(exit_when_shown_option)) QTimer::singleShot(0, &application, &QApplication::quit);
  return QApplication::exec();
}
