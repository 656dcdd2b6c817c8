#include "core/probe/server_connection.h"

#include <modbus.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <string_view>
#include <system_error>
#include <vector>

namespace sw48230 {
namespace {

std::string system_reason(int error) { return std::generic_category().message(error); }

bool is_exception(int error) { return error >= EMBXILFUN && error <= EMBXGTAR; }

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

void set_timeout(modbus_t* context, std::uint32_t timeout_ms) {
  const auto seconds = static_cast<std::uint32_t>(timeout_ms / 1000);
  const auto microseconds = static_cast<std::uint32_t>(timeout_ms % 1000 * 1000);
  modbus_set_response_timeout(context, seconds, microseconds);
  // The whole answer within the time-out, not each byte in half a second.
  modbus_set_byte_timeout(context, seconds, microseconds);
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
  if (!valid) return {false, '"' + address + "\" is not an IPv4 address"};
  // 0.x.x.x is this host's own network (0.0.0.0 reaches this very PC), and
  // from 224 on the addresses are multicast, reserved or broadcast.
  if (parts[0] == 0 || parts[0] >= 224) return {false, address + " is not the address of a server"};
  return {true, {}};
}

ServerConnection::ServerConnection(const std::string& address, std::uint16_t port, std::uint32_t timeout_ms,
                                   ProbeStop& stop)
    : timeout_ms_(std::max<std::uint32_t>(timeout_ms, 1)), stop_(stop) {
  const ServerAddress checked = Check_Server_Address(address);
  if (!checked.valid) {
    failure_ = Failure{ProbeStatus::Error, checked.problem};
    return;
  }
  context_ = modbus_new_tcp(address.c_str(), port);
  if (!context_) {
    failure_ = Failure{ProbeStatus::Error, system_reason(errno)};
    return;
  }
  set_timeout(context_, timeout_ms_);
}

ServerConnection::~ServerConnection() {
  if (!context_) return;
  close();
  modbus_free(context_);
}

bool ServerConnection::connect() {
  if (modbus_connect(context_) == 0) {
    connected_ = true;
    if (stop_.attach(modbus_get_socket(context_))) return true;
    // Stopped while connecting; the caller sees the stop.
    close();
    return false;
  }
  const int error = errno;
  failure_ = Failure{connect_status(error), system_reason(error)};
  return false;
}

void ServerConnection::close() {
  if (!connected_) return;
  stop_.detach(modbus_get_socket(context_), [this] { modbus_close(context_); });
  connected_ = false;
}

ServerConnection::Exchange ServerConnection::exchange(const ProbeRequest& request, ProbeResult& result) {
  modbus_set_slave(context_, request.unit_id);
  const int count = request.quantity;
  std::vector<std::uint8_t> bits;
  std::vector<std::uint16_t> registers;
  const auto started = std::chrono::steady_clock::now();
  int answered = -1;
  switch (request.function) {
    case modbus_function::Read_Coils:
    case modbus_function::Read_Discrete_Inputs:
      bits.resize(std::max(count, 1));
      answered = request.function == modbus_function::Read_Coils
                     ? modbus_read_bits(context_, request.start, count, bits.data())
                     : modbus_read_input_bits(context_, request.start, count, bits.data());
      break;
    default:
      registers.resize(std::max(count, 1));
      answered = request.function == modbus_function::Read_Holding_Registers
                     ? modbus_read_registers(context_, request.start, count, registers.data())
                     : modbus_read_input_registers(context_, request.start, count, registers.data());
      break;
  }
  const int error = errno;
  const auto elapsed = std::chrono::steady_clock::now() - started;

  if (answered >= 0) {
    result.status = ProbeStatus::Ok;
    result.round_trip_ms =
        static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    const std::size_t values = static_cast<std::size_t>(std::min(answered, count));
    if (!bits.empty()) {
      result.values.assign(bits.begin(), bits.begin() + static_cast<std::ptrdiff_t>(values));
    } else {
      result.values.assign(registers.begin(), registers.begin() + static_cast<std::ptrdiff_t>(values));
    }
    return Exchange::Answered;
  }
  if (is_closed(error)) return Exchange::Closed;
  if (is_exception(error)) {
    result.status = ProbeStatus::Exception;
    result.exception_code = error - MODBUS_ENOBASE;
  } else if (error == ETIMEDOUT) {
    result.status = ProbeStatus::Timeout;
    result.reason = "no answer within " + std::to_string(timeout_ms_) + " ms";
    // A late answer would be taken for the next request's.
    close();
  } else {
    result.status = ProbeStatus::Error;
    // libmodbus's own texts for its codes; the system's, thread-safe, for the rest.
    result.reason = error >= MODBUS_ENOBASE ? modbus_strerror(error) : system_reason(error);
  }
  return Exchange::Answered;
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
    if (!connected_ && (failure_ || !connect())) {
      if (!failure_) return std::nullopt;
      result.status = failure_->status;
      result.reason = failure_->reason;
      return result;
    }
    const Exchange exchanged = exchange(request, result);
    // A stop cuts the connection off: whatever came of it is no answer.
    if (stop_.requested()) return std::nullopt;
    if (exchanged == Exchange::Answered) return result;
    close();
  }
  result.status = ProbeStatus::Error;
  result.reason = "the server closed the connection";
  return result;
}

}  // namespace sw48230
