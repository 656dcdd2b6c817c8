#include <filesystem>
#include <string>
#include <system_error>

#include "cli/command.h"
#include "core/common/paths.h"
#include "core/commsettings/comm_settings.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"
#include "core/image/image_build.h"
#include "core/project/project.h"
#include "core/project/project_checks.h"
#include "core/tables/table_kind.h"

namespace sw48230::cli {

CommandExit run_build(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const auto folder = project_folder_argument(args, err);
  if (!folder) return folder.failure();
  if (!*folder) return Exit_Failure;
  const std::filesystem::path& dir = **folder;
  const std::string& project = args.front();

  // Only checked tables reach a device: the image of a project whose checks
  // fail would not be the one its screens show.
  const Project loaded = Load_Project(dir);
  const std::vector<ProjectCheckFailure> failures = Check_Project(loaded, English_Messages(), false);
  if (!failures.empty()) {
    for (const ProjectCheckFailure& failure : failures) {
      err << "sw48230-cli: " << Located_Text(failure.file, failure.text) << '\n';
    }
    const std::size_t count = failures.size();
    err << "sw48230-cli: cannot build the image of " << project << ": " << count
        << (count == 1 ? " check fails" : " checks fail") << " (see sw48230-cli check)\n";
    return Exit_Failure;
  }

  // Fresh buffers: the image is the one Update Device builds right after the
  // program starts.
  ImageBuffers buffers;
  const Result<ImageBuild> build = Build_Image(loaded, buffers);
  if (!build.ok()) {
    err << "sw48230-cli: cannot build the image of " << project << ": "
        << Failure_Message(English_Messages(), build.failure()) << '\n';
    return Exit_Failure;
  }

  // Unlike Update Device, which reports a missing bin folder, the tool
  // makes it: a project checked out of version control may lack it.
  const std::filesystem::path bin = Image_File_Path(dir, build->kind).parent_path();
  std::error_code error;
  std::filesystem::create_directory(bin, error);
  if (error) {
    err << "sw48230-cli: cannot create " << path_to_utf8(bin) << ": " << error.message() << '\n';
    return Exit_Failure;
  }
  if (const auto failure = Write_Image_File(dir, build->kind, buffers.of(build->kind))) {
    err << "sw48230-cli: " << Failure_Message(English_Messages(), *failure) << '\n';
    return Exit_Failure;
  }

  const char* unit = build->kind == ImageKind::Bank2 ? " record" : " row";
  const std::size_t total = build->requests + build->settings;
  out << "wrote " << path_to_utf8(Image_File_Path(dir, build->kind)) << ": " << total << unit << (total == 1 ? "" : "s")
      << " (" << build->requests << " COB Request, " << build->settings << " COB Setting)\n";
  return finish_output(out, err, Exit_Success);
}

}  // namespace sw48230::cli
