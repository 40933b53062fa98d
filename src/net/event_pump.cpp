#include "net/event_pump.h"

#include <atomic>

#include "net/plain_event_pump.h"

namespace net {

bool PlainEventPump::wait_until(const std::function<bool()>& done, Clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    for (;;) {
        const std::uint64_t seen = wakes_;
        lock.unlock();
        const bool finished = done();
        lock.lock();
        if (finished) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        woken_.wait_until(lock, deadline, [&] { return wakes_ != seen; });
    }
}

void PlainEventPump::wake() {
    {
        std::lock_guard lock(mutex_);
        ++wakes_;
    }
    woken_.notify_all();
}

namespace {

std::atomic<EventPump*> installed{nullptr};

EventPump& plain_pump() {
    static PlainEventPump pump;
    return pump;
}

std::atomic<PauseClock*> pause_clock{nullptr};

}  // namespace

EventPump& event_pump() {
    EventPump* pump = installed.load();
    return pump != nullptr ? *pump : plain_pump();
}

void set_event_pump(EventPump* pump) {
    installed.store(pump);
}

void set_pause_clock(PauseClock* clock) {
    pause_clock.store(clock);
}

void pause_responsive(int ms) {
    if (PauseClock* clock = pause_clock.load()) {
        clock->pause(ms);
        return;
    }
    EventPump& pump = event_pump();
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    pump.wait_until([] { return false; }, deadline);
}

}  // namespace net
