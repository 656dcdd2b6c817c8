#include "core/common/failure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sw48230 {
namespace {

TEST(FillPlaceholders, EachNumberTakesItsValueOnce) {
  const struct {
    const char* text;
    std::vector<std::string> values;
    const char* filled;
  } cases[] = {
      {"%1 of %2 rows tested", {"3", "10"}, "3 of 10 rows tested"},
      {"%2 before %1", {"a", "b"}, "b before a"},
      {"%1 and %1", {"x"}, "x and x"},
      // A value is not searched again: a file named "%2" stays so.
      {"%1: %2", {"%2", "reason"}, "%2: reason"},
      {"%1 is missing", {}, "%1 is missing"},
      {"%3 has no value", {"a", "b"}, "%3 has no value"},
      {"100% sure, %0 and %", {"x"}, "100% sure, %0 and %"},
      {"", {"x"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Fill_Placeholders(c.text, c.values), c.filled);
  }
}

TEST(FailureResult, HoldsTheValueOrTheFailure) {
  const Result<int> value = 7;
  ASSERT_TRUE(value);
  EXPECT_EQ(*value, 7);

  const Result<int> failed = File_Missing("var.xml");
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.failure().file, "var.xml");
  EXPECT_EQ(failed.failure().text, Msg_Failure_File_Missing);
}

}  // namespace
}  // namespace sw48230
