#include "core/update/ping.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "core/update/update_messages.h"
#include "support/fake_clock.h"

namespace sw48230 {
namespace {

using namespace std::chrono_literals;
using test::FakeClock;

struct Answer {
  EchoReply reply = EchoReply::None;
  std::chrono::milliseconds delay{0};  // after the request
};

// Answers the requests by a script, on the test's clock; requests beyond the
// script get `rest`. Like the real one, it reports only the reply to the
// last request.
class ScriptedEcho final : public EchoSender {
 public:
  explicit ScriptedEcho(const Clock& clock) : clock_(clock) {}

  struct Sent {
    std::chrono::milliseconds at;
    std::uint16_t sequence;
    std::string payload;
    std::size_t packet_size;
  };

  std::optional<Failure> open(const std::string& target) override {
    opened.push_back(target);
    if (open_error.empty()) return std::nullopt;
    return Echo_Failed(target, open_error);
  }
  std::optional<Failure> send(std::uint16_t sequence, std::string_view payload, std::size_t packet_size) override {
    if (sent.size() == fail_send_at) return Echo_Failed(opened.back(), send_error);
    sent.push_back({clock_.now(), sequence, std::string(payload), packet_size});
    if (script.empty()) {
      current_ = rest;
    } else {
      current_ = script.front();
      script.pop_front();
    }
    due_ = clock_.now() + current_.delay;
    return std::nullopt;
  }
  EchoReply poll() override {
    if (current_.reply == EchoReply::None || clock_.now() < due_) return EchoReply::None;
    return std::exchange(current_, Answer{}).reply;
  }
  void close() override { ++closes; }

  std::deque<Answer> script;
  Answer rest;
  std::string open_error;
  std::size_t fail_send_at = static_cast<std::size_t>(-1);
  std::string send_error = "Network is unreachable";
  std::vector<std::string> opened;
  std::vector<Sent> sent;
  int closes = 0;

 private:
  const Clock& clock_;
  Answer current_;
  std::chrono::milliseconds due_{0};
};

TEST(RunPing, DecidesByTheRepliesOfItsOwnAttempts) {
  constexpr auto None = EchoReply::None;
  constexpr auto Data = EchoReply::With_Data;
  constexpr auto Empty = EchoReply::Without_Data;
  const struct {
    const char* name;
    std::deque<Answer> script;
    Answer rest;
    PingOutcome expected;
    std::size_t min_sends, max_sends;
    std::chrono::milliseconds min_time, max_time;
  } cases[] = {
      {"answers at once", {}, {Data}, PingOutcome::Found, 2, 2, 0ms, 0ms},
      {"answers within the attempt", {}, {Data, 300ms}, PingOutcome::Found, 2, 2, 600ms, 600ms},
      // About ten seconds of 400 ms attempts, then one attempt more at most.
      {"never answers", {}, {None}, PingOutcome::Not_Found, 24, 26, 10001ms, 10420ms},
      {"answers too late", {}, {Data, 450ms}, PingOutcome::Not_Found, 24, 26, 10001ms, 10420ms},
      // One reply counts for its own attempt only.
      {"answers the first request only", {{Data}}, {None}, PingOutcome::Not_Found, 24, 26, 10001ms, 10420ms},
      // A reply without data ends its attempt unanswered; the next request
      // still waits out the attempt's time instead of following at once.
      {"a reply without data first", {{Empty}}, {Data}, PingOutcome::Found, 3, 3, 400ms, 420ms},
      {"only replies without data", {}, {Empty}, PingOutcome::Not_Found, 24, 26, 10001ms, 10420ms},
      {"answers only near the end",
       std::deque<Answer>(24, Answer{None}),
       {Data},
       PingOutcome::Found,
       26,
       26,
       9840ms,
       9840ms},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeClock clock;
    ScriptedEcho echo(clock);
    echo.script = c.script;
    echo.rest = c.rest;
    const std::chrono::milliseconds start = clock.now();

    const Result<PingOutcome> result = Run_Ping(echo, clock, "10.0.0.7");

    ASSERT_TRUE(result.ok());
    EXPECT_EQ(*result, c.expected);
    EXPECT_GE(echo.sent.size(), c.min_sends);
    EXPECT_LE(echo.sent.size(), c.max_sends);
    EXPECT_GE(clock.now() - start, c.min_time);
    EXPECT_LE(clock.now() - start, c.max_time);
    EXPECT_EQ(echo.opened, std::vector<std::string>{"10.0.0.7"});
    EXPECT_EQ(echo.closes, 1);
    for (std::size_t i = 0; i < echo.sent.size(); ++i) {
      EXPECT_EQ(echo.sent[i].payload, "10.0.0.7");
      EXPECT_EQ(echo.sent[i].packet_size, 1024u);
      EXPECT_EQ(echo.sent[i].sequence, i);
    }
  }
}

TEST(RunPing, ATargetOrSocketThatFailsIsAnError) {
  FakeClock clock;
  ScriptedEcho cannot_open(clock);
  cannot_open.open_error = "cannot resolve \"plc\"";
  const Result<PingOutcome> unresolved = Run_Ping(cannot_open, clock, "plc");
  ASSERT_FALSE(unresolved.ok());
  EXPECT_EQ(unresolved.failure(), Echo_Failed("plc", "cannot resolve \"plc\""));
  EXPECT_EQ(unresolved.failure().text, Msg_Check_IP);
  EXPECT_TRUE(cannot_open.sent.empty());

  // The second request fails after the first was answered.
  ScriptedEcho cannot_send(clock);
  cannot_send.rest = {EchoReply::With_Data};
  cannot_send.fail_send_at = 1;
  const Result<PingOutcome> unsent = Run_Ping(cannot_send, clock, "10.0.0.7");
  ASSERT_FALSE(unsent.ok());
  EXPECT_EQ(unsent.failure().reason, "Network is unreachable");
  EXPECT_EQ(unsent.failure().name, "10.0.0.7");
  EXPECT_EQ(unsent.failure().item, Failure::Item::Target);
  EXPECT_EQ(cannot_send.closes, 1);
}

// The program is ending: the loop gives up at once instead of running
// through its ten seconds without waiting.
TEST(RunPing, StopsWhenThePauseIsCutShort) {
  class EndingClock final : public Clock {
   public:
    std::chrono::milliseconds now() const override { return 0ms; }
    bool pause(std::chrono::milliseconds) override {
      ++pauses;
      return false;
    }
    int pauses = 0;
  } clock;
  ScriptedEcho echo(clock);
  const Result<PingOutcome> result = Run_Ping(echo, clock, "10.0.0.7");
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(*result, PingOutcome::Not_Found);
  EXPECT_EQ(echo.sent.size(), 1u);
  EXPECT_EQ(clock.pauses, 1);
  EXPECT_EQ(echo.closes, 1);
}

}  // namespace
}  // namespace sw48230
