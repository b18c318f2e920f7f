// The one integer text conversion: any text either converts or is refused, the lenient form
// agrees with the strict one, and the value written back in decimal and in hexadecimal
// converts to the same value.
#include <cstdio>
#include <string>

#include "fuzz_support.h"
#include "text/int_text.h"

using namespace brenvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::as_text(data, size);
  const std::optional<std::int32_t> value = parse_int(text);
  fuzz::require(parse_int_or(text, 7) == value.value_or(7), "lenient and strict forms agree");
  if (!value) return 0;

  fuzz::require(parse_int(std::to_string(*value)) == value, "decimal text converts back", text);
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(*value));
  fuzz::require(parse_int(hex) == value, "hexadecimal pattern converts back", text);
  std::snprintf(hex, sizeof hex, "$%x", static_cast<unsigned>(*value));
  fuzz::require(parse_int(hex) == value, "dollar pattern converts back", text);
  // Trailing blanks are refused wherever they stand.
  fuzz::require(!parse_int(std::string(text) + " "), "trailing blank refused", text);
  return 0;
}
