// Stands in for an external updater. It records what it was started with in
// the file named by FAKE_UPDATER_RECORD (written whole, then renamed into
// place, so a reader never sees half of it), sleeps FAKE_UPDATER_SLEEP_MS
// milliseconds if set, creates "<record>.done", and ends with the exit code
// FAKE_UPDATER_EXIT (0 when unset).
//
// Record layout: "pid <n>\npgid <n>\nargc <n>\n", then per argv entry
// "<byte count> <bytes>\n", so blanks, quotes and newlines survive as given.

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  const char* record = std::getenv("FAKE_UPDATER_RECORD");
  if (record == nullptr || *record == '\0') return 2;
  const std::string record_path = record;

  {
    std::ofstream out(record_path + ".tmp", std::ios::binary);
    out << "pid " << ::getpid() << "\npgid " << ::getpgrp() << "\nargc " << argc << "\n";
    for (int i = 0; i < argc; ++i) {
      out << std::strlen(argv[i]) << ' ' << argv[i] << '\n';
    }
    if (!out) return 3;
  }
  std::filesystem::rename(record_path + ".tmp", record_path);

  if (const char* sleep_ms = std::getenv("FAKE_UPDATER_SLEEP_MS")) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoll(sleep_ms)));
  }
  std::ofstream(record_path + ".done") << "done\n";
  const char* exit_code = std::getenv("FAKE_UPDATER_EXIT");
  return exit_code != nullptr ? std::atoi(exit_code) : 0;
}
