#pragma once

// The checks of the settings screen and of both table screens, run on a
// project as its files are on disk. Only a project that passes them is
// built into an image for a device.

#include <string>
#include <vector>

namespace sw48230 {

struct Project;
class MessageTable;

// What the checks say about a table file beyond the screens' own row
// messages, with %1, %2 ... for their values; the failures of a file that
// cannot be read or of a list element are those of core/common/failure.h.
inline constexpr int Msg_Check_Row_Not_Checked = 580;
inline constexpr int Msg_Check_Rows_Not_Checked = 581;

struct ProjectCheckFailure {
  std::string file;  // "ParGen.xml", "var.xml" or "var2.xml"
  // The text the screen's error box shows ("Error row 3!! ..."), or what is
  // wrong with the file itself, without the file: the command-line tool
  // puts it after the file's name (Located_Text), a screen under its path.
  std::string text;

  bool operator==(const ProjectCheckFailure&) const = default;
};

// The failures in the order of the workflow: ParGen.xml, var.xml, var2.xml,
// in the language of `messages`. With `first_only` the checks end at the
// first failure, as a screen's OK does. A missing file is what its screen
// would start from and passes.
std::vector<ProjectCheckFailure> Check_Project(const Project& project, const MessageTable& messages, bool first_only);

}  // namespace sw48230
