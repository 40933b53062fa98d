#pragma once
// How a wait on the window's thread keeps the window alive: the program's
// waits go through this interface, the window layer implements it with its
// event loop, and tests use PlainEventPump. Waits are event-driven: wake()
// (callable from any thread) ends a wait early so its condition is re-checked.
#include <chrono>
#include <functional>

namespace net {

using Clock = std::chrono::steady_clock;

class EventPump {
  public:
    virtual ~EventPump() = default;
    // Handle whatever events are pending, without blocking.
    virtual void dispatch_pending() = 0;
    // Dispatch events until done() holds or the deadline passes. Returns done().
    virtual bool wait_until(const std::function<bool()>& done, Clock::time_point deadline) = 0;
    // Thread-safe nudge that makes a running wait_until re-check its condition.
    virtual void wake() = 0;
    // True once the program is shutting down: a wait in progress gives up
    // instead of waiting for its page. The window layer overrides this.
    virtual bool closing() const { return false; }
};

// The pump the program's waits use. Until the window layer installs its own,
// a PlainEventPump (no window events, a condition-variable wait) is in place.
EventPump& event_pump();
void set_event_pump(EventPump* pump);  // nullptr restores the plain pump

// A wait of `ms` milliseconds during which events are dispatched.
void pause_responsive(int ms);

// What the program's fixed pauses run on. The default waits on the event
// pump; tests install one that advances a fake clock at once, so a query's
// pauses cost them no time.
class PauseClock {
  public:
    virtual ~PauseClock() = default;
    virtual void pause(int ms) = 0;
};
void set_pause_clock(PauseClock* clock);  // nullptr restores the real one

}  // namespace net
