#pragma once
// An event pump for tests that runs a probe at the start of each wait, so a
// test can look at the window (or act as the user) while a fetch is pending.
// Between probes it dispatches Qt events like the window's own pump.
#include <condition_variable>
#include <functional>
#include <mutex>

#include "net/event_pump.h"

namespace catalogue_test {

class ProbePump : public net::EventPump {
  public:
    // The probe gets the 1-based number of the wait it runs in.
    explicit ProbePump(std::function<void(int wait)> probe);
    ~ProbePump() override;  // restores the previous pump
    ProbePump(const ProbePump&) = delete;
    ProbePump& operator=(const ProbePump&) = delete;

    void dispatch_pending() override;
    bool wait_until(const std::function<bool()>& done, net::Clock::time_point deadline) override;
    void wake() override;

    int waits() const { return waits_; }

  private:
    std::function<void(int)> probe_;
    net::EventPump* previous_;
    int waits_ = 0;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool nudged_ = false;
};

}  // namespace catalogue_test
