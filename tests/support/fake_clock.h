#pragma once

#include <chrono>

#include "core/common/clock.h"

namespace sw48230::test {

// A clock that moves only when the code under test pauses, so a ten-second
// loop runs at once and always the same way.
class FakeClock final : public Clock {
 public:
  std::chrono::milliseconds now() const override { return now_; }
  bool pause(std::chrono::milliseconds duration) override {
    now_ += duration;
    ++pauses;
    return true;
  }
  void advance(std::chrono::milliseconds duration) { now_ += duration; }

  int pauses = 0;

 private:
  std::chrono::milliseconds now_{1000000};
};

}  // namespace sw48230::test
