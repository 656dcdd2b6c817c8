#pragma once

#include <QString>
#include <QTimer>
#include <chrono>
#include <vector>

#include "core/update/program_run.h"

#ifndef _WIN32
#include <sys/types.h>
#endif

namespace sw48230 {

class ProgramStarter {  // handed to the screens, so tests can record calls
 public:
  virtual ~ProgramStarter() = default;
  // Runs NomeSW (full path) with the argument string Parameter, waits for it
  // and tells how the wait ended.
  virtual ProgramRun Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo) = 0;
};

// Starts the program without a shell and blocks the caller until it ends or
// the limit passes. A program that cannot be started returns at once with the
// system's reason; one that outlives the limit is left running, because
// killing an updater mid-write could leave the device unusable. A program
// ended by a signal counts as exit code 128 + the signal's number, as shells
// report it.
//
// While it waits the windows keep painting under a wait cursor, but user
// input and the user's attempts to close a window are dropped, so no second
// action can start. A close requested by the program itself (on a
// termination signal) still goes through, and when the application quits
// the wait ends early; the updater is left running then too.
//
// On POSIX the argument string is split by the Windows rules, so an updater
// sees the same argv on every platform; on Windows it is passed unchanged.
// `tipo` asks for a hidden window, which only means something on Windows.
class SystemProgramStarter final : public ProgramStarter {
 public:
  explicit SystemProgramStarter(std::chrono::milliseconds limit = std::chrono::milliseconds(150000));
  ~SystemProgramStarter() override;

  SystemProgramStarter(const SystemProgramStarter&) = delete;
  SystemProgramStarter& operator=(const SystemProgramStarter&) = delete;

  ProgramRun Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo) override;

 private:
  std::chrono::milliseconds limit_;
#ifndef _WIN32
  // Programs that outlived the limit; reaped once they end so they do not
  // linger as zombies while the configurator keeps running.
  std::vector<pid_t> unreaped_;
  QTimer reaper_;
  void reap_ended();
#endif
};

}  // namespace sw48230
