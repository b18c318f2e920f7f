#include "text/language_file.h"

#include "text/catalogue.h"
#include "text/int_text.h"

namespace brenvale {

namespace {

constexpr std::string_view kPilcrow = "\xC2\xB6";  // the "¶" mark in UTF-8
constexpr std::string_view kCommentMark = "/#/";

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string decode_utf16(std::string_view bytes, bool big_endian) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](std::size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return big_endian ? static_cast<char32_t>((a << 8) | b) : static_cast<char32_t>((b << 8) | a);
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        append_utf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) u = 0xFFFD;
    append_utf8(out, u);
  }
  return out;
}

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; unassigned bytes keep their C1 value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string decode_cp1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else if (b < 0xA0) {
      append_utf8(out, kCp1252High[b - 0x80]);
    } else {
      append_utf8(out, b);
    }
  }
  return out;
}

// Blanks and control characters, as the line rules trim them.
std::string_view trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string decode_language_file(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return decode_utf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return decode_utf16(bytes.substr(2), true);
  return decode_cp1252(bytes);
}

std::optional<LanguageLine> parse_language_line(std::string_view raw) {
  const std::string_view line = trim(raw);
  if (!line.starts_with("STR")) return std::nullopt;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;

  // The character just before "=" never belongs to the index.
  if (eq < 5) return std::nullopt;
  const std::optional<std::int32_t> index = parse_int(trim(line.substr(3, eq - 4)));
  if (!index || *index < 0 || *index >= kCatalogueSize) return std::nullopt;

  std::string_view text = trim(line.substr(eq + 1));
  if (text.empty()) return std::nullopt;
  if (const std::size_t comment = text.find(kCommentMark); comment != std::string_view::npos) {
    text = trim(text.substr(0, comment));
    if (text.empty()) return std::nullopt;
  }
  if (text.starts_with(kPilcrow)) text.remove_prefix(kPilcrow.size());
  if (const std::size_t mark = text.find(kPilcrow); mark != std::string_view::npos) text = text.substr(0, mark);
  return LanguageLine{*index, std::string(text)};
}

}  // namespace brenvale
