#include "core/tables/project_network.h"

#include <system_error>

#include "core/commsettings/comm_settings.h"

namespace sw48230 {

std::optional<ConverterNetwork> Read_Converter_Network(const std::filesystem::path& pargen_file) {
  std::error_code error;
  if (!std::filesystem::exists(pargen_file, error)) return std::nullopt;
  const Result<CommSettings> loaded = Load_Comm_Settings(pargen_file);
  if (!loaded) return std::nullopt;
  return Converter_Network(*loaded);
}

}  // namespace sw48230
