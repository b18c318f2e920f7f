#include "options/update_timer.h"

namespace brenvale {

std::optional<UpdateCheckTimer::Millis> UpdateCheckTimer::due_at() const {
  if (!enabled_) return std::nullopt;
  return started_ + interval_;
}

void UpdateCheckTimer::set_enabled(bool on, Millis now) {
  if (on == enabled_) return;
  enabled_ = on;
  if (on) started_ = now;
}

bool UpdateCheckTimer::fire(Millis now, const std::function<bool()>& check) {
  enabled_ = false;
  const bool newer = check();
  interval_ = kLaterInterval;
  set_enabled(true, now);
  return newer;
}

std::optional<bool> UpdateCheckTimer::advance_to(Millis now, const std::function<bool()>& check) {
  std::optional<bool> last;
  while (enabled_ && *due_at() <= now) last = fire(*due_at(), check);
  return last;
}

}  // namespace brenvale
