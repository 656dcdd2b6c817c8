#include "core/project/project_store.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "core/common/paths.h"
#include "core/common/text.h"
#include "core/i18n/failure_messages.h"
#include "core/project/project.h"

#ifdef _WIN32
#include "core/common/windows_api.h"
#endif

namespace sw48230 {
namespace {

bool is_reserved_device_name(std::string_view name) {
  // Windows opens the device for these, with any extension.
  const std::string_view stem = name.substr(0, name.find('.'));
  static constexpr std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
  for (std::string_view device : plain) {
    if (equals_ignoring_ascii_case(stem, device)) return true;
  }
  if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9') {
    const std::string_view prefix = stem.substr(0, 3);
    return equals_ignoring_ascii_case(prefix, "COM") || equals_ignoring_ascii_case(prefix, "LPT");
  }
  return false;
}

bool is_hidden(const std::filesystem::directory_entry& entry, const std::string& name) {
  if (name.empty() || name.front() == '.') return true;
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesW(entry.path().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
#else
  (void)entry;
  return false;
#endif
}

bool name_in_use(const std::filesystem::path& Projects_Dir, const std::string& name) {
  std::error_code error;
  if (std::filesystem::exists(Projects_Dir / path_from_utf8(name), error)) return true;
  // Two names that differ only in case would be one folder on Windows.
  for (std::filesystem::directory_iterator it(Projects_Dir, error), end; !error && it != end; it.increment(error)) {
    if (equals_ignoring_ascii_case(path_to_utf8(it->path().filename()), name)) return true;
  }
  return false;
}

}  // namespace

bool Is_Portable_Project_Name(std::string_view name) {
  // A dot-name would be hidden from the open dialog.
  if (name.empty() || name.front() == '.') return false;
  for (char c : name) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F) return false;
    if (std::string_view("/\\<>:\"|?*").find(c) != std::string_view::npos) return false;
  }
  if (name.back() == '.' || name.back() == ' ') return false;
  return !is_reserved_device_name(name);
}

Result<std::filesystem::path> Create_Project(const std::filesystem::path& Projects_Dir, const std::string& name) {
  const auto refusal = [](int message) { return Failure{{}, 0, Failure::Item::File, {}, {}, message, {}}; };
  const auto not_created = [](const std::filesystem::path& dir, const std::error_code& error) {
    return Headed_Failure(Msg_Folder_Not_Created, path_to_utf8(dir), error.message());
  };
  if (name.empty()) return refusal(Msg_Name_Empty);
  if (!Is_Portable_Project_Name(name)) return refusal(Msg_Name_Not_Valid);
  if (name_in_use(Projects_Dir, name)) return refusal(Msg_Name_Exists);

  std::error_code error;
  if (!std::filesystem::is_directory(Projects_Dir, error)) {
    std::filesystem::create_directory(Projects_Dir, error);
    if (error) return not_created(Projects_Dir, error);
  }
  std::filesystem::path project_dir = Projects_Dir / path_from_utf8(name);
  if (!std::filesystem::create_directory(project_dir, error)) {
    // Without an error the folder appeared since the check above.
    if (!error) return refusal(Msg_Name_Exists);
    return not_created(project_dir, error);
  }
  std::filesystem::create_directories(Bin_Path(project_dir), error);
  return project_dir;
}

std::vector<std::string> List_Projects(const std::filesystem::path& Projects_Dir) {
  std::vector<std::string> projects;
  std::error_code error;
  for (std::filesystem::directory_iterator it(Projects_Dir, error), end; !error && it != end; it.increment(error)) {
    std::error_code type_error;
    if (!it->is_directory(type_error)) continue;
    std::string name = path_to_utf8(it->path().filename());
    if (!is_hidden(*it, name)) projects.push_back(std::move(name));
  }
  std::sort(projects.begin(), projects.end(), [](const std::string& a, const std::string& b) {
    if (less_ignoring_ascii_case(a, b)) return true;
    if (less_ignoring_ascii_case(b, a)) return false;
    return a < b;  // a stable order for names that differ only in case
  });
  return projects;
}

std::optional<std::size_t> Preselect_Project(const std::vector<std::string>& projects, std::string_view active) {
  if (projects.empty()) return std::nullopt;
  const auto match = std::find_if(projects.begin(), projects.end(),
                                  [&](const std::string& name) { return equals_ignoring_ascii_case(name, active); });
  return match != projects.end() ? static_cast<std::size_t>(match - projects.begin()) : 0;
}

}  // namespace sw48230
