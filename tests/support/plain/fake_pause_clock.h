#pragma once
// FakePauseClock: while it lives, the program's fixed pauses
// (net::pause_responsive) cost no time. Each pause is recorded and advances a
// fake time at once; a test may act at every pause through a hook, as a user
// would act while the program waits (click, change a choice, close the window).
//
//   test::FakePauseClock clock;
//   ... run a query ...
//   clock.pauses();   // {20, 200, 200, ...} in milliseconds
//
// Pauses are expected on one thread, the one the query runs on.
#include <chrono>
#include <functional>
#include <vector>

#include "net/event_pump.h"

namespace test {

class FakePauseClock final : public net::PauseClock {
  public:
    FakePauseClock() { net::set_pause_clock(this); }
    ~FakePauseClock() override { net::set_pause_clock(nullptr); }
    FakePauseClock(const FakePauseClock&) = delete;
    FakePauseClock& operator=(const FakePauseClock&) = delete;

    void pause(int ms) override;

    // Called after each pause has been recorded and the time advanced, with the
    // pause's length. The hook may itself cause pauses; those are recorded too
    // but do not call the hook again.
    void on_pause(std::function<void(int ms)> hook) { hook_ = std::move(hook); }
    // Runs `action` once, at the first pause at which `when` holds (replaces on_pause).
    void once_when(std::function<bool()> when, std::function<void()> action);

    const std::vector<int>& pauses() const { return pauses_; }
    std::chrono::milliseconds now() const { return now_; }
    void clear() { pauses_.clear(); }

  private:
    std::vector<int> pauses_;
    std::chrono::milliseconds now_{0};
    std::function<void(int)> hook_;
    bool in_hook_ = false;
};

}  // namespace test
