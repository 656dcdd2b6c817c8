#include "platform/program_starter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include "platform/input_hold.h"

#ifdef _WIN32
#include <QDir>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <cerrno>

#include "core/common/command_line.h"

extern char** environ;
#endif

namespace sw48230 {

namespace {

constexpr std::chrono::milliseconds kPollInterval(10);

enum class WaitResult { Ended, TimedOut, ApplicationQuit };

template <typename HasEnded>
WaitResult wait_for_program(HasEnded has_ended, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;

  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) {
    for (;;) {
      if (has_ended()) return WaitResult::Ended;
      if (std::chrono::steady_clock::now() >= deadline) return WaitResult::TimedOut;
      std::this_thread::sleep_for(kPollInterval);
    }
  }

  // A loop of our own rather than a bare poll: besides repainting, it ends
  // when the application quits (QCoreApplication::exit ends every loop), so
  // a termination signal is not held up by the updater.
  const UserInputHold hold;
  QEventLoop loop;
  WaitResult result = WaitResult::ApplicationQuit;
  bool decided = false;
  QTimer poll;
  poll.setInterval(kPollInterval);
  poll.callOnTimeout([&] {
    if (decided) return;
    if (has_ended()) {
      result = WaitResult::Ended;
    } else if (std::chrono::steady_clock::now() >= deadline) {
      result = WaitResult::TimedOut;
    } else {
      return;
    }
    decided = true;
    loop.quit();
  });
  poll.start();
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  return result;
}

ProgramRun not_started(const std::error_code& error) { return {ProgramEnd::Not_Started, 0, error.message()}; }

ProgramRun after_wait(WaitResult waited, int exit_code) {
  switch (waited) {
    case WaitResult::Ended:
      return {ProgramEnd::Ended, exit_code, {}};
    case WaitResult::TimedOut:
      return {ProgramEnd::Still_Running, 0, {}};
    case WaitResult::ApplicationQuit:
      break;
  }
  return {ProgramEnd::Abandoned, 0, {}};
}

#ifndef _WIN32

// Returns -1 and sets `error` when the program cannot be started.
pid_t spawn_program(const QString& program, const QString& parameter, std::error_code& error) {
  QByteArray path = QFile::encodeName(program);
  if (path.isEmpty()) {
    error = std::make_error_code(std::errc::no_such_file_or_directory);
    return -1;
  }
  std::vector<std::string> arguments = split_windows_command_line(parameter.toStdString());

  std::vector<char*> argv;
  argv.reserve(arguments.size() + 2);
  argv.push_back(path.data());
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  if (const int failed = posix_spawn_file_actions_init(&actions); failed != 0) {
    error = std::error_code(failed, std::generic_category());
    return -1;
  }
  if (const int failed = posix_spawnattr_init(&attributes); failed != 0) {
    posix_spawn_file_actions_destroy(&actions);
    error = std::error_code(failed, std::generic_category());
    return -1;
  }

  // An updater must not wait for keyboard input nobody will give it.
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

  // A clean signal state, whatever this process ignores or blocks; and a
  // process group of its own, so a Ctrl+C at the terminal that stops the
  // configurator does not also break off a device update.
  sigset_t all_signals;
  sigset_t no_signals;
  sigfillset(&all_signals);
  sigemptyset(&no_signals);
  posix_spawnattr_setsigdefault(&attributes, &all_signals);
  posix_spawnattr_setsigmask(&attributes, &no_signals);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           static_cast<short>(POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP));

  // The C library reports a program that exists but cannot be executed here
  // too, not only a failure to create the process.
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, path.constData(), &actions, &attributes, argv.data(), environ);

  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    error = std::error_code(failed, std::generic_category());
    return -1;
  }
  return pid;
}

// Reaps the program when it has ended and gives its exit code; nothing while
// it runs. A program that is no longer our child (reaped elsewhere, or
// SIGCHLD ignored) has ended as well, its code unknown: it counts as 0.
std::optional<int> program_ended(pid_t pid) {
  int status = 0;
  pid_t result;
  do {
    result = waitpid(pid, &status, WNOHANG);
  } while (result == -1 && errno == EINTR);
  if (result == 0) return std::nullopt;
  if (result == -1) return 0;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 0;
}

#endif

}  // namespace

#ifdef _WIN32

SystemProgramStarter::SystemProgramStarter(std::chrono::milliseconds limit) : limit_(limit) {}

SystemProgramStarter::~SystemProgramStarter() = default;

ProgramRun SystemProgramStarter::Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo) {
  const std::wstring application = QDir::toNativeSeparators(NomeSW).toStdWString();
  if (application.empty()) return not_started(std::make_error_code(std::errc::no_such_file_or_directory));
  // The runtime of the started program splits the command line itself, so
  // the argument string goes in untouched after the program's own name.
  std::wstring command_line = L"\"" + application + L"\"";
  if (!Parameter.isEmpty()) command_line += L" " + Parameter.toStdWString();
  std::vector<wchar_t> buffer(command_line.begin(), command_line.end());
  buffer.push_back(L'\0');  // CreateProcessW may write into the command line

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = tipo ? SW_HIDE : SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  // A process group of its own keeps a console Ctrl+C away from the updater.
  if (!CreateProcessW(application.c_str(), buffer.data(), nullptr, nullptr, FALSE, CREATE_NEW_PROCESS_GROUP, nullptr,
                      nullptr, &startup, &process)) {
    return not_started(std::error_code(static_cast<int>(GetLastError()), std::system_category()));
  }
  CloseHandle(process.hThread);
  const WaitResult waited =
      wait_for_program([&] { return WaitForSingleObject(process.hProcess, 0) != WAIT_TIMEOUT; }, limit_);
  DWORD exit_code = 0;
  if (waited == WaitResult::Ended && !GetExitCodeProcess(process.hProcess, &exit_code)) exit_code = 0;
  // Closing the handle leaves a program that outlived the limit running.
  CloseHandle(process.hProcess);
  return after_wait(waited, static_cast<int>(exit_code));
}

#else

SystemProgramStarter::SystemProgramStarter(std::chrono::milliseconds limit) : limit_(limit) {
  reaper_.setInterval(std::chrono::seconds(1));
  reaper_.callOnTimeout([this] { reap_ended(); });
}

// Programs still running are left alone; once this process is gone they are
// reaped by the system.
SystemProgramStarter::~SystemProgramStarter() = default;

ProgramRun SystemProgramStarter::Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo) {
  (void)tipo;  // no hidden windows here
  std::error_code error;
  const pid_t pid = spawn_program(NomeSW, Parameter, error);
  if (pid == -1) return not_started(error);
  std::optional<int> exit_code;
  const WaitResult waited = wait_for_program(
      [pid, &exit_code] {
        exit_code = program_ended(pid);
        return exit_code.has_value();
      },
      limit_);
  if (waited != WaitResult::Ended) {
    unreaped_.push_back(pid);
    if (!reaper_.isActive()) reaper_.start();
  }
  return after_wait(waited, exit_code.value_or(0));
}

void SystemProgramStarter::reap_ended() {
  unreaped_.erase(
      std::remove_if(unreaped_.begin(), unreaped_.end(), [](pid_t pid) { return program_ended(pid).has_value(); }),
      unreaped_.end());
  if (unreaped_.empty()) reaper_.stop();
}

#endif

}  // namespace sw48230
