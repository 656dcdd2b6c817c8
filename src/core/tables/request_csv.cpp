#include "core/tables/request_csv.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <optional>
#include <system_error>

#include "core/common/text.h"
#include "core/i18n/message_table.h"
#include "core/i18n/text_decoding.h"
#include "core/tables/request_checks.h"
#include "core/tables/table_report_messages.h"

namespace sw48230 {
namespace {

constexpr std::string_view Byte_Order_Mark = "\xEF\xBB\xBF";
constexpr int COB_Attribute = 1;
constexpr std::array<int, 4> Address_Attributes = {3, 4, 5, 6};

bool needs_quotes(std::string_view field) { return field.find_first_of(",;\"\r\n") != std::string_view::npos; }

void append_field(std::string& out, std::string_view field) {
  if (!needs_quotes(field)) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void append_line(std::string& out, const RowAttributes& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    append_field(out, fields[i]);
  }
  out += "\r\n";
}

int line_at(std::string_view text, std::size_t pos) {
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(pos), '\n'));
}

// The line of the first NUL byte, or of the first byte that is not part of
// well-formed UTF-8, with the reason; nothing for good text.
std::optional<CsvFailure> check_text(std::string_view text) {
  // Spreadsheets offer UTF-16 as "Unicode text"; it is text, only not UTF-8.
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) return CsvFailure{1, "", Msg_Csv_Not_UTF8, ""};
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
    return CsvFailure{line_at(text, nul), "", Msg_Csv_Not_Text, ""};
  }
  // Decoding replaces each malformed sequence, so well-formed text is exactly
  // what encodes back to the same bytes.
  const std::string same = encode_utf8(decode_utf8(text));
  if (same == text) return std::nullopt;
  const auto differ = std::mismatch(text.begin(), text.end(), same.begin(), same.end()).first;
  return CsvFailure{line_at(text, static_cast<std::size_t>(differ - text.begin())), "", Msg_Csv_Not_UTF8, ""};
}

// One record of RFC 4180 text. Fields beyond `max_fields` are counted, not
// kept, so that a line of thousands of fields costs no memory.
struct Record {
  int line = 0;
  std::vector<std::string> fields;
  std::size_t field_count = 0;
  int error = 0;  // a message index when the record is malformed

  bool blank() const {
    if (field_count > fields.size()) return false;
    for (const std::string& field : fields) {
      if (!field.empty()) return false;
    }
    return true;
  }
};

class CsvReader {
 public:
  CsvReader(std::string_view text, char separator) : text_(text), separator_(separator) {}

  bool at_end() const { return pos_ >= text_.size(); }

  Record next(std::size_t max_fields) {
    Record record;
    record.line = line_;
    std::string field;
    const auto end_field = [&] {
      if (record.fields.size() < max_fields) record.fields.push_back(std::move(field));
      ++record.field_count;
      field.clear();
    };
    while (true) {
      if (pos_ < text_.size() && text_[pos_] == '"') {
        ++pos_;
        if (!read_quoted(field)) {
          record.error = Msg_Csv_Open_Quote;
          return record;
        }
      } else {
        while (pos_ < text_.size() && !is_field_end(text_[pos_])) {
          if (text_[pos_] == '"') return skip_line(record, Msg_Csv_Misplaced_Quote);
          field += text_[pos_++];
        }
      }
      end_field();
      if (pos_ >= text_.size()) return record;
      const char c = text_[pos_++];
      if (c == separator_) continue;
      if (c == '\r' || c == '\n') {
        if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        ++line_;
        return record;
      }
      // Text after the closing quote of a field.
      --pos_;
      return skip_line(record, Msg_Csv_Misplaced_Quote);
    }
  }

 private:
  bool is_field_end(char c) const { return c == separator_ || c == '\r' || c == '\n'; }

  // After the opening quote, up to and past the closing one.
  bool read_quoted(std::string& field) {
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') {
        if (pos_ < text_.size() && text_[pos_] == '"') {
          field += '"';
          ++pos_;
          continue;
        }
        return true;
      }
      if (c == '\n' || (c == '\r' && (pos_ >= text_.size() || text_[pos_] != '\n'))) ++line_;
      field += c;
    }
    return false;
  }

  Record& skip_line(Record& record, int error) {
    record.error = error;
    while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    ++line_;
    return record;
  }

  std::string_view text_;
  char separator_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

