#pragma once
// A board run on threads of its own: a control thread asks the scheduler
// what to fetch and when, worker threads make the requests (fetch_worker),
// and each finished check goes to the report handler. The window hands the
// report to its own thread with a queued call; the command line collects.
//
//   board::BoardRun run(plan, hosts, settings,
//                       [&](const board::CheckReport& r) { /* on the control thread */ });
//   run.set_start_pace(board::learned_start_pace(stored, now_ms, settings));  // optional
//   run.start();
//   ...
//   run.stop();              // at once: transfers aborted, no half-read check reported
//   run.wait_until_done();   // the only call that waits for the run
//   run.status().learned  // the pace to remember for the next run
//
// The handler runs on the control thread, one report at a time, in the
// order the checks finished; it may call stop() but not wait_until_done().
// Once stop() has returned, no further report is handed out.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <thread>
#include <vector>

#include "board/scheduler.h"
#include "net/abort_signal.h"

namespace board {

// A run's progress as a progress line or a window shows it.
struct RunStatus {
    std::size_t reported = 0;
    std::size_t total = 0;
    std::size_t pages_answered = 0;  // requests answered so far, read or failed
    double pages_per_second = 0;     // the slowest host's pace
    // When the latest pause of a host ends, while one is paused.
    std::optional<std::chrono::system_clock::time_point> paused_until;
    bool retrying = false;  // some page waits for a retry
    double paused_s = 0;    // pausing the run has spent so far, all hosts together
    RunEnd end = RunEnd::running;
    // Each host's pace.
    PaceByHost pace_by_host;
    // What each host's pace hands on; once the run has ended, what to remember.
    LearnedPaces learned;
};

class BoardRun {
  public:
    using ReportHandler = std::function<void(const CheckReport&)>;

    BoardRun(CheckPlan plan, const net::Hosts& hosts, const BoardSettings& settings,
             ReportHandler on_report, std::uint64_t seed = std::random_device{}());
    // Stops the run and joins its threads.
    ~BoardRun();
    BoardRun(const BoardRun&) = delete;
    BoardRun& operator=(const BoardRun&) = delete;

    // Before start(): hosts start at the pace an earlier run learned
    // (learned_start_pace, pace_memory.h) instead of pages_per_second.
    void set_start_pace(const LearnedPaces& start_pace);

    // Starts the threads and returns; false when they cannot be started (the
    // run then ends as stopped, without reports).
    bool start();
    void stop();
    // Blocks until the run has ended and every report has been handed out.
    RunEnd wait_until_done();
    bool done() const;
    // Safe from any thread, at any time.
    RunStatus status() const;

  private:
    struct Job {
        std::uint64_t ticket;
        std::string url;
        std::shared_ptr<net::AbortSignal> abort;
    };
    struct Transfer {
        std::shared_ptr<net::AbortSignal> abort;
        TimePoint deadline;
        bool timed_out = false;
    };
    struct Result {
        std::uint64_t ticket;
        net::PageResult page;
    };
    using Lock = std::unique_lock<std::mutex>;

    void control_loop();
    void worker_loop();
    void take_results(TimePoint now);
    void abort_overdue(TimePoint now);
    void hand_out_orders(TimePoint now);
    void deliver(Lock& lock, std::vector<CheckReport> reports);
    void wait_for_work(Lock& lock, TimePoint now);
    void finish_locked();  // with mutex_ held
    void abort_all();

    Scheduler scheduler_;
    BoardSettings settings_;
    ReportHandler on_report_;
    std::size_t worker_count_;

    mutable std::mutex mutex_;
    std::condition_variable control_wake_;
    std::condition_variable worker_wake_;
    std::condition_variable state_changed_;  // delivering_ or done_
    std::deque<Job> jobs_;
    std::vector<Result> results_;
    std::map<std::uint64_t, Transfer> transfers_;
    bool stop_requested_ = false;
    bool workers_quit_ = false;
    bool delivering_ = false;
    bool started_ = false;
    bool done_ = false;
    RunEnd end_ = RunEnd::running;

    std::thread control_;
    std::vector<std::thread> workers_;
};

}  // namespace board
