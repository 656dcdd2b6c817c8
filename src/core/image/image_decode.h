#pragma once

// Reading an image file back, to see what a device would receive: which
// layout it has, its values, and everything in it that the builder would not
// have written.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "core/common/failure.h"
#include "core/image/image_layout.h"
#include "core/tables/table_kind.h"

namespace sw48230 {

struct DecodedBank2 {
  Bank2Image image;
  std::uint32_t stored_checksum = 0;
  std::uint32_t computed_checksum = 0;

  // The records that Record_Count declares filled, as far as the file has
  // room for them.
  std::size_t filled_records() const;
  // The table a filled record comes from: the first Request_Count records
  // hold the read requests, the others the write requests.
  const TableKind& record_kind(std::size_t index) const;
};

struct DecodedBank {
  std::array<std::uint32_t, 3> header{};  // offsets of the two row tables and of Bank_Params
  // Each table's rows by TableKind::index, as the header delimits them.
  std::array<std::vector<Bank_Row>, Table_Kind_Count> rows;
  Bank_Params params;
  // The counts at the end of Bank_Params, by TableKind::index.
  std::array<std::uint16_t, Table_Kind_Count> stored_rows{};
};

struct DecodedImage {
  std::size_t size = 0;
  std::variant<DecodedBank, DecodedBank2> content;
  // Each thing that does not verify, in words; empty for an image as the
  // builder writes it.
  std::vector<std::string> problems;
  bool checksum_verified = true;  // always true for bank.bin, which has none
};

// Tells the layouts apart by size and by the consistency of bank.bin's
// header: bank2.bin is exactly 34816 bytes; bank.bin has the offsets 12,
// 12 + 13 A and 12 + 13 (A + B) in its header and is 36 + 13 (A + B) bytes.
// Bytes of neither layout are Not_An_Image, named `file` and with the
// reason why.
Result<DecodedImage> Decode_Image(std::span<const std::uint8_t> bytes, std::string file);

// The bytes of an image file; a failure when it cannot be read or is larger
// than a bank can be.
Result<Bytes> Read_Image_File(const std::filesystem::path& file);

}  // namespace sw48230
