#pragma once
// The rate limit as a sliding window: it remembers when each admitted request
// arrived and admits a new one only while fewer than the limit arrived in the
// second before it, so no one-second span ever holds more than the limit.
// (A token bucket refilled at the same rate would let up to twice the limit
// through in a second that straddles a full bucket.)
#include <chrono>
#include <deque>

namespace sim {

class RateWindow {
  public:
    using Clock = std::chrono::steady_clock;

    // 0 or less: no limit.
    explicit RateWindow(int per_second = 0);

    int limit() const { return limit_; }

    // Whether a request arriving at `now` is answered; an admitted request
    // takes a place in the window, a refused one does not (a client that
    // keeps knocking is served once the window has room again). `now` never
    // goes back between calls.
    bool admit(Clock::time_point now);

  private:
    int limit_;
    std::deque<Clock::time_point> admitted_;  // oldest first, within the last second
};

}  // namespace sim
