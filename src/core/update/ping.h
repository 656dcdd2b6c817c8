#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/clock.h"

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
  // looked up as a host name. False, with the reason in `error`, when the
  // target cannot be resolved or the system allows no ICMP socket.
  virtual bool open(const std::string& target, std::string& error) = 0;

  // Sends one echo request with `sequence`, carrying `payload` in an ICMP
  // message of `packet_size` bytes. Replies to earlier requests no longer
  // count. False, with the reason in `error`, when it cannot be sent.
  virtual bool send(std::uint16_t sequence, std::string_view payload, std::size_t packet_size, std::string& error) = 0;

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

enum class PingOutcome {
  Found,      // Msg_Device_Found
  Not_Found,  // Msg_Device_Not_Found
  Failed,     // Msg_Check_IP: the target or the socket failed
};

struct PingResult {
  PingOutcome outcome = PingOutcome::Not_Found;
  std::string error;  // for Failed: the reason, for the user
};

// Pings `target` (the address text, which is also the echo's data) until two
// attempts got an answer or the total time passed. Each attempt sends one
// request and waits up to Ping_Attempt_Time for its own reply; the device
// counts as found when the last attempt got an answer.
PingResult Run_Ping(EchoSender& echo, Clock& clock, const std::string& target);

}  // namespace sw48230
