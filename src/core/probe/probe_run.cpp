#include "core/probe/probe_run.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "core/probe/server_connection.h"

namespace sw48230 {
namespace {

// The requests of one server, as indexes into the caller's list.
struct ServerRequests {
  std::string address;
  std::uint16_t port = 0;
  std::vector<std::size_t> requests;
};

// Servers in the order of their first request, so that a probe of a table
// starts at its top.
std::vector<ServerRequests> group_by_server(const std::vector<ProbeRequest>& requests) {
  std::vector<ServerRequests> servers;
  std::map<std::pair<std::string, std::uint16_t>, std::size_t> index;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const ProbeRequest& request = requests[i];
    const auto [found, added] = index.try_emplace({request.address, request.port}, servers.size());
    if (added) servers.push_back({request.address, request.port, {}});
    servers[found->second].requests.push_back(i);
  }
  return servers;
}

}  // namespace

std::vector<ProbeResult> Run_Probe(const std::vector<ProbeRequest>& requests, const ProbeOptions& options,
                                   ProbeStop& stop, const ProbeProgress& progress) {
  const std::vector<ServerRequests> servers = group_by_server(requests);
  std::vector<std::optional<ProbeResult>> results(requests.size());
  std::atomic<std::size_t> next_server{0};
  std::mutex report;
  std::exception_ptr failure;

  auto work = [&] {
    try {
      for (std::size_t s = next_server++; s < servers.size() && !stop.requested(); s = next_server++) {
        const ServerRequests& server = servers[s];
        ServerConnection connection(server.address, server.port, options.timeout_ms, stop);
        for (const std::size_t i : server.requests) {
          std::optional<ProbeResult> result = connection.send(requests[i]);
          if (!result) break;
          const std::lock_guard lock(report);
          if (progress) progress(*result);
          results[i] = std::move(result);
        }
      }
    } catch (...) {
      const std::lock_guard lock(report);
      if (!failure) failure = std::current_exception();
      // The other threads end after their current request.
      next_server = servers.size();
    }
  };

  const std::size_t thread_count = std::min(servers.size(), static_cast<std::size_t>(std::max(options.parallel, 1)));
  std::vector<std::thread> threads;
  threads.reserve(thread_count);
  for (std::size_t t = 0; t < thread_count; ++t) threads.emplace_back(work);
  for (std::thread& thread : threads) thread.join();
  if (failure) std::rethrow_exception(failure);

  std::vector<ProbeResult> done;
  done.reserve(results.size());
  for (std::optional<ProbeResult>& result : results) {
    if (result) done.push_back(std::move(*result));
  }
  return done;
}

}  // namespace sw48230
