#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "options/update_timer.h"

namespace brenvale {
namespace {

using std::chrono::hours;
using std::chrono::milliseconds;
using std::chrono::minutes;
using Millis = UpdateCheckTimer::Millis;

// Counts the checks and records when they ran.
struct Recorder {
  std::vector<Millis> at;
  Millis now{0};
  bool answer = false;
  std::function<bool()> check() {
    return [this] {
      at.push_back(now);
      return answer;
    };
  }
};

std::optional<bool> advance(UpdateCheckTimer& timer, Recorder& rec, Millis to) {
  std::optional<bool> result;
  // Walks through the due times so that each check sees the time it ran at.
  while (timer.enabled() && *timer.due_at() <= to) {
    rec.now = *timer.due_at();
    result = timer.advance_to(rec.now, rec.check());
  }
  rec.now = to;
  return result;
}

TEST(UpdateCheckTimer, OffUntilSwitchedOn) {
  UpdateCheckTimer timer;
  Recorder rec;
  EXPECT_FALSE(timer.enabled());
  EXPECT_FALSE(timer.due_at().has_value());
  EXPECT_FALSE(advance(timer, rec, hours(10)).has_value());
  EXPECT_TRUE(rec.at.empty());
}

TEST(UpdateCheckTimer, FirstAfterOneMinuteThenEveryTwoHours) {
  UpdateCheckTimer timer;
  Recorder rec;
  timer.set_enabled(true, Millis(0));
  EXPECT_EQ(timer.interval(), minutes(1));
  advance(timer, rec, minutes(1) - milliseconds(1));
  EXPECT_TRUE(rec.at.empty());
  advance(timer, rec, minutes(1) + hours(4));
  EXPECT_EQ(rec.at, (std::vector<Millis>{minutes(1), minutes(1) + hours(2), minutes(1) + hours(4)}));
  EXPECT_EQ(timer.interval(), hours(2));
  EXPECT_TRUE(timer.enabled());
}

TEST(UpdateCheckTimer, SwitchingOffStopsChecksAndKeepsTheInterval) {
  UpdateCheckTimer timer;
  Recorder rec;
  timer.set_enabled(true, Millis(0));
  advance(timer, rec, minutes(5));
  ASSERT_EQ(rec.at.size(), 1u);

  timer.set_enabled(false, minutes(5));
  advance(timer, rec, hours(20));
  EXPECT_EQ(rec.at.size(), 1u);
  EXPECT_EQ(timer.interval(), hours(2));

  // On again after a check: two hours from the switch, not one minute.
  timer.set_enabled(true, hours(20));
  advance(timer, rec, hours(21));
  EXPECT_EQ(rec.at.size(), 1u);
  advance(timer, rec, hours(22));
  EXPECT_EQ(rec.at.back(), hours(22));
}

TEST(UpdateCheckTimer, SwitchingOnBeforeTheFirstCheckStillWaitsOneMinute) {
  UpdateCheckTimer timer;
  Recorder rec;
  timer.set_enabled(true, Millis(0));
  timer.set_enabled(false, milliseconds(30'000));
  timer.set_enabled(true, minutes(10));
  EXPECT_EQ(timer.due_at(), minutes(11));
}

TEST(UpdateCheckTimer, SwitchingOnWhileOnDoesNotRestartTheCountdown) {
  UpdateCheckTimer timer;
  timer.set_enabled(true, Millis(0));
  timer.set_enabled(true, milliseconds(50'000));
  EXPECT_EQ(timer.due_at(), minutes(1));
}

TEST(UpdateCheckTimer, FireReturnsTheCheckAndReArmsWithTwoHours) {
  UpdateCheckTimer timer;
  timer.set_enabled(true, Millis(0));
  bool ran_while_disarmed = false;
  EXPECT_TRUE(timer.fire(minutes(1), [&] {
    ran_while_disarmed = !timer.enabled();
    return true;
  }));
  EXPECT_TRUE(ran_while_disarmed);
  EXPECT_EQ(timer.due_at(), minutes(1) + hours(2));
}

}  // namespace
}  // namespace brenvale
