// Builds Motorola S-records for test masters: correct counts and checksums, upper case.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace brenvale::testing {

// An S1, S2 or S9 record (by `type`), without line end.
inline std::string srec(char type, std::uint32_t address, const std::vector<std::uint8_t>& data = {}) {
  const int address_bytes = type == '2' ? 3 : 2;
  const unsigned count = static_cast<unsigned>(address_bytes + data.size() + 1);
  unsigned sum = count;
  char buf[8];
  std::string line = std::string("S") + type;
  std::snprintf(buf, sizeof buf, "%02X", count);
  line += buf;
  for (int i = address_bytes - 1; i >= 0; --i) {
    const unsigned b = (address >> (8 * i)) & 0xFF;
    sum += b;
    std::snprintf(buf, sizeof buf, "%02X", b);
    line += buf;
  }
  for (std::uint8_t b : data) {
    sum += b;
    std::snprintf(buf, sizeof buf, "%02X", b);
    line += buf;
  }
  std::snprintf(buf, sizeof buf, "%02X", ~sum & 0xFF);
  return line + buf;
}

// n bytes of a pattern that differs with the seed.
inline std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t seed) {
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(seed + i * 7);
  return v;
}

// S2 records of `size` bytes covering [first, end), each line ending with CR LF.
inline std::string s2_records(std::uint32_t first, std::uint32_t end, std::size_t size, std::uint8_t seed) {
  std::string text;
  for (std::uint32_t a = first; a < end; a += static_cast<std::uint32_t>(size)) {
    text += srec('2', a, pattern(size, static_cast<std::uint8_t>(seed + a))) + "\r\n";
  }
  return text;
}

}  // namespace brenvale::testing
