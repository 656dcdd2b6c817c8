#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/clock.h"
#include "core/common/failure.h"

namespace sw48230 {

// What came back for the last echo request sent.
enum class EchoReply {
  None,          // nothing yet
  With_Data,     // an echo reply carrying data: the device answered
  Without_Data,  // a reply without data, or an error reported for the request
};

// ICMP echo over IPv4, one target at a time. The platform implements it; the
// ping loop below only decides when to send and what the replies mean.
class EchoSender {
 public:
  virtual ~EchoSender() = default;

  // Prepares echoes to `target`: a dotted address as it is, any other text
  // looked up as a host name. An Echo_Failed failure when the target cannot
  // be resolved or the system allows no ICMP socket.
  virtual std::optional<Failure> open(const std::string& target) = 0;

  // Sends one echo request with `sequence`, carrying `payload` in an ICMP
  // message of `packet_size` bytes. Replies to earlier requests no longer
  // count. An Echo_Failed failure when it cannot be sent.
  virtual std::optional<Failure> send(std::uint16_t sequence, std::string_view payload, std::size_t packet_size) = 0;

  // The reply to the last request sent, once it is there; never blocks.
  virtual EchoReply poll() = 0;

  // Ends what open started; harmless when nothing is open.
  virtual void close() = 0;
};

inline constexpr std::chrono::milliseconds Ping_Attempt_Time{400};
inline constexpr std::chrono::milliseconds Ping_Total_Time{10000};
inline constexpr std::chrono::milliseconds Ping_Wait_Step{10};
inline constexpr int Ping_Successes_Wanted = 2;
inline constexpr std::size_t Ping_Packet_Size = 1024;

// An echo that could not be opened or sent to `target`: the user is told to
// check the address (Msg_Check_IP), and `reason`, the system's words, says
// why (such as ICMP not being allowed).
Failure Echo_Failed(std::string target, std::string reason);

enum class PingOutcome {
  Found,      // Msg_Device_Found
  Not_Found,  // Msg_Device_Not_Found
};

// Pings `target` (the address text, which is also the echo's data) until two
// attempts got an answer or the total time passed. Each attempt sends one
// request and waits up to Ping_Attempt_Time for its own reply; the device
// counts as found when the last attempt got an answer. The echo's failure
// when the target or the socket failed.
Result<PingOutcome> Run_Ping(EchoSender& echo, Clock& clock, const std::string& target);

}  // namespace sw48230
