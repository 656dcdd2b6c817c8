#include "core/probe/server_connection.h"

#include <modbus.h>

#ifdef _WIN32
#include <winsock2.h>
#include <windows.h>
// A macro of windows.h's structured exceptions, not ProbeResult's member.
#undef exception_code
#endif

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

// What a failed libmodbus call left: the errno code the probe's statuses go
// by, and the text for the user.
struct CallError {
  int code = 0;
  std::string reason;
};

#ifdef _WIN32
// The errno code of the same meaning as a socket error of Windows.
int errno_of(int socket_error) {
  switch (socket_error) {
    case WSAECONNREFUSED:
      return ECONNREFUSED;
    case WSAENETUNREACH:
      return ENETUNREACH;
    case WSAEHOSTUNREACH:
    case WSAEHOSTDOWN:
      return EHOSTUNREACH;
    case WSAENETDOWN:
      return ENETDOWN;
    case WSAETIMEDOUT:
      return ETIMEDOUT;
    case WSAECONNRESET:
    case WSAENETRESET:
      return ECONNRESET;
    case WSAECONNABORTED:
      return ECONNABORTED;
    case WSAENOTCONN:
      return ENOTCONN;
    case WSAESHUTDOWN:
      return EPIPE;
    default:
      return socket_error;
  }
}

// The system's own text for a Windows error code, as one line.
std::string windows_reason(int error) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(error), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length > 0 ? std::string(buffer, length) : std::string();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text.empty() ? "Windows error " + std::to_string(error) : text;
}

// libmodbus waits for a connection being made only until its socket can be
// written, but Windows tells of a refused or failed connection through the
// socket's exceptions: with libmodbus every refused connection would cost
// the whole time-out and be taken for one. The connection is made here and
// handed to libmodbus. On failure, -1 and WSAGetLastError() says why.
int connect_socket(const std::string& address, std::uint16_t port, std::uint32_t timeout_ms) {
  const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (socket == INVALID_SOCKET) return -1;
  u_long non_blocking = 1;
  ::ioctlsocket(socket, FIONBIO, &non_blocking);
  const BOOL no_delay = TRUE;
  ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&no_delay), sizeof no_delay);
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(port);
  server.sin_addr.s_addr = inet_addr(address.c_str());
  int error = ::connect(socket, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0 ? 0 : WSAGetLastError();
  if (error == WSAEWOULDBLOCK) {
    fd_set made;
    fd_set failed;
    FD_ZERO(&made);
    FD_ZERO(&failed);
    FD_SET(socket, &made);
    FD_SET(socket, &failed);
    timeval wait{static_cast<long>(timeout_ms / 1000), static_cast<long>(timeout_ms % 1000 * 1000)};
    const int ready = ::select(0, nullptr, &made, &failed, &wait);
    if (ready == 0) {
      error = WSAETIMEDOUT;
    } else if (ready < 0) {
      error = WSAGetLastError();
    } else {
      int socket_error = 0;
      int size = sizeof socket_error;
      ::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&socket_error), &size);
      error = socket_error != 0 || !FD_ISSET(socket, &failed) ? socket_error : WSAECONNREFUSED;
    }
  }
  if (error == 0) return static_cast<int>(socket);
  ::closesocket(socket);
  WSASetLastError(error);
  return -1;
}
#endif

// libmodbus reports through errno, which is cleared first so that after the
// call a zero says that the cause is elsewhere.
void clear_error() {
  errno = 0;
#ifdef _WIN32
  WSASetLastError(0);
#endif
}

CallError last_error() {
#ifdef _WIN32
  // libmodbus sets errno for its own codes and its time-outs, but leaves the
  // errors of Windows' sockets in WSAGetLastError(). A connection not made
  // within the time-out leaves there only that the connect went on in the
  // background.
  if (errno == 0) {
    int socket_error = WSAGetLastError();
    if (socket_error == WSAEWOULDBLOCK || socket_error == WSAEINPROGRESS || socket_error == 0) {
      socket_error = WSAETIMEDOUT;
    }
    return {errno_of(socket_error), windows_reason(socket_error)};
  }
#endif
  const int error = errno;
  // libmodbus's own texts for its codes; the system's, thread-safe, for the rest.
  return {error, error >= MODBUS_ENOBASE ? modbus_strerror(error) : system_reason(error)};
}

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
    : address_(address), port_(port), timeout_ms_(std::max<std::uint32_t>(timeout_ms, 1)), stop_(stop) {
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
  clear_error();
  context_ = modbus_new_tcp(address.c_str(), port);
  if (!context_) {
    failure_ = Failure{ProbeStatus::Error, last_error().reason};
    return;
  }
  set_timeout(context_, timeout_ms_);
}

ServerConnection::~ServerConnection() {
  if (context_) {
    close();
    modbus_free(context_);
  }
#ifdef _WIN32
  WSACleanup();
#endif
}

bool ServerConnection::connect() {
  clear_error();
#ifdef _WIN32
  const int socket = connect_socket(address_, port_, timeout_ms_);
  const int connected = socket < 0 ? -1 : modbus_set_socket(context_, socket);
#else
  const int connected = modbus_connect(context_);
#endif
  if (connected == 0) {
    connected_ = true;
    if (stop_.attach(modbus_get_socket(context_))) return true;
    // Stopped while connecting; the caller sees the stop.
    close();
    return false;
  }
  const CallError error = last_error();
  failure_ = Failure{connect_status(error.code), error.reason};
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
  clear_error();
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
  const CallError failed = last_error();
  const int error = failed.code;
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
    result.reason = failed.reason;
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
