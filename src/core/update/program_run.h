#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace sw48230 {

class MessageTable;

// How the wait for an external updater ended.
enum class ProgramEnd {
  Ended,          // the program ended; exit_code tells how
  Not_Started,    // it could not be started; reason holds the system's words
  Still_Running,  // the time limit passed; the program was left running
  Abandoned,      // the configurator is shutting down and stopped waiting
};

struct ProgramRun {
  ProgramEnd end = ProgramEnd::Ended;
  int exit_code = 0;
  std::string reason;

  bool operator==(const ProgramRun&) const = default;
};

// What the user is told about a run: an error when the program could not be
// started, a warning when it failed or overran. A clean end, and a wait
// given up because the configurator is ending, say nothing.
struct RunReport {
  bool error = false;
  std::string text;
};

std::optional<RunReport> Updater_Report(const ProgramRun& run, const std::filesystem::path& program,
                                        const MessageTable& messages);

}  // namespace sw48230
