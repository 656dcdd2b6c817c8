#pragma once

#include <chrono>

namespace sw48230 {

// Time as the program's waiting loops see it. Loops take it as a parameter so
// that tests run them on a clock of their own instead of waiting for real.
class Clock {
 public:
  virtual ~Clock() = default;

  // A monotonic time; only the difference between two readings means
  // something.
  virtual std::chrono::milliseconds now() const = 0;

  // Lets about `duration` pass; the program's clock keeps the windows
  // painting meanwhile. False when the wait was cut short because the
  // program is ending: the caller should give up.
  virtual bool pause(std::chrono::milliseconds duration) = 0;
};

}  // namespace sw48230
