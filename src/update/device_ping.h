// Before the Ethernet update starts, the converter must answer ICMP echo requests at the address
// the user typed. One procedure sends echo after echo for at most five seconds and stops early
// after two answers; its result is the outcome of the last attempt.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "project/result.h"

namespace brenvale {

// What one attempt learnt so far.
enum class EchoState {
  kWaiting,  // no reply yet
  kReply,    // a reply with data arrived
  kEmpty,    // a reply without data arrived
};

// One echo at a time to one host. The real one speaks ICMP; tests stand in a scripted one.
class Pinger {
 public:
  virtual ~Pinger() = default;
  // Takes the address text as the target; an error when it names no usable host.
  virtual Status set_host(const std::string& address) = 0;
  // Sends one echo request: sequence number 0 and the data "abcdefghijklmnopqrstuvwa".
  virtual Status send_echo() = 0;
  // Looks, without waiting, whether the reply to the last request has arrived.
  virtual Result<EchoState> poll_reply() = 0;
};

// The procedure's sense of time: a millisecond clock and a short pause. Tests stand in a clock
// that advances only when asked.
class PingClock {
 public:
  virtual ~PingClock() = default;
  virtual std::int64_t now_ms() = 0;
  virtual void pause_ms(int ms) = 0;
};

class SteadyPingClock : public PingClock {
 public:
  std::int64_t now_ms() override;
  void pause_ms(int ms) override;
};

// `ping_res`: 0 while no attempt has ended, 1 when the last attempt got a reply with data,
// 2 when it got none (time-out) or one without data.
enum class PingResult : int { kNone = 0, kReply = 1, kNoReply = 2 };

struct PingOutcome {
  bool found = false;                       // true exactly when the last attempt got a reply
  PingResult ping_res = PingResult::kNone;  // kNone after an address that cannot be used
};

inline constexpr int kEchoWaitMs = 400;
inline constexpr int kPingTotalMs = 5000;
inline constexpr int kPingPauseMs = 10;

// Runs the procedure. `process_messages` runs in every 10 ms pause so that the window stays
// responsive; it may be empty. Any error (an address that cannot be resolved, a socket that
// cannot send) ends the procedure with `found` false.
PingOutcome ping_device(Pinger& pinger, const std::string& address, PingClock& clock,
                        const std::function<void()>& process_messages = {});

}  // namespace brenvale
