#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "core/common/failure.h"

namespace sw48230 {

// Upper bounds of what the program reads. No real file comes near them; they
// keep a wrong file (a device, a disk image renamed) from filling memory.
inline constexpr std::size_t Language_File_Limit = 4u * 1024u * 1024u;
inline constexpr std::size_t Xml_File_Limit = 4u * 1024u * 1024u;

// The whole content of a regular file of at most `limit` bytes. Anything
// else is refused at once as unreadable, with the reason: a FIFO or a device
// is never opened in a way that waits for a writer, and a larger file is not
// read past its limit ("larger than the limit of N bytes").
Result<std::string> read_regular_file(const std::filesystem::path& file, std::size_t limit);

// Whether `file` names a regular file, following symbolic links.
bool is_regular_file_quietly(const std::filesystem::path& file);

// Whether `file` is a regular file that this user can open for reading. A
// FIFO is looked at without waiting for a writer, and nothing is read.
bool can_read_regular_file(const std::filesystem::path& file);

}  // namespace sw48230
