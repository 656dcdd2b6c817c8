// The probe's reading of a server's reply: a read request, then the bytes
// that come back, in pieces of fuzzed sizes. The check ends at a verdict or
// with the bytes, and calls a reply an answer only when it is, byte for
// byte, the answer to that request, judged here by building that answer anew.
//
// Input: transaction (2 bytes), unit id, function (its low two bits pick 1
// to 4), start (2), quantity (2), a seed for the piece sizes, then the reply.

#include <cstdlib>
#include <vector>

#include "core/probe/modbus_frame.h"
#include "fuzz_input.h"

using namespace sw48230;

namespace {

constexpr std::size_t Request_Bytes = 9;

std::uint16_t word(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] << 8 | at[1]); }

void push_word(std::vector<std::uint8_t>& bytes, std::size_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
  bytes.push_back(static_cast<std::uint8_t>(value));
}

std::vector<std::uint8_t> header(const ModbusRead& read, std::size_t length, std::uint8_t function) {
  std::vector<std::uint8_t> bytes;
  push_word(bytes, read.transaction);
  push_word(bytes, 0);
  push_word(bytes, length);
  bytes.push_back(read.unit_id);
  bytes.push_back(function);
  return bytes;
}

// Whether `reply` is the answer carrying `values`; the unused high bits of
// the last byte of bits may hold anything.
bool is_answer(const ModbusRead& read, const std::vector<std::uint16_t>& values,
               const std::vector<std::uint8_t>& reply) {
  if (values.size() != read.quantity) return false;
  const bool bits = read.function <= 2;
  std::vector<std::uint8_t> data;
  if (bits) {
    data.assign((values.size() + 7) / 8, 0);
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (values[i] > 1) return false;
      data[i / 8] = static_cast<std::uint8_t>(data[i / 8] + (values[i] << (i % 8)));
    }
  } else {
    for (const std::uint16_t value : values) push_word(data, value);
  }
  if (data.size() > 255) return false;
  std::vector<std::uint8_t> answer = header(read, 3 + data.size(), read.function);
  answer.push_back(static_cast<std::uint8_t>(data.size()));
  answer.insert(answer.end(), data.begin(), data.end());
  if (reply.size() != answer.size()) return false;
  if (bits && read.quantity % 8 != 0) {
    const auto unused = static_cast<std::uint8_t>(0xFF << (read.quantity % 8));
    answer.back() = static_cast<std::uint8_t>(answer.back() | (reply.back() & unused));
  }
  return reply == answer;
}

bool is_exception(const ModbusRead& read, const std::vector<std::uint8_t>& reply) {
  if (reply.size() != 9 || reply[8] == 0) return false;
  std::vector<std::uint8_t> answer = header(read, 3, static_cast<std::uint8_t>(read.function + 0x80));
  answer.push_back(reply[8]);
  return reply == answer;
}

// Whether a well-formed answer of any values or code is what came.
bool is_any_answer(const ModbusRead& read, const std::vector<std::uint8_t>& reply) {
  if (is_exception(read, reply)) return true;
  const std::size_t data = read.function <= 2 ? (read.quantity + 7u) / 8u : 2u * read.quantity;
  if (reply.size() != 9 + data) return false;
  std::vector<std::uint16_t> values(read.quantity);
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] = read.function <= 2 ? (reply[9 + i / 8] >> (i % 8)) & 1 : word(&reply[9 + 2 * i]);
  }
  return is_answer(read, values, reply);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < Request_Bytes) return 0;
  const ModbusRead read{word(data), data[2], static_cast<std::uint8_t>((data[3] & 3) + 1), word(data + 4),
                        word(data + 6)};
  std::uint32_t seed = data[8];
  const std::uint8_t* reply = data + Request_Bytes;
  const std::size_t reply_size = size - Request_Bytes;

  const auto frame = Modbus_Read_Frame(read);
  const std::vector<std::uint8_t> request(frame.begin(), frame.end());
  std::vector<std::uint8_t> expected_request = header(read, 6, read.function);
  push_word(expected_request, read.start);
  push_word(expected_request, read.quantity);
  if (request != expected_request) std::abort();

  std::vector<std::uint8_t> received;
  ReplyVerdict verdict;
  for (std::size_t at = 0; at < reply_size && verdict.kind == ReplyVerdict::Kind::Incomplete;) {
    seed = seed * 1103515245u + 12345u;
    const std::size_t piece = std::min<std::size_t>(1 + (seed >> 16) % 16, reply_size - at);
    received.insert(received.end(), reply + at, reply + at + piece);
    at += piece;
    verdict = Check_Reply(read, received);
  }
  switch (verdict.kind) {
    case ReplyVerdict::Kind::Values:
      if (!is_answer(read, verdict.values, received)) std::abort();
      break;
    case ReplyVerdict::Kind::Exception:
      if (!is_exception(read, received) || verdict.exception_code != received[8]) std::abort();
      break;
    case ReplyVerdict::Kind::Malformed:
      if (verdict.problem.empty() || is_any_answer(read, received)) std::abort();
      break;
    case ReplyVerdict::Kind::Incomplete:
      if (is_any_answer(read, received)) std::abort();
      break;
  }
  return 0;
}
