#include "core/tables/project_network.h"

#include "core/commsettings/comm_settings.h"

namespace sw48230 {

std::optional<ConverterNetwork> Read_Converter_Network(const ParGenFile& file) {
  if (file.failure) return std::nullopt;
  const Result<CommSettings> loaded = Load_Comm_Settings(file);
  if (!loaded) return std::nullopt;
  return Converter_Network(*loaded);
}

}  // namespace sw48230
