#pragma once

#include <atomic>
#include <mutex>
#include <vector>

namespace sw48230 {

// Ends a probe early from another thread, such as a screen's Stop button or
// its closing: no further request is sent, and the requests under way are
// cut off at once instead of running to their answer or time-out. A
// connection being made still runs to its end (at most one time-out).
class ProbeStop {
 public:
  void request();
  bool requested() const { return requested_; }

 private:
  friend class ServerConnection;

  // The open connections, which request() cuts off. attach() refuses a
  // socket once a stop is requested; `close` runs under the lock, so that
  // request() never touches a socket number the system has given again.
  bool attach(int socket);
  template <typename Close>
  void detach(int socket, Close close) {
    const std::lock_guard lock(mutex_);
    std::erase(sockets_, socket);
    close();
  }

  std::atomic<bool> requested_{false};
  std::mutex mutex_;
  std::vector<int> sockets_;
};

}  // namespace sw48230
