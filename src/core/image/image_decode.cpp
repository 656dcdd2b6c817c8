#include "core/image/image_decode.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "core/image/byte_order.h"

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

    const std::size_t position = bank2.is_request_record(i) ? i : i - bank2.image.general.Request_Count;
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

DecodedImage decode_bank(std::span<const std::uint8_t> bytes) {
  DecodedImage decoded;
  decoded.size = bytes.size();
  DecodedBank bank;
  for (std::size_t i = 0; i < bank.header.size(); ++i) bank.header[i] = get_u32(bytes, 4 * i);
  bank.request_rows = parse_rows(bytes.subspan(bank.header[0], bank.header[1] - bank.header[0]));
  bank.setting_rows = parse_rows(bytes.subspan(bank.header[1], bank.header[2] - bank.header[1]));
  const auto params = bytes.subspan(bank.header[2]).first<Bank_Params_Size>();
  bank.params = Parse_Bank_Params(params);
  bank.stored_request_rows = get_u16(params, Bank_Params_Size - 4);
  bank.stored_setting_rows = get_u16(params, Bank_Params_Size - 2);

  auto& problems = decoded.problems;
  if (bank.stored_request_rows != bank.request_rows.size() || bank.stored_setting_rows != bank.setting_rows.size()) {
    problems.push_back("Bank_Params counts " + std::to_string(bank.stored_request_rows) + " request and " +
                       std::to_string(bank.stored_setting_rows) + " setting rows, the header delimits " +
                       std::to_string(bank.request_rows.size()) + " and " + std::to_string(bank.setting_rows.size()));
  }
  check_sorted(bank.request_rows, 0, "request", problems);
  check_sorted(bank.setting_rows, bank.request_rows.size(), "setting", problems);
  if (bank.params.CAN_Baud_Code < 1 || bank.params.CAN_Baud_Code > 8) {
    problems.push_back("the CAN_Baud code " + std::to_string(bank.params.CAN_Baud_Code) + " is outside 1..8");
  }
  decoded.content = std::move(bank);
  return decoded;
}

}  // namespace

std::size_t DecodedBank2::filled_records() const {
  return std::min<std::size_t>(image.general.Record_Count, Request_Record_Count);
}

ImageDecode Decode_Image(std::span<const std::uint8_t> bytes) {
  if (bytes.empty())
    return {std::nullopt, "the file is empty, as a bank file is until an image of its kind has been built"};
  if (bytes.size() == Bank2_Size) return {decode_bank2(bytes), {}};
  if (auto refusal = bank_header_refusal(bytes)) return {std::nullopt, std::move(*refusal)};
  return {decode_bank(bytes), {}};
}

std::optional<Bytes> Read_Image_File(const std::filesystem::path& file, std::string& error) {
  error.clear();
  std::error_code status_error;
  if (std::filesystem::is_directory(file, status_error)) {
    error = std::make_error_code(std::errc::is_a_directory).message();
    return std::nullopt;
  }
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = errno != 0 ? std::strerror(errno) : "cannot open the file";
    return std::nullopt;
  }
  // One byte more than a bank can hold tells a too large file apart.
  Bytes bytes(Bank_Buffer_Size + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) {
    error = "read error";
    return std::nullopt;
  }
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (bytes.size() > Bank_Buffer_Size) {
    error = "larger than any image (more than " + std::to_string(Bank_Buffer_Size) + " bytes)";
    return std::nullopt;
  }
  return bytes;
}

}  // namespace sw48230
