#include "support/temp_dir.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace sw48230 {
namespace {

TEST(TempDirTest, AFixtureThatCannotBeWrittenFailsTheTest) {
  const test::TempDir temp;
  const std::filesystem::path written = temp / "fixture.xml";
  test::write_file(written, "<R/>");
  EXPECT_EQ(test::read_file(written), "<R/>");

  const std::filesystem::path nowhere = temp / "no such folder" / "fixture.xml";
  EXPECT_NONFATAL_FAILURE(test::write_file(nowhere, "<R/>"), "cannot write " + nowhere.string() + ": ");
  EXPECT_FALSE(std::filesystem::exists(nowhere));
}

}  // namespace
}  // namespace sw48230
