#include "probe_pump.h"

namespace catalogue_test {

ProbePump::ProbePump(std::function<void(int)> probe) : probe_(std::move(probe)) {
    net::set_event_pump(this);
}

ProbePump::~ProbePump() {
    net::set_event_pump(nullptr);
}

bool ProbePump::wait_until(const std::function<bool()>& done, net::Clock::time_point deadline) {
    probe_(++waits_);
    return inner_.wait_until(done, deadline);
}

}  // namespace catalogue_test
