#include "core/probe/probe_socket.h"

#ifdef _WIN32
// Brings in windows.h, for the system's texts, after itself as it must.
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace sw48230 {
namespace {

// How long a wait goes on before it looks at the stop again: short enough
// that a stop ends a probe at once for the user, long enough that a waiting
// thread costs nothing.
constexpr auto Stop_Check_Interval = std::chrono::milliseconds(20);

SocketStep failed(SocketError error) { return {SocketStep::Kind::Failed, std::move(error), 0}; }

// The part of the wait up to the deadline that goes before the next look at
// the stop, in whole milliseconds, at least one.
long wait_slice_ms(ProbeClock::time_point deadline) {
  const auto left = std::min<ProbeClock::duration>(deadline - ProbeClock::now(), Stop_Check_Interval);
  return std::max<long>(static_cast<long>(std::chrono::ceil<std::chrono::milliseconds>(left).count()), 1);
}

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
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length > 0 ? std::string(buffer, length) : std::string();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text.empty() ? "Windows error " + std::to_string(error) : text;
}

SocketError socket_error(int error) { return {errno_of(error), windows_reason(error)}; }
SocketError last_error() { return socket_error(WSAGetLastError()); }
bool would_block() { return WSAGetLastError() == WSAEWOULDBLOCK; }
SocketError timed_out() { return socket_error(WSAETIMEDOUT); }
#else
// The system's text, thread-safe.
SocketError socket_error(int error) { return {error, std::generic_category().message(error)}; }
SocketError last_error() { return socket_error(errno); }
bool would_block() { return errno == EAGAIN || errno == EWOULDBLOCK; }
SocketError timed_out() { return socket_error(ETIMEDOUT); }
#endif

}  // namespace

SocketStep ProbeSocket::connect(std::uint32_t address, std::uint16_t port, ProbeClock::time_point deadline,
                                const ProbeStop& stop) {
  close();
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(port);
  server.sin_addr.s_addr = htonl(address);
#ifdef _WIN32
  socket_ = static_cast<Handle>(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (socket_ == static_cast<Handle>(INVALID_SOCKET)) {
    socket_ = Closed;
    return failed(last_error());
  }
  u_long non_blocking = 1;
  ::ioctlsocket(static_cast<SOCKET>(socket_), FIONBIO, &non_blocking);
  const BOOL no_delay = TRUE;
  ::setsockopt(static_cast<SOCKET>(socket_), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&no_delay),
               sizeof no_delay);
  const bool started =
      ::connect(static_cast<SOCKET>(socket_), reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0 ||
      WSAGetLastError() == WSAEWOULDBLOCK;
#else
  socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (socket_ < 0) {
    socket_ = Closed;
    return failed(last_error());
  }
  const int no_delay = 1;
  ::setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &no_delay, sizeof no_delay);
  const bool started =
      ::connect(socket_, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0 || errno == EINPROGRESS;
#endif
  if (!started) {
    const SocketError error = last_error();
    close();
    return failed(error);
  }
  SocketStep step = wait(Direction::Write, deadline, stop);
  if (step.kind == SocketStep::Kind::Done) {
    int error = 0;
#ifdef _WIN32
    int size = sizeof error;
    ::getsockopt(static_cast<SOCKET>(socket_), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
#else
    socklen_t size = sizeof error;
    ::getsockopt(socket_, SOL_SOCKET, SO_ERROR, &error, &size);
#endif
    if (error == 0) return step;
    step = failed(socket_error(error));
  } else if (step.kind == SocketStep::Kind::Deadline) {
    step = failed(timed_out());
  }
  close();
  return step;
}

SocketStep ProbeSocket::send(std::span<const std::uint8_t> bytes, ProbeClock::time_point deadline,
                             const ProbeStop& stop) {
  while (!bytes.empty()) {
#ifdef _WIN32
    const int sent = ::send(static_cast<SOCKET>(socket_), reinterpret_cast<const char*>(bytes.data()),
                            static_cast<int>(bytes.size()), 0);
#else
    // A server that has closed the connection is an answer, not a signal
    // that ends the program.
    const ssize_t sent = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
#endif
    if (sent >= 0) {
      bytes = bytes.subspan(static_cast<std::size_t>(sent));
      continue;
    }
    if (!would_block()) return failed(last_error());
    const SocketStep step = wait(Direction::Write, deadline, stop);
    if (step.kind != SocketStep::Kind::Done) return step;
  }
  return {};
}

SocketStep ProbeSocket::receive(std::span<std::uint8_t> into, ProbeClock::time_point deadline, const ProbeStop& stop) {
  while (true) {
    const SocketStep step = wait(Direction::Read, deadline, stop);
    if (step.kind != SocketStep::Kind::Done) return step;
#ifdef _WIN32
    const int received =
        ::recv(static_cast<SOCKET>(socket_), reinterpret_cast<char*>(into.data()), static_cast<int>(into.size()), 0);
#else
    const ssize_t received = ::recv(socket_, into.data(), into.size(), 0);
#endif
    if (received >= 0) return {SocketStep::Kind::Done, {}, static_cast<std::size_t>(received)};
    if (!would_block()) return failed(last_error());
  }
}

bool ProbeSocket::has_unread() const {
#ifdef _WIN32
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(static_cast<SOCKET>(socket_), &readable);
  timeval now{0, 0};
  return ::select(0, &readable, nullptr, nullptr, &now) != 0;
#else
  pollfd watched{socket_, POLLIN, 0};
  return ::poll(&watched, 1, 0) != 0;
#endif
}

void ProbeSocket::close() {
  if (socket_ == Closed) return;
#ifdef _WIN32
  ::closesocket(static_cast<SOCKET>(socket_));
#else
  ::close(socket_);
#endif
  socket_ = Closed;
}

SocketStep ProbeSocket::wait(Direction direction, ProbeClock::time_point deadline, const ProbeStop& stop) const {
  while (true) {
    if (stop.requested()) return {SocketStep::Kind::Stopped, {}, 0};
    if (ProbeClock::now() >= deadline) return {SocketStep::Kind::Deadline, {}, 0};
    const long slice_ms = wait_slice_ms(deadline);
#ifdef _WIN32
    // Windows tells of a failed connection through the exceptions, not
    // through the socket becoming writable.
    fd_set ready;
    fd_set failures;
    FD_ZERO(&ready);
    FD_ZERO(&failures);
    FD_SET(static_cast<SOCKET>(socket_), &ready);
    FD_SET(static_cast<SOCKET>(socket_), &failures);
    const bool writing = direction == Direction::Write;
    timeval slice{0, slice_ms * 1000};
    const int count =
        ::select(0, writing ? nullptr : &ready, writing ? &ready : nullptr, writing ? &failures : nullptr, &slice);
    if (count < 0) return failed(last_error());
    if (writing && FD_ISSET(static_cast<SOCKET>(socket_), &failures)) {
      int error = 0;
      int size = sizeof error;
      ::getsockopt(static_cast<SOCKET>(socket_), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
      return failed(socket_error(error != 0 ? error : WSAECONNREFUSED));
    }
    if (count > 0) return {};
#else
    pollfd watched{socket_, static_cast<short>(direction == Direction::Read ? POLLIN : POLLOUT), 0};
    const int count = ::poll(&watched, 1, static_cast<int>(slice_ms));
    if (count < 0 && errno != EINTR) return failed(last_error());
    if (count > 0) return {};
#endif
  }
}

}  // namespace sw48230
