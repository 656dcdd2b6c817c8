#pragma once

#include <memory>

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

  bool open(const std::string& target, std::string& error) override;
  bool send(std::uint16_t sequence, std::string_view payload, std::size_t packet_size, std::string& error) override;
  EchoReply poll() override;
  void close() override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sw48230
