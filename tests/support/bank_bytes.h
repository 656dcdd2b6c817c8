#pragma once

// bank.bin written from rows and settings given by the test, to compare a
// build or feed the decoder. The builder reads its rows from the project's
// files; this takes them as they are.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/image/byte_order.h"
#include "core/image/image_layout.h"

namespace sw48230::test {

// The header, the rows of each table in the order given (sorting them is the
// builder's business), then Bank_Params with the two counts.
inline Bytes bank_bytes(std::span<const Bank_Row> request_rows, std::span<const Bank_Row> setting_rows,
                        const Bank_Params& params) {
  Bytes bank(Bank_Header_Size, 0);
  // Each header field is the offset at which its part begins.
  const auto mark = [&bank](std::size_t field) {
    image_bytes::put_u32(bank, 4 * field, static_cast<std::uint32_t>(bank.size()));
  };
  mark(0);
  for (const Bank_Row& row : request_rows) Append_Bank_Row(row, bank);
  mark(1);
  for (const Bank_Row& row : setting_rows) Append_Bank_Row(row, bank);
  mark(2);
  Append_Bank_Params(params, static_cast<std::uint16_t>(request_rows.size()),
                     static_cast<std::uint16_t>(setting_rows.size()), bank);
  return bank;
}

}  // namespace sw48230::test
