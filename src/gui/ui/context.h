#pragma once

namespace sw48230 {

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

// What every screen works with: the process-wide message table, owned by
// the main window, and the services. Everything else a screen shows it is
// given when it opens.
struct Context {
  MessageTable& messages;
  Services services;
};

}  // namespace sw48230
