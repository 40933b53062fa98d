#pragma once
// Whether the thing a wait started for is still there afterwards. Events are
// dispatched during every wait, and closing the window is one of them: code
// that waited takes a watch before the wait and asks it afterwards, before it
// touches anything or asks for another page.
#include <memory>

#include "net/event_pump.h"

namespace net {

class LifetimeWatch {
  public:
    explicit LifetimeWatch(std::weak_ptr<const int> token) : token_(std::move(token)) {}
    // False once the owner is gone or the program is ending.
    bool alive() const { return !token_.expired() && !event_pump().closing(); }

  private:
    std::weak_ptr<const int> token_;
};

// Held by an owner (a window's view) for as long as it lives.
class Lifetime {
  public:
    LifetimeWatch watch() const { return LifetimeWatch(token_); }

  private:
    std::shared_ptr<const int> token_ = std::make_shared<const int>(0);
};

}  // namespace net
