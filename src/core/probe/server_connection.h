#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/probe/probe_request.h"
#include "core/probe/probe_socket.h"
#include "core/probe/probe_stop.h"

namespace sw48230 {

// The probe's one connection to one server. It connects at the first
// request; once connecting has failed, every later request of the server
// gets the same result without another try, so that a server that is off
// costs one time-out rather than one per row. After a time-out or a reply
// that is no answer to its request the connection is made anew, so that a
// late or stray answer is never taken for the next request's.
class ServerConnection {
 public:
  ServerConnection(const std::string& address, std::uint16_t port, std::uint32_t timeout_ms, const ProbeStop& stop);
  ~ServerConnection();
  ServerConnection(const ServerConnection&) = delete;
  ServerConnection& operator=(const ServerConnection&) = delete;

  // Sends the request's read and waits for the whole answer, at most the
  // time-out from sending. The request's address and port are this
  // connection's. Nothing when the probe was stopped before the answer came.
  std::optional<ProbeResult> send(const ProbeRequest& request);

 private:
  struct Failure {
    ProbeStatus status;
    std::string reason;
  };
  enum class Exchange { Answered, Closed, Stopped };

  // False when connecting failed (failure_ says why) or was stopped.
  bool connect();
  Exchange exchange(const ProbeRequest& request, ProbeResult& result);

  std::uint32_t address_ = 0;
  std::uint16_t port_;
  std::uint32_t timeout_ms_;
  const ProbeStop& stop_;
  ProbeSocket socket_;
  std::uint16_t transaction_ = 0;
  std::optional<Failure> failure_;
};

// Whether the address is a dotted decimal IPv4 address of a single host, and
// if not, why it cannot be probed. Host names are not looked up: the device
// knows none.
struct ServerAddress {
  bool valid = false;
  std::string problem;
  std::array<std::uint8_t, 4> parts{};  // valid: the four numbers, as decimals
};
ServerAddress Check_Server_Address(const std::string& address);

}  // namespace sw48230
