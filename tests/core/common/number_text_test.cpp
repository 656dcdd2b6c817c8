#include "core/common/number_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace sw48230 {
namespace {

struct Case32 {
  std::string_view text;
  std::optional<std::int32_t> expected;
};

TEST(NumberText, Int32) {
  constexpr auto min32 = std::numeric_limits<std::int32_t>::min();
  constexpr auto max32 = std::numeric_limits<std::int32_t>::max();
  const Case32 cases[] = {
      // decimal, blanks and signs
      {"0", 0},
      {"123", 123},
      {"007", 7},
      {"   42", 42},
      {"\t42", std::nullopt},  // only the space character is skipped
      {"42 ", std::nullopt},
      {"4 2", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"+7", 7},
      {"-7", -7},
      {"-0", 0},
      {"  -7", -7},
      {"- 7", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"--7", std::nullopt},
      {"+-7", std::nullopt},
      {"12a", std::nullopt},
      {"1.5", std::nullopt},
      // every hexadecimal prefix, digits in both cases
      {"$1f", 31},
      {"$1F", 31},
      {"x1f", 31},
      {"x1F", 31},
      {"X1f", 31},
      {"0x1f", 31},
      {"0xAbC", 0xABC},
      {"0X1F", 31},
      {"0Xab", 0xAB},
      {"  $10", 16},
      {"+$10", 16},
      {"-$1", -1},
      {"-0x10", -16},
      {"$", std::nullopt},
      {"x", std::nullopt},
      {"0x", std::nullopt},
      {"$g", std::nullopt},
      {"$1 ", std::nullopt},
      {"$-1", std::nullopt},
      {"0x-1", std::nullopt},
      {"$ 1", std::nullopt},
      // 32-bit limits
      {"2147483647", max32},
      {"2147483648", std::nullopt},
      {"-2147483648", min32},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"$7FFFFFFF", max32},
      {"$80000000", min32},
      {"$FFFFFFFF", -1},
      {"$ffffffff", -1},
      {"$00000000FF", 255},  // leading zeros do not count against the width
      {"$100000000", std::nullopt},
      {"-$FFFFFFFF", 1},
      {"-$80000000", min32},
  };
  for (const Case32& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_int32(c.text), c.expected);
  }
}

TEST(NumberText, Int64) {
  constexpr auto min64 = std::numeric_limits<std::int64_t>::min();
  constexpr auto max64 = std::numeric_limits<std::int64_t>::max();
  const struct {
    std::string_view text;
    std::optional<std::int64_t> expected;
  } cases[] = {
      {"2147483648", 2147483648LL},
      {"-2147483649", -2147483649LL},
      {"$FFFFFFFF", 0xFFFFFFFFLL},
      {"9223372036854775807", max64},
      {"9223372036854775808", std::nullopt},
      {"-9223372036854775808", min64},
      {"-9223372036854775809", std::nullopt},
      {"$7FFFFFFFFFFFFFFF", max64},
      {"0x8000000000000000", min64},
      {"$FFFFFFFFFFFFFFFF", -1},
      {"$10000000000000000", std::nullopt},
      {"-$1", -1},
      {" 5 ", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_int64(c.text), c.expected);
  }
}

TEST(NumberText, InvalidTextGivesTheCallersDefault) {
  EXPECT_EQ(to_int32("12", -5), 12);
  EXPECT_EQ(to_int32("12 ", -5), -5);
  EXPECT_EQ(to_int32("$100000000", 77), 77);
  EXPECT_EQ(to_int64("abc", -9), -9);
  EXPECT_EQ(to_int64("$100000000", 77), 0x100000000LL);
}

}  // namespace
}  // namespace sw48230
