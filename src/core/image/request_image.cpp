#include "core/image/request_image.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/common/number_text.h"
#include "core/common/text.h"
#include "core/tables/request_table.h"
#include "core/tables/table_kind.h"
#include "core/tables/var_format.h"

namespace sw48230 {
namespace {

namespace attr = var_file;

// Type codes of the write rows in bank.bin.
constexpr std::uint8_t Coils_Type_Code = 1;
constexpr std::uint8_t Registers_Type_Code = 3;

std::uint8_t low8(std::int32_t value) { return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu); }
std::uint16_t low16(std::int32_t value) {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
}

// The attributes of one row. The fallback readers never fail; the required
// ones keep the first failure, after which nothing more is read.
class RowReader {
 public:
  RowReader(const RequestsFile::Row& row, const std::string& file, int number)
      : row_(row), file_(file), number_(number) {}

  std::optional<std::string_view> text(attr::Attribute name) const {
    if (!row_[name]) return std::nullopt;
    return std::string_view(*row_[name]);
  }

  std::int32_t number_or(attr::Attribute name, std::int32_t fallback) const {
    const auto value = text(name);
    return value ? to_int32(*value, fallback) : fallback;
  }

  std::int32_t required(attr::Attribute name) {
    if (error_) return 0;
    const auto value = text(name);
    if (!value) {
      error_ = Attribute_Missing(file_, number_, attr::Attribute_Names[name]);
      return 0;
    }
    const auto number = parse_int32(*value);
    if (!number) {
      error_ = Attribute_Not_A_Number(file_, number_, attr::Attribute_Names[name], std::string(*value));
      return 0;
    }
    return *number;
  }

  Ipv4Bytes required_address() {
    Ipv4Bytes address{};
    for (std::size_t i = 0; i < address.size(); ++i) {
      address[i] = low8(required(static_cast<attr::Attribute>(attr::IP_Add_B1 + i)));
    }
    return address;
  }

  const std::optional<ImageError>& error() const { return error_; }

 private:
  const RequestsFile::Row& row_;
  const std::string& file_;
  int number_;
  std::optional<ImageError> error_;
};

// Why a table file cannot go into an image: it could not be read (a missing
// file is an empty table), or it holds more rows than the screens and the
// checks see, so an image of it would carry rows nobody has looked at.
std::optional<ImageError> table_file_error(const RequestsFile& file) {
  if (file.failure) {
    if (file.missing()) return std::nullopt;
    return *file.failure;
  }
  const int rows = static_cast<int>(file.rows.size());
  if (rows > RequestTable::Data_Rows) return Too_Many_Rows(file.name, rows, RequestTable::Data_Rows);
  return std::nullopt;
}

// A row without CAN_Type has the project's frame format, as the table screen
// loads it.
bool is_29_bit(const RowReader& read, const TableContext& context) {
  const auto can_type = read.text(attr::CAN_Type);
  if (!can_type) return context.Type_Can != 0;
  return equals_ignoring_ascii_case(trim_blanks(*can_type), CAN_Type_29_Bits);
}

// A row without a Cob-ID is not in use: the table screen neither checks nor
// saves it.
bool in_use(const RowReader& read) {
  const auto cob = read.text(attr::COB);
  return cob && !trim_blanks(*cob).empty();
}

// The type is read by the number rule, as the table screen loads it: " 1"
// is the "Holding Register" the screen shows and checks.
std::uint8_t setting_function(std::string_view type, std::uint16_t quantity) {
  using namespace modbus_function;
  const auto code = parse_int32(type);
  if (code == 0) return quantity == 1 ? Write_Single_Coil : Write_Multiple_Coils;
  if (code == 1) return quantity == 1 ? Write_Single_Register : Write_Multiple_Registers;
  return None;
}

// Fills `record` from an enabled row; the first required value that cannot be
// read is left in `read`.
void fill_record(const TableKind& kind, RowReader& read, const TableContext& context, Request_Record& record) {
  const bool requests = !kind.writes;
  namespace fallback = var_file::image_fallback;
  record.COB = static_cast<std::uint32_t>(read.number_or(attr::COB, fallback::COB));
  if (is_29_bit(read, context)) record.COB |= COB_29_Bit_Flag;
  record.IP_Address = Ip_Address_Number(read.required_address());
  // The port the table screen shows for a row without one.
  record.Port = low16(read.number_or(attr::Port, context.Default_Port));
  record.ID_Modbus = low8(read.number_or(attr::ID_Modbus, fallback::ID_Modbus));
  const auto type = read.text(attr::Type);
  record.Address_Word = low16(read.required(attr::Address_Word));
  record.Quantity = low16(read.number_or(attr::Quantity, fallback::Quantity));
  if (requests) {
    record.Poll_Time = static_cast<std::uint32_t>(read.number_or(attr::PollTime, fallback::PollTime));
    record.Max_Error = static_cast<std::uint32_t>(read.number_or(attr::MaxError, fallback::MaxError));
  }
  // A row without Swap shows it ticked.
  record.Flags = Is_Ticked(read.text(attr::Swap).value_or(Tick_Yes)) ? Flags_Swap : std::uint8_t{0};

  // A row without Type has the type the table screen shows for it.
  const std::int32_t missing_type = kind.type_code_when_missing;
  if (requests) {
    const std::int32_t code = type ? to_int32(trim_blanks(*type), missing_type) : missing_type;
    record.Function = low8(static_cast<std::int32_t>(static_cast<std::uint32_t>(code) + 1u));
  } else {
    record.Function = setting_function(type ? *type : std::to_string(missing_type), record.Quantity);
  }
  record.Byte_Count = Byte_Count_For(record.Function, record.Quantity);
}

std::optional<ImageError> read_records(const TableKind& kind, const RequestsFile& file, const TableContext& context,
                                       Bank2Image& image, std::size_t& next_record, std::uint32_t& count,
                                       std::vector<RecordSource>* record_rows) {
  if (auto error = table_file_error(file)) return error;
  int number = 0;
  for (const RequestsFile::Row& row : file.rows) {
    RowReader read(row, file.name, ++number);
    if (!in_use(read) || !Is_Ticked(read.text(attr::Enable).value_or(Tick_Yes))) continue;
    // Only a hand-made pair of files can get here; writing on would go past
    // the end of the records.
    if (next_record == Request_Record_Count) {
      return Too_Many_Enabled_Rows(file.name, number, static_cast<int>(Request_Record_Count + 1),
                                   static_cast<int>(Request_Record_Count));
    }
    Request_Record& record = image.records[next_record];
    fill_record(kind, read, context, record);
    if (read.error()) return read.error();
    record.Slot_Offset = static_cast<std::uint16_t>((8u * count) & 0xFFFFu);
    if (record_rows) record_rows->push_back({&kind, number});
    ++next_record;
    ++count;
  }
  return std::nullopt;
}

std::uint8_t type_code(const TableKind& kind, std::uint8_t type) {
  if (!kind.writes) return static_cast<std::uint8_t>((type + 1u) & 0xFFu);
  return type == 0 ? Coils_Type_Code : Registers_Type_Code;
}

std::optional<ImageError> read_master_requests(const Project& project, Bank2Image& image,
                                               std::vector<RecordSource>* record_rows) {
  const TableContext context = project.table_context();
  General_Block& general = image.general;
  general.Default_Port = Default_Modbus_Port;
  general.Request_Count = 0;
  general.Setting_Count = 0;
  std::size_t next_record = 0;
  for (const TableKind* kind : Table_Kinds()) {
    std::uint32_t& count = kind->writes ? general.Setting_Count : general.Request_Count;
    if (auto error = read_records(*kind, project.table(*kind), context, image, next_record, count, record_rows)) {
      return error;
    }
  }
  general.Record_Count = static_cast<std::uint32_t>(next_record);
  return std::nullopt;
}

}  // namespace

