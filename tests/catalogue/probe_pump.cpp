#include "probe_pump.h"

#include <QCoreApplication>

namespace catalogue_test {

ProbePump::ProbePump(std::function<void(int)> probe)
    : probe_(std::move(probe)), previous_(&net::event_pump()) {
    net::set_event_pump(this);
}

ProbePump::~ProbePump() {
    net::set_event_pump(previous_);
}

void ProbePump::dispatch_pending() {
    QCoreApplication::processEvents();
}

bool ProbePump::wait_until(const std::function<bool()>& done, net::Clock::time_point deadline) {
    probe_(++waits_);
    for (;;) {
        dispatch_pending();
        if (done())
            return true;
        if (net::Clock::now() >= deadline)
            return false;
        // Qt events are checked again at least every few milliseconds; a
        // finished worker wakes the wait at once.
        std::unique_lock lock(mutex_);
        woken_.wait_until(lock,
                          std::min(deadline, net::Clock::now() + std::chrono::milliseconds(5)),
                          [this] { return nudged_; });
        nudged_ = false;
    }
}

void ProbePump::wake() {
    {
        std::lock_guard lock(mutex_);
        nudged_ = true;
    }
    woken_.notify_all();
}

}  // namespace catalogue_test
