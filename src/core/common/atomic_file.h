#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

#include "core/common/failure.h"

namespace sw48230 {

// Replaces the file at `path` with `bytes` as a whole: the bytes go to a new
// temporary file in the same folder, which is flushed to disk and then renamed
// over the old file. Whatever fails, the old file is left as it was and no
// temporary file is left behind. Reports the file as not written, with the
// system's reason for the step that failed.
std::optional<Failure> write_file_atomically(const std::filesystem::path& path, std::string_view bytes);

// Creates the file at `path` for writing bytes, and fails (errno EEXIST)
// rather than open a file that is already there.
std::FILE* create_new_file(const std::filesystem::path& path);

}  // namespace sw48230
