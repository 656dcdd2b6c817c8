#pragma once

namespace sw48230 {

struct AppState;
class MessageTable;
class MessageBoxes;
class FileDialogs;
class ProgramStarter;
class UrlOpener;
class HttpGetter;
class SerialPorts;
class EchoSender;
class Clock;
class Prober;

// The services of the platform that the screens use; the program hands in
// the real ones, tests hand in fakes.
struct Services {
  MessageBoxes& boxes;
  ProgramStarter& programs;
  UrlOpener& browser;
  HttpGetter& http;
  SerialPorts& serial_ports;
  EchoSender& echo;
  Clock& clock;
  Prober& prober;
  FileDialogs& files;
};

// What every screen works with: the process-wide state and message table,
// owned by the main window, and the services.
struct Context {
  AppState& state;
  MessageTable& messages;
  Services services;
};

}  // namespace sw48230
