#include <string>

#include "cli/command.h"
#include "core/common/paths.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"
#include "core/image/image_decode.h"
#include "core/image/image_report.h"

namespace sw48230::cli {

CommandExit run_dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool json = false;
  const std::string* file = nullptr;
  for (const std::string& arg : args) {
    if (arg == "--json") {
      if (json) return UsageError{"--json given twice"};
      json = true;
    } else if (arg.size() > 1 && arg.front() == '-') {
      return UsageError{"unknown option \"" + arg + "\""};
    } else if (file != nullptr) {
      return UsageError{"unexpected argument \"" + arg + "\""};
    } else {
      file = &arg;
    }
  }
  if (file == nullptr) return UsageError{"an image file is needed"};

  const Result<Bytes> bytes = Read_Image_File(path_from_utf8(*file));
  if (!bytes) {
    err << "sw48230-cli: cannot read " << *file << ": " << bytes.failure().reason << '\n';
    return Exit_Failure;
  }
  const Result<DecodedImage> decode = Decode_Image(*bytes, *file);
  if (!decode) {
    err << "sw48230-cli: " << Failure_Message(English_Messages(), decode.failure()) << '\n';
    return Exit_Failure;
  }

  const DecodedImage& image = *decode;
  out << (json ? Image_Report_Json(image, *file) : Image_Report_Text(image, *file));
  if (finish_output(out, err, Exit_Success) != Exit_Success) return Exit_Failure;
  if (image.problems.empty()) return Exit_Success;
  err << "sw48230-cli: " << *file << ": " << (image.checksum_verified ? "" : "the checksum does not verify; ")
      << image.problems.size() << (image.problems.size() == 1 ? " problem" : " problems") << " found, see the report\n";
  return Exit_Failure;
}

}  // namespace sw48230::cli
