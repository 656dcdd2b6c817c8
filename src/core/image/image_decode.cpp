#include "core/image/image_decode.h"

#include <algorithm>
#include <cstring>

#include "core/common/file_read.h"
#include "core/image/byte_order.h"
#include "core/image/image_error.h"
#include "core/tables/table_kind.h"

namespace sw48230 {
namespace {

using namespace image_bytes;

// Lists of faulty records or rows are cut short: a file of noise would
// otherwise fill a screen with indexes.
constexpr std::size_t Listed_Index_Limit = 8;

std::string index_list(const std::vector<std::size_t>& indexes) {
  std::string text;
  for (std::size_t i = 0; i < indexes.size() && i < Listed_Index_Limit; ++i) {
    if (i > 0) text += ", ";
    text += std::to_string(indexes[i]);
  }
  if (indexes.size() > Listed_Index_Limit)
    text += " and " + std::to_string(indexes.size() - Listed_Index_Limit) + " more";
  return text;
}

// "<what>: record 3" or "<what>: records 3, 9".
void report_indexes(std::vector<std::string>& problems, const std::string& what, const char* one, const char* many,
                    const std::vector<std::size_t>& indexes) {
  if (indexes.empty()) return;
  problems.push_back(what + ": " + (indexes.size() == 1 ? one : many) + ' ' + index_list(indexes));
}

std::uint32_t read_constant(std::span<const std::uint8_t> block, const GeneralBlockConstant& constant) {
  return constant.size == 2 ? get_u16(block, constant.offset) : get_u32(block, constant.offset);
}

bool inside_constant(std::size_t offset) {
  return std::any_of(
      std::begin(General_Block_Constants), std::end(General_Block_Constants),
      [offset](const GeneralBlockConstant& c) { return offset >= c.offset && offset < c.offset + c.size; });
}

void check_general_block(std::span<const std::uint8_t, General_Block_Size> block, DecodedImage& decoded,
                         DecodedBank2& bank2) {
  auto& problems = decoded.problems;
  if (bank2.stored_checksum != bank2.computed_checksum) {
    decoded.checksum_verified = false;
    problems.push_back("the checksum does not verify: the file holds " + std::to_string(bank2.stored_checksum) +
                       ", the General_Block adds up to " + std::to_string(bank2.computed_checksum));
  }
  for (const GeneralBlockConstant& constant : General_Block_Constants) {
    const std::uint32_t found = read_constant(block, constant);
    if (found != constant.value) {
      problems.push_back("General_Block offset " + std::to_string(constant.offset) + " (" + constant.name + ") holds " +
                         std::to_string(found) + " instead of " + std::to_string(constant.value));
    }
  }
  // Writing the values back shows every byte that lies outside all fields.
  Bytes rewritten;
  Serialize_General_Block(bank2.image.general, rewritten);
  std::vector<std::size_t> reserved;
  for (std::size_t i = 0; i < General_Block_Checksum_Offset; ++i) {
    if (block[i] != rewritten[i] && !inside_constant(i)) reserved.push_back(i);
  }
  report_indexes(problems, "reserved General_Block bytes are not zero", "block offset", "block offsets", reserved);

  const General_Block& g = bank2.image.general;
  if (std::uint64_t{g.Request_Count} + g.Setting_Count != g.Record_Count) {
    problems.push_back("Record_Count " + std::to_string(g.Record_Count) + " is not Request_Count " +
                       std::to_string(g.Request_Count) + " + Setting_Count " + std::to_string(g.Setting_Count));
  }
  if (g.Record_Count > Request_Record_Count) {
    problems.push_back("Record_Count " + std::to_string(g.Record_Count) + " exceeds the " +
                       std::to_string(Request_Record_Count) + " records of the file");
  }
}

// What the builder can write after the checks: for each function code the
// quantities a row of its type may have. 0 marks a code no row gives.
struct QuantityRange {
  std::uint16_t low = 0;
  std::uint16_t high = 0;
};

QuantityRange request_quantities(std::uint8_t function) {
  using namespace modbus_function;
  switch (function) {
    case Read_Coils:
    case Read_Discrete_Inputs:
      return {1, 64};
    case Read_Holding_Registers:
    case Read_Input_Registers:
      return {1, 4};
    default:
      return {};
  }
}

QuantityRange setting_quantities(std::uint8_t function) {
  using namespace modbus_function;
  switch (function) {
    case Write_Single_Coil:
    case Write_Single_Register:
      return {1, 1};
    case Write_Multiple_Coils:
      return {2, 64};
    case Write_Multiple_Registers:
      return {2, 4};
    default:
      return {};
  }
}

constexpr std::uint32_t Largest_11_Bit_COB = 0x7FF;
constexpr std::uint32_t Largest_29_Bit_COB = 0x1FFFFFFF;

bool cob_fits(std::uint32_t cob, bool extended) { return cob <= (extended ? Largest_29_Bit_COB : Largest_11_Bit_COB); }

void check_requests(DecodedImage& decoded, const DecodedBank2& bank2) {
  std::vector<std::size_t> functions, quantities, cobs;
  for (std::size_t i = 0; i < bank2.filled_records(); ++i) {
    const Request_Record& record = bank2.image.records[i];
    const QuantityRange range =
        bank2.record_kind(i).writes ? setting_quantities(record.Function) : request_quantities(record.Function);
    if (range.high == 0) {
      functions.push_back(i);
    } else if (record.Quantity < range.low || record.Quantity > range.high) {
      quantities.push_back(i);
    }
    const bool extended = (record.COB & COB_29_Bit_Flag) != 0;
    if (!cob_fits(record.COB & ~COB_29_Bit_Flag, extended)) cobs.push_back(i);
  }
  auto& problems = decoded.problems;
  report_indexes(problems, "Function is no code of its table (1..4 for read, 5, 6, 15, 16 for write requests)",
                 "record", "records", functions);
  report_indexes(problems, "Quantity is outside what a request of its Function carries", "record", "records",
                 quantities);
  report_indexes(problems, "COB is larger than its frame format allows (0x7FF for 11 bits, 0x1FFFFFFF for 29)",
                 "record", "records", cobs);
}

void check_records(std::span<const std::uint8_t> bytes, DecodedImage& decoded, const DecodedBank2& bank2) {
  std::vector<std::size_t> reserved, slots, byte_counts, after_filled;
  const std::size_t filled = bank2.filled_records();
  for (std::size_t i = 0; i < Request_Record_Count; ++i) {
    const auto stored = bytes.subspan(i * Request_Record_Size, Request_Record_Size);
    if (i >= filled) {
      if (std::any_of(stored.begin(), stored.end(), [](std::uint8_t b) { return b != 0; })) after_filled.push_back(i);
      continue;
    }
    const Request_Record& record = bank2.image.records[i];
    Bytes rewritten;
    Serialize_Request_Record(record, rewritten);
    if (!std::equal(stored.begin(), stored.end(), rewritten.begin())) reserved.push_back(i);

    const std::size_t position = bank2.record_kind(i).writes ? i - bank2.image.general.Request_Count : i;
    if (record.Slot_Offset != static_cast<std::uint16_t>(8 * position)) slots.push_back(i);
    if (record.Byte_Count != Byte_Count_For(record.Function, record.Quantity)) byte_counts.push_back(i);
  }
  auto& problems = decoded.problems;
  report_indexes(problems, "reserved record bytes are not zero", "record", "records", reserved);
  report_indexes(problems, "Slot_Offset is not 8 x the position in its table", "record", "records", slots);
  report_indexes(problems, "Byte_Count does not match Function and Quantity", "record", "records", byte_counts);
  report_indexes(problems, "records after the filled ones are not zero", "record", "records", after_filled);
}

DecodedImage decode_bank2(std::span<const std::uint8_t> bytes) {
  DecodedImage decoded;
  decoded.size = bytes.size();
  DecodedBank2 bank2;
  const auto block = bytes.subspan<Records_Size, General_Block_Size>();
  bank2.image.general = Parse_General_Block(block);
  bank2.stored_checksum = get_u32(block, General_Block_Checksum_Offset);
  bank2.computed_checksum = General_Block_Checksum(block);
  for (std::size_t i = 0; i < Request_Record_Count; ++i) {
    bank2.image.records[i] = Parse_Request_Record(bytes.subspan(i * Request_Record_Size).first<Request_Record_Size>());
  }
  check_general_block(block, decoded, bank2);
  check_records(bytes, decoded, bank2);
  check_requests(decoded, bank2);
  decoded.content = std::move(bank2);
  return decoded;
}

// Why `bytes` is not a bank.bin, or nothing when its header fits its size.
std::optional<std::string> bank_header_refusal(std::span<const std::uint8_t> bytes) {
  const std::size_t size = bytes.size();
  const std::size_t fixed = Bank_Header_Size + Bank_Params_Size;
  if (size < fixed || (size - fixed) % Bank_Row_Size != 0 || size > Bank_Buffer_Size) {
    return std::to_string(size) + " bytes is the size of neither a bank2.bin (always " + std::to_string(Bank2_Size) +
           " bytes) nor a bank.bin (36 + 13 x rows bytes)";
  }
  const std::uint32_t first = get_u32(bytes, 0);
  const std::uint32_t second = get_u32(bytes, 4);
  const std::uint32_t third = get_u32(bytes, 8);
  const std::size_t params_offset = size - Bank_Params_Size;
  const bool consistent = first == Bank_Header_Size && third == params_offset && second >= first && second <= third &&
                          (second - first) % Bank_Row_Size == 0;
  if (consistent) return std::nullopt;
  return "a bank.bin of " + std::to_string(size) + " bytes has the header offsets 12, 12 + 13 A and " +
         std::to_string(params_offset) + ", but this file holds " + std::to_string(first) + ", " +
         std::to_string(second) + " and " + std::to_string(third);
}

std::vector<Bank_Row> parse_rows(std::span<const std::uint8_t> bytes) {
  std::vector<Bank_Row> rows;
  rows.reserve(bytes.size() / Bank_Row_Size);
  for (std::size_t offset = 0; offset < bytes.size(); offset += Bank_Row_Size) {
    rows.push_back(Parse_Bank_Row(bytes.subspan(offset).first<Bank_Row_Size>()));
  }
  return rows;
}

void check_sorted(const std::vector<Bank_Row>& rows, std::size_t first_index, const char* table,
                  std::vector<std::string>& problems) {
  for (std::size_t i = 1; i < rows.size(); ++i) {
    if (rows[i - 1].COB > rows[i].COB) {
      problems.push_back(std::string("the ") + table + " rows are not in ascending order of COB: row " +
                         std::to_string(first_index + i) + " comes after a greater one");
      return;
    }
  }
}

// Bank rows carry a type code instead of a function: the read requests 1..4
// as their type + 1, the write requests 1 (coils) or 3 (registers).
void check_bank_rows(const std::vector<Bank_Row>& rows, std::size_t first_index, const TableKind& kind,
                     const Bank_Params& params, std::vector<std::string>& problems) {
  std::vector<std::size_t> types, quantities, cobs;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Bank_Row& row = rows[i];
    const bool known =
        kind.writes ? row.Type_Code == 1 || row.Type_Code == 3 : row.Type_Code >= 1 && row.Type_Code <= 4;
    if (!known) {
      types.push_back(first_index + i);
    } else {
      const std::uint8_t most = row.Type_Code <= 2 ? 64 : 4;
      if (row.Quantity < 1 || row.Quantity > most) quantities.push_back(first_index + i);
    }
    if (params.CAN_Type <= 1 && !cob_fits(row.COB, params.CAN_Type == 1)) cobs.push_back(first_index + i);
  }
  const std::string table = kind.image_name;
  report_indexes(problems, "the type code of a " + table + " row is none the builder writes", "row", "rows", types);
  report_indexes(problems, "Quantity is outside what a " + table + " row of its type carries", "row", "rows",
                 quantities);
  report_indexes(problems, "COB is larger than the CAN_Type of Bank_Params allows", "row", "rows", cobs);
}

DecodedImage decode_bank(std::span<const std::uint8_t> bytes) {
  DecodedImage decoded;
  decoded.size = bytes.size();
  DecodedBank bank;
  for (std::size_t i = 0; i < bank.header.size(); ++i) bank.header[i] = get_u32(bytes, 4 * i);
  // The header's fields mark where each table's rows begin, then where
  // Bank_Params begins; its last fields count each table's rows.
  const auto params = bytes.subspan(bank.header[Table_Kind_Count]).first<Bank_Params_Size>();
  bank.params = Parse_Bank_Params(params);
  for (const TableKind* kind : Table_Kinds()) {
    const std::size_t i = kind->index;
    bank.rows[i] = parse_rows(bytes.subspan(bank.header[i], bank.header[i + 1] - bank.header[i]));
    bank.stored_rows[i] = get_u16(params, Bank_Params_Size - 2 * (Table_Kind_Count - i));
  }
  const auto& reads = bank.rows[Read_Requests().index];
  const auto& writes = bank.rows[Write_Requests().index];
  const std::uint16_t stored_reads = bank.stored_rows[Read_Requests().index];
  const std::uint16_t stored_writes = bank.stored_rows[Write_Requests().index];

  auto& problems = decoded.problems;
  if (stored_reads != reads.size() || stored_writes != writes.size()) {
    problems.push_back("Bank_Params counts " + std::to_string(stored_reads) + " request and " +
                       std::to_string(stored_writes) + " setting rows, the header delimits " +
                       std::to_string(reads.size()) + " and " + std::to_string(writes.size()));
  }
  std::size_t first_index = 0;
  for (const TableKind* kind : Table_Kinds()) {
    check_sorted(bank.rows[kind->index], first_index, kind->image_name, problems);
    first_index += bank.rows[kind->index].size();
  }
  if (bank.params.CAN_Baud_Code < 1 || bank.params.CAN_Baud_Code > 8) {
    problems.push_back("the CAN_Baud code " + std::to_string(bank.params.CAN_Baud_Code) + " is outside 1..8");
  }
  if (bank.params.CAN_Type > 1) {
    problems.push_back("the CAN_Type " + std::to_string(bank.params.CAN_Type) + " is outside 0..1");
  }
  first_index = 0;
  for (const TableKind* kind : Table_Kinds()) {
    check_bank_rows(bank.rows[kind->index], first_index, *kind, bank.params, problems);
    first_index += bank.rows[kind->index].size();
  }
  decoded.content = std::move(bank);
  return decoded;
}

}  // namespace

const TableKind& DecodedBank2::record_kind(std::size_t index) const {
  return index < image.general.Request_Count ? Read_Requests() : Write_Requests();
}

std::size_t DecodedBank2::filled_records() const {
  return std::min<std::size_t>(image.general.Record_Count, Request_Record_Count);
}

Result<DecodedImage> Decode_Image(std::span<const std::uint8_t> bytes, std::string file) {
  if (bytes.empty())
    return Not_An_Image(std::move(file),
                        "the file is empty, as a bank file is until an image of its kind has been built");
  if (bytes.size() == Bank2_Size) return decode_bank2(bytes);
  if (auto refusal = bank_header_refusal(bytes)) return Not_An_Image(std::move(file), std::move(*refusal));
  return decode_bank(bytes);
}

Result<Bytes> Read_Image_File(const std::filesystem::path& file) {
  const Result<std::string> bytes = read_regular_file(file, Bank_Buffer_Size);
  if (!bytes) return bytes.failure();
  return Bytes(bytes->begin(), bytes->end());
}

}  // namespace sw48230
