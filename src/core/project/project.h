#pragma once

// A project as it is on disk: its folder, ParGen.xml and the two request
// tables, each read once into one value. The checks, the image build, the
// probe, the network warnings and the CSV export all take this value, so
// the project that is checked is, by construction, the project that is
// built. Loading and saving the project's files happen here and nowhere
// else.

#include <array>
#include <filesystem>
#include <optional>

#include "core/common/failure.h"
#include "core/commsettings/comm_settings.h"
#include "core/commsettings/pargen_file.h"
#include "core/tables/request_file.h"
#include "core/tables/request_table.h"
#include "core/tables/table_kind.h"

namespace sw48230 {

// The folder of a project's images, created with the project.
inline constexpr const char* Bin_Folder_Name = "bin";

// The paths of a project's files and folders.
std::filesystem::path ParGen_Path(const std::filesystem::path& project_dir);
std::filesystem::path Table_Path(const std::filesystem::path& project_dir, const TableKind& kind);
std::filesystem::path Bin_Path(const std::filesystem::path& project_dir);

struct Project {
  std::filesystem::path dir;
  ParGenFile settings;
  std::array<RequestsFile, Table_Kind_Count> tables;

  const RequestsFile& table(const TableKind& kind) const { return tables[kind.index]; }
  RequestsFile& table(const TableKind& kind) { return tables[kind.index]; }
  // What the tables take from the settings.
  TableContext table_context() const { return Read_Table_Context(settings); }
};

// Reads the three files of the project in `project_dir`. Never fails as a
// whole: a file that is missing or cannot be read says so in its own part,
// and each reader decides what that means for it.
Project Load_Project(const std::filesystem::path& project_dir);

// Fills `table` from the project's file of `kind`, as its screen opens it.
Result<RequestLoad> Load_Table(const Project& project, const TableKind& kind, RequestTable& table);

// The same project with `kind`'s table as a screen holds it, unsaved.
Project With_Table(Project project, const TableKind& kind, const RequestTable& table);

// Write a project file atomically; nothing is written on a failure.
std::optional<Failure> Save_Settings(const std::filesystem::path& project_dir, const CommSettings& settings);
std::optional<Failure> Save_Table(const std::filesystem::path& project_dir, const TableKind& kind,
                                  const RequestTable& table);

}  // namespace sw48230
