#pragma once

#include <vector>

#include "core/probe/probe_run.h"

namespace sw48230 {

// What sends a screen's probe: the program hands in Modbus TCP through
// Run_Probe, a test may hand in another. run() is called on a thread of the
// probe's own, and may run for several screens at once.
class Prober {
 public:
  virtual ~Prober() = default;

  virtual std::vector<ProbeResult> run(const std::vector<ProbeRequest>& requests, const ProbeOptions& options,
                                       ProbeStop& stop, const ProbeProgress& progress) = 0;
};

class ModbusProber final : public Prober {
 public:
  std::vector<ProbeResult> run(const std::vector<ProbeRequest>& requests, const ProbeOptions& options, ProbeStop& stop,
                               const ProbeProgress& progress) override {
    return Run_Probe(requests, options, stop, progress);
  }
};

}  // namespace sw48230
