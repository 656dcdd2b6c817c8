#pragma once

#include <atomic>

namespace sw48230 {

// Ends a probe early from another thread, such as a screen's Stop button or
// its closing: no further request is sent, and the probe's waits, for a
// connection being made as for an answer, end within a few hundredths of a
// second whatever the time-out. A request under way when the stop comes,
// its connection included, gets no result.
class ProbeStop {
 public:
  void request() { requested_ = true; }
  bool requested() const { return requested_; }

 private:
  std::atomic<bool> requested_{false};
};

}  // namespace sw48230
