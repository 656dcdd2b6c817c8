#pragma once

// Little-endian access to image bytes, for the serialisers and the decoder
// only. The host's own byte order never matters: every value is split into
// bytes arithmetically.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/image/image_layout.h"

namespace sw48230::image_bytes {

inline void append_u8(Bytes& out, std::uint8_t value) { out.push_back(value); }

inline void append_u16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void append_u32(Bytes& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFu));
}

inline void put_u16(std::span<std::uint8_t> out, std::size_t offset, std::uint16_t value) {
  out[offset] = static_cast<std::uint8_t>(value & 0xFFu);
  out[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void put_u32(std::span<std::uint8_t> out, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) out[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
}

inline std::uint16_t get_u16(std::span<const std::uint8_t> in, std::size_t offset) {
  return static_cast<std::uint16_t>(in[offset] | (in[offset + 1] << 8));
}

inline std::uint32_t get_u32(std::span<const std::uint8_t> in, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = (value << 8) | in[offset + i];
  return value;
}

}  // namespace sw48230::image_bytes
