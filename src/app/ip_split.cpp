#include "app/ip_split.h"

#include "text/int_text.h"

namespace brenvale {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20) s.remove_suffix(1);
  return s;
}

}  // namespace

IpParts split_ip_address(std::string_view text) {
  IpParts result;
  std::string_view rest = trim(text);
  // Parts 1 to 3 end at a dot; part 4 is everything after the third dot.
  for (int i = 0; i < 3; ++i) {
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos) return result;
    result.parts[static_cast<std::size_t>(i)] = std::string(trim(rest.substr(0, dot)));
    rest = trim(rest.substr(dot + 1));
  }
  result.parts[3] = std::string(rest);

  result.valid = true;
  for (const std::string& part : result.parts) {
    const std::int32_t value = parse_int_or(part, 1000);
    if (value < 0 || value > 255) result.valid = false;
  }
  return result;
}

}  // namespace brenvale
