#include "core/update/ping.h"

namespace sw48230 {
namespace {

struct CloseOnExit {
  EchoSender& echo;
  ~CloseOnExit() { echo.close(); }
};

}  // namespace

PingResult Run_Ping(EchoSender& echo, Clock& clock, const std::string& target) {
  PingResult result;
  if (!echo.open(target, result.error)) {
    result.outcome = PingOutcome::Failed;
    return result;
  }
  const CloseOnExit closer{echo};

  const std::chrono::milliseconds start = clock.now();
  int successes = 0;
  std::uint16_t sequence = 0;
  EchoReply reply = EchoReply::None;
  do {
    const std::chrono::milliseconds attempt = clock.now();
    // Each attempt waits for a reply of its own: a reply left over from the
    // attempt before must neither end this one early nor count twice.
    reply = EchoReply::None;
    if (!echo.send(sequence++, target, Ping_Packet_Size, result.error)) {
      result.outcome = PingOutcome::Failed;
      return result;
    }
    for (;;) {
      reply = echo.poll();
      if (reply != EchoReply::None || clock.now() - attempt > Ping_Attempt_Time) break;
      if (!clock.pause(Ping_Wait_Step)) return result;  // the program is ending
    }
    if (reply == EchoReply::With_Data) {
      ++successes;
    } else if (reply == EchoReply::Without_Data) {
      // An error that comes back at once would otherwise make the next
      // request follow at once, flooding the network for the whole time.
      while (clock.now() - attempt <= Ping_Attempt_Time) {
        if (!clock.pause(Ping_Wait_Step)) return result;
      }
    }
  } while (successes < Ping_Successes_Wanted && clock.now() - start <= Ping_Total_Time);

  result.outcome = reply == EchoReply::With_Data ? PingOutcome::Found : PingOutcome::Not_Found;
  return result;
}

}  // namespace sw48230
