#pragma once
// The program's waits with Qt: while a fetch, a pause or a download is waited
// for, window events keep being handled, so the window stays alive.
//
// A wait blocks in QCoreApplication::processEvents(WaitForMoreEvents) and
// re-checks its condition after every batch of events. Three things end a
// batch: any window event, the wait's deadline timer, and wake(), which posts
// an event from any thread. No busy loop; no CPU while idle. Nested waits
// (a handler that runs inside another handler's wait and waits itself) need
// nothing special: the outer wait re-checks as soon as the inner handler
// returns to it.
//
// Closing the window while waits are active: begin_shutdown() (called by the
// window's close) makes every running wait return at once and every later wait
// return without blocking, and dispatch_pending() stop dispatching. Handlers
// then unwind quickly with empty results, control returns to the top event
// loop (which the close has told to quit), and the program ends normally with
// exit code 0; the top level calls finish_shutdown() there. A handler that
// keeps looping without ever getting back (a poll that waits for a worker that
// is still busy) cannot hold the process: if finish_shutdown() does not come
// within kShutdownGrace, a watchdog thread ends the process with exit code 0.
#include <QObject>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>

#include "net/event_pump.h"

namespace app {

class QtEventPump final : public net::EventPump {
  public:
    static constexpr std::chrono::milliseconds kShutdownGrace{400};

    // Create on the GUI thread, after the QApplication. Tests that shut the
    // pump down choose a grace long enough never to end the test program.
    explicit QtEventPump(std::chrono::milliseconds shutdown_grace = kShutdownGrace);
    ~QtEventPump() override;
    QtEventPump(const QtEventPump&) = delete;
    QtEventPump& operator=(const QtEventPump&) = delete;

    void dispatch_pending() override;
    bool wait_until(const std::function<bool()>& done, net::Clock::time_point deadline) override;
    void wake() override;
    bool closing() const override { return shutting_down(); }

    void begin_shutdown();
    bool shutting_down() const { return shutting_down_.load(); }
    // The top level has regained control: the watchdog stands down.
    void finish_shutdown();

    // Number of waits running now (nested ones count each).
    int active_waits() const { return active_waits_; }
    // Blocking event-dispatch rounds done by waits so far.
    std::uint64_t dispatch_rounds() const { return dispatch_rounds_; }

  private:
    struct Watchdog;

    std::mutex waker_mutex_;          // wake() may race with destruction of the waker
    std::unique_ptr<QObject> waker_;  // receives the events posted by wake()
    std::atomic<bool> shutting_down_{false};
    const std::chrono::milliseconds shutdown_grace_;
    std::unique_ptr<Watchdog> watchdog_;
    int active_waits_ = 0;
    std::uint64_t dispatch_rounds_ = 0;
};

}  // namespace app
