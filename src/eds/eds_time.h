// The creation and modification stamps of the data sheet: the local date and time, taken once
// per file. For reproducible output a build server sets SOURCE_DATE_EPOCH; the stamp is then the
// local time of that instant instead of the current one.
#pragma once

#include <ctime>
#include <string>

#include "project/result.h"

namespace brenvale {

struct LocalTime {
  int year = 2000;   // four digits
  int month = 1;     // 1...12
  int day = 1;       // 1...31
  int hour = 0;      // 0...23
  int minute = 0;    // 0...59
};

// The last year that the date line can hold.
inline constexpr int kLastYear = 9999;

// The local time of an instant; an error when it has none or its year is past kLastYear.
Result<LocalTime> local_time_of(std::time_t instant);

// The local time of SOURCE_DATE_EPOCH when it is set and not empty (as for the compile stamp),
// else of now. A SOURCE_DATE_EPOCH that is not a whole number of seconds since 1970 is an error
// rather than a silently different stamp.
Result<LocalTime> local_time_now();

// "MM-DD-YYYY", for example "03-07-2024" for 7 March 2024.
std::string eds_date_text(const LocalTime& time);

// Two-digit hour and minute with an AM/PM suffix, in the data sheet's own twelve-hour reading:
// 09:05 -> "09:05AM", 14:30 -> "02:30PM", 12:00 -> "12:00AM", 12:45 -> "00:45PM",
// 00:10 -> "00:10AM".
std::string eds_time_text(const LocalTime& time);

}  // namespace brenvale
