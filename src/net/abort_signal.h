#pragma once
// Tells a running exchange on another thread to stop. abort() may come from
// any thread at any time; the exchange checks aborted() between rounds and in
// libcurl's progress callback, and is woken from its socket wait by the waker
// it registers while it runs.
#include <atomic>
#include <functional>
#include <mutex>

namespace net {

class AbortSignal {
  public:
    void abort() {
        aborted_.store(true);
        std::lock_guard lock(mutex_);
        if (waker_) {
            waker_();
        }
    }
    bool aborted() const { return aborted_.load(); }

    // The exchange registers how to interrupt its wait, and clears it before
    // the thing the waker touches goes away.
    void set_waker(std::function<void()> waker) {
        std::lock_guard lock(mutex_);
        waker_ = std::move(waker);
    }

  private:
    std::atomic<bool> aborted_{false};
    std::mutex mutex_;
    std::function<void()> waker_;
};

}  // namespace net
