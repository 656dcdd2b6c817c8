#pragma once

#include <QtGlobal>
#include <string>

#include "core/common/http_message.h"

namespace sw48230 {

// One plain HTTP GET to a fixed web server.
class HttpGetter {
 public:
  virtual ~HttpGetter() = default;

  // The host[:port] that requests go to; pages on the same server are
  // built from it.
  virtual std::string host() const = 0;

  // Sends an HTTP/1.0 GET of `target` with `headers` and returns the body of
  // a successful reply; empty after any failure.
  virtual std::string get(const std::string& target, const HttpHeaders& headers) = 0;
};

// Talks HTTP/1.0 over a TCP socket, so that the request carries exactly the
// request line and headers asked for. While it waits the windows are still
// painted, but take no user input.
class QtHttpGetter final : public HttpGetter {
 public:
  static constexpr int Default_Timeout_Ms = 5000;
  static constexpr qsizetype Default_Reply_Limit = 64 * 1024;

  explicit QtHttpGetter(std::string host, int timeout_ms = Default_Timeout_Ms,
                        qsizetype reply_limit = Default_Reply_Limit);

  std::string host() const override { return host_; }
  std::string get(const std::string& target, const HttpHeaders& headers) override;

 private:
  std::string host_;
  int timeout_ms_;
  qsizetype reply_limit_;
};

}  // namespace sw48230
