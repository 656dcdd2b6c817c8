#include "core/common/http_message.h"

#include <gtest/gtest.h>

namespace sw48230 {
namespace {

TEST(HttpMessageTest, HostAndPort) {
  const struct {
    const char* host;
    const char* name;
    int port;  // 0: refused
  } cases[] = {
      {"www.example.org", "www.example.org", 80},
      {"127.0.0.1:8080", "127.0.0.1", 8080},
      {"[::1]:65535", "::1", 65535},
      {"[::1]", "::1", 80},
      {"::1", "::1", 80},
      {"", "", 0},
      {":8080", "", 0},
      {"host:", "", 0},
      {"host:0", "", 0},
      {"host:65536", "", 0},
      {"host:80x", "", 0},
      {"host:-1", "", 0},
      {"[::1", "", 0},
      {"[::1]8080", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.host);
    const auto split = Split_Host_Port(c.host);
    if (c.port == 0) {
      EXPECT_FALSE(split.has_value());
    } else {
      ASSERT_TRUE(split.has_value());
      EXPECT_EQ(split->name, c.name);
      EXPECT_EQ(split->port, c.port);
    }
  }
}

TEST(HttpMessageTest, GetRequestCarriesOnlyTheGivenHeaders) {
  EXPECT_EQ(Http_Get_Request("127.0.0.1:8080", "/a/b.asp?x=1", {{"Accept", "*/*"}, {"User-Agent", "Agent/1.0"}}),
            "GET /a/b.asp?x=1 HTTP/1.0\r\nHost: 127.0.0.1:8080\r\nAccept: */*\r\nUser-Agent: Agent/1.0\r\n\r\n");
}

TEST(HttpMessageTest, ReplyStates) {
  using State = HttpReply::State;
  const struct {
    const char* name;
    const char* received;
    bool closed;
    State state;
    const char* body;
  } cases[] = {
      {"body ends with the connection", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\nVER. 2.010", true, State::Complete,
       "VER. 2.010"},
      {"open connection without length", "HTTP/1.0 200 OK\r\n\r\nVER. 2.010", false, State::Incomplete, ""},
      {"length reached before the close", "HTTP/1.1 200 OK\r\ncontent-length: 4\r\n\r\nVER.", false, State::Complete,
       "VER."},
      {"bytes beyond the length are dropped", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabcdef", true,
       State::Complete, "abc"},
      {"truncated body", "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc", true, State::Failed, ""},
      {"body still arriving", "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc", false, State::Incomplete, ""},
      {"bad length", "HTTP/1.0 200 OK\r\nContent-Length: -3\r\n\r\nabc", true, State::Failed, ""},
      {"lines ended by LF", "HTTP/1.0 200 OK\nServer: x\n\nVER. 2.010\n", true, State::Complete, "VER. 2.010\n"},
      {"empty body", "HTTP/1.0 204 No Content\r\n\r\n", true, State::Complete, ""},
      {"not found", "HTTP/1.0 404 Not Found\r\n\r\nVER. 9.999", true, State::Failed, ""},
      {"error is known before the close", "HTTP/1.0 500 Internal Server Error\r\n\r\n", false, State::Failed, ""},
      {"redirect", "HTTP/1.0 302 Found\r\nLocation: /x\r\n\r\n", true, State::Failed, ""},
      {"not HTTP", "VER. 2.010\r\n\r\n", true, State::Failed, ""},
      {"status line cut short", "HTTP/1.0 2\r\n\r\n", true, State::Failed, ""},
      {"head not complete", "HTTP/1.0 200 OK\r\nServer", false, State::Incomplete, ""},
      {"closed inside the head", "HTTP/1.0 200 OK\r\nServer", true, State::Failed, ""},
      {"nothing received", "", true, State::Failed, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const HttpReply reply = Read_Http_Reply(c.received, c.closed);
    EXPECT_EQ(reply.state, c.state);
    EXPECT_EQ(reply.body, c.body);
  }
}

}  // namespace
}  // namespace sw48230
