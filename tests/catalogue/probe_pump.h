#pragma once
// An event pump for tests that runs a probe at the start of each wait, so a
// test can look at the view (or act as the user) while a fetch is pending.
// The wait itself is the plain pump's. Installed for its lifetime.
#include <functional>

#include "net/event_pump.h"
#include "net/plain_event_pump.h"

namespace catalogue_test {

class ProbePump : public net::EventPump {
  public:
    // The probe gets the 1-based number of the wait it runs in.
    explicit ProbePump(std::function<void(int wait)> probe);
    ~ProbePump() override;  // restores the program's default pump
    ProbePump(const ProbePump&) = delete;
    ProbePump& operator=(const ProbePump&) = delete;

    void dispatch_pending() override { inner_.dispatch_pending(); }
    bool wait_until(const std::function<bool()>& done, net::Clock::time_point deadline) override;
    void wake() override { inner_.wake(); }

    int waits() const { return waits_; }

  private:
    std::function<void(int)> probe_;
    net::PlainEventPump inner_;
    int waits_ = 0;
};

}  // namespace catalogue_test
