#pragma once

// What the fuzz targets share: the input as text, and files the readers
// under test can open.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace sw48230::fuzz {

inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process's own for the files of one input; it lives as
// long as the process.
inline const std::filesystem::path& scratch_folder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "sw48230-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return std::filesystem::path(pattern);
  }();
  return folder;
}

inline std::filesystem::path write_scratch(const char* name, std::string_view bytes) {
  const std::filesystem::path file = scratch_folder() / name;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) std::abort();
  return file;
}

}  // namespace sw48230::fuzz
