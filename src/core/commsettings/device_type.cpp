#include "core/commsettings/device_type.h"

#include "core/commsettings/comm_settings.h"

namespace sw48230 {

int Select_Type_231(const std::filesystem::path& pargen_file) {
  return Read_Project_Comm_Info(pargen_file).Device_Type;
}

}  // namespace sw48230
