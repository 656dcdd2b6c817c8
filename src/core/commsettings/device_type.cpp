#include "core/commsettings/device_type.h"

#include "core/common/number_text.h"
#include "core/common/xml_file.h"

namespace sw48230 {

int Select_Type_231(const std::filesystem::path& pargen_file) {
  const auto document = load_xml_file(pargen_file);
  if (!document) return Device_Type_Jumper;
  const auto text = child_text(root_element(*document), "Device_Type");
  return text ? to_int32(*text, Device_Type_Jumper) : Device_Type_Jumper;
}

}  // namespace sw48230
