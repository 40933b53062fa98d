#pragma once
// QueueEventPump: an event pump for tests that stands in for the window's
// event loop. Any thread may post() an event (a function); dispatch_pending()
// runs the queued events on the waiting thread, and wait_until() does so every
// time it wakes, like the window's loop does. It counts what happened, so a
// test can check that events were dispatched during a wait.
//
// ScopedEventPump installs a pump as the program's pump for one scope.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "net/event_pump.h"

namespace test {

class QueueEventPump : public net::EventPump {
  public:
    void post(std::function<void()> event);

    void dispatch_pending() override;
    bool wait_until(const std::function<bool()>& done, net::Clock::time_point deadline) override;
    void wake() override;
    bool closing() const override { return closing_.load(); }

    void set_closing(bool closing) { closing_.store(closing); }
    int dispatch_calls() const { return dispatch_calls_.load(); }
    int events_run() const { return events_run_.load(); }
    int waits() const { return waits_.load(); }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queue_;
    unsigned long long wakes_ = 0;
    std::atomic<bool> closing_{false};
    std::atomic<int> dispatch_calls_{0};
    std::atomic<int> events_run_{0};
    std::atomic<int> waits_{0};
};

class ScopedEventPump {
  public:
    explicit ScopedEventPump(net::EventPump& pump) { net::set_event_pump(&pump); }
    ~ScopedEventPump() { net::set_event_pump(nullptr); }
    ScopedEventPump(const ScopedEventPump&) = delete;
    ScopedEventPump& operator=(const ScopedEventPump&) = delete;
};

}  // namespace test
