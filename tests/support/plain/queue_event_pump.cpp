#include "plain/queue_event_pump.h"

namespace test {

void QueueEventPump::post(std::function<void()> event) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(event));
        ++wakes_;
    }
    changed_.notify_all();
}

void QueueEventPump::dispatch_pending() {
    ++dispatch_calls_;
    for (;;) {
        std::function<void()> event;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                return;
            }
            event = std::move(queue_.front());
            queue_.pop_front();
        }
        ++events_run_;
        event();  // may wait itself: events nest like the window's handlers do
    }
}

bool QueueEventPump::wait_until(const std::function<bool()>& done,
                                net::Clock::time_point deadline) {
    ++waits_;
    for (;;) {
        unsigned long long seen = 0;
        {
            std::lock_guard lock(mutex_);
            seen = wakes_;
        }
        dispatch_pending();
        if (done()) {
            return true;
        }
        if (net::Clock::now() >= deadline || closing()) {
            return false;
        }
        std::unique_lock lock(mutex_);
        changed_.wait_until(lock, deadline, [&] { return wakes_ != seen; });
    }
}

void QueueEventPump::wake() {
    {
        std::lock_guard lock(mutex_);
        ++wakes_;
    }
    changed_.notify_all();
}

}  // namespace test
