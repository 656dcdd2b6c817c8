#include "core/update/ping.h"

#include "core/update/update_messages.h"

namespace sw48230 {
namespace {

struct CloseOnExit {
  EchoSender& echo;
  ~CloseOnExit() { echo.close(); }
};

}  // namespace

Failure Echo_Failed(std::string target, std::string reason) {
  return Failure{{}, 0, Failure::Item::Target, std::move(target), std::move(reason), Msg_Check_IP, {}};
}

Result<PingOutcome> Run_Ping(EchoSender& echo, Clock& clock, const std::string& target) {
  if (auto failure = echo.open(target)) return std::move(*failure);
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
    if (auto failure = echo.send(sequence++, target, Ping_Packet_Size)) return std::move(*failure);
    for (;;) {
      reply = echo.poll();
      if (reply != EchoReply::None || clock.now() - attempt > Ping_Attempt_Time) break;
      if (!clock.pause(Ping_Wait_Step)) return PingOutcome::Not_Found;  // the program is ending
    }
    if (reply == EchoReply::With_Data) {
      ++successes;
    } else if (reply == EchoReply::Without_Data) {
      // An error that comes back at once would otherwise make the next
      // request follow at once, flooding the network for the whole time.
      while (clock.now() - attempt <= Ping_Attempt_Time) {
        if (!clock.pause(Ping_Wait_Step)) return PingOutcome::Not_Found;
      }
    }
  } while (successes < Ping_Successes_Wanted && clock.now() - start <= Ping_Total_Time);

  return reply == EchoReply::With_Data ? PingOutcome::Found : PingOutcome::Not_Found;
}

}  // namespace sw48230
