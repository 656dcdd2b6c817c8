#pragma once

#include <QObject>

#ifndef _WIN32
#include <signal.h>
#endif

class QSocketNotifier;

namespace sw48230 {

// Turns SIGINT and SIGTERM (a console Ctrl+C or close on Windows) into a Qt
// signal on the user-interface thread, so the program can shut down the
// normal way and save its settings instead of dying where it stands.
// One bridge at a time; destroying it puts the previous handlers back.
class SignalBridge final : public QObject {
  Q_OBJECT

 public:
  explicit SignalBridge(QObject* parent = nullptr);
  ~SignalBridge() override;

  SignalBridge(const SignalBridge&) = delete;
  SignalBridge& operator=(const SignalBridge&) = delete;

 signals:
  void terminationRequested();

 private:
#ifndef _WIN32
  void drain();

  int fds_[2] = {-1, -1};  // [0] written by the handler, [1] read here
  QSocketNotifier* notifier_ = nullptr;
  struct sigaction previous_int_ {};
  struct sigaction previous_term_ {};
  bool installed_ = false;
#endif
};

}  // namespace sw48230
