// Language files: decoding (byte-order mark for UTF-8, UTF-16LE, UTF-16BE; Windows-1252
// without one) and the rules of one "STR<n> = text" line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brenvale {

// The file's bytes as UTF-8.
std::string decode_language_file(std::string_view bytes);

struct LanguageLine {
  int index;
  std::string text;
};

// One line (without its line end) of a language file: the entry it sets, or nothing when the
// line is ignored.
std::optional<LanguageLine> parse_language_line(std::string_view line);

}  // namespace brenvale
