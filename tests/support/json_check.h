#pragma once

// A strict reader of JSON text (RFC 8259) that only says whether the text is
// one valid JSON value in valid UTF-8, and where it first is not.

#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

namespace sw48230::test {

class JsonCheck {
 public:
  // Empty when `text` is valid; otherwise what is wrong and at which byte.
  static std::string error_in(std::string_view text) {
    JsonCheck check(text);
    check.blanks();
    if (check.value()) {
      check.blanks();
      if (check.at_ == text.size()) return {};
      check.fail("text after the value");
    }
    return check.error_ + " at byte " + std::to_string(check.at_);
  }

 private:
  explicit JsonCheck(std::string_view text) : text_(text) {}

  bool fail(const char* what) {
    if (error_.empty()) error_ = what;
    return false;
  }
  bool more() const { return at_ < text_.size(); }
  char peek() const { return more() ? text_[at_] : '\0'; }
  void blanks() {
    while (more() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) ++at_;
  }
  bool literal(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return fail("unknown literal");
    at_ += word.size();
    return true;
  }

  bool value() {
    switch (peek()) {
      case '{':
        return members('}', true);
      case '[':
        return members(']', false);
      case '"':
        return string();
      case 't':
        return literal("true");
      case 'f':
        return literal("false");
      case 'n':
        return literal("null");
      default:
        return number();
    }
  }

  bool members(char close, bool object) {
    ++at_;
    blanks();
    if (peek() == close) {
      ++at_;
      return true;
    }
    for (;;) {
      blanks();
      if (object) {
        if (peek() != '"' || !string()) return fail("object key is no string");
        blanks();
        if (peek() != ':') return fail("missing ':'");
        ++at_;
        blanks();
      }
      if (!value()) return false;
      blanks();
      if (peek() == ',') {
        ++at_;
        continue;
      }
      if (peek() == close) {
        ++at_;
        return true;
      }
      return fail("missing ',' or closing bracket");
    }
  }

  bool digits() {
    const std::size_t begin = at_;
    while (peek() >= '0' && peek() <= '9') ++at_;
    return at_ > begin || fail("digits expected");
  }

  bool number() {
    if (peek() == '-') ++at_;
    if (peek() == '0') {
      ++at_;
    } else if (!digits()) {
      return false;
    }
    if (peek() == '.') {
      ++at_;
      if (!digits()) return false;
    }
    if (peek() == 'e' || peek() == 'E') {
      ++at_;
      if (peek() == '+' || peek() == '-') ++at_;
      if (!digits()) return false;
    }
    return true;
  }

  bool string() {
    ++at_;
    while (more()) {
      const auto c = static_cast<unsigned char>(text_[at_]);
      if (c == '"') {
        ++at_;
        return true;
      }
      if (c < 0x20) return fail("control character in a string");
      if (c == '\\') {
        ++at_;
        const char e = peek();
        if (e == 'u') {
          for (int i = 1; i <= 4; ++i) {
            if (!std::isxdigit(static_cast<unsigned char>(at_ + i < text_.size() ? text_[at_ + i] : 'x'))) {
              return fail("bad \\u escape");
            }
          }
          at_ += 5;
        } else if (std::string_view("\"\\/bfnrt").find(e) != std::string_view::npos && e != '\0') {
          ++at_;
        } else {
          return fail("bad escape");
        }
        continue;
      }
      if (!utf8_character()) return false;
    }
    return fail("unterminated string");
  }

  // One UTF-8 encoded character: no overlong form, no surrogate, at most
  // U+10FFFF.
  bool utf8_character() {
    const auto lead = static_cast<unsigned char>(text_[at_]);
    if (lead < 0x80) {
      ++at_;
      return true;
    }
    int length = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07;
    } else {
      return fail("invalid UTF-8 lead byte");
    }
    for (int i = 1; i < length; ++i) {
      if (at_ + i >= text_.size()) return fail("truncated UTF-8");
      const auto next = static_cast<unsigned char>(text_[at_ + i]);
      if ((next & 0xC0) != 0x80) return fail("invalid UTF-8 continuation byte");
      code = (code << 6) | (next & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return fail("invalid UTF-8 sequence");
    }
    at_ += static_cast<std::size_t>(length);
    return true;
  }

  std::string_view text_;
  std::size_t at_ = 0;
  std::string error_;
};

}  // namespace sw48230::test
