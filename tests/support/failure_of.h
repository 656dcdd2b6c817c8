#pragma once

#include <optional>
#include <string>

#include "core/common/failure.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"

namespace sw48230::test {

// The failure in English, as the command-line tool reports it.
inline std::string english(const Failure& failure) { return Failure_Message(English_Messages(), failure); }

// The failure of a result, or nothing when it has a value: lets a test
// compare the outcome with std::nullopt or print it whatever it is.
template <class T>
std::optional<Failure> failure_of(const Result<T>& result) {
  if (result) return std::nullopt;
  return result.failure();
}

}  // namespace sw48230::test
