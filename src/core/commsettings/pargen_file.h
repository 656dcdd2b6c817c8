#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/failure.h"
#include "core/commsettings/pargen_format.h"

namespace sw48230 {

// ParGen.xml as it was read, before any reader's fallback: each element's
// text as it stands in the file, or nothing for an element the file lacks.
// The readers of the settings (the screen's, the tables', both images') are
// functions of this one value, so a project is read once and every reader
// sees the same file.
struct ParGenFile {
  // Why the file gave no elements: File_Missing or File_Unreadable.
  std::optional<Failure> failure;
  std::array<std::optional<std::string>, pargen::Element_Count> elements{};

  bool missing() const { return failure && Is_File_Missing(*failure); }
  // The text of the first element `name` under the root (one of pargen's
  // names); nothing when there is none or the file gave no elements.
  const std::optional<std::string>& text(std::string_view name) const;

  bool operator==(const ParGenFile&) const = default;
};

ParGenFile Read_ParGen_File(const std::filesystem::path& file);

}  // namespace sw48230