// The separator the header uses: a semicolon when it has more of them than
// commas (attribute names hold neither).
char detect_separator(std::string_view text) {
  const std::string_view header = text.substr(0, text.find_first_of("\r\n"));
  std::size_t commas = 0;
  std::size_t semicolons = 0;
  for (const char c : header) {
    if (c == ',') ++commas;
    if (c == ';') ++semicolons;
  }
  return semicolons > commas ? ';' : ',';
}

int attribute_index(std::string_view name) {
  const auto& names = Row_Attribute_Names();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (equals_ignoring_ascii_case(trim_blanks(name), names[i])) return static_cast<int>(i);
  }
  return -1;
}

std::string shown_name(std::string_view name) { return name.empty() ? "\"\"" : std::string(name.substr(0, 64)); }

// The attribute index of each column; failures for a header that cannot be used.
std::vector<int> read_header(const Record& header, std::vector<CsvFailure>& failures) {
  std::vector<int> columns;
  if (header.error != 0) {
    failures.push_back({header.line, "", header.error, ""});
    return columns;
  }
  if (header.blank()) {
    failures.push_back({header.line, "", Msg_Csv_No_Header, ""});
    return columns;
  }
  if (header.field_count > Row_Attribute_Count) {
    failures.push_back({header.line, "", Msg_Csv_Too_Many_Columns, ""});
    return columns;
  }
  std::array<bool, Row_Attribute_Count> seen{};
  for (const std::string& name : header.fields) {
    const int index = attribute_index(name);
    if (index < 0) {
      failures.push_back({header.line, shown_name(name), Msg_Csv_Unknown_Column, ""});
    } else if (seen[static_cast<std::size_t>(index)]) {
      failures.push_back({header.line, shown_name(name), Msg_Csv_Duplicate_Column, ""});
    } else {
      seen[static_cast<std::size_t>(index)] = true;
    }
    columns.push_back(index);
  }
  if (!seen[COB_Attribute]) failures.push_back({header.line, "", Msg_Csv_No_COB_Column, ""});
  return columns;
}

// The header name of the cell a row check is about.
std::string column_name(int col) {
  const auto& names = Row_Attribute_Names();
  if (col == Col_IP) return std::string(names[Address_Attributes.front()]) + ".." + names[Address_Attributes.back()];
  const int attribute = col < Col_IP ? col - 1 : col + 2;
  return names[static_cast<std::size_t>(attribute)];
}

void insert_in_line_order(std::vector<CsvFailure>& failures, CsvFailure failure) {
  auto at = failures.end();
  while (at != failures.begin() && (at - 1)->line > failure.line) --at;
  failures.insert(at, std::move(failure));
}

}  // namespace

std::string Export_Csv(const TableKind& kind, const RequestTable& table) {
  int last = 0;
  for (int row = 1; row <= RequestTable::Data_Rows; ++row) {
    if (!trim_blanks(table.cell(row, Col_COB)).empty()) last = row;
  }
  std::string out(Byte_Order_Mark);
  out.reserve(static_cast<std::size_t>(last + 1) * 96);
  RowAttributes header;
  for (std::size_t i = 0; i < header.size(); ++i) header[i] = Row_Attribute_Names()[i];
  append_line(out, header);
  for (int row = 1; row <= last; ++row) append_line(out, Row_Attributes(kind, table, row));
  return out;
}

