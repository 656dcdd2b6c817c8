#include "cli/command.h"

namespace sw48230::cli {

int finish_output(std::ostream& out, std::ostream& err, int code) {
  out.flush();
  if (out) return code;
  err << "sw48230-cli: cannot write the output\n";
  return Exit_Failure;
}

}  // namespace sw48230::cli
