#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sw48230 {

// Header lines of a request, in the order they are sent.
using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HostPort {
  std::string name;  // a host name or an address, without brackets
  std::uint16_t port = 80;
};

// Splits "name", "name:port", "[v6 address]" or "[v6 address]:port".
// Nothing when the name is empty or the port is not a number from 1 to 65535.
std::optional<HostPort> Split_Host_Port(std::string_view host);

// The bytes of an HTTP/1.0 GET of `target` (path and query) on `host`. Only
// the Host line and the given headers are sent: no cookies, no keep-alive.
std::string Http_Get_Request(std::string_view host, std::string_view target, const HttpHeaders& headers);

// What the bytes received so far say about a reply.
struct HttpReply {
  enum class State {
    Incomplete,  // more bytes are needed
    Complete,    // a 2xx reply whose body is complete
    Failed       // an error status, a malformed or truncated reply
  };
  State state = State::Incomplete;
  std::string body;  // only for Complete
};

// `connection_closed` tells whether the server has ended the connection; a
// reply without Content-Length ends only there.
HttpReply Read_Http_Reply(std::string_view received, bool connection_closed);

}  // namespace sw48230
