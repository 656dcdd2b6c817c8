#include "platform/icmp_echo.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <winternl.h>
#include <iphlpapi.h>
#include <icmpapi.h>
// clang-format on
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace sw48230 {
namespace {

constexpr std::size_t Icmp_Header_Size = 8;

// The echo's data: the payload, filled up with zero bytes to the packet size.
std::vector<unsigned char> echo_data(std::string_view payload, std::size_t packet_size) {
  const std::size_t size = std::max(packet_size, Icmp_Header_Size + payload.size()) - Icmp_Header_Size;
  std::vector<unsigned char> data(size, 0);
  std::copy(payload.begin(), payload.end(), data.begin());
  return data;
}

}  // namespace

#ifdef _WIN32

namespace {

// One request in flight. Each has its own event and reply buffer, which the
// system writes into until the request has ended, so a request is only
// released once its event is set.
struct Request {
  HANDLE event = nullptr;
  std::vector<unsigned char> data;
  std::vector<unsigned char> buffer;
  bool done() const { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }
};

std::string system_error_text(DWORD code) { return "system error " + std::to_string(code); }

}  // namespace

struct SystemIcmpEcho::Impl {
  bool winsock = false;
  HANDLE icmp = INVALID_HANDLE_VALUE;
  IPAddr target = 0;
  std::vector<std::unique_ptr<Request>> requests;  // the last one is the current request
  bool waiting = false;

  Impl() {
    WSADATA data;
    winsock = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~Impl() {
    release();
    if (winsock) WSACleanup();
  }

  void reap(bool wait) {
    for (auto it = requests.begin(); it != requests.end();) {
      Request& request = **it;
      // The system ends every request within its time-out.
      if (wait) WaitForSingleObject(request.event, 5000);
      if (request.done()) {
        CloseHandle(request.event);
        it = requests.erase(it);
      } else {
        ++it;
      }
    }
  }

  void release() {
    reap(true);
    if (icmp != INVALID_HANDLE_VALUE) IcmpCloseHandle(icmp);
    icmp = INVALID_HANDLE_VALUE;
    waiting = false;
  }
};

SystemIcmpEcho::SystemIcmpEcho() : impl_(std::make_unique<Impl>()) {}

SystemIcmpEcho::~SystemIcmpEcho() = default;

std::optional<Failure> SystemIcmpEcho::open(const std::string& target) {
  close();
  target_ = target;
  in_addr address{};
  if (inet_pton(AF_INET, target.c_str(), &address) != 1) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (!impl_->winsock || getaddrinfo(target.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
      return Echo_Failed(target, "cannot resolve " + target);
    }
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
  }
  impl_->target = address.S_un.S_addr;
  impl_->icmp = IcmpCreateFile();
  if (impl_->icmp == INVALID_HANDLE_VALUE) {
    return Echo_Failed(target, "no ICMP echo service: " + system_error_text(GetLastError()));
  }
  return std::nullopt;
}

// The system picks the sequence numbers itself; replies are told apart by
// the request they were written into.
std::optional<Failure> SystemIcmpEcho::send(std::uint16_t, std::string_view payload, std::size_t packet_size) {
  if (impl_->icmp == INVALID_HANDLE_VALUE) return Echo_Failed(target_, "not open");
  impl_->reap(false);
  auto request = std::make_unique<Request>();
  request->data = echo_data(payload, packet_size);
  request->buffer.resize(sizeof(ICMP_ECHO_REPLY) + request->data.size() + Icmp_Header_Size + sizeof(IO_STATUS_BLOCK));
  request->event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (request->event == nullptr) return Echo_Failed(target_, system_error_text(GetLastError()));
  const DWORD sent =
      IcmpSendEcho2(impl_->icmp, request->event, nullptr, nullptr, impl_->target, request->data.data(),
                    static_cast<WORD>(request->data.size()), nullptr, request->buffer.data(),
                    static_cast<DWORD>(request->buffer.size()), static_cast<DWORD>(Ping_Attempt_Time.count()));
  if (sent == 0 && GetLastError() != ERROR_IO_PENDING) {
    // Read before CloseHandle, which may set its own.
    std::string reason = system_error_text(GetLastError());
    CloseHandle(request->event);
    return Echo_Failed(target_, std::move(reason));
  }
  impl_->requests.push_back(std::move(request));
  impl_->waiting = true;
  return std::nullopt;
}

EchoReply SystemIcmpEcho::poll() {
  if (!impl_->waiting || impl_->requests.empty()) return EchoReply::None;
  Request& current = *impl_->requests.back();
  if (!current.done()) return EchoReply::None;
  impl_->waiting = false;
  const DWORD replies = IcmpParseReplies(current.buffer.data(), static_cast<DWORD>(current.buffer.size()));
  if (replies == 0) return EchoReply::Without_Data;
  const auto* reply = reinterpret_cast<const ICMP_ECHO_REPLY*>(current.buffer.data());
  return reply->Status == IP_SUCCESS && reply->DataSize > 0 ? EchoReply::With_Data : EchoReply::Without_Data;
}

void SystemIcmpEcho::close() { impl_->release(); }

#else

namespace {

constexpr std::uint8_t Echo_Reply = 0;
constexpr std::uint8_t Destination_Unreachable = 3;
constexpr std::uint8_t Echo_Request = 8;
constexpr std::uint8_t Time_Exceeded = 11;

std::uint16_t checksum(const unsigned char* bytes, std::size_t size) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < size; i += 2) sum += static_cast<std::uint32_t>(bytes[i] << 8 | bytes[i + 1]);
  if (size % 2 != 0) sum += static_cast<std::uint32_t>(bytes[size - 1] << 8);
  while (sum >> 16 != 0) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

std::uint16_t read_u16(const unsigned char* bytes) { return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]); }

