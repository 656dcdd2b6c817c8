#include "core/probe/server_connection.h"

#ifdef _WIN32
#include <winsock2.h>
// A macro of windows.h's structured exceptions, not ProbeResult's member.
#undef exception_code
#endif

#include <algorithm>
#include <cerrno>
#include <vector>

#include "core/probe/modbus_frame.h"

namespace sw48230 {
namespace {

// More than any answer, so that bytes beyond an answer's end are seen with it.
constexpr std::size_t Receive_Chunk = 512;

// What the sockets say when the server has closed the connection.
bool is_closed(int error) {
  return error == ECONNRESET || error == EPIPE || error == ENOTCONN || error == ECONNABORTED;
}

ProbeStatus connect_status(int error) {
  switch (error) {
    case ECONNREFUSED:
      return ProbeStatus::Refused;
    case ENETUNREACH:
    case EHOSTUNREACH:
    case ENETDOWN:
#ifdef EHOSTDOWN  // not among the codes of every C library on Windows
    case EHOSTDOWN:
#endif
    case ETIMEDOUT:
      return ProbeStatus::Unreachable;
    default:
      return ProbeStatus::Error;
  }
}

std::string bytes_text(std::size_t count) { return std::to_string(count) + (count == 1 ? " byte" : " bytes"); }

// The answer that had not come whole by the deadline.
std::string timeout_reason(std::size_t received, std::size_t answer_size, std::uint32_t timeout_ms) {
  const std::string within = " within " + std::to_string(timeout_ms) + " ms";
  if (received == 0) return "no answer" + within;
  if (answer_size == 0) return "only " + bytes_text(received) + " of the answer" + within;
  return "only " + std::to_string(received) + " of " + bytes_text(answer_size) + " of the answer" + within;
}

}  // namespace

ServerAddress Check_Server_Address(const std::string& address) {
  int parts[4] = {};
  std::size_t part = 0;
  std::size_t digits = 0;
  bool valid = !address.empty();
  for (const char c : address) {
    if (c == '.' && digits > 0 && part < 3) {
      ++part;
      digits = 0;
    } else if (c >= '0' && c <= '9' && digits < 3) {
      parts[part] = parts[part] * 10 + (c - '0');
      ++digits;
    } else {
      valid = false;
      break;
    }
  }
  valid = valid && part == 3 && digits > 0;
  for (const int value : parts) valid = valid && value <= 255;
  if (!valid) return {false, '"' + address + "\" is not an IPv4 address", {}};
  // 0.x.x.x is this host's own network (0.0.0.0 reaches this very PC), and
  // from 224 on the addresses are multicast, reserved or broadcast.
  if (parts[0] == 0 || parts[0] >= 224) return {false, address + " is not the address of a server", {}};
  ServerAddress checked{true, {}, {}};
  std::copy(std::begin(parts), std::end(parts), checked.parts.begin());
  return checked;
}

ServerConnection::ServerConnection(const std::string& address, std::uint16_t port, std::uint32_t timeout_ms,
                                   const ProbeStop& stop)
    : port_(port), timeout_ms_(std::max<std::uint32_t>(timeout_ms, 1)), stop_(stop) {
#ifdef _WIN32
  // Counted: the destructor's WSACleanup ends this use of the sockets.
  WSADATA sockets;
  WSAStartup(MAKEWORD(2, 2), &sockets);
#endif
  const ServerAddress checked = Check_Server_Address(address);
  if (!checked.valid) {
    failure_ = Failure{ProbeStatus::Error, checked.problem};
    return;
  }
  for (const std::uint8_t part : checked.parts) address_ = address_ << 8 | part;
}

ServerConnection::~ServerConnection() {
  socket_.close();
#ifdef _WIN32
  WSACleanup();
#endif
}

bool ServerConnection::connect() {
  const auto deadline = ProbeClock::now() + std::chrono::milliseconds(timeout_ms_);
  const SocketStep step = socket_.connect(address_, port_, deadline, stop_);
  if (step.kind == SocketStep::Kind::Failed) failure_ = Failure{connect_status(step.error.code), step.error.reason};
  return step.kind == SocketStep::Kind::Done;
}

ServerConnection::Exchange ServerConnection::exchange(const ProbeRequest& request, ProbeResult& result) {
  const ModbusRead read{++transaction_, request.unit_id, request.function, request.start, request.quantity};
  const auto sent = ProbeClock::now();
  const auto deadline = sent + std::chrono::milliseconds(timeout_ms_);
  std::vector<std::uint8_t> received;
  std::size_t answer_size = 0;
  SocketStep step = socket_.send(Modbus_Read_Frame(read), deadline, stop_);
  while (step.kind == SocketStep::Kind::Done) {
    std::uint8_t chunk[Receive_Chunk];
    step = socket_.receive(chunk, deadline, stop_);
    if (step.kind != SocketStep::Kind::Done) break;
    if (step.size == 0) return Exchange::Closed;
    received.insert(received.end(), chunk, chunk + step.size);
    ReplyVerdict verdict = Check_Reply(read, received);
    switch (verdict.kind) {
      case ReplyVerdict::Kind::Incomplete:
        answer_size = verdict.answer_size;
        continue;
      case ReplyVerdict::Kind::Values:
        result.status = ProbeStatus::Ok;
        result.values = std::move(verdict.values);
        result.round_trip_ms = static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(ProbeClock::now() - sent).count());
        return Exchange::Answered;
      case ReplyVerdict::Kind::Exception:
        result.status = ProbeStatus::Exception;
        result.exception_code = verdict.exception_code;
        return Exchange::Answered;
      case ReplyVerdict::Kind::Malformed:
        result.status = ProbeStatus::Error;
        result.reason = "malformed reply: " + verdict.problem;
        // Where this reply ends, and so where the next one starts, is lost.
        socket_.close();
        return Exchange::Answered;
    }
  }
  switch (step.kind) {
    case SocketStep::Kind::Stopped:
      return Exchange::Stopped;
    case SocketStep::Kind::Deadline:
      result.status = ProbeStatus::Timeout;
      result.reason = timeout_reason(received.size(), answer_size, timeout_ms_);
      // A late answer would be taken for the next request's.
      socket_.close();
      return Exchange::Answered;
    default:
      if (is_closed(step.error.code)) return Exchange::Closed;
      result.status = ProbeStatus::Error;
      result.reason = step.error.reason;
      socket_.close();
      return Exchange::Answered;
  }
}

std::optional<ProbeResult> ServerConnection::send(const ProbeRequest& request) {
  ProbeResult result;
  result.table = request.table;
  result.row = request.row;
  if (request.function < modbus_function::Read_Coils || request.function > modbus_function::Read_Input_Registers) {
    result.status = ProbeStatus::Error;
    result.reason = "the row's type gives no Modbus function";
    return result;
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (stop_.requested()) return std::nullopt;
    if (socket_.is_open() && attempt == 0 && socket_.has_unread()) {
      // Closed by the server since the last answer, or bytes nobody asked
      // for: this request finds the connection closed.
      socket_.close();
      continue;
    }
    if (!socket_.is_open() && (failure_ || !connect())) {
      if (!failure_) return std::nullopt;
      result.status = failure_->status;
      result.reason = failure_->reason;
      return result;
    }
    const Exchange exchanged = exchange(request, result);
    // What came after a stop is no answer: the user no longer waits for it.
    if (exchanged == Exchange::Stopped || stop_.requested()) return std::nullopt;
    if (exchanged == Exchange::Answered) return result;
    socket_.close();
  }
  result.status = ProbeStatus::Error;
  result.reason = "the server closed the connection";
  return result;
}

}  // namespace sw48230
