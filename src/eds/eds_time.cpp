#include "eds/eds_time.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace brenvale {

Result<LocalTime> local_time_of(std::time_t instant) {
  std::tm parts{};
  // The date line holds a four-digit year; an instant beyond that has no stamp to write.
  if (::localtime_r(&instant, &parts) == nullptr || parts.tm_year > kLastYear - 1900) {
    return Error{"The time " + std::to_string(static_cast<long long>(instant)) +
                 " cannot be written as a local date with a four-digit year"};
  }
  return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min};
}

Result<LocalTime> local_time_now() {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  if (epoch == nullptr || *epoch == '\0') return local_time_of(std::time(nullptr));
  const std::string_view text(epoch);
  long long seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error != std::errc() || end != text.data() + text.size() || seconds < 0 ||
      seconds > std::numeric_limits<std::time_t>::max()) {
    return Error{"SOURCE_DATE_EPOCH \"" + std::string(text) + "\" is not a number of seconds since 1970-01-01"};
  }
  return local_time_of(static_cast<std::time_t>(seconds));
}

std::string eds_date_text(const LocalTime& time) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d-%02d-%04d", time.month, time.day, time.year);
  return buffer;
}

std::string eds_time_text(const LocalTime& time) {
  int hour = time.hour;
  const char* suffix = "AM";
  if (hour > 12) {
    hour -= 12;
    suffix = "PM";
  } else if (hour == 12 && time.minute > 0) {
    // The stamp is read back as "hour, plus twelve for PM": 12:45 is 00:45PM and noon 12:00AM.
    hour = 0;
    suffix = "PM";
  }
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d%s", hour, time.minute, suffix);
  return buffer;
}

}  // namespace brenvale
