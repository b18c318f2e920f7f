#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "text/int_text.h"

namespace brenvale {
namespace {

struct Case {
  const char* text;
  std::optional<std::int32_t> expected;
};

TEST(IntText, AcceptsTheStoredFormsAndNothingElse) {
  const Case cases[] = {
      {"0", 0},
      {"2047", 2047},
      {"0x7FF", 2047},
      {"0X7ff", 2047},
      {"$7FF", 2047},
      {"x7ff", 2047},
      {"X7FF", 2047},
      {" 12", 12},
      {"   +12", 12},
      {"-1", -1},
      {"-$10", -16},
      {"01", 1},
      {"$FFFFFFFF", -1},
      {"0xFFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"12 ", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"-", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"$123456789", std::nullopt},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"abc", std::nullopt},
      {"1a", std::nullopt},
      {"0x1G", std::nullopt},
      {"+-1", std::nullopt},
      {"- 1", std::nullopt},
      {"1.5", std::nullopt},
      {"0b101", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parse_int(c.text), c.expected) << "text: \"" << c.text << "\"";
  }
}

TEST(IntText, LenientFormGivesTheCallersDefault) {
  EXPECT_EQ(parse_int_or("abc", -1), -1);
  EXPECT_EQ(parse_int_or("", 1000), 1000);
  EXPECT_EQ(parse_int_or("0x10", -1), 16);
}

}  // namespace
}  // namespace brenvale
