#include "core/common/http_message.h"

#include <algorithm>
#include <charconv>

#include "core/common/paths.h"
#include "core/common/text.h"

namespace sw48230 {
namespace {

std::optional<std::uint16_t> parse_port(std::string_view text) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<HostPort> Split_Host_Port(std::string_view host) {
  HostPort result;
  std::string_view rest;
  if (!host.empty() && host.front() == '[') {
    const auto close = host.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    result.name = std::string(host.substr(1, close - 1));
    rest = host.substr(close + 1);
    if (!rest.empty() && rest.front() != ':') return std::nullopt;
  } else if (std::count(host.begin(), host.end(), ':') > 1) {
    result.name = std::string(host);  // a bare IPv6 address carries no port
  } else {
    const auto colon = host.find(':');
    result.name = std::string(host.substr(0, colon));
    if (colon != std::string_view::npos) rest = host.substr(colon);
  }
  if (result.name.empty()) return std::nullopt;
  if (!rest.empty()) {
    const auto port = parse_port(rest.substr(1));
    if (!port) return std::nullopt;
    result.port = *port;
  }
  return result;
}

std::string Http_Get_Request(std::string_view host, std::string_view target, const HttpHeaders& headers) {
  std::string request;
  request.append("GET ").append(target).append(" HTTP/1.0\r\n");
  // Servers that host several sites need the Host line even for HTTP/1.0.
  request.append("Host: ").append(host).append("\r\n");
  for (const auto& [name, value] : headers) request.append(name).append(": ").append(value).append("\r\n");
  request.append("\r\n");
  return request;
}

HttpReply Read_Http_Reply(std::string_view received, bool connection_closed) {
  const HttpReply incomplete{connection_closed ? HttpReply::State::Failed : HttpReply::State::Incomplete, {}};
  const HttpReply failed{HttpReply::State::Failed, {}};

  // Servers are asked for CR LF but some end lines with LF alone.
  const auto crlf_end = received.find("\r\n\r\n");
  const auto lf_end = received.find("\n\n");
  std::size_t head_size = 0;
  if (crlf_end != std::string_view::npos && (lf_end == std::string_view::npos || crlf_end < lf_end)) {
    head_size = crlf_end + 4;
  } else if (lf_end != std::string_view::npos) {
    head_size = lf_end + 2;
  } else {
    return incomplete;
  }
  const std::string_view head = received.substr(0, head_size);
  const std::string_view body = received.substr(head_size);

  const std::string_view status_line = trim_blanks(head.substr(0, head.find('\n')));
  if (status_line.substr(0, 5) != "HTTP/") return failed;
  const auto blank = status_line.find(' ');
  if (blank == std::string_view::npos) return failed;
  const std::string_view code = status_line.substr(blank + 1, 3);
  if (code.size() != 3 || code[0] != '2' ||
      !std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return failed;
  }

  std::optional<std::size_t> content_length;
  std::string_view lines = head.substr(head.find('\n') + 1);
  while (!lines.empty()) {
    const auto end = lines.find('\n');
    const std::string_view line = lines.substr(0, end);
    lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
    const auto colon = line.find(':');
    if (colon == std::string_view::npos || !equals_ignoring_ascii_case(line.substr(0, colon), "Content-Length")) {
      continue;
    }
    const std::string_view value = trim_blanks(line.substr(colon + 1));
    std::size_t length = 0;
    const auto [ptr, error] = std::from_chars(value.data(), value.data() + value.size(), length);
    if (value.empty() || error != std::errc() || ptr != value.data() + value.size()) return failed;
    content_length = length;
  }

  if (content_length) {
    if (body.size() >= *content_length)
      return {HttpReply::State::Complete, std::string(body.substr(0, *content_length))};
    return incomplete;
  }
  if (!connection_closed) return incomplete;
  return {HttpReply::State::Complete, std::string(body)};
}

}  // namespace sw48230
