#include "core/common/file_read.h"

#include <cerrno>
#include <cstdint>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/common/paths.h"

namespace sw48230 {
namespace {

std::string errno_text(int code) { return std::generic_category().message(code != 0 ? code : EIO); }

std::string too_large(std::size_t limit) { return "larger than the limit of " + std::to_string(limit) + " bytes"; }

Failure refused(const std::filesystem::path& file, std::string reason) {
  return File_Unreadable(path_to_utf8(file), std::move(reason));
}

#ifdef _WIN32
std::string kind_refusal(const std::filesystem::file_status& status) {
  if (std::filesystem::is_directory(status)) return std::make_error_code(std::errc::is_a_directory).message();
  return "not a regular file";
}
#endif

}  // namespace

bool is_regular_file_quietly(const std::filesystem::path& file) {
  std::error_code error;
  return std::filesystem::is_regular_file(file, error);
}

#ifdef _WIN32

bool can_read_regular_file(const std::filesystem::path& file) {
  return is_regular_file_quietly(file) && std::ifstream(file, std::ios::binary).is_open();
}

Result<std::string> read_regular_file(const std::filesystem::path& file, std::size_t limit) {
  std::error_code status_error;
  const auto status = std::filesystem::status(file, status_error);
  if (status_error) return refused(file, status_error.message());
  if (!std::filesystem::is_regular_file(status)) return refused(file, kind_refusal(status));
  std::ifstream in(file, std::ios::binary);
  if (!in) return refused(file, errno_text(errno));
  std::string bytes;
  char buffer[64 * 1024];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > limit) return refused(file, too_large(limit));
    if (!in) break;
  }
  if (in.bad()) return refused(file, errno_text(EIO));
  return bytes;
}

#else

bool can_read_regular_file(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat info {};
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  return regular;
}

Result<std::string> read_regular_file(const std::filesystem::path& file, std::size_t limit) {
  // Non-blocking, so that opening a FIFO does not wait for a writer; the
  // kind is then taken from the open file itself, which cannot change under
  // us as a path looked at first could.
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return refused(file, errno_text(errno));
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};

  struct stat info {};
  if (::fstat(fd, &info) != 0) return refused(file, errno_text(errno));
  if (!S_ISREG(info.st_mode)) {
    return refused(file,
                   S_ISDIR(info.st_mode) ? std::make_error_code(std::errc::is_a_directory).message() : "not a regular file");
  }
  if (static_cast<std::uintmax_t>(info.st_size) > limit) return refused(file, too_large(limit));
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

  // The size is only a hint: the file may grow while it is read.
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return refused(file, errno_text(errno));
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
    if (bytes.size() > limit) return refused(file, too_large(limit));
  }
  return bytes;
}

#endif

}  // namespace sw48230
