#pragma once

// A Modbus TCP server on 127.0.0.1 that answers each request with the bytes
// a test's script gives for it: wrong fields, an answer in pieces with pauses
// between them, late answers or stray bytes. The requests are read as raw
// bytes, so the test sees exactly what the probe sent.

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "support/modbus_test_server.h"

#ifndef _WIN32
#include <fcntl.h>
#endif

namespace sw48230::test {

// A request as it came, every field as the probe wrote it.
struct ReceivedRead {
  std::size_t index = 0;  // among the server's requests, from 0
  int connection = 0;     // the connection it came on, from 1
  std::uint16_t transaction = 0;
  std::uint16_t protocol = 0;
  std::uint16_t length = 0;
  std::uint8_t unit_id = 0;
  std::uint8_t function = 0;
  std::uint16_t start = 0;
  std::uint16_t quantity = 0;
};

struct ScriptedReply {
  std::vector<std::uint8_t> bytes;
  std::chrono::milliseconds delay{0};  // before the first byte
  // Sent in pieces of this many bytes with a pause between them; 0: all at once.
  std::size_t piece_size = 0;
  std::chrono::milliseconds pause{0};
  bool close_after = false;
};

using ReplyScript = std::function<ScriptedReply(const ReceivedRead&)>;

inline void put_word(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
  bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

// The header of an answer to `read` whose length field counts `counted`
// bytes after it (unit id included).
inline std::vector<std::uint8_t> answer_header(const ReceivedRead& read, std::size_t counted) {
  std::vector<std::uint8_t> bytes;
  put_word(bytes, read.transaction);
  put_word(bytes, 0);
  put_word(bytes, static_cast<std::uint16_t>(counted));
  bytes.push_back(read.unit_id);
  return bytes;
}

// The right answer to a read, with the values every test server holds.
inline std::vector<std::uint8_t> correct_answer(const ReceivedRead& read) {
  std::vector<std::uint8_t> data;
  const int start = read.start;
  if (read.function == 1 || read.function == 2) {
    data.assign((read.quantity + 7u) / 8u, 0);
    for (int i = 0; i < read.quantity; ++i) {
      const bool bit = read.function == 1 ? test_coil(start + i) : test_input(start + i);
      if (bit) data[static_cast<std::size_t>(i / 8)] |= static_cast<std::uint8_t>(1u << (i % 8));
    }
  } else {
    for (int i = 0; i < read.quantity; ++i) {
      put_word(data, read.function == 3 ? test_holding_register(start + i) : test_input_register(start + i));
    }
  }
  std::vector<std::uint8_t> bytes = answer_header(read, 3 + data.size());
  bytes.push_back(read.function);
  bytes.push_back(static_cast<std::uint8_t>(data.size()));
  bytes.insert(bytes.end(), data.begin(), data.end());
  return bytes;
}

inline std::vector<std::uint8_t> exception_answer(const ReceivedRead& read, std::uint8_t code) {
  std::vector<std::uint8_t> bytes = answer_header(read, 3);
  bytes.push_back(static_cast<std::uint8_t>(read.function | 0x80));
  bytes.push_back(code);
  return bytes;
}

// A socket listening on 127.0.0.1, at a port the system chose.
inline int listen_on_loopback(int backlog, std::uint16_t& port) {
  const int listener = static_cast<int>(::socket(AF_INET, SOCK_STREAM, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (::bind(native(listener), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(native(listener), backlog) != 0 ||
      ::getsockname(native(listener), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    close_socket(listener);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port = ntohs(address.sin_port);
  return listener;
}

class ScriptedModbusServer {
 public:
  explicit ScriptedModbusServer(ReplyScript script) : script_(std::move(script)) {
    listener_ = listen_on_loopback(16, port_);
    acceptor_ = std::thread([this] { accept_connections(); });
  }

  ~ScriptedModbusServer() {
    stop_ = true;
    acceptor_.join();
    for (std::thread& connection : connections_) connection.join();
    close_socket(listener_);
  }
  ScriptedModbusServer(const ScriptedModbusServer&) = delete;
  ScriptedModbusServer& operator=(const ScriptedModbusServer&) = delete;

  std::uint16_t port() const { return port_; }
  std::vector<ReceivedRead> received() const {
    const std::lock_guard lock(mutex_);
    return received_;
  }
  int connections_accepted() const {
    const std::lock_guard lock(mutex_);
    return accepted_;
  }

 private:
  // Until the socket is readable or the server ends.
  bool wait_readable(int socket) const {
    while (!stop_) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(native(socket), &readable);
      timeval wait{0, 20000};
      const int ready = ::select(socket + 1, &readable, nullptr, nullptr, &wait);
      if (ready != 0) return ready > 0;
    }
    return false;
  }

  bool read_exactly(int socket, std::uint8_t* into, std::size_t size) const {
    while (size > 0) {
      if (!wait_readable(socket)) return false;
      const auto got = ::recv(native(socket), reinterpret_cast<char*>(into), static_cast<int>(size), 0);
      if (got <= 0) return false;
      into += got;
      size -= static_cast<std::size_t>(got);
    }
    return true;
  }

  bool hold(std::chrono::milliseconds length) const {
    const auto until = std::chrono::steady_clock::now() + length;
    while (!stop_ && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return !stop_;
  }

  bool send_reply(int socket, const ScriptedReply& reply) const {
    const std::size_t piece = reply.piece_size == 0 ? reply.bytes.size() : reply.piece_size;
    for (std::size_t at = 0; at < reply.bytes.size(); at += piece) {
      if (!hold(at == 0 ? reply.delay : reply.pause)) return false;
      const std::size_t size = std::min(piece, reply.bytes.size() - at);
#ifdef _WIN32
      const int flags = 0;
#else
      const int flags = MSG_NOSIGNAL;  // the probe may have given up and closed
#endif
      if (::send(native(socket), reinterpret_cast<const char*>(reply.bytes.data() + at), static_cast<int>(size),
                 flags) != static_cast<int>(size)) {
        return false;
      }
    }
    return !reply.close_after;
  }

  void serve(int socket, int connection) {
    std::uint8_t header[7];
    std::vector<std::uint8_t> rest;
    while (read_exactly(socket, header, sizeof header)) {
      ReceivedRead read;
      read.connection = connection;
      read.transaction = static_cast<std::uint16_t>(header[0] << 8 | header[1]);
      read.protocol = static_cast<std::uint16_t>(header[2] << 8 | header[3]);
      read.length = static_cast<std::uint16_t>(header[4] << 8 | header[5]);
      read.unit_id = header[6];
      if (read.length < 2 || read.length > 254) break;
      rest.resize(read.length - 1u);
      if (!read_exactly(socket, rest.data(), rest.size())) break;
      read.function = rest[0];
      if (rest.size() >= 5) {
        read.start = static_cast<std::uint16_t>(rest[1] << 8 | rest[2]);
        read.quantity = static_cast<std::uint16_t>(rest[3] << 8 | rest[4]);
      }
      ScriptedReply reply;
      {
        const std::lock_guard lock(mutex_);
        read.index = received_.size();
        received_.push_back(read);
        reply = script_(read);
      }
      if (!send_reply(socket, reply)) break;
    }
    close_socket(socket);
  }

  void accept_connections() {
    while (wait_readable(listener_)) {
      const int socket = static_cast<int>(::accept(native(listener_), nullptr, nullptr));
      if (socket < 0) continue;
      int connection = 0;
      {
        const std::lock_guard lock(mutex_);
        connection = ++accepted_;
      }
      connections_.emplace_back([this, socket, connection] { serve(socket, connection); });
    }
  }

  SocketsInUse sockets_;
  ReplyScript script_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  mutable std::mutex mutex_;
  std::vector<ReceivedRead> received_;
  int accepted_ = 0;
  std::atomic<bool> stop_{false};
  std::vector<std::thread> connections_;  // only the acceptor's thread adds to it
  std::thread acceptor_;
};

// A loopback port where a connection is never answered, as with a device
// switched off on the local network: a listener whose queue of connections
// is filled and never accepted. Linux then drops further connection
// requests, so a connect hangs; where the system refuses them instead,
// hangs() is false.
class UnansweredPort {
 public:
  UnansweredPort() {
    listener_ = listen_on_loopback(0, port_);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port_);
    // Connections until one is left unanswered; the queue holds one or two.
    for (int i = 0; i < 8 && !hangs_; ++i) {
      const int filler = static_cast<int>(::socket(AF_INET, SOCK_STREAM, 0));
      fillers_.push_back(filler);
      set_non_blocking(filler);
      ::connect(native(filler), reinterpret_cast<const sockaddr*>(&address), sizeof address);
      // Windows tells of a refused connection through the exceptions.
      fd_set writable;
      fd_set failed;
      FD_ZERO(&writable);
      FD_ZERO(&failed);
      FD_SET(native(filler), &writable);
      FD_SET(native(filler), &failed);
      timeval wait{0, 300000};
      hangs_ = ::select(filler + 1, nullptr, &writable, &failed, &wait) == 0;
    }
  }
  ~UnansweredPort() {
    for (const int filler : fillers_) close_socket(filler);
    close_socket(listener_);
  }
  UnansweredPort(const UnansweredPort&) = delete;
  UnansweredPort& operator=(const UnansweredPort&) = delete;

  std::uint16_t port() const { return port_; }
  bool hangs() const { return hangs_; }

 private:
  static void set_non_blocking(int socket) {
#ifdef _WIN32
    u_long non_blocking = 1;
    ::ioctlsocket(native(socket), FIONBIO, &non_blocking);
#else
    ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK);
#endif
  }

  SocketsInUse sockets_;
  int listener_ = -1;
  std::vector<int> fillers_;
  std::uint16_t port_ = 0;
  bool hangs_ = false;
};

}  // namespace sw48230::test
