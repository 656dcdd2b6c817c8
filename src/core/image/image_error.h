#pragma once

#include <string>

#include "core/common/failure.h"

namespace sw48230 {

// Why an image cannot be built from a project: enough for the user to find
// the value in the project files.
using ImageError = Failure;

// A table file with more rows than its screen shows.
ImageError Too_Many_Rows(std::string file, int rows, int limit);
// A hand-made pair of tables whose enabled rows do not fit into bank2.bin.
ImageError Too_Many_Enabled_Rows(std::string file, int row, int record, int records);
// Bytes that have the layout of neither bank; `reason` says what does not fit.
ImageError Not_An_Image(std::string file, std::string reason);

}  // namespace sw48230
