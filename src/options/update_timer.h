// The schedule of the automatic version check. The timer is armed with one minute when it is
// first switched on; every check re-arms it with two hours. Switching it off and on again keeps
// the interval it had, so after a check has run the next one comes two hours after the switch.
// Time is passed in by the caller, so the schedule is the same under a real clock and in tests.
#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace brenvale {

class UpdateCheckTimer {
 public:
  using Millis = std::chrono::milliseconds;
  static constexpr Millis kFirstInterval{60'000};
  static constexpr Millis kLaterInterval{7'200'000};

  bool enabled() const { return enabled_; }
  Millis interval() const { return interval_; }
  // When the next check is due; nothing while the timer is off.
  std::optional<Millis> due_at() const;

  // Switching on from off starts a full interval at `now`; switching on while on changes
  // nothing; switching off keeps the interval.
  void set_enabled(bool on, Millis now);

  // The timer event: disarms, runs `check`, re-arms with two hours from `now`. Returns what the
  // check returned (true: a newer version exists).
  bool fire(Millis now, const std::function<bool()>& check);

  // Runs every check that is due up to `now`, in order; returns the result of the last one,
  // or nothing when none was due.
  std::optional<bool> advance_to(Millis now, const std::function<bool()>& check);

 private:
  bool enabled_ = false;
  Millis interval_ = kFirstInterval;
  Millis started_{0};
};

}  // namespace brenvale
