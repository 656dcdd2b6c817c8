#include "core/common/text.h"

namespace sw48230 {

std::string_view trim_blanks(std::string_view text) {
  const auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string to_upper_ascii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace sw48230
