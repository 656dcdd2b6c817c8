#pragma once

// Trying a project's requests from the PC before they go into the device:
// each request is sent once to its server, and the answer is reported per
// row. Nothing is ever written to a server: a write request is probed by
// reading back the range it would write.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/request_image.h"

namespace sw48230 {

// One request to try, as the image makes it of a table row. `function` is
// the read the probe sends: the row's own function for a read request, and
// for a write request the read of the same range (1 for coils, 3 for
// registers), or 0 when the row's type gives no function.
struct ProbeRequest {
  const TableKind* table = &Read_Requests();
  int row = 0;          // in its table, from 1
  std::string address;  // the server's dotted IPv4 address
  std::uint16_t port = Default_Modbus_Port;
  std::uint8_t unit_id = 1;
  std::uint8_t function = 0;
  std::uint16_t start = 0;
  std::uint16_t quantity = 0;

  bool operator==(const ProbeRequest&) const = default;
};

// The read that probes a request of `function` without changing anything on
// the server; 0 for a function that has none.
std::uint8_t Probe_Function(std::uint8_t function);

enum class ProbeStatus {
  Ok,           // the server answered the request with values
  Exception,    // the server answered the request with a Modbus exception
  Timeout,      // no whole answer within the time-out from sending
  Refused,      // nothing listens at the server's port
  Unreachable,  // no route to the server, or no answer to the connection within the time-out
  Error,        // anything else, such as an address that is no IPv4 address or a reply that is no answer
};

// "ok", "exception", "timeout", "refused", "unreachable" or "error".
const char* Probe_Status_Name(ProbeStatus status);

// The standard name of a Modbus exception code, or nothing for a code
// without one here (those are shown by number).
std::optional<std::string_view> Modbus_Exception_Name(int code);

struct ProbeResult {
  const TableKind* table = &Read_Requests();
  int row = 0;
  ProbeStatus status = ProbeStatus::Error;
  // Ok: the values, bits as 0 and 1, registers as unsigned numbers.
  std::vector<std::uint16_t> values;
  // Ok: from sending the request to receiving the whole answer.
  std::uint32_t round_trip_ms = 0;
  // Exception: the code the server gave.
  int exception_code = 0;
  // Timeout, Refused, Unreachable, Error: the system's reason, or the
  // probe's own ("malformed reply: unit id 7 instead of 3").
  std::string reason;

  bool ok() const { return status == ProbeStatus::Ok; }
};

}  // namespace sw48230
