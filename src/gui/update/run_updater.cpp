#include "gui/update/run_updater.h"

#include "core/common/paths.h"
#include "core/update/program_run.h"
#include "gui/ui/context.h"
#include "gui/ui/message_boxes.h"
#include "gui/ui/texts.h"
#include "platform/program_starter.h"

namespace sw48230 {

void Run_Updater(const Context& context, QWidget* parent, const std::filesystem::path& program,
                 const QString& parameter) {
  const ProgramRun run = context.services.programs.Start_Program(to_qstring(path_to_utf8(program)), parameter, false);
  const std::optional<RunReport> report = Updater_Report(run, program, context.messages);
  if (!report) return;
  if (report->error) {
    context.services.boxes.error(parent, to_qstring(report->text));
  } else {
    context.services.boxes.warning(parent, to_qstring(report->text));
  }
}

}  // namespace sw48230
