#include <gtest/gtest.h>

#include "app/ip_split.h"

namespace brenvale {
namespace {

TEST(IpSplit, Cases) {
  struct Case {
    const char* text;
    bool valid;
    std::array<const char*, 4> parts;
  };
  const Case cases[] = {
      {"192.168.2.205", true, {"192", "168", "2", "205"}},
      {"  10 . 0 . 0 . 1  ", true, {"10", "0", "0", "1"}},
      {"0.0.0.0", true, {"0", "0", "0", "0"}},
      {"192.168.2", false, {}},
      {"192.168.2.256", false, {}},
      {"1.2.3.4.5", false, {}},
      {"a.b.c.d", false, {}},
      {"...", false, {}},
      {"", false, {}},
      {"-1.2.3.4", false, {}},
  };
  for (const Case& c : cases) {
    const IpParts result = split_ip_address(c.text);
    EXPECT_EQ(result.valid, c.valid) << c.text;
    if (c.valid) {
      for (int i = 0; i < 4; ++i) EXPECT_EQ(result.parts[static_cast<std::size_t>(i)], c.parts[static_cast<std::size_t>(i)]) << c.text;
    }
  }
  EXPECT_EQ(split_ip_address("1.2.3.4.5").parts[3], "4.5");
}

}  // namespace
}  // namespace brenvale
