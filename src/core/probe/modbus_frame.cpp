#include "core/probe/modbus_frame.h"

#include "core/image/image_layout.h"

namespace sw48230 {
namespace {

constexpr std::size_t Header_Size = 7;  // transaction, protocol, length, unit id
constexpr std::uint8_t Exception_Flag = 0x80;
// The length field counts the unit id, the function, the byte count and the data.
constexpr std::size_t Counted_Before_Data = 3;
// The transaction, protocol and length fields that the length does not count.
constexpr std::size_t Uncounted = 6;

std::uint16_t word_at(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

void put_word(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value >> 8);
  at[1] = static_cast<std::uint8_t>(value & 0xFF);
}

bool reads_bits(std::uint8_t function) {
  return function == modbus_function::Read_Coils || function == modbus_function::Read_Discrete_Inputs;
}

// The data bytes of a full answer: packed bits, or two bytes per register.
std::size_t data_size(const ModbusRead& read) {
  return reads_bits(read.function) ? (read.quantity + 7u) / 8u : 2u * read.quantity;
}

std::string instead(const char* field, std::size_t received, std::size_t expected) {
  return std::string(field) + ' ' + std::to_string(received) + " instead of " + std::to_string(expected);
}

ReplyVerdict malformed(std::string problem) {
  ReplyVerdict verdict;
  verdict.kind = ReplyVerdict::Kind::Malformed;
  verdict.problem = std::move(problem);
  return verdict;
}

}  // namespace

std::array<std::uint8_t, Modbus_Read_Frame_Size> Modbus_Read_Frame(const ModbusRead& read) {
  std::array<std::uint8_t, Modbus_Read_Frame_Size> frame{};
  put_word(&frame[0], read.transaction);
  put_word(&frame[2], 0);
  put_word(&frame[4], static_cast<std::uint16_t>(Modbus_Read_Frame_Size - Uncounted));
  frame[6] = read.unit_id;
  frame[7] = read.function;
  put_word(&frame[8], read.start);
  put_word(&frame[10], read.quantity);
  return frame;
}

ReplyVerdict Check_Reply(const ModbusRead& read, std::span<const std::uint8_t> received) {
  const std::size_t size = received.size();
  if (size >= 2 && word_at(received, 0) != read.transaction) {
    return malformed(instead("transaction id", word_at(received, 0), read.transaction));
  }
  if (size >= 4 && word_at(received, 2) != 0) return malformed(instead("protocol id", word_at(received, 2), 0));
  if (size >= Header_Size && received[6] != read.unit_id) {
    return malformed(instead("unit id", received[6], read.unit_id));
  }
  if (size < Header_Size + 1) return {};
  const std::uint8_t function = received[7];
  const bool exception = function == (read.function | Exception_Flag);
  if (function != read.function && !exception) return malformed(instead("function code", function, read.function));
  if (size < Header_Size + 2) return {};

  const std::size_t length = word_at(received, 4);
  const std::size_t data = exception ? 0 : data_size(read);
  if (exception) {
    if (received[8] == 0) return malformed("exception code 0");
  } else if (received[8] != data) {
    return malformed(instead("byte count", received[8], data));
  }
  // An exception answer holds its code where a read answer holds its byte count.
  if (length != Counted_Before_Data + data)
    return malformed(instead("length field", length, Counted_Before_Data + data));
  const std::size_t answer_size = Uncounted + length;
  if (size < answer_size) {
    ReplyVerdict verdict;
    verdict.answer_size = answer_size;
    return verdict;
  }
  if (size > answer_size) {
    const std::size_t extra = size - answer_size;
    return malformed(std::to_string(extra) + (extra == 1 ? " byte" : " bytes") + " beyond its length field");
  }

  ReplyVerdict verdict;
  if (exception) {
    verdict.kind = ReplyVerdict::Kind::Exception;
    verdict.exception_code = received[8];
    return verdict;
  }
  verdict.kind = ReplyVerdict::Kind::Values;
  verdict.values.reserve(read.quantity);
  const std::span<const std::uint8_t> values = received.subspan(Header_Size + 2);
  for (std::size_t i = 0; i < read.quantity; ++i) {
    verdict.values.push_back(reads_bits(read.function) ? (values[i / 8] >> (i % 8)) & 1u : word_at(values, 2 * i));
  }
  return verdict;
}

}  // namespace sw48230
