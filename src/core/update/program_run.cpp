#include "core/update/program_run.h"

#include "core/common/paths.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"

namespace sw48230 {

std::optional<RunReport> Updater_Report(const ProgramRun& run, const std::filesystem::path& program,
                                        const MessageTable& messages) {
  switch (run.end) {
    case ProgramEnd::Ended:
      if (run.exit_code == 0) return std::nullopt;
      return RunReport{false, messages.text(Msg_Updater_Exit_Code) + " " + std::to_string(run.exit_code) + "\n" +
                                  path_to_utf8(program)};
    case ProgramEnd::Not_Started:
      return RunReport{true, Heading_Text(messages, Msg_Updater_Not_Started, program, run.reason)};
    case ProgramEnd::Still_Running:
      return RunReport{false, Heading_Text(messages, Msg_Updater_Still_Running, program, {})};
    case ProgramEnd::Abandoned:
      break;
  }
  return std::nullopt;
}

}  // namespace sw48230
