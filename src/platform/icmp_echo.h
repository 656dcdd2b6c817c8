#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/update/ping.h"

namespace sw48230 {

// ICMP echo through the operating system. On Linux an unprivileged ICMP
// datagram socket, which the system allows to the groups in
// net.ipv4.ping_group_range, and else a raw socket, which needs CAP_NET_RAW;
// open fails with a reason that names both when neither is allowed. On
// Windows the system's ICMP echo service, which needs no privileges.
class SystemIcmpEcho final : public EchoSender {
 public:
  SystemIcmpEcho();
  ~SystemIcmpEcho() override;

  SystemIcmpEcho(const SystemIcmpEcho&) = delete;
  SystemIcmpEcho& operator=(const SystemIcmpEcho&) = delete;

  std::optional<Failure> open(const std::string& target) override;
  std::optional<Failure> send(std::uint16_t sequence, std::string_view payload, std::size_t packet_size) override;
  EchoReply poll() override;
  void close() override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string target_;  // as open was given it, for the failures of send
};

}  // namespace sw48230
