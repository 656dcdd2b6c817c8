// sw48230-cli: the configurator's functions for scripts and translators.
// Each command lives in its own file and is listed in Commands below.

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/command.h"
#include "core/app/program_arguments.h"
#include "core/common/product.h"

namespace sw48230::cli {
namespace {

constexpr std::string_view Program_Name = "sw48230-cli";

constexpr Command Commands[] = {
    {"messages", "[--lng FILE]", "print the message table, with language FILE applied, as INDEX<TAB>TEXT lines",
     run_messages},
    {"lint-lng", "FILE", "list the lines of language FILE that set no text, and why", run_lint_lng},
    {"dump", "[--json] FILE", "decode the image FILE (bank.bin or bank2.bin) into a readable report, or JSON",
     run_dump},
    {"build", "PROJECT_DIR",
     "build the project's image as Update Device does and write it to PROJECT_DIR/bin (bank2.bin for device type 1, "
     "bank.bin otherwise)",
     run_build},
    {"check", "[--strict] PROJECT_DIR",
     "run the checks of the settings and table screens on the project's files and list every failure, then the "
     "network warnings (which fail the command only with --strict)",
     run_check},
    {"install-languages", "SHIPPED_DIR LANGUAGE_DIR",
     "copy the shipped language files into a program directory's LANGUAGE folder, keeping files the user edited",
     run_install_languages},
    {"probe", "PROJECT_DIR [--table read|write|both] [--rows LIST] [--timeout MS] [--parallel N] [--json]",
     "send each request of the project once to its Modbus TCP server, as the device will, and report the answers; "
     "write requests only read back the range they would write. LIST: row numbers and ranges, as 1,3,5-8",
     run_probe},
    {"export", "PROJECT_DIR --table read|write [FILE]",
     "write the read (var.xml) or write (var2.xml) request table as CSV to FILE, or to standard output", run_export},
    {"import", "PROJECT_DIR --table read|write FILE",
     "replace the read or write request table by the CSV FILE when every line passes the table's checks", run_import},
};

void print_usage(std::ostream& out) {
  out << "Usage: " << Program_Name << " COMMAND [ARGUMENTS]\n"
      << "       " << Program_Name << " --version | --help\n\n"
      << "Commands:\n";
  for (const Command& command : Commands) {
    out << "  " << command.name << ' ' << command.synopsis << "\n      " << command.summary << '\n';
  }
}

bool is_help(std::string_view arg) { return arg == "--help" || arg == "-h"; }

int usage_error(std::string_view message) {
  std::cerr << Program_Name << ": " << message << "\n\n";
  print_usage(std::cerr);
  return Exit_Usage;
}

int run(const std::vector<std::string>& args) {
  if (args.empty()) return usage_error("no command given");

  const std::string& first = args.front();
  if (is_help(first) || first == "--version") {
    if (args.size() > 1) return usage_error("unexpected argument \"" + args[1] + "\"");
    if (first == "--version") {
      std::cout << Program_Name << ' ' << Version_Text << '\n';
    } else {
      print_usage(std::cout);
    }
    return Exit_Success;
  }

  for (const Command& command : Commands) {
    if (first != command.name) continue;
    const std::vector<std::string> command_args(args.begin() + 1, args.end());
    for (const std::string& arg : command_args) {
      if (is_help(arg)) {
        print_usage(std::cout);
        return Exit_Success;
      }
    }
    const CommandExit exit = command.run(command_args, std::cout, std::cerr);
    if (!exit) return usage_error(std::string(command.name) + ": " + exit.failure().message);
    return *exit;
  }
  return usage_error("unknown command \"" + first + "\"");
}

}  // namespace
}  // namespace sw48230::cli

int main(int argc, char** argv) {
#ifdef _WIN32
  // Output lines end in "\n" on every system; scripts compare them byte by byte.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  try {
    return sw48230::cli::run(sw48230::Program_Arguments(argc, argv));
  } catch (const std::exception& error) {
    std::cerr << sw48230::cli::Program_Name << ": " << error.what() << '\n';
    return sw48230::cli::Exit_Failure;
  }
}
