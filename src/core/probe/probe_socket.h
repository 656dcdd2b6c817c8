#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/probe/probe_stop.h"

namespace sw48230 {

using ProbeClock = std::chrono::steady_clock;

// Why a socket call failed: the errno code the probe's statuses go by (a
// Windows socket error is turned into the errno code of the same meaning)
// and the system's own text for the user.
struct SocketError {
  int code = 0;
  std::string reason;
};

// How a socket call ended.
struct SocketStep {
  enum class Kind { Done, Deadline, Stopped, Failed };
  Kind kind = Kind::Done;
  SocketError error;     // Failed
  std::size_t size = 0;  // receive() done: the bytes received, 0 when the server closed the connection
};

// The probe's TCP connection to one server. The socket never blocks: every
// wait, for the connection as for the bytes of an answer, ends at its
// deadline or, within a few hundredths of a second, at a stop, on Linux and
// on Windows alike.
class ProbeSocket {
 public:
  ProbeSocket() = default;
  ~ProbeSocket() { close(); }
  ProbeSocket(const ProbeSocket&) = delete;
  ProbeSocket& operator=(const ProbeSocket&) = delete;

  bool is_open() const { return socket_ != Closed; }

  // Connects to the IPv4 address. A connection not made by the deadline has
  // failed as with the system's own connect time-out (ETIMEDOUT); after a
  // failure or a stop the socket is closed.
  SocketStep connect(std::uint32_t address, std::uint16_t port, ProbeClock::time_point deadline, const ProbeStop& stop);
  SocketStep send(std::span<const std::uint8_t> bytes, ProbeClock::time_point deadline, const ProbeStop& stop);
  // Whatever has come, once something has.
  SocketStep receive(std::span<std::uint8_t> into, ProbeClock::time_point deadline, const ProbeStop& stop);
  // Whether the connection has something to read while no answer is due:
  // bytes nobody asked for, or the server's close.
  bool has_unread() const;
  void close();

 private:
#ifdef _WIN32
  using Handle = std::uintptr_t;  // SOCKET
  static constexpr Handle Closed = ~Handle{0};
#else
  using Handle = int;
  static constexpr Handle Closed = -1;
#endif
  enum class Direction { Read, Write };

  SocketStep wait(Direction direction, ProbeClock::time_point deadline, const ProbeStop& stop) const;

  Handle socket_ = Closed;
};

}  // namespace sw48230
