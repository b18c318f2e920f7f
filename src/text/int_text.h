// Integer texts: every number the user types is stored as typed and converted by each reader
// with this one conversion. Accepted: optional leading blanks, an optional sign, then decimal
// digits, or up to eight hexadecimal digits after "$", "x", "X", "0x" or "0X" (a 32-bit
// pattern, so "$FFFFFFFF" is -1). Trailing blanks, the empty text, any other character and
// decimal values outside the signed 32-bit range are not integers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace brenvale {

// Strict form: nothing when the text is not an integer text.
std::optional<std::int32_t> parse_int(std::string_view text);

// Lenient form: the caller's default when the text is not an integer text.
std::int32_t parse_int_or(std::string_view text, std::int32_t fallback);

}  // namespace brenvale
