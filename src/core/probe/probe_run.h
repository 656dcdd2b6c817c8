#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/probe/probe_request.h"
#include "core/probe/probe_stop.h"

namespace sw48230 {

inline constexpr int Default_Probe_Parallel = 8;

struct ProbeOptions {
  // For making each connection, and for each answer from sending its
  // request to the answer's last byte.
  std::uint32_t timeout_ms = 1000;
  int parallel = Default_Probe_Parallel;  // servers probed at once
};

// Called once per probed request, as soon as its result is known, from one
// of the probe's threads; never two calls at once.
using ProbeProgress = std::function<void(const ProbeResult&)>;

// Sends each request once and waits for its answer. Every server (address
// and port) gets one connection, on which its requests go one after the
// other in their given order; up to `parallel` servers are probed at once,
// so no more connections than that are ever open. A server that closes the
// connection is connected again once for the request that found it closed.
// Only the reads of functions 1 to 4 are ever sent.
//
// Blocks until every request has its result or `stop` is requested; after a
// stop it returns within a few hundredths of a second, whatever the
// time-out, even while a connection is being made. The results are in the
// order of `requests`; a request that was not sent, or whose connection or
// answer had not come, when the stop came has none.
std::vector<ProbeResult> Run_Probe(const std::vector<ProbeRequest>& requests, const ProbeOptions& options,
                                   ProbeStop& stop, const ProbeProgress& progress = {});

}  // namespace sw48230
