#include "board/board_run.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "net/fetch_worker.h"
#include "net/live_workers.h"

namespace board {

namespace {

using Clock = std::chrono::steady_clock;

// The scheduler and the deadlines agree on when to look again; this floor
// only keeps a disagreement from turning the wait into a spin.
constexpr auto kShortestWait = std::chrono::milliseconds(1);

net::PageResult fetch(const std::string& url, net::AbortSignal& abort) {
    net::FetchRequest request;
    request.url = url;
    try {
        return net::page_result_of(net::fetch_worker(request, &abort));
    } catch (...) {
        // Out of memory inside the exchange: the page did not arrive.
        return net::PageResult{{}, 0, net::PageFailure::connect, -1};
    }
}

}  // namespace

BoardRun::BoardRun(CheckPlan plan, const net::Hosts& hosts, const BoardSettings& settings,
                   ReportHandler on_report, std::uint64_t seed)
    : scheduler_(std::move(plan), hosts, settings, seed),
      settings_(settings),
      on_report_(std::move(on_report)),
      worker_count_(std::max<std::size_t>(
          1, static_cast<std::size_t>(settings.max_in_flight) * scheduler_.host_count())) {}

BoardRun::~BoardRun() {
    stop();
    {
        Lock lock(mutex_);
        workers_quit_ = true;
    }
    worker_wake_.notify_all();
    if (control_.joinable())
        control_.join();
    for (std::thread& worker : workers_)
        worker.join();
}

void BoardRun::set_start_pace(const LearnedPaces& start_pace) {
    Lock lock(mutex_);
    if (!started_)
        scheduler_.set_start_pace(start_pace);
}

RunStatus BoardRun::status() const {
    Lock lock(mutex_);
    RunStatus status;
    status.reported = scheduler_.reported();
    status.pages_answered = scheduler_.answered();
    status.total = scheduler_.total();
    status.pace_by_host = scheduler_.pace_by_host();
    status.learned = scheduler_.learned_paces();
    for (const auto& [host, pace] : status.pace_by_host) {
        if (status.pages_per_second == 0 || pace < status.pages_per_second)
            status.pages_per_second = pace;
    }
    status.retrying = scheduler_.retrying();
    status.paused_s = scheduler_.paused_s();
    status.end = done_ ? end_ : RunEnd::running;
    const TimePoint now = Clock::now();
    const TimePoint paused_until = scheduler_.paused_until();
    if (!done_ && paused_until > now)
        status.paused_until =
            std::chrono::system_clock::now() +
            std::chrono::duration_cast<std::chrono::system_clock::duration>(paused_until - now);
    return status;
}

bool BoardRun::start() {
    Lock lock(mutex_);
    if (started_)
        return true;
    started_ = true;
    net::prepare_workers();
    try {
        for (std::size_t i = 0; i < worker_count_; ++i)
            workers_.emplace_back([this] { worker_loop(); });
        control_ = std::thread([this] { control_loop(); });
        return true;
    } catch (const std::system_error&) {
        scheduler_.stop();
        finish_locked();
        return false;
    }
}

void BoardRun::stop() {
    Lock lock(mutex_);
    stop_requested_ = true;
    abort_all();
    control_wake_.notify_all();
    if (!started_ && !done_) {
        scheduler_.stop();
        finish_locked();
    }
    // A report being handed out when stop() came finishes first, unless the
    // handler itself called stop().
    if (std::this_thread::get_id() != control_.get_id())
        state_changed_.wait(lock, [this] { return !delivering_; });
}

RunEnd BoardRun::wait_until_done() {
    Lock lock(mutex_);
    state_changed_.wait(lock, [this] { return done_; });
    return end_;
}

bool BoardRun::done() const {
    Lock lock(mutex_);
    return done_;
}

void BoardRun::control_loop() {
    Lock lock(mutex_);
    for (;;) {
        if (stop_requested_) {
            scheduler_.stop();
            break;
        }
        const TimePoint now = Clock::now();
        take_results(now);
        abort_overdue(now);
        hand_out_orders(now);
        deliver(lock, scheduler_.take_reports());
        if (scheduler_.done() || stop_requested_)
            break;
        wait_for_work(lock, now);
    }
    if (stop_requested_)
        scheduler_.stop();
    finish_locked();
}

void BoardRun::take_results(TimePoint now) {
    for (Result& result : std::exchange(results_, {})) {
        const auto it = transfers_.find(result.ticket);
        if (it == transfers_.end())
            continue;
        if (it->second.timed_out)
            result.page = net::PageResult{{}, 0, net::PageFailure::timeout, -1};
        transfers_.erase(it);
        scheduler_.fetch_done(result.ticket, result.page, now);
    }
}

void BoardRun::abort_overdue(TimePoint now) {
    for (auto& [ticket, transfer] : transfers_) {
        if (!transfer.timed_out && transfer.deadline <= now) {
            transfer.timed_out = true;
            transfer.abort->abort();
        }
    }
}

void BoardRun::hand_out_orders(TimePoint now) {
    const auto timeout = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(settings_.request_timeout_s));
    bool handed = false;
    while (auto order = scheduler_.next_fetch(now)) {
        auto abort = std::make_shared<net::AbortSignal>();
        transfers_[order->ticket] = Transfer{abort, now + timeout, false};
        jobs_.push_back(Job{order->ticket, std::move(order->url), std::move(abort)});
        handed = true;
    }
    if (handed)
        worker_wake_.notify_all();
}

void BoardRun::deliver(Lock& lock, std::vector<CheckReport> reports) {
    for (CheckReport& report : reports) {
        if (stop_requested_)
            return;
        report.finished_at = std::chrono::system_clock::now();
        delivering_ = true;
        lock.unlock();
        try {
            on_report_(report);
        } catch (...) {
            // The handler's trouble is its own; the run goes on.
        }
        lock.lock();
        delivering_ = false;
        state_changed_.notify_all();
    }
}

void BoardRun::wait_for_work(Lock& lock, TimePoint now) {
    std::optional<TimePoint> wake = scheduler_.next_wake();
    for (const auto& [ticket, transfer] : transfers_) {
        if (!transfer.timed_out && (!wake || transfer.deadline < *wake))
            wake = transfer.deadline;
    }
    const auto woken = [this] { return stop_requested_ || !results_.empty(); };
    if (wake)
        control_wake_.wait_until(lock, std::max(*wake, now + kShortestWait), woken);
    else
        control_wake_.wait(lock, woken);
}

void BoardRun::finish_locked() {
    abort_all();
    jobs_.clear();
    workers_quit_ = true;
    worker_wake_.notify_all();
    end_ = scheduler_.end();
    done_ = true;
    state_changed_.notify_all();
}

void BoardRun::abort_all() {
    for (auto& [ticket, transfer] : transfers_)
        transfer.abort->abort();
}

void BoardRun::worker_loop() {
    Lock lock(mutex_);
    for (;;) {
        worker_wake_.wait(lock, [this] { return workers_quit_ || !jobs_.empty(); });
        if (workers_quit_)
            return;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        net::PageResult page = fetch(job.url, *job.abort);
        lock.lock();
        results_.push_back(Result{job.ticket, std::move(page)});
        control_wake_.notify_all();
    }
}

}  // namespace board
