#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/probe/probe_request.h"
#include "core/probe/probe_stop.h"

// libmodbus's context, kept out of the callers' includes.
struct _modbus;

namespace sw48230 {

// The probe's one connection to one server. It connects at the first
// request; once connecting has failed, every later request of the server
// gets the same result without another try, so that a server that is off
// costs one time-out rather than one per row.
class ServerConnection {
 public:
  ServerConnection(const std::string& address, std::uint16_t port, std::uint32_t timeout_ms, ProbeStop& stop);
  ~ServerConnection();
  ServerConnection(const ServerConnection&) = delete;
  ServerConnection& operator=(const ServerConnection&) = delete;

  // Sends the request's read and waits for the answer. The request's
  // address and port are this connection's. Nothing when the probe was
  // stopped before the answer came.
  std::optional<ProbeResult> send(const ProbeRequest& request);

 private:
  struct Failure {
    ProbeStatus status;
    std::string reason;
  };
  enum class Exchange { Answered, Closed };

  bool connect();
  void close();
  Exchange exchange(const ProbeRequest& request, ProbeResult& result);

  _modbus* context_ = nullptr;
  std::string address_;
  std::uint16_t port_;
  std::uint32_t timeout_ms_;
  ProbeStop& stop_;
  bool connected_ = false;
  std::optional<Failure> failure_;
};

// Whether the address is a dotted decimal IPv4 address of a single host, and
// if not, why it cannot be probed. Host names are not looked up: the device
// knows none.
struct ServerAddress {
  bool valid = false;
  std::string problem;
};
ServerAddress Check_Server_Address(const std::string& address);

}  // namespace sw48230
