#pragma once

#include <optional>

#include "core/common/failure.h"

namespace sw48230::test {

// The failure of a result, or nothing when it has a value: lets a test
// compare the outcome with std::nullopt or print it whatever it is.
template <class T>
std::optional<Failure> failure_of(const Result<T>& result) {
  if (result) return std::nullopt;
  return result.failure();
}

}  // namespace sw48230::test
