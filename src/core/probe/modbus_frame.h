#pragma once

// The bytes of the probe's Modbus TCP exchange, apart from any socket: the
// read it sends, and what the bytes that came back make of it. A reply is
// judged on every field that ties it to its request, so that an answer of
// another unit, another request or another protocol is never taken for the
// values asked for.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sw48230 {

inline constexpr std::size_t Modbus_Read_Frame_Size = 12;

// One read as it goes to the server; the unit id is sent as it stands,
// whatever its value.
struct ModbusRead {
  std::uint16_t transaction = 0;
  std::uint8_t unit_id = 0;
  std::uint8_t function = 0;  // 1 to 4
  std::uint16_t start = 0;
  std::uint16_t quantity = 0;
};

// The request's header (transaction, protocol 0, length, unit id) and its
// function, start and quantity, big-endian.
std::array<std::uint8_t, Modbus_Read_Frame_Size> Modbus_Read_Frame(const ModbusRead& read);

struct ReplyVerdict {
  enum class Kind {
    Incomplete,  // nothing wrong so far, but the answer goes on
    Values,      // the whole answer to the read, and nothing after it
    Exception,   // the whole exception answer to the read
    Malformed,   // no answer to this read, whatever follows
  };
  Kind kind = Kind::Incomplete;
  std::vector<std::uint16_t> values;  // Values: bits as 0 and 1, registers as unsigned numbers
  int exception_code = 0;             // Exception
  std::string problem;                // Malformed: which field is wrong, as "unit id 7 instead of 3"
  std::size_t answer_size = 0;        // Incomplete: the whole answer's size once its header tells it; 0 before
};

// What `received`, all the bytes that came since `read` was sent, make of
// it so far. A field is judged as soon as its bytes are there, so that a
// wrong answer is known at its first wrong byte. The unused high bits of
// the last byte of coils are not looked at.
ReplyVerdict Check_Reply(const ModbusRead& read, std::span<const std::uint8_t> received);

}  // namespace sw48230
