#include "plain/fake_pause_clock.h"

#include <memory>

namespace test {

void FakePauseClock::pause(int ms) {
    pauses_.push_back(ms);
    now_ += std::chrono::milliseconds(ms);
    if (!hook_ || in_hook_)
        return;
    in_hook_ = true;
    const auto hook = hook_;  // the hook may replace itself
    hook(ms);
    in_hook_ = false;
}

void FakePauseClock::once_when(std::function<bool()> when, std::function<void()> action) {
    auto done = std::make_shared<bool>(false);  // shared: pause() calls a copy of the hook
    on_pause([when = std::move(when), action = std::move(action), done](int) {
        if (!*done && when()) {
            *done = true;
            action();
        }
    });
}

}  // namespace test
