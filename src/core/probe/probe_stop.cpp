#include "core/probe/probe_stop.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace sw48230 {
namespace {

void cut_off(int socket) {
#ifdef _WIN32
  ::shutdown(static_cast<SOCKET>(socket), SD_BOTH);
#else
  ::shutdown(socket, SHUT_RDWR);
#endif
}

}  // namespace

void ProbeStop::request() {
  const std::lock_guard lock(mutex_);
  requested_ = true;
  // The thread waiting on the socket sees the connection end at once.
  for (const int socket : sockets_) cut_off(socket);
}

bool ProbeStop::attach(int socket) {
  const std::lock_guard lock(mutex_);
  if (requested_) return false;
  sockets_.push_back(socket);
  return true;
}

}  // namespace sw48230