std::string errno_text(int code) { return std::strerror(code); }

}  // namespace

struct SystemIcmpEcho::Impl {
  int fd = -1;
  // A raw socket sees every ICMP message of the host, with its IP header,
  // and needs our own identifier to find ours; a datagram socket sees only
  // the replies to its own requests.
  bool raw = false;
  in_addr target{};
  std::uint16_t identifier = 0;
  std::uint16_t sequence = 0;
  bool waiting = false;
  std::vector<unsigned char> buffer = std::vector<unsigned char>(65536);

  void release() {
    if (fd >= 0) ::close(fd);
    fd = -1;
    waiting = false;
  }

  // What `packet` (an ICMP message from `from`) says about the current
  // request; None when it is about something else.
  EchoReply judge(const unsigned char* packet, std::size_t size, const sockaddr_in& from) const {
    if (size < Icmp_Header_Size) return EchoReply::None;
    const std::uint8_t type = packet[0];
    if (type == Echo_Reply) {
      if (from.sin_addr.s_addr != target.s_addr) return EchoReply::None;
      if (raw && read_u16(packet + 4) != identifier) return EchoReply::None;
      if (read_u16(packet + 6) != sequence) return EchoReply::None;
      return size > Icmp_Header_Size ? EchoReply::With_Data : EchoReply::Without_Data;
    }
    // A router's report on our request quotes its IP header and the first
    // eight bytes of our message.
    if (raw && (type == Destination_Unreachable || type == Time_Exceeded) && size >= Icmp_Header_Size + 20) {
      const unsigned char* quoted = packet + Icmp_Header_Size;
      const std::size_t header = static_cast<std::size_t>(quoted[0] & 0x0F) * 4;
      if (size < Icmp_Header_Size + header + Icmp_Header_Size) return EchoReply::None;
      const unsigned char* ours = quoted + header;
      if (ours[0] == Echo_Request && read_u16(ours + 4) == identifier && read_u16(ours + 6) == sequence) {
        return EchoReply::Without_Data;
      }
    }
    return EchoReply::None;
  }
};

SystemIcmpEcho::SystemIcmpEcho() : impl_(std::make_unique<Impl>()) {}