CsvImport Import_Csv(const TableKind& kind, std::string_view bytes, const TableContext& context) {
  CsvImport result;
  if (bytes.size() > Csv_Max_Bytes) {
    result.failures.push_back({0, "", Msg_Csv_Too_Large, ""});
    return result;
  }
  if (bytes.starts_with(Byte_Order_Mark)) bytes.remove_prefix(Byte_Order_Mark.size());
  if (auto failure = check_text(bytes)) {
    result.failures.push_back(std::move(*failure));
    return result;
  }

  CsvReader reader(bytes, detect_separator(bytes));
  if (reader.at_end()) {
    result.failures.push_back({1, "", Msg_Csv_No_Header, ""});
    return result;
  }
  const std::vector<int> columns = read_header(reader.next(Row_Attribute_Count + 1), result.failures);
  if (!result.failures.empty()) return result;

  const RowAttributes fresh = Row_Attributes(kind, RequestTable(), 1);
  std::vector<int> row_lines;    // the CSV line of each table row
  std::vector<int> blank_lines;  // blank lines not yet known to be trailing
  while (!reader.at_end()) {
    Record record = reader.next(columns.size());
    if (record.error == 0 && record.blank()) {
      // Blank lines at the end, as spreadsheets leave them, are no requests.
      if (blank_lines.size() <= static_cast<std::size_t>(RequestTable::Data_Rows)) {
        blank_lines.push_back(record.line);
      }
      continue;
    }
    const std::size_t lines_so_far = row_lines.size() + blank_lines.size() + result.failures.size();
    if (lines_so_far >= static_cast<std::size_t>(RequestTable::Data_Rows)) {
      insert_in_line_order(result.failures, {record.line, "", Msg_Csv_Too_Many_Rows, ""});
      return result;
    }
    for (const int line : blank_lines) result.failures.push_back({line, "", Msg_Csv_No_COB, ""});
    blank_lines.clear();

    if (record.error != 0) {
      result.failures.push_back({record.line, "", record.error, ""});
      continue;
    }
    if (record.field_count != columns.size()) {
      const bool more = record.field_count > columns.size();
      result.failures.push_back({record.line, "", more ? Msg_Csv_Too_Many_Fields : Msg_Csv_Too_Few_Fields, ""});
      continue;
    }
    RowAttributes values = fresh;
    for (std::size_t i = 0; i < columns.size(); ++i) values[static_cast<std::size_t>(columns[i])] = record.fields[i];
    if (trim_blanks(values[COB_Attribute]).empty()) {
      result.failures.push_back({record.line, Row_Attribute_Names()[COB_Attribute], Msg_Csv_No_COB, ""});
      continue;
    }
    // Lines that failed above are left out of the table, so every row has a
    // Cob-ID and the row checks visit all of them.
    const int row = static_cast<int>(row_lines.size()) + 1;
    Set_Row_Attributes(kind, values, result.table, row);
    bool no_address = true;
    for (const int i : Address_Attributes) no_address = no_address && values[static_cast<std::size_t>(i)].empty();
    if (no_address) result.table.cell(row, Col_IP).clear();
    row_lines.push_back(record.line);
  }

  for (const RowFailure& failure : Check_Rows(kind, result.table, context, false)) {
    insert_in_line_order(result.failures, {row_lines[static_cast<std::size_t>(failure.row - 1)],
                                           column_name(failure.column), failure.message, ""});
  }
  if (!result.failures.empty()) {
    result.table.Reset();
    return result;
  }
  result.rows = static_cast<int>(row_lines.size());
  return result;
}

CsvImport Import_Csv_File(const TableKind& kind, const std::filesystem::path& file, const TableContext& context) {
  CsvImport result;
  const auto fail = [&result](int message, std::string detail) {
    result.failures.push_back({0, "", message, std::move(detail)});
    return result;
  };
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (error) return fail(Msg_Csv_Unreadable, error.message());
  if (!std::filesystem::is_regular_file(status)) return fail(Msg_Csv_Unreadable, "not a regular file");
  const auto size = std::filesystem::file_size(file, error);
  if (error) return fail(Msg_Csv_Unreadable, error.message());
  if (size > Csv_Max_Bytes) return fail(Msg_Csv_Too_Large, "");

  std::ifstream in(file, std::ios::binary);
  if (!in) return fail(Msg_Csv_Unreadable, "cannot be opened");
  // The file may have grown since its size was taken: it is read in pieces
  // until its end or just past the limit, never whole.
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size));
  std::array<char, 64 * 1024> piece;
  while (in && bytes.size() <= Csv_Max_Bytes) {
    in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    bytes.append(piece.data(), static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return fail(Msg_Csv_Unreadable, "read error");
  if (bytes.size() > Csv_Max_Bytes) return fail(Msg_Csv_Too_Large, "");
  return Import_Csv(kind, bytes, context);
}

std::string Csv_Failure_Text(const MessageTable& messages, const CsvFailure& failure) {
  std::string text;
  if (failure.line > 0) text += messages.text(Msg_Csv_Line) + std::to_string(failure.line);
  if (!failure.column.empty()) text += messages.text(Msg_Csv_Column) + failure.column;
  return text + messages.text(failure.message) + failure.detail;
}

}  // namespace sw48230
