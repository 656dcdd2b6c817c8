#include "core/common/paths.h"

#include <gtest/gtest.h>

namespace sw48230 {
namespace {

// Qt and the command line give folders with "/" on Windows too; joined with
// the program's own names they must not show a mix of separators.
TEST(Paths, TextOfAPathUsesTheSystemsSeparators) {
  const std::filesystem::path folder = path_from_utf8("C:/Users/\xC3\xA9va/PROJECTS");
  const std::filesystem::path file = folder / "Plant1" / "var.csv";
#ifdef _WIN32
  EXPECT_EQ(path_to_utf8(file), "C:\\Users\\\xC3\xA9va\\PROJECTS\\Plant1\\var.csv");
#else
  EXPECT_EQ(path_to_utf8(file), "C:/Users/\xC3\xA9va/PROJECTS/Plant1/var.csv");
  // A backslash is a character of a name here, not a separator.
  EXPECT_EQ(path_to_utf8(path_from_utf8("a\\b") / "c"), "a\\b/c");
#endif
  EXPECT_EQ(path_from_utf8(path_to_utf8(file)), file.lexically_normal().make_preferred());
}

}  // namespace
}  // namespace sw48230
