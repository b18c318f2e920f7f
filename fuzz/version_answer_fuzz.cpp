// The version server's answer: any text gives a decision, never a newer version for a text
// that is no version, and the decision agrees with the integer forms of both versions.
#include "app/product.h"
#include "fuzz_support.h"
#include "options/version_check.h"

using namespace brenvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view answer = fuzz::as_text(data, size);
  const int number = conv_version(answer);
  // Four characters read as a number: a sign or digit, then three digits.
  fuzz::require(number >= -999 && number <= 9999, "a version number has four characters");
  const bool newer = answer_is_newer(answer, kVersion);
  // The decision reads the answer without the blanks and control characters around it.
  std::string_view trimmed = answer;
  while (!trimmed.empty() && static_cast<unsigned char>(trimmed.front()) <= ' ') trimmed.remove_prefix(1);
  while (!trimmed.empty() && static_cast<unsigned char>(trimmed.back()) <= ' ') trimmed.remove_suffix(1);
  if (newer) fuzz::require(conv_version(trimmed) > conv_version(kVersion), "newer means a greater number");
  fuzz::require(!answer_is_newer(trimmed, trimmed), "a version is not newer than itself");
  return 0;
}
