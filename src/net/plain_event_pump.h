#pragma once
// The event pump of a program without windows: there are no events to
// dispatch, and a wait sleeps on a condition variable until wake() or the
// deadline, so it costs no CPU while idle.
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "net/event_pump.h"

namespace net {

class PlainEventPump : public EventPump {
  public:
    void dispatch_pending() override {}
    bool wait_until(const std::function<bool()>& done, Clock::time_point deadline) override;
    void wake() override;

  private:
    std::mutex mutex_;
    std::condition_variable woken_;
    std::uint64_t wakes_ = 0;  // counts wake() calls so none is lost between check and sleep
};

}  // namespace net
