#pragma once

#include "core/common/clock.h"

namespace sw48230 {

// The steady clock of the system. A pause runs a local event loop, so the
// windows keep painting while user input waits; it ends early when the
// application quits.
class EventLoopClock final : public Clock {
 public:
  std::chrono::milliseconds now() const override;
  bool pause(std::chrono::milliseconds duration) override;
};

}  // namespace sw48230
