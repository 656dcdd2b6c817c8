#include "core/common/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "core/common/windows_api.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sw48230 {
namespace {

std::error_code last_error() { return {errno != 0 ? errno : EIO, std::generic_category()}; }

// Opens a temporary file of a fresh name beside the target; the exclusive
// creation fails instead of reusing a file that another writer has just
// created.
std::FILE* open_temporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary = target;
    temporary += std::filesystem::path(".tmp" + std::to_string(random() % 1000000000u));
    std::FILE* file = create_new_file(temporary);
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

#ifdef _WIN32

// Another program reading the old file (an updater, an editor) keeps it from
// being replaced until it lets go, which is usually a moment later. The
// write-through flag makes the rename durable, as Windows has no way to flush
// a folder.
std::error_code replace_file(const std::filesystem::path& temporary, const std::filesystem::path& target) {
  constexpr int Attempts = 20;
  constexpr DWORD Pause_Ms = 50;
  for (int attempt = 1;; ++attempt) {
    if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return {};
    const DWORD code = GetLastError();
    const bool held = code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
    // The same error as on other systems, so callers and messages need no
    // Windows case.
    if (held && attempt == Attempts) return std::make_error_code(std::errc::permission_denied);
    if (!held) return {static_cast<int>(code), std::system_category()};
    Sleep(Pause_Ms);
  }
}

#else

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

std::error_code replace_file(const std::filesystem::path& temporary, const std::filesystem::path& target) {
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  if (!error) sync_folder(target.parent_path());
  return error;
}

#endif

}  // namespace

std::FILE* create_new_file(const std::filesystem::path& path) {
#ifdef _WIN32
  // The Windows C runtime ignores the "x" of fopen and would truncate a file
  // that is there; the system's own exclusive creation is used instead.
  const int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) {
    const int error = errno;
    _close(fd);
    errno = error;
  }
  return file;
#else
  return std::fopen(path.c_str(), "wbx");
#endif
}

namespace {

std::error_code write_through_temporary(const std::filesystem::path& path, std::string_view bytes) {
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

  if (!error) error = replace_file(temporary, path);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
  }
  return error;
}

}  // namespace

std::optional<Failure> write_file_atomically(const std::filesystem::path& path, std::string_view bytes) {
  if (const std::error_code error = write_through_temporary(path, bytes)) return File_Not_Written(path, error);
  return std::nullopt;
}

}  // namespace sw48230
