#include "text/int_text.h"

namespace brenvale {

namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> parse_int(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;

  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }

  std::string_view rest = text.substr(pos);
  bool hex = false;
  if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
    hex = true;
    rest.remove_prefix(1);
  } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    hex = true;
    rest.remove_prefix(2);
  }
  if (rest.empty()) return std::nullopt;

  if (hex) {
    if (rest.size() > 8) return std::nullopt;
    std::uint32_t pattern = 0;
    for (char c : rest) {
      const int d = hex_digit(c);
      if (d < 0) return std::nullopt;
      pattern = (pattern << 4) | static_cast<std::uint32_t>(d);
    }
    // The digits are a 32-bit pattern; a sign negates it in two's complement.
    if (negative) pattern = 0u - pattern;
    return static_cast<std::int32_t>(pattern);
  }

  std::int64_t value = 0;
  for (char c : rest) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL || value < -2147483648LL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t parse_int_or(std::string_view text, std::int32_t fallback) {
  return parse_int(text).value_or(fallback);
}

}  // namespace brenvale