SystemIcmpEcho::~SystemIcmpEcho() { impl_->release(); }

std::optional<Failure> SystemIcmpEcho::open(const std::string& target) {
  close();
  target_ = target;
  in_addr address{};
  if (inet_pton(AF_INET, target.c_str(), &address) != 1) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    const int status = getaddrinfo(target.c_str(), nullptr, &hints, &found);
    if (status != 0 || found == nullptr) {
      return Echo_Failed(target, "cannot resolve \"" + target + "\": " + gai_strerror(status));
    }
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
  }
  impl_->target = address;

  int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
  const int datagram_error = errno;
  impl_->raw = fd < 0;
  if (fd < 0) fd = ::socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd < 0) {
    return Echo_Failed(target, "the system allows no ICMP socket (ping socket: " + errno_text(datagram_error) +
                                   "; raw socket: " + errno_text(errno) +
                                   "). Allow ping sockets to the user's group with the setting "
                                   "net.ipv4.ping_group_range, or give the program the capability CAP_NET_RAW.");
  }
  impl_->fd = fd;
  impl_->identifier = static_cast<std::uint16_t>(::getpid());
  return std::nullopt;
}

std::optional<Failure> SystemIcmpEcho::send(std::uint16_t sequence, std::string_view payload, std::size_t packet_size) {
  if (impl_->fd < 0) return Echo_Failed(target_, "not open");
  const std::vector<unsigned char> data = echo_data(payload, packet_size);
  std::vector<unsigned char> packet(Icmp_Header_Size + data.size(), 0);
  packet[0] = Echo_Request;
  // A datagram socket puts its own identifier in; the kernel sorts the
  // replies by it.
  packet[4] = static_cast<unsigned char>(impl_->identifier >> 8);
  packet[5] = static_cast<unsigned char>(impl_->identifier & 0xFF);
  packet[6] = static_cast<unsigned char>(sequence >> 8);
  packet[7] = static_cast<unsigned char>(sequence & 0xFF);
  std::copy(data.begin(), data.end(), packet.begin() + Icmp_Header_Size);
  const std::uint16_t sum = checksum(packet.data(), packet.size());
  packet[2] = static_cast<unsigned char>(sum >> 8);
  packet[3] = static_cast<unsigned char>(sum & 0xFF);

  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr = impl_->target;
  impl_->sequence = sequence;
  impl_->waiting = true;
  ssize_t sent;
  do {
    sent = ::sendto(impl_->fd, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof(to));
  } while (sent < 0 && errno == EINTR);
  if (sent < 0) {
    // A full send queue loses this request like the network could.
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == ENOBUFS) return std::nullopt;
    impl_->waiting = false;
    return Echo_Failed(target_, errno_text(errno));
  }
  return std::nullopt;
}

EchoReply SystemIcmpEcho::poll() {
  if (!impl_->waiting) return EchoReply::None;
  std::vector<unsigned char>& buffer = impl_->buffer;
  for (;;) {
    sockaddr_in from{};
    socklen_t from_size = sizeof(from);
    const ssize_t received =
        ::recvfrom(impl_->fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &from_size);
    if (received < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return EchoReply::None;
      // An error the system reports for the request, such as an unreachable
      // host: an answer, but not the device's.
      impl_->waiting = false;
      return EchoReply::Without_Data;
    }
    const unsigned char* packet = buffer.data();
    std::size_t size = static_cast<std::size_t>(received);
    if (impl_->raw) {
      const std::size_t header = size > 0 ? static_cast<std::size_t>(buffer[0] & 0x0F) * 4 : 0;
      if (header < 20 || size < header) continue;
      packet += header;
      size -= header;
    }
    const EchoReply reply = impl_->judge(packet, size, from);
    if (reply != EchoReply::None) {
      impl_->waiting = false;
      return reply;
    }
  }
}

void SystemIcmpEcho::close() { impl_->release(); }

#endif

}  // namespace sw48230
