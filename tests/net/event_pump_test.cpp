#include "net/event_pump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "net/plain_event_pump.h"
#include "plain/queue_event_pump.h"

namespace {

using namespace std::chrono_literals;

TEST(PlainEventPump, WakeFromAnotherThreadEndsTheWaitWhenDone) {
    net::PlainEventPump pump;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        done.store(true);
        pump.wake();
    });
    // The deadline is far away: only the wake can end this wait.
    EXPECT_TRUE(pump.wait_until([&] { return done.load(); }, net::Clock::now() + 1h));
    worker.join();
}

TEST(PlainEventPump, DeadlineEndsAWaitThatNeverCompletes) {
    net::PlainEventPump pump;
    const auto deadline = net::Clock::now() + 50ms;
    EXPECT_FALSE(pump.wait_until([] { return false; }, deadline));
    EXPECT_GE(net::Clock::now(), deadline);
}

TEST(PlainEventPump, WakesWithoutCompletionKeepWaiting) {
    net::PlainEventPump pump;
    std::atomic<int> checks{0};
    std::thread waker([&] {
        for (int i = 0; i < 3; ++i) {
            pump.wake();
        }
    });
    const bool done = pump.wait_until([&] { return ++checks > 100000; }, net::Clock::now() + 30ms);
    waker.join();
    EXPECT_FALSE(done);
    EXPECT_LT(checks.load(), 100);  // re-checked per wake, not spinning
}

TEST(EventPump, PlainPumpUntilOneIsInstalled) {
    test::QueueEventPump queue;
    EXPECT_NE(&net::event_pump(), &queue);
    {
        test::ScopedEventPump installed(queue);
        EXPECT_EQ(&net::event_pump(), &queue);
    }
    EXPECT_NE(&net::event_pump(), &queue);
    EXPECT_NE(dynamic_cast<net::PlainEventPump*>(&net::event_pump()), nullptr);
}

TEST(PauseResponsive, DispatchesEventsWhilePausing) {
    test::QueueEventPump queue;
    test::ScopedEventPump installed(queue);
    bool ran = false;
    queue.post([&] { ran = true; });
    const auto start = net::Clock::now();
    net::pause_responsive(30);
    EXPECT_TRUE(ran);
    EXPECT_EQ(queue.waits(), 1);
    EXPECT_GE(net::Clock::now() - start, 30ms);
}

}  // namespace