std::optional<ImageError> Read_Master_Requests(const Project& project, Bank2Image& image) {
  return read_master_requests(project, image, nullptr);
}

std::optional<ImageError> Read_Master_Requests(const Project& project, Bank2Image& image,
                                               std::vector<RecordSource>& record_rows) {
  record_rows.clear();
  return read_master_requests(project, image, &record_rows);
}

Result<std::vector<NumberedBankRow>> Read_Bank_Rows(const TableKind& kind, const RequestsFile& file) {
  if (auto error = table_file_error(file)) return *error;

  std::vector<NumberedBankRow> rows;
  int number = 0;
  for (const RequestsFile::Row& file_row : file.rows) {
    if (rows.size() == Bank_Table_Row_Limit) break;
    RowReader read(file_row, file.name, ++number);
    if (!in_use(read)) continue;
    Bank_Row row;
    // The order of the checks is the order of the row's fields, so that the
    // error names the first bad one.
    row.COB = static_cast<std::uint32_t>(read.required(attr::COB));
    row.IP_Address = read.required_address();
    row.Address_Word = low16(read.required(attr::Address_Word));
    row.ID_Modbus = low8(read.required(attr::ID_Modbus));
    row.Type_Code = type_code(kind, low8(read.required(attr::Type)));
    row.Quantity = low8(read.required(attr::Quantity));
    if (read.error()) return *read.error();
    rows.push_back({number, row});
  }
  return rows;
}

Result<std::uint16_t> Append_Bank_Rows(const TableKind& kind, const RequestsFile& file, Bytes& bank) {
  Result<std::vector<NumberedBankRow>> read = Read_Bank_Rows(kind, file);
  if (!read) return read.failure();

  std::vector<NumberedBankRow>& rows = *read;
  std::stable_sort(rows.begin(), rows.end(),
                   [](const NumberedBankRow& a, const NumberedBankRow& b) { return a.bank_row.COB < b.bank_row.COB; });
  bank.reserve(bank.size() + rows.size() * Bank_Row_Size);
  for (const NumberedBankRow& row : rows) Append_Bank_Row(row.bank_row, bank);
  return static_cast<std::uint16_t>(rows.size());
}

}  // namespace sw48230
