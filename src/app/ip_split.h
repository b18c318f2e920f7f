// Splits a dotted IPv4 address text into its four parts, as the update window fills its four
// address edits from the last IP address.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace brenvale {

struct IpParts {
  std::array<std::string, 4> parts;
  // True when all four parts are integers 0..255; use the parts only then.
  bool valid = false;
};

IpParts split_ip_address(std::string_view text);

}  // namespace brenvale
