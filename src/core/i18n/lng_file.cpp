#include "core/i18n/lng_file.h"


#include "core/common/file_read.h"
#include "core/common/number_text.h"
#include "core/i18n/text_decoding.h"

namespace sw48230 {
namespace {

constexpr char32_t Pilcrow = U'\u00B6';

// Blanks, tabs and every other control character count as padding, so a
// file edited with any editor lines up the same way.
std::u32string_view trim(std::u32string_view text) {
  while (!text.empty() && text.front() <= U' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= U' ') text.remove_suffix(1);
  return text;
}

std::u32string_view cut_before(std::u32string_view text, std::u32string_view marker) {
  const auto at = text.find(marker);
  return at == std::u32string_view::npos ? text : text.substr(0, at);
}

struct LineResult {
  bool is_entry = false;
  int index = 0;
  std::string text_or_reason;
};

// `line` is already trimmed and begins with "STR".
LineResult parse_str_line(std::u32string_view line, int message_count) {
  const auto fail = [](std::string reason) { return LineResult{false, 0, std::move(reason)}; };

  const auto equals = line.find(U'=');
  if (equals == std::u32string_view::npos) return fail("no \"=\"");

  // The field ends one character before "=": that character is the blank of
  // the well-formed 'STR12 = Text' and is dropped whatever it is, so
  // 'STR12=Text' addresses entry 1. Existing files depend on this.
  const std::size_t field_begin = 3;
  const std::size_t field_end = equals >= field_begin + 1 ? equals - 1 : field_begin;
  const std::u32string_view field = trim(line.substr(field_begin, field_end - field_begin));
  if (field.empty()) return fail("index field is empty");

  const std::string field_utf8 = encode_utf8(field);
  const auto index = parse_int32(field_utf8);
  if (!index) return fail("index field \"" + field_utf8 + "\" is not a number");
  if (*index < 0 || *index >= message_count) {
    if (message_count <= 0) return fail("index " + std::to_string(*index) + " is out of range: the table is empty");
    return fail("index " + std::to_string(*index) + " is out of range 0.." + std::to_string(message_count - 1));
  }

  std::u32string_view text = trim(line.substr(equals + 1));
  if (text.empty()) return fail("text is empty");

  text = trim(cut_before(text, U"/#/"));
  if (text.empty()) return fail("text is only a comment");

  // A pilcrow at either end protects blanks that trimming would remove.
  if (text.front() == Pilcrow) text.remove_prefix(1);
  text = cut_before(text, std::u32string_view(&Pilcrow, 1));

  return LineResult{true, *index, encode_utf8(text)};
}

}  // namespace

LngContent parse_lng(std::string_view bytes, int message_count) {
  const std::u32string content = decode_text_file(bytes);
  const std::u32string_view all(content);

  LngContent result;
  int line_number = 0;
  std::size_t begin = 0;
  while (begin < all.size()) {
    ++line_number;
    std::size_t end = begin;
    while (end < all.size() && all[end] != U'\r' && all[end] != U'\n') ++end;
    const std::u32string_view line = trim(all.substr(begin, end - begin));

    begin = end;
    if (begin < all.size()) {
      const bool crlf = all[begin] == U'\r' && begin + 1 < all.size() && all[begin + 1] == U'\n';
      begin += crlf ? 2 : 1;
    }

    if (!line.starts_with(U"STR")) continue;
    LineResult parsed = parse_str_line(line, message_count);
    if (parsed.is_entry) {
      result.entries.push_back(LngEntry{line_number, parsed.index, std::move(parsed.text_or_reason)});
    } else {
      result.ignored.push_back(LngIgnoredLine{line_number, std::move(parsed.text_or_reason)});
    }
  }
  return result;
}

Result<std::string> read_lng_bytes(const std::filesystem::path& file) {
  return read_regular_file(file, Language_File_Limit);
}

}  // namespace sw48230
