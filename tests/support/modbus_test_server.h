#pragma once

// Real Modbus TCP servers on loopback addresses for the probe's tests and
// benchmark: libmodbus's server side, all endpoints served by one thread.
// One thread sees every connection, so it can tell how many are open at
// once: in each round it handles what the clients sent (closings included)
// before it accepts new connections.

#include <modbus.h>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
// A macro of windows.h's structured exceptions, not ProbeResult's member.
#undef exception_code
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace sw48230::test {

// Values every test server holds at addresses 0 to 99; a request beyond
// them is answered with exception 02.
inline constexpr int Test_Points = 100;
inline bool test_coil(int address) { return address % 3 == 0; }
inline bool test_input(int address) { return address % 2 == 1; }
inline std::uint16_t test_holding_register(int address) {
  return address == 2 ? 65535 : static_cast<std::uint16_t>(address * 100);
}
inline std::uint16_t test_input_register(int address) { return static_cast<std::uint16_t>(50000 + address); }

// libmodbus hands out sockets as int; Windows' own calls take a SOCKET.
#ifdef _WIN32
using NativeSocket = SOCKET;
inline void close_socket(int socket) { ::closesocket(static_cast<SOCKET>(socket)); }
#else
using NativeSocket = int;
inline void close_socket(int socket) { ::close(socket); }
#endif
inline NativeSocket native(int socket) { return static_cast<NativeSocket>(socket); }

// Windows' sockets work only between WSAStartup and WSACleanup, which count.
class SocketsInUse {
 public:
#ifdef _WIN32
  SocketsInUse() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
  }
  ~SocketsInUse() { WSACleanup(); }
#else
  SocketsInUse() = default;
#endif
  SocketsInUse(const SocketsInUse&) = delete;
  SocketsInUse& operator=(const SocketsInUse&) = delete;
};

struct ServerBehaviour {
  int silent_unit = -1;               // requests to this unit id are never answered
  int answers_per_connection = 0;     // close the connection after so many answers; 0: never
  bool close_without_answer = false;  // close each connection at its first request
};

class ModbusTestServer {
 public:
  explicit ModbusTestServer(const std::vector<std::string>& addresses, ServerBehaviour behaviour = {})
      : behaviour_(behaviour) {
    mapping_ = modbus_mapping_new(Test_Points, Test_Points, Test_Points, Test_Points);
    if (!mapping_) throw std::runtime_error("modbus_mapping_new failed");
    for (int i = 0; i < Test_Points; ++i) {
      mapping_->tab_bits[i] = test_coil(i) ? 1 : 0;
      mapping_->tab_input_bits[i] = test_input(i) ? 1 : 0;
      mapping_->tab_registers[i] = test_holding_register(i);
      mapping_->tab_input_registers[i] = test_input_register(i);
    }
    for (const std::string& address : addresses) {
      Endpoint endpoint;
      endpoint.context = modbus_new_tcp(address.c_str(), 0);
      if (!endpoint.context) throw std::runtime_error("modbus_new_tcp failed for " + address);
      endpoint.listener = modbus_tcp_listen(endpoint.context, 64);
      if (endpoint.listener < 0) {
        modbus_free(endpoint.context);
        throw std::runtime_error("cannot listen on " + address);
      }
      sockaddr_in bound{};
      socklen_t size = sizeof bound;
      ::getsockname(native(endpoint.listener), reinterpret_cast<sockaddr*>(&bound), &size);
      endpoint.port = ntohs(bound.sin_port);
      endpoints_.push_back(endpoint);
    }
    thread_ = std::thread([this] { serve(); });
  }

  ~ModbusTestServer() {
    stop_ = true;
    thread_.join();
    for (const Client& client : clients_) close_socket(client.socket);
    for (const Endpoint& endpoint : endpoints_) {
      close_socket(endpoint.listener);
      modbus_free(endpoint.context);
    }
    modbus_mapping_free(mapping_);
  }
  ModbusTestServer(const ModbusTestServer&) = delete;
  ModbusTestServer& operator=(const ModbusTestServer&) = delete;

