#pragma once

#include <filesystem>

namespace sw48230 {

// The folders an update step hands to an updater: the program's own (where
// the updaters and their parameter file are), the firmware's (MASTER) and
// the project's, whose bin folder holds the image.
struct UpdaterFolders {
  std::filesystem::path program_dir;
  std::filesystem::path master_dir;
  std::filesystem::path project_dir;
};

}  // namespace sw48230
