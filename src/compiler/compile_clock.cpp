#include "compiler/compile_clock.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace brenvale {

Result<LocalDateTime> local_date_time(std::time_t instant) {
  std::tm parts{};
  if (::localtime_r(&instant, &parts) == nullptr) {
    return Error{"The time " + std::to_string(static_cast<long long>(instant)) + " cannot be shown as a local date"};
  }
  LocalDateTime when;
  when.year = parts.tm_year + 1900;
  when.month = parts.tm_mon + 1;
  when.day = parts.tm_mday;
  when.hour = parts.tm_hour;
  when.minute = parts.tm_min;
  when.second = parts.tm_sec;
  return when;
}

Clock compile_clock() {
  return []() -> Result<LocalDateTime> {
    const char* fixed = std::getenv("SOURCE_DATE_EPOCH");
    if (fixed == nullptr || *fixed == '\0') return local_date_time(std::time(nullptr));
    const std::string_view text(fixed);
    long long seconds = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (ec != std::errc() || end != text.data() + text.size() || seconds < 0 ||
        seconds > std::numeric_limits<std::time_t>::max()) {
      return Error{"SOURCE_DATE_EPOCH \"" + std::string(text) + "\" is not a number of seconds since 1970"};
    }
    return local_date_time(static_cast<std::time_t>(seconds));
  };
}

Clock fixed_clock(LocalDateTime when) {
  return [when]() -> Result<LocalDateTime> { return when; };
}

std::uint16_t pack_compile_date(const LocalDateTime& when) {
  const unsigned value = static_cast<unsigned>(when.day) * 2048u + static_cast<unsigned>(when.month) * 128u +
                         static_cast<unsigned>(when.year % 100);
  return static_cast<std::uint16_t>(value);
}

std::uint16_t pack_compile_time(const LocalDateTime& when) {
  const unsigned value = static_cast<unsigned>(when.second / 2) * 2048u + static_cast<unsigned>(when.minute) * 32u +
                         static_cast<unsigned>(when.hour);
  return static_cast<std::uint16_t>(value);
}

}  // namespace brenvale