  std::uint16_t port(std::size_t endpoint = 0) const { return endpoints_.at(endpoint).port; }

  // Every function code received, answered or not, in order.
  std::vector<std::uint8_t> functions_received() const {
    const std::lock_guard lock(mutex_);
    return functions_;
  }
  // The unit id of every request received, in order.
  std::vector<std::uint8_t> units_received() const {
    const std::lock_guard lock(mutex_);
    return units_;
  }
  int connections_accepted() const { return accepted_; }
  int most_connections_open() const { return most_open_; }

 private:
  struct Endpoint {
    modbus_t* context = nullptr;
    int listener = -1;
    std::uint16_t port = 0;
  };
  struct Client {
    int socket = -1;
    std::size_t endpoint = 0;
    int answers = 0;
  };

  void serve() {
    std::vector<std::uint8_t> request(MODBUS_TCP_MAX_ADU_LENGTH);
    while (!stop_) {
      fd_set readable;
      FD_ZERO(&readable);
      int highest = -1;
      for (const Endpoint& endpoint : endpoints_) {
        FD_SET(native(endpoint.listener), &readable);
        highest = std::max(highest, endpoint.listener);
      }
      for (const Client& client : clients_) {
        FD_SET(native(client.socket), &readable);
        highest = std::max(highest, client.socket);
      }
      timeval wait{0, 20000};
      if (::select(highest + 1, &readable, nullptr, nullptr, &wait) <= 0) continue;

      for (auto client = clients_.begin(); client != clients_.end();) {
        if (FD_ISSET(native(client->socket), &readable) && !handle(*client, request)) {
          close_socket(client->socket);
          client = clients_.erase(client);
        } else {
          ++client;
        }
      }
      for (std::size_t e = 0; e < endpoints_.size(); ++e) {
        if (!FD_ISSET(native(endpoints_[e].listener), &readable)) continue;
        // Windows' INVALID_SOCKET becomes -1 like the other systems' failure.
        const int socket = static_cast<int>(::accept(native(endpoints_[e].listener), nullptr, nullptr));
        if (socket < 0) continue;
        clients_.push_back({socket, e, 0});
        ++accepted_;
        most_open_ = std::max(most_open_.load(), static_cast<int>(clients_.size()));
      }
    }
  }

  // False when the connection is to be closed.
  bool handle(Client& client, std::vector<std::uint8_t>& request) {
    modbus_t* context = endpoints_[client.endpoint].context;
    modbus_set_socket(context, client.socket);
    const int length = modbus_receive(context, request.data());
    if (length <= 0) return length == 0;
    const int header = modbus_get_header_length(context);
    {
      const std::lock_guard lock(mutex_);
      functions_.push_back(request[static_cast<std::size_t>(header)]);
      units_.push_back(request[static_cast<std::size_t>(header) - 1]);
    }
    if (behaviour_.close_without_answer) return false;
    if (request[static_cast<std::size_t>(header) - 1] == behaviour_.silent_unit) return true;
    modbus_reply(context, request.data(), length, mapping_);
    ++client.answers;
    return behaviour_.answers_per_connection == 0 || client.answers < behaviour_.answers_per_connection;
  }

  ServerBehaviour behaviour_;
  modbus_mapping_t* mapping_ = nullptr;
  std::vector<Endpoint> endpoints_;
  std::vector<Client> clients_;
  mutable std::mutex mutex_;
  std::vector<std::uint8_t> functions_;
  std::vector<std::uint8_t> units_;
  std::atomic<int> accepted_{0};
  std::atomic<int> most_open_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A loopback port where nothing listens: bound, so that no one else takes
// it while the test runs, but not listening, so a connection is refused.
class ClosedPort {
 public:
  ClosedPort() {
    socket_ = static_cast<int>(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(native(socket_), reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(native(socket_), reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
  }
  ~ClosedPort() { close_socket(socket_); }
  ClosedPort(const ClosedPort&) = delete;
  ClosedPort& operator=(const ClosedPort&) = delete;

  std::uint16_t port() const { return port_; }

 private:
  SocketsInUse sockets_;
  int socket_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace sw48230::test
