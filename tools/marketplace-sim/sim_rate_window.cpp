#include "sim_rate_window.h"

namespace sim {

RateWindow::RateWindow(int per_second) : limit_(per_second) {}

bool RateWindow::admit(Clock::time_point now) {
    if (limit_ <= 0) {
        return true;
    }
    // A request that arrived a full second ago has left the window.
    while (!admitted_.empty() && now - admitted_.front() >= std::chrono::seconds(1)) {
        admitted_.pop_front();
    }
    if (static_cast<int>(admitted_.size()) >= limit_) {
        return false;
    }
    admitted_.push_back(now);
    return true;
}

}  // namespace sim
