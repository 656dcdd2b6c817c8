#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/commsettings/comm_settings.h"
#include "core/tables/request_file.h"

namespace sw48230 {

class MessageTable;

// Requests that pass their row checks but cannot work on the network. They
// are warnings: the project can still be saved and built.
struct NetworkWarning {
  int message = 0;        // the reason
  std::vector<int> rows;  // the rows involved, ascending

  bool operator==(const NetworkWarning&) const = default;
};

// The converter's own place on the network, from the settings screen.
struct ConverterNetwork {
  std::uint32_t address = 0;
  std::uint32_t mask = 0;
  bool gateway = false;
};

// Nothing when the address or the mask do not hold four bytes 0 to 255.
std::optional<ConverterNetwork> Converter_Network(const CommSettings& settings);

// The warnings of one request table, over the rows a save keeps (row 1 up to
// the first row without a Cob-ID) that are enabled and pass their checks:
// - a server outside the converter's subnet while no gateway is enabled;
// - a server at the converter's own address, or at the network or broadcast
//   address of its subnet;
// - read requests of one Cob-ID (and frame format), one warning per Cob-ID;
// - write requests whose ranges of one server (address, port, unit, coils or
//   registers) overlap, one warning per group of rows chained by overlaps.
// Without `converter` the address warnings are left out.
std::vector<NetworkWarning> Network_Warnings(const TableKind& kind, const RequestTable& table,
                                             const TableContext& context,
                                             const std::optional<ConverterNetwork>& converter);

// "Warning rows 3, 7!! Enabled read requests with the same Cob-ID ...".
std::string Network_Warning_Text(const MessageTable& messages, const NetworkWarning& warning);

}  // namespace sw48230
