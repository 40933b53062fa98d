#include "app/qt_event_pump.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <thread>

namespace app {

// Ends the process with exit code 0 unless stood down within the grace time.
struct QtEventPump::Watchdog {
    std::mutex mutex;
    std::condition_variable stood_down_changed;
    bool stood_down = false;
    std::thread thread;

    explicit Watchdog(std::chrono::milliseconds grace) {
        thread = std::thread([this, grace] {
            std::unique_lock lock(mutex);
            if (!stood_down_changed.wait_for(lock, grace, [this] { return stood_down; })) {
                std::_Exit(0);
            }
        });
    }
    ~Watchdog() {
        {
            std::lock_guard lock(mutex);
            stood_down = true;
        }
        stood_down_changed.notify_all();
        thread.join();
    }
};

QtEventPump::QtEventPump(std::chrono::milliseconds shutdown_grace)
    : waker_(std::make_unique<QObject>()), shutdown_grace_(shutdown_grace) {}

QtEventPump::~QtEventPump() {
    {
        std::lock_guard lock(waker_mutex_);
        waker_.reset();
    }
    watchdog_.reset();
}

void QtEventPump::dispatch_pending() {
    if (shutting_down())
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

namespace {

// Milliseconds from now to the deadline, rounded up, within QTimer's range.
int timer_interval(net::Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - net::Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, INT_MAX));
}

}  // namespace

bool QtEventPump::wait_until(const std::function<bool()>& done, net::Clock::time_point deadline) {
    if (done())
        return true;
    ++active_waits_;
    QTimer deadline_timer;
    deadline_timer.setSingleShot(true);
    deadline_timer.setTimerType(Qt::PreciseTimer);
    while (!shutting_down() && net::Clock::now() < deadline) {
        // The timer's own event is what ends the blocking call at the deadline.
        if (!deadline_timer.isActive())
            deadline_timer.start(timer_interval(deadline));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ++dispatch_rounds_;
        if (done())
            break;
    }
    --active_waits_;
    return done();
}

void QtEventPump::wake() {
    std::lock_guard lock(waker_mutex_);
    // Any event ends the blocking call of a running wait, which then re-checks.
    if (waker_)
        QCoreApplication::postEvent(waker_.get(), new QEvent(QEvent::User));
}

void QtEventPump::begin_shutdown() {
    if (shutting_down_.exchange(true))
        return;
    watchdog_ = std::make_unique<Watchdog>(shutdown_grace_);
    wake();
}

void QtEventPump::finish_shutdown() {
    watchdog_.reset();
}

}  // namespace app
