#pragma once

// A small tmpfs for fault-injection tests: a disk that fills up after a few
// KiB, or one that turns read-only. It is mounted in a mount namespace of the
// test process's own, so nothing outside the test sees it; processes the test
// starts inherit it. Mounting needs privileges a test may lack: the caller
// skips with the reason then.

#ifndef _WIN32

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace sw48230::test {

class SmallTmpfs {
 public:
  // Mounts `bytes` of tmpfs on the existing folder `dir`; `error()` says why
  // when that is not possible.
  SmallTmpfs(const std::filesystem::path& dir, std::size_t bytes) : dir_(dir) {
    if (::unshare(CLONE_NEWNS) != 0) {
      error_ = std::string("cannot make a private mount namespace: ") + std::strerror(errno);
      return;
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      error_ = std::string("cannot make the mounts private: ") + std::strerror(errno);
      return;
    }
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("sw48230-test", dir.c_str(), "tmpfs", 0, options.c_str()) != 0) {
      error_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
      return;
    }
    mounted_ = true;
  }
  ~SmallTmpfs() {
    if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
  }
  SmallTmpfs(const SmallTmpfs&) = delete;
  SmallTmpfs& operator=(const SmallTmpfs&) = delete;

  const std::string& error() const { return error_; }

  // Takes every free byte with a filler file.
  void fill() const {
    std::ofstream filler(dir_ / "filler", std::ios::binary);
    const std::string block(4096, 'f');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) filler.flush();
    // A last write of single bytes takes what a whole block could not.
    filler.clear();
    while (filler.put('f') && filler.flush()) {
    }
  }

  bool make_read_only() const {
    return ::mount(nullptr, dir_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  std::filesystem::path dir_;
  bool mounted_ = false;
  std::string error_;
};

}  // namespace sw48230::test

#endif
