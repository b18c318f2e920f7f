// The compile stamp: bank 1 carries the local date and time of the compile. The clock is passed
// in so that a compile can be reproduced; SOURCE_DATE_EPOCH, when set, fixes the instant (seconds
// since 1970-01-01 00:00 UTC), which is then shown in the local time zone.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

#include "project/result.h"

namespace brenvale {

struct LocalDateTime {
  int year = 1970;  // full year, e.g. 2025
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int hour = 0;     // 0..23
  int minute = 0;   // 0..59
  int second = 0;   // 0..59 (60 on a leap second)
};

using Clock = std::function<Result<LocalDateTime>()>;

// SOURCE_DATE_EPOCH when it is set and not empty, else the current time; both in the local time
// zone. A SOURCE_DATE_EPOCH that is not a number of seconds is an error, not silently "now".
Clock compile_clock();
// Always the same date and time (tests, reproducible runs).
Clock fixed_clock(LocalDateTime when);
// An instant in the local time zone.
Result<LocalDateTime> local_date_time(std::time_t instant);

// Bank 1 packing: date = day x 2048 + month x 128 + year mod 100; time = (second div 2) x 2048 +
// minute x 32 + hour.
std::uint16_t pack_compile_date(const LocalDateTime& when);
std::uint16_t pack_compile_time(const LocalDateTime& when);

}  // namespace brenvale
