// The Qt event pump: waits that keep the window alive, end on their
// condition, their deadline or a shutdown, and cost no CPU while idle.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/qt_event_pump.h"
#include "qt/test_window.h"

namespace {

using namespace std::chrono_literals;
using net::Clock;

// Long enough never to cut a test short on a loaded machine.
constexpr auto kFar = 60s;

TEST(QtEventPump, WakeFromAWorkerEndsTheWait) {
    app::QtEventPump pump(kFar);
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        std::this_thread::sleep_for(20ms);
        finished = true;
        pump.wake();
    });
    const auto deadline = Clock::now() + kFar;
    EXPECT_TRUE(pump.wait_until([&] { return finished.load(); }, deadline));
    EXPECT_LT(Clock::now(), deadline);
    worker.join();
}

TEST(QtEventPump, DispatchesWindowEventsWhileWaiting) {
    app::QtEventPump pump(kFar);
    bool timer_ran = false;
    QTimer::singleShot(10, [&] { timer_ran = true; });
    EXPECT_TRUE(pump.wait_until([&] { return timer_ran; }, Clock::now() + kFar));
}

TEST(QtEventPump, GivesUpAtTheDeadline) {
    app::QtEventPump pump(kFar);
    const auto deadline = Clock::now() + 30ms;
    EXPECT_FALSE(pump.wait_until([] { return false; }, deadline));
    EXPECT_GE(Clock::now(), deadline);
}

TEST(QtEventPump, OuterWaitSeesItsConditionAfterAnInnerWaitEnds) {
    // A handler runs inside the outer wait and waits itself; the outer
    // condition comes true meanwhile and is noticed once the inner returns.
    app::QtEventPump pump(kFar);
    bool outer_done = false;
    bool inner_done = false;
    int depth_seen = 0;
    QTimer::singleShot(0, [&] {
        depth_seen = pump.active_waits();
        QTimer::singleShot(5, [&] { outer_done = true; });
        QTimer::singleShot(20, [&] { inner_done = true; });
        pump.wait_until([&] { return inner_done; }, Clock::now() + kFar);
    });
    const auto deadline = Clock::now() + kFar;
    EXPECT_TRUE(pump.wait_until([&] { return outer_done; }, deadline));
    EXPECT_TRUE(inner_done);
    EXPECT_EQ(depth_seen, 1);
    EXPECT_LT(Clock::now(), deadline);
}

TEST(QtEventPump, ShutdownEndsRunningWaitsAndLaterOnes) {
    app::QtEventPump pump(kFar);
    bool inner_returned = false;
    QTimer::singleShot(0, [&] {
        // Nested wait, ended by the shutdown like the outer one.
        QTimer::singleShot(5, [&] { pump.begin_shutdown(); });
        pump.wait_until([] { return false; }, Clock::now() + kFar);
        inner_returned = true;
    });
    const auto deadline = Clock::now() + kFar;
    EXPECT_FALSE(pump.wait_until([] { return false; }, deadline));
    EXPECT_TRUE(inner_returned);
    EXPECT_TRUE(pump.shutting_down());
    EXPECT_TRUE(pump.closing());
    EXPECT_LT(Clock::now(), deadline);

    // Later waits do not block and nothing is dispatched any more.
    bool dispatched = false;
    QTimer::singleShot(0, [&] { dispatched = true; });
    EXPECT_FALSE(pump.wait_until([] { return false; }, Clock::now() + kFar));
    pump.dispatch_pending();
    EXPECT_FALSE(dispatched);
    pump.finish_shutdown();
    QApplication::processEvents();  // let the queued timer go before the next test
    EXPECT_TRUE(dispatched);
}

TEST(QtEventPump, IdleWaitBlocksInsteadOfSpinning) {
    // A busy loop would go round thousands of times in 100 ms; a blocking wait
    // wakes only for its deadline timer (and the odd stray event).
    app::QtEventPump pump(kFar);
    QApplication::processEvents();
    const auto before = pump.dispatch_rounds();
    pump.wait_until([] { return false; }, Clock::now() + 100ms);
    EXPECT_LT(pump.dispatch_rounds() - before, 20u);
    EXPECT_GE(pump.dispatch_rounds() - before, 1u);
}

}  // namespace

namespace {

TEST(QtEventPumpWindow, ClosingTheWindowDuringAWaitEndsTheWait) {
    // The program's wiring: the window's close starts the pump's shutdown.
    app::QtEventPump pump(kFar);
    app::WindowOptions options = qt_test::test_window_options();
    options.on_close = [&pump] { pump.begin_shutdown(); };
    qt_test::TestWindow w(std::move(options));
    w.window.show();
    QTimer::singleShot(5, &w.window, [&] { w.window.close(); });
    const auto deadline = Clock::now() + kFar;
    EXPECT_FALSE(pump.wait_until([] { return false; }, deadline));
    EXPECT_TRUE(pump.shutting_down());
    EXPECT_FALSE(w.window.isVisible());
    EXPECT_LT(Clock::now(), deadline);
    pump.finish_shutdown();
}

}  // namespace
