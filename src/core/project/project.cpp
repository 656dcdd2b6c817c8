#include "core/project/project.h"

#include <utility>

namespace sw48230 {

std::filesystem::path ParGen_Path(const std::filesystem::path& project_dir) { return project_dir / ParGen_File_Name; }

std::filesystem::path Table_Path(const std::filesystem::path& project_dir, const TableKind& kind) {
  return project_dir / kind.file_name;
}

std::filesystem::path Bin_Path(const std::filesystem::path& project_dir) { return project_dir / Bin_Folder_Name; }

Project Load_Project(const std::filesystem::path& project_dir) {
  Project project;
  project.dir = project_dir;
  project.settings = Read_ParGen_File(ParGen_Path(project_dir));
  for (const TableKind* kind : Table_Kinds()) project.table(*kind) = Read_Requests_File(Table_Path(project_dir, *kind));
  return project;
}

Result<RequestLoad> Load_Table(const Project& project, const TableKind& kind, RequestTable& table) {
  return Load_Requests(kind, project.table(kind), project.table_context(), table);
}

Project With_Table(Project project, const TableKind& kind, const RequestTable& table) {
  project.table(kind) = Requests_File_Of(kind, table);
  return project;
}

std::optional<Failure> Save_Settings(const std::filesystem::path& project_dir, const CommSettings& settings) {
  return Save_Comm_Settings(ParGen_Path(project_dir), settings);
}

std::optional<Failure> Save_Table(const std::filesystem::path& project_dir, const TableKind& kind,
                                  const RequestTable& table) {
  return Save_Requests(kind, Table_Path(project_dir, kind), table);
}

}  // namespace sw48230
