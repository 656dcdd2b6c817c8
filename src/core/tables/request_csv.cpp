#include "core/tables/request_csv.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <optional>
#include <system_error>

#include "core/common/text.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"
#include "core/i18n/text_decoding.h"
#include "core/tables/request_checks.h"
#include "core/tables/table_report_messages.h"

namespace sw48230 {
namespace {

constexpr std::string_view Byte_Order_Mark = "\xEF\xBB\xBF";

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

// Lines end with CRLF, LF or a lone CR, as the reader takes them.
int line_at(std::string_view text, std::size_t pos) {
  int line = 1;
  for (std::size_t i = 0; i < pos; ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++line;
  }
  return line;
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

// Header fields looked at by name. A header of more fields than this has
// too many columns whatever their names.
constexpr std::size_t Header_Fields_Named = 4 * Row_Attribute_Count;

// The attribute index of each column; failures for a header that cannot be
// used, each unknown or repeated name once.
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
  std::array<int, Row_Attribute_Count> seen{};
  const auto once = [&](std::string_view name, int message) {
    const CsvFailure failure{header.line, shown_name(name), message, ""};
    if (std::find(failures.begin(), failures.end(), failure) == failures.end()) failures.push_back(failure);
  };
  for (const std::string& name : header.fields) {
    const int index = attribute_index(name);
    if (index < 0) {
      once(trim_blanks(name), Msg_Csv_Unknown_Column);
    } else if (++seen[static_cast<std::size_t>(index)] > 1) {
      once(trim_blanks(name), Msg_Csv_Duplicate_Column);
    }
    columns.push_back(index);
  }
  if (header.field_count > header.fields.size()) failures.push_back({header.line, "", Msg_Csv_Too_Many_Columns, ""});
  if (seen[var_file::COB] == 0) failures.push_back({header.line, "", Msg_Csv_No_COB_Column, ""});
  return columns;
}

bool is_tick_attribute(std::size_t attribute) { return attribute == var_file::Enable || attribute == var_file::Swap; }

// A check box as the table reads it: Y, N (either case, blanks around) or
// nothing as they are; what spreadsheets write for a check box as Y or N.
std::optional<std::string> read_tick(std::string_view field) {
  const std::string_view value = trim_blanks(field);
  if (value.empty() || equals_ignoring_ascii_case(value, Tick_Yes) || equals_ignoring_ascii_case(value, Tick_No)) {
    return std::string(field);
  }
  for (const char* yes : {"TRUE", "1", "YES"}) {
    if (equals_ignoring_ascii_case(value, yes)) return Tick_Yes;
  }
  for (const char* no : {"FALSE", "0", "NO"}) {
    if (equals_ignoring_ascii_case(value, no)) return Tick_No;
  }
  return std::nullopt;
}

// A check box as Export writes it: what read_tick keeps as it is, else N,
// which is how the table reads any other text.
std::string exported_tick(const std::string& cell) {
  const std::optional<std::string> read = read_tick(cell);
  return read && *read == cell ? cell : Tick_No;
}

// The failures of the fields of one line that the table file could not hold
// or that are no check box, in column order.
void check_fields(const Record& record, const std::vector<int>& columns, RowAttributes& values,
                  std::vector<CsvFailure>& failures) {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const auto attribute = static_cast<std::size_t>(columns[i]);
    const std::string& field = record.fields[i];
    const std::string column = Row_Attribute_Names()[attribute];
    if (const auto fault = Check_Stored_Value(field, attribute)) {
      const bool too_long = fault->kind == ValueFault::Kind::Too_Long;
      failures.push_back({record.line, column, too_long ? Msg_Csv_Value_Too_Long : Msg_Csv_Character, fault->detail});
      continue;
    }
    if (!is_tick_attribute(attribute)) {
      values[attribute] = field;
    } else if (auto tick = read_tick(field)) {
      values[attribute] = std::move(*tick);
    } else {
      failures.push_back({record.line, column, Msg_Csv_Not_A_Tick, ""});
    }
  }
}

// A row check's failure as the import tells it: the storage checks in the
// CSV's words, the others with the table's own message.
CsvFailure line_failure(int line, const RowFailure& failure) {
  int message = failure.message;
  if (message == Msg_Row_Value_Too_Long) message = Msg_Csv_Value_Too_Long;
  if (message == Msg_Row_Character) message = Msg_Csv_Character;
  return {line, Column_Attribute_Names(failure.column), message, failure.detail};
}

// Fills `row` of `table` from a line's values. Without address columns the
// address stays empty, as in a fresh row, instead of three dots.
void place_row(const TableKind& kind, const RowAttributes& values, RequestTable& table, int row) {
  Set_Row_Attributes(kind, values, table, row);
  bool no_address = true;
  for (std::size_t i = var_file::IP_Add_B1; i <= var_file::IP_Add_B4; ++i) no_address = no_address && values[i].empty();
  if (no_address) table.cell(row, Col_IP).clear();
}

// Reads the lines after the header into table rows. Lines are numbered as
// a text editor numbers them; rows count the lines that take a place in
// the table, so blank lines at the end never count and, for a file, lines
// without a Cob-ID do not either (they fail, to be removed).
class LineImport {
 public:
  LineImport(const TableKind& kind, const TableContext& context, CsvImportFor into, std::vector<int> columns,
             CsvImport& result)
      : kind_(kind),
        context_(context),
        into_(into),
        columns_(std::move(columns)),
        fresh_(Row_Attributes(kind, result.table, 1)),  // no row placed yet
        result_(result) {}

