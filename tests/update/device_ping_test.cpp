#include <gtest/gtest.h>

#include <deque>

#include "update/device_ping.h"
#include "update/icmp_pinger.h"

namespace brenvale {
namespace {

// A clock that moves only when the procedure pauses or an attempt is answered.
class FakeClock : public PingClock {
 public:
  std::int64_t now_ms() override { return now; }
  void pause_ms(int ms) override { now += ms; }
  std::int64_t now = 1000;
};

// Each attempt follows a script letter: 'r' answers at once, 'l' answers after 50 ms,
// 'e' answers without data, '-' never answers, 'x' fails to send.
class ScriptedPinger : public Pinger {
 public:
  ScriptedPinger(FakeClock& clock, std::string script, bool resolvable = true)
      : clock_(clock), script_(std::move(script)), resolvable_(resolvable) {}

  Status set_host(const std::string& address) override {
    host = address;
    if (!resolvable_) return Error{"cannot resolve " + address};
    return ok_status();
  }
  Status send_echo() override {
    const char step = sends < script_.size() ? script_[sends] : '-';
    ++sends;
    if (step == 'x') return Error{"send failed"};
    current_ = step;
    sent_at_ = clock_.now;
    return ok_status();
  }
  Result<EchoState> poll_reply() override {
    switch (current_) {
      case 'r': return EchoState::kReply;
      case 'l': return clock_.now - sent_at_ >= 50 ? EchoState::kReply : EchoState::kWaiting;
      case 'e': return EchoState::kEmpty;
      default: return EchoState::kWaiting;
    }
  }

  std::string host;
  std::size_t sends = 0;

 private:
  FakeClock& clock_;
  std::string script_;
  bool resolvable_;
  char current_ = '-';
  std::int64_t sent_at_ = 0;
};

TEST(DevicePing, ScriptedDevices) {
  struct Case {
    const char* script;
    bool found;
    PingResult ping_res;
    std::size_t sends;  // 0: do not check
  };
  const Case cases[] = {
      {"rrrr", true, PingResult::kReply, 2},          // two answers end the procedure early
      {"llrr", true, PingResult::kReply, 2},          // late answers within 400 ms still count
      {"r---", false, PingResult::kNoReply, 0},       // answers once, then silence for 5 s
      {"-r-r-", true, PingResult::kReply, 4},         // successes need not be consecutive
      {"-----", false, PingResult::kNoReply, 0},
      {"eeee", false, PingResult::kNoReply, 0},       // replies without data are no answer
      {"rx", false, PingResult::kReply, 2},           // an error ends the procedure with false
      {"x", false, PingResult::kNone, 1},
  };
  for (const Case& c : cases) {
    FakeClock clock;
    ScriptedPinger pinger(clock, c.script);
    const PingOutcome outcome = ping_device(pinger, "127.0.0.1", clock);
    EXPECT_EQ(outcome.found, c.found) << c.script;
    EXPECT_EQ(outcome.ping_res, c.ping_res) << c.script;
    if (c.sends) {
      EXPECT_EQ(pinger.sends, c.sends) << c.script;
    }
    EXPECT_EQ(pinger.host, "127.0.0.1");
  }
}

TEST(DevicePing, SilentDeviceIsTriedForFiveSecondsWithPausesThatProcessMessages) {
  FakeClock clock;
  ScriptedPinger pinger(clock, "");
  int processed = 0;
  const PingOutcome outcome = ping_device(pinger, "127.0.0.1", clock, [&] { ++processed; });
  EXPECT_FALSE(outcome.found);
  EXPECT_EQ(outcome.ping_res, PingResult::kNoReply);
  // Each silent attempt waits a little over 400 ms in 10 ms pauses; the last one starts before
  // 5000 ms have passed.
  EXPECT_GT(clock.now - 1000, kPingTotalMs);
  EXPECT_LE(clock.now - 1000, kPingTotalMs + kEchoWaitMs + 2 * kPingPauseMs);
  EXPECT_EQ(pinger.sends, 13u);
  EXPECT_EQ(processed, static_cast<int>(pinger.sends) * 41);
}

TEST(DevicePing, AnAddressThatCannotBeResolvedGivesFalseWithoutSending) {
  FakeClock clock;
  ScriptedPinger pinger(clock, "rr", false);
  const PingOutcome outcome = ping_device(pinger, "192.168.2.x", clock);
  EXPECT_FALSE(outcome.found);
  EXPECT_EQ(outcome.ping_res, PingResult::kNone);
  EXPECT_EQ(pinger.sends, 0u);
}

TEST(IcmpEcho, RequestCarriesSequenceZeroAndTheFixedData) {
  const std::string packet = echo_request(0x1234);
  ASSERT_EQ(packet.size(), 32u);
  EXPECT_EQ(packet.substr(0, 2), std::string("\x08\x00", 2));
  EXPECT_EQ(packet.substr(4, 4), std::string("\x12\x34\x00\x00", 4));
  EXPECT_EQ(packet.substr(8), "abcdefghijklmnopqrstuvwa");
  EXPECT_EQ(internet_checksum(packet.data(), packet.size()), 0);  // a correct checksum sums to zero
  EXPECT_EQ(internet_checksum("\x00\x01\xf2\x03\xf4\xf5\xf6\xf7", 8), 0x220d);
  EXPECT_EQ(internet_checksum("\x01", 1), 0xfeff);
}

TEST(IcmpEcho, OnlyNumericAddressesAreTaken) {
  for (const char* address : {"192.168.2.x", "a.b.c.d", "999.1.1.1", "", "localhost"}) {
    IcmpPinger pinger;
    EXPECT_FALSE(pinger.set_host(address)) << address;
  }
}

TEST(IcmpEcho, LoopbackAnswers) {
  IcmpPinger pinger;
  const Status host = pinger.set_host("127.0.0.1");
  if (!host) GTEST_SKIP() << "no ICMP socket in this sandbox: " << host.error().message;
  SteadyPingClock clock;
  const PingOutcome outcome = ping_device(pinger, "127.0.0.1", clock);
  EXPECT_TRUE(outcome.found) << (pinger.uses_raw_socket() ? "raw socket" : "datagram socket");
  EXPECT_EQ(outcome.ping_res, PingResult::kReply);
}

}  // namespace
}  // namespace brenvale
