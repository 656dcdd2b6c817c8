#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace sw48230::test {

// A fresh folder under the system's temporary folder, removed with its
// content when the test ends.
class TempDir {
 public:
  TempDir() {
    std::random_device seed;
    path_ =
        std::filesystem::temp_directory_path() / ("sw48230-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// A fixture that cannot be written fails the test that needed it, with the
// path and the system's reason, instead of leaving it to test something else.
inline void write_file(const std::filesystem::path& path, std::string_view bytes) {
  errno = 0;
  std::ofstream out(path, std::ios::binary);
  if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (out) out.close();
  if (!out) {
    const int error = errno;
    ADD_FAILURE() << "cannot write " << path.string() << ": "
                  << (error != 0 ? std::generic_category().message(error) : std::string("the stream failed"));
  }
}

inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace sw48230::test
