#include "core/tables/network_warnings.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

#include "core/common/number_text.h"
#include "core/common/text.h"
#include "core/commsettings/device_type.h"
#include "core/i18n/message_table.h"
#include "core/tables/request_checks.h"
#include "core/tables/table_report_messages.h"

namespace sw48230 {
namespace {

std::optional<std::uint32_t> address_of(const std::array<std::string, 4>& bytes) {
  std::uint32_t address = 0;
  for (const std::string& byte : bytes) {
    const std::int32_t value = to_int32(byte, -1);
    if (value < 0 || value > 255) return std::nullopt;
    address = (address << 8) | static_cast<std::uint32_t>(value);
  }
  return address;
}

std::optional<std::int32_t> number_in(const std::string& text, std::int32_t low, std::int32_t high) {
  const std::int32_t value = to_int32(text, -1);
  if (value < low || value > high) return std::nullopt;
  return value;
}

// The rows a save keeps and the image build compiles (only dip-switch
// hardware knows disabled rows), less those that fail their checks: their
// error says more than a warning would.
std::vector<int> enabled_rows(const TableKind& kind, const RequestTable& table, const TableContext& context) {
  const std::vector<RowFailure> failures = Check_Rows(kind, table, context, false);
  auto failure = failures.begin();
  std::vector<int> rows;
  for (int row = 1; row <= RequestTable::Data_Rows && !trim_blanks(table.cell(row, Col_COB)).empty(); ++row) {
    if (context.Hard_Type == Device_Type_Dip_Switch && !Is_Ticked(table.cell(row, Col_Enable))) continue;
    while (failure != failures.end() && failure->row < row) ++failure;
    if (failure != failures.end() && failure->row == row) continue;
    rows.push_back(row);
  }
  return rows;
}

void address_warnings(const RequestTable& table, const std::vector<int>& rows, const ConverterNetwork& converter,
                      std::vector<NetworkWarning>& warnings) {
  const std::uint32_t network = converter.address & converter.mask;
  const std::uint32_t broadcast = network | ~converter.mask;
  // A subnet of one or two addresses has no network and broadcast address.
  const bool has_broadcast = (~converter.mask) > 1;
  for (const int row : rows) {
    const auto server = address_of(Split_Address(table.cell(row, Col_IP)));
    if (!server) continue;
    int message = 0;
    if (*server == converter.address) {
      message = Msg_Warning_Own_Address;
    } else if (has_broadcast && *server == network) {
      message = Msg_Warning_Network_Address;
    } else if (has_broadcast && *server == broadcast) {
      message = Msg_Warning_Broadcast_Address;
    } else if (!converter.gateway && (*server & converter.mask) != network) {
      message = Msg_Warning_Unreachable;
    }
    if (message != 0) warnings.push_back({message, {row}});
  }
}

void same_cob_warnings(const RequestTable& table, const std::vector<int>& rows, const TableContext& context,
                       std::vector<NetworkWarning>& warnings) {
  // By frame format and identifier: 0x100 in 11 bits and in 29 bits are two frames.
  std::map<std::pair<bool, std::int32_t>, std::vector<int>> by_frame;
  for (const int row : rows) {
    bool extended = context.Type_Can != 0;
    if (context.Hard_Type != Device_Type_Jumper) {
      extended = equals_ignoring_ascii_case(trim_blanks(table.cell(row, Col_CAN_Type)), CAN_Type_29_Bits);
    }
    const auto cob = number_in(table.cell(row, Col_COB), 0, 0x1FFFFFFF);
    if (cob) by_frame[{extended, *cob}].push_back(row);
  }
  for (auto& [frame, group] : by_frame) {
    if (group.size() > 1) warnings.push_back({Msg_Warning_Same_Cob_ID, std::move(group)});
  }
}

void overlap_warnings(const TableKind& kind, const RequestTable& table, const std::vector<int>& rows,
                      const TableContext& context, std::vector<NetworkWarning>& warnings) {
  struct Range {
    std::tuple<std::uint32_t, std::int32_t, std::int32_t, bool> server;  // address, port, unit, coils
    std::int64_t first = 0;
    std::int64_t last = 0;
    int row = 0;
  };
  std::vector<Range> ranges;
  for (const int row : rows) {
    const auto address = address_of(Split_Address(table.cell(row, Col_IP)));
    const auto port = context.Hard_Type == Device_Type_Dip_Switch ? number_in(table.cell(row, Col_Port), 0, 65535)
                                                                  : std::optional<std::int32_t>(context.Default_Port);
    const auto unit = number_in(table.cell(row, Col_ID_Modbus), 0, 255);
    const std::optional<std::size_t> code = Type_Code_Of(kind, table.cell(row, Col_Type));
    const auto start = number_in(table.cell(row, Col_Address), 0, 65535);
    const auto count = number_in(table.cell(row, Col_NPoint), 1, 0x7FFFFFFF);
    if (!address || !port || !unit || !code || !start || !count) continue;
    ranges.push_back(
        {{*address, *port, *unit, kind.type_counts_bits[*code]}, *start, std::int64_t{*start} + *count - 1, row});
  }
  std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) {
    return std::tie(a.server, a.first, a.row) < std::tie(b.server, b.first, b.row);
  });
  std::vector<int> group;
  std::int64_t group_last = -1;
  const auto flush = [&] {
    if (group.size() > 1) {
      std::sort(group.begin(), group.end());
      warnings.push_back({Msg_Warning_Overlapping_Writes, group});
    }
    group.clear();
  };
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    if (i > 0 && (ranges[i].server != ranges[i - 1].server || ranges[i].first > group_last)) flush();
    if (group.empty()) group_last = ranges[i].last;
    group.push_back(ranges[i].row);
    group_last = std::max(group_last, ranges[i].last);
  }
  flush();
}

}  // namespace

std::optional<ConverterNetwork> Converter_Network(const CommSettings& settings) {
  const auto address = address_of(settings.TCP_IP);
  const auto mask = address_of(settings.TCP_SUB);
  if (!address || !mask) return std::nullopt;
  return ConverterNetwork{*address, *mask, settings.En_GAT};
}

std::vector<NetworkWarning> Network_Warnings(const TableKind& kind, const RequestTable& table,
                                             const TableContext& context,
                                             const std::optional<ConverterNetwork>& converter) {
  const std::vector<int> rows = enabled_rows(kind, table, context);
  std::vector<NetworkWarning> warnings;
  if (converter) address_warnings(table, rows, *converter, warnings);
  // Read requests fill CAN frames, write requests fill servers' registers:
  // each kind can collide only where it puts its values.
  if (kind.writes) {
    overlap_warnings(kind, table, rows, context, warnings);
  } else {
    same_cob_warnings(table, rows, context, warnings);
  }
  std::stable_sort(warnings.begin(), warnings.end(),
                   [](const NetworkWarning& a, const NetworkWarning& b) { return a.rows.front() < b.rows.front(); });
  return warnings;
}

std::string Network_Warning_Text(const MessageTable& messages, const NetworkWarning& warning) {
  std::string text = messages.text(warning.rows.size() == 1 ? Msg_Warning_Row : Msg_Warning_Rows);
  for (std::size_t i = 0; i < warning.rows.size(); ++i) {
    if (i > 0) text += ", ";
    text += std::to_string(warning.rows[i]);
  }
  return text + messages.text(warning.message);
}

}  // namespace sw48230
