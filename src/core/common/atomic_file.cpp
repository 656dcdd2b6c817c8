#include "core/common/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sw48230 {
namespace {

std::error_code last_error() { return {errno != 0 ? errno : EIO, std::generic_category()}; }

// Opens a temporary file of a fresh name beside the target; "x" makes the
// open fail instead of reusing a file that another writer has just created.
std::FILE* open_temporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary = target;
    temporary += std::filesystem::path(".tmp" + std::to_string(random() % 1000000000u));
#ifdef _WIN32
    std::FILE* file = _wfopen(temporary.c_str(), L"wbx");
#else
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
#endif
    if (file != nullptr || errno != EEXIST) return file;
  }
  return nullptr;
}

bool flush_to_disk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return ::fsync(fileno(file)) == 0;
#endif
}

#ifndef _WIN32
// The new file gets the permissions of the file it replaces, so that a file
// the user has made private (600) stays private. A symbolic link is replaced
// by a file of the default permissions, and its target is never touched.
bool keep_permissions(std::FILE* file, const std::filesystem::path& target) {
  struct stat old {};
  if (::lstat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return true;
  return ::fchmod(fileno(file), old.st_mode & 07777) == 0;
}

// Makes the rename itself durable; a failure here does not undo the write.
void sync_folder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}
#endif

}  // namespace

std::error_code write_file_atomically(const std::filesystem::path& path, std::string_view bytes) {
  errno = 0;
  std::filesystem::path temporary;
  std::FILE* file = open_temporary(path, temporary);
  if (file == nullptr) return last_error();

  // An empty view may have no data pointer at all, which fwrite must not get.
  bool written =
      (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size()) && flush_to_disk(file);
#ifndef _WIN32
  written = written && keep_permissions(file, path);
#endif
  std::error_code error = written ? std::error_code{} : last_error();
  if (std::fclose(file) != 0 && !error) error = last_error();

  if (!error) std::filesystem::rename(temporary, path, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return error;
  }
#ifndef _WIN32
  sync_folder(path.parent_path());
#endif
  return {};
}

}  // namespace sw48230
