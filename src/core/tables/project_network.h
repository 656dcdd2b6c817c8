#pragma once

#include <optional>

#include "core/commsettings/pargen_file.h"
#include "core/tables/network_warnings.h"

namespace sw48230 {

// The converter's place on the network as ParGen.xml sets it. Nothing while
// the file is missing or unreadable, since its defaults say nothing about the
// project, or when its address or mask is not valid.
std::optional<ConverterNetwork> Read_Converter_Network(const ParGenFile& file);

}  // namespace sw48230