  void add(const Record& record) {
    if (record.error == 0 && record.blank()) {
      // Blank lines at the end, as spreadsheets leave them, are no rows:
      // they count only once a line follows.
      blank_lines_.push_back({record.line, record.field_count == columns_.size()});
      return;
    }
    for (const BlankLine& blank : blank_lines_) add_blank(blank);
    blank_lines_.clear();

    if (record.error != 0) {
      take_place(record.line);
      fail({record.line, "", record.error, ""});
      return;
    }
    if (record.field_count != columns_.size()) {
      take_place(record.line);
      const bool more = record.field_count > columns_.size();
      fail({record.line, "", more ? Msg_Csv_Too_Many_Fields : Msg_Csv_Too_Few_Fields, ""});
      return;
    }
    RowAttributes values = fresh_;
    std::vector<CsvFailure> field_failures;
    check_fields(record, columns_, values, field_failures);
    const bool has_cob = !trim_blanks(values[var_file::COB]).empty();
    if (field_failures.empty() && !has_cob && into_ == CsvImportFor::File) {
      fail({record.line, Row_Attribute_Names()[var_file::COB], Msg_Csv_No_COB, ""});
      return;
    }
    const int row = take_place(record.line);
    if (!field_failures.empty()) {
      for (CsvFailure& failure : field_failures) fail(std::move(failure));
      return;
    }
    if (!has_cob) {
      if (row <= RequestTable::Data_Rows) {
        // Export writes the row's address bytes split anew: they must fit too.
        place_row(kind_, values, result_.table, row);
        if (const auto failure = Check_Storable(kind_, result_.table, row)) fail(line_failure(record.line, *failure));
      }
      return;
    }
    // Lines beyond the table's rows are checked all the same, on a row of
    // their own, so that every failing line is listed.
    if (row > RequestTable::Data_Rows && !beyond_) beyond_.emplace();
    RequestTable& table = row <= RequestTable::Data_Rows ? result_.table : *beyond_;
    const int at = row <= RequestTable::Data_Rows ? row : 1;
    place_row(kind_, values, table, at);
    if (const auto failure = Check_Row(kind_, table, context_, at)) fail(line_failure(record.line, *failure));
    ++result_.requests;
  }

  int rows() const { return std::min(rows_, RequestTable::Data_Rows); }

 private:
  struct BlankLine {
    int line;
    bool every_column;  // a line of empty fields, one per column
  };

  // A blank line before further lines: a row without a Cob-ID in a screen's
  // table, a line to remove from a file.
  void add_blank(const BlankLine& blank) {
    if (into_ == CsvImportFor::File) {
      fail({blank.line, "", Msg_Csv_No_COB, ""});
      return;
    }
    const int row = take_place(blank.line);
    if (row > RequestTable::Data_Rows) return;
    // Empty fields empty their columns, as Export writes an empty row; an
    // empty line is a fresh row.
    RowAttributes values = fresh_;
    if (blank.every_column) {
      for (const int column : columns_) values[static_cast<std::size_t>(column)].clear();
    }
    place_row(kind_, values, result_.table, row);
  }

  // The row a line takes; the first line beyond the table's rows fails.
  int take_place(int line) {
    ++rows_;
    if (rows_ == RequestTable::Data_Rows + 1) fail({line, "", Msg_Csv_Too_Many_Rows, ""});
    return rows_;
  }

  void fail(CsvFailure failure) { result_.failures.push_back(std::move(failure)); }

  const TableKind& kind_;
  const TableContext& context_;
  CsvImportFor into_;
  std::vector<int> columns_;
  RowAttributes fresh_;
  CsvImport& result_;
  std::optional<RequestTable> beyond_;
  std::vector<BlankLine> blank_lines_;
  int rows_ = 0;
};

}  // namespace

std::string Export_Csv(const TableKind& kind, const RequestTable& table) {
  int last = 0;
  for (int row = 1; row <= RequestTable::Data_Rows; ++row) {
    if (table.Row_In_Use(row)) last = row;
  }
  std::string out(Byte_Order_Mark);
  out.reserve(static_cast<std::size_t>(last + 1) * 96);
  RowAttributes header;
  for (std::size_t i = 0; i < header.size(); ++i) header[i] = Row_Attribute_Names()[i];
  append_line(out, header);
  for (int row = 1; row <= last; ++row) {
    RowAttributes fields = Row_Attributes(kind, table, row);
    fields[var_file::Enable] = exported_tick(fields[var_file::Enable]);
    fields[var_file::Swap] = exported_tick(fields[var_file::Swap]);
    append_line(out, fields);
  }
  return out;
}

CsvImport Import_Csv(const TableKind& kind, std::string_view bytes, const TableContext& context, CsvImportFor into) {
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
  std::vector<int> columns = read_header(reader.next(Header_Fields_Named), result.failures);
  if (!result.failures.empty()) return result;

  const std::size_t column_count = columns.size();
  LineImport lines(kind, context, into, std::move(columns), result);
  while (!reader.at_end()) lines.add(reader.next(column_count));
  if (!result.failures.empty()) {
    result.table.Reset();
    result.requests = 0;
    return result;
  }
  result.rows = lines.rows();
  return result;
}

CsvImport Import_Csv_File(const TableKind& kind, const std::filesystem::path& file, const TableContext& context,
                          CsvImportFor into) {
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
  return Import_Csv(kind, bytes, context, into);
}

std::string Failure_Message(const MessageTable& messages, const CsvFailure& failure) {
  std::string text = messages.text(failure.message) + failure.detail;
  if (!failure.column.empty()) text = messages.text(Msg_Csv_Column) + failure.column + text;
  return failure.line > 0 ? Row_Text(messages, Msg_Csv_Line, failure.line, text) : text;
}

}  // namespace sw48230
