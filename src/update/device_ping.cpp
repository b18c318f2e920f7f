#include "update/device_ping.h"

#include <thread>

namespace brenvale {

std::int64_t SteadyPingClock::now_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SteadyPingClock::pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

PingOutcome ping_device(Pinger& pinger, const std::string& address, PingClock& clock,
                        const std::function<void()>& process_messages) {
  PingOutcome outcome;
  const std::int64_t start = clock.now_ms();
  if (!pinger.set_host(address)) return outcome;

  int successes = 0;
  do {
    const std::int64_t attempt = clock.now_ms();
    if (!pinger.send_echo()) return outcome;
    // The result is set once per attempt, by the reply or by the time-out; it is not cleared
    // between attempts, so the last attempt decides.
    for (;;) {
      const Result<EchoState> state = pinger.poll_reply();
      if (!state) return outcome;
      if (*state == EchoState::kReply) {
        outcome.ping_res = PingResult::kReply;
        break;
      }
      if (*state == EchoState::kEmpty || clock.now_ms() - attempt > kEchoWaitMs) {
        outcome.ping_res = PingResult::kNoReply;
        break;
      }
      clock.pause_ms(kPingPauseMs);
      if (process_messages) process_messages();
    }
    if (outcome.ping_res == PingResult::kReply && ++successes >= 2) break;
  } while (clock.now_ms() - start <= kPingTotalMs);

  outcome.found = outcome.ping_res == PingResult::kReply;
  return outcome;
}

}  // namespace brenvale
