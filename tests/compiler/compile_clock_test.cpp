#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "compiler/compile_clock.h"

namespace brenvale {
namespace {

TEST(CompileStamp, PacksDateAndTime) {
  struct Case {
    LocalDateTime when;
    std::uint16_t date, time;
  };
  const Case cases[] = {
      {{2025, 2, 28, 9, 41, 37}, 0xE119, 0x9529},
      {{2000, 1, 1, 0, 0, 0}, 0x0880, 0x0000},
      {{2099, 12, 31, 23, 59, 59}, 0xFE63, 0xEF77},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pack_compile_date(c.when), c.date) << c.when.year;
    EXPECT_EQ(pack_compile_time(c.when), c.time) << c.when.year;
  }
}

class SourceDateEpoch : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
  }
  void TearDown() override {
    ::unsetenv("SOURCE_DATE_EPOCH");
    ::unsetenv("TZ");
    ::tzset();
  }
};

TEST_F(SourceDateEpoch, FixesTheInstantInTheLocalTimeZone) {
  ::setenv("SOURCE_DATE_EPOCH", "1740735697", 1);  // 2025-02-28 09:41:37 UTC
  Result<LocalDateTime> utc = compile_clock()();
  ASSERT_TRUE(utc.ok()) << utc.error().message;
  EXPECT_EQ(pack_compile_date(*utc), 0xE119);
  EXPECT_EQ(pack_compile_time(*utc), 0x9529);

  ::setenv("TZ", "CET-1", 1);  // one hour east of UTC
  ::tzset();
  Result<LocalDateTime> cet = compile_clock()();
  ASSERT_TRUE(cet.ok());
  EXPECT_EQ(cet->hour, 10);
  EXPECT_EQ(cet->minute, 41);
}

TEST_F(SourceDateEpoch, RefusesAValueThatIsNotSeconds) {
  for (const char* bad : {"12abc", "-5", "1.5", " 12", "99999999999999999999"}) {
    ::setenv("SOURCE_DATE_EPOCH", bad, 1);
    Result<LocalDateTime> when = compile_clock()();
    ASSERT_FALSE(when.ok()) << bad;
    EXPECT_NE(when.error().message.find("SOURCE_DATE_EPOCH"), std::string::npos);
  }
}

TEST_F(SourceDateEpoch, UnsetOrEmptyMeansNow) {
  for (const char* value : {static_cast<const char*>(nullptr), ""}) {
    if (value) ::setenv("SOURCE_DATE_EPOCH", value, 1);
    const std::time_t before = std::time(nullptr);
    Result<LocalDateTime> when = compile_clock()();
    ASSERT_TRUE(when.ok());
    std::tm parts{};
    ::gmtime_r(&before, &parts);
    EXPECT_EQ(when->year, parts.tm_year + 1900);
  }
}

}  // namespace
}  // namespace brenvale
