#pragma once
// The runner owns every saved board of one history: when each scheduled
// board is due (service/due.h, from the history, so any process decides the
// same), its daily report, the rule that a board runs once at a time, and
// the standard notice sinks built from the configuration. On a history that
// several workers share, a board's lease tells whether another worker runs
// its due slot (then it is not due here) or ran it and died (then it is due
// again, for the listings that run did not check). Its runs are
// board::Session: the runner starts, observes and stops them and never runs
// a board itself. One runner reads the marketplace from one address, so it
// runs one board at a time; due boards wait their turn in the order they
// became due.
//
// It keeps no clock: the window's timer and `korvel-check --serve` call
// tick(now), tests pass a fake time.
//
//   service::Runner runner(config);
//   runner.add_observer(std::make_shared<MyObserver>());
//   runner.tick(std::chrono::system_clock::now());  // every few seconds
//   ...
//   runner.shutdown();  // the run going is stopped, notices drain (bounded)
//
// tick(), start_now(), stop(), wait() and shutdown() are called from one
// thread, the runner's owner. Observers are called on the owner's thread
// (run_started, start_skipped, report_sent) or on the run's and the notices'
// threads (the rest), one call at a time per run.
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "board/board.h"
#include "board/check_plan.h"
#include "board/schedule.h"
#include "board/session.h"
#include "history/store.h"
#include "notify/board_notifier.h"
#include "notify/dispatcher.h"
#include "service/configuration.h"

namespace service {

class RunnerObserver {
  public:
    virtual ~RunnerObserver() = default;
    // A run began; `plan` holds the listings it will read, in order.
    virtual void run_started(const board::Board& /*board*/, const board::CheckPlan& /*plan*/,
                             bool /*scheduled*/) {}
    virtual void goods_confirmed(const board::Board& /*board*/,
                                 const std::vector<board::ConfirmedGoods>& /*goods*/) {}
    virtual void check_recorded(const board::Board& /*board*/, const board::CheckReport& /*report*/,
                                const history::Check& /*check*/,
                                const std::vector<history::Notice>& /*notices*/) {}
    virtual void run_ended(const board::Board& /*board*/, const board::SessionSummary& /*run*/) {}
    // A due start that did not run, as recorded in the history (UTF-8).
    virtual void start_skipped(const std::string& /*board_utf8*/, const std::string& /*why*/) {}
    // A daily report was kept and handed to the board's channels.
    virtual void report_sent(const board::Board& /*board*/, const std::string& /*text*/) {}
    // What became of one message to one channel.
    virtual void send_reported(const notify::SendReport& /*report*/) {}
};

struct RunnerConfig {
    history::Location history_file;
    // The configuration of each run and report, asked anew each time, so a
    // settings file edited meanwhile applies to the next run.
    std::function<Configuration()> configuration;
    // How the notices are sent; drain_limit bounds the wait at shutdown.
    notify::DispatcherOptions sending;
    // The local zone at an instant (schedules' hours, report times); empty: the system's.
    std::function<board::LocalZone(board::Time)> zone_at;
    // Goods pages of every run; empty: real requests.
    board::GoodsPageFetch fetch_goods_page;
};

// The run going, as its observers may show it.
struct RunningRun {
    board::Board board;
    board::CheckPlan plan;
    board::RunStatus status;
    bool scheduled = false;
};

class Runner {
  public:
    explicit Runner(RunnerConfig config);
    // shutdown().
    ~Runner();
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    // Why the history cannot be used (UTF-8), or empty; then nothing is scheduled.
    const std::string& store_problem() const { return store_problem_; }

    void add_observer(std::shared_ptr<RunnerObserver> observer);
    // No further calls reach `observer` once this returns, except one a run's
    // thread has already begun.
    void remove_observer(const RunnerObserver* observer);

    // Looks at every saved board once: sends the daily reports that are due,
    // records a due start whose board is still running as skipped, queues
    // the other due boards and starts the one due longest when nothing runs.
    // A board edited since the last tick is judged as saved now.
    void tick(board::Time now);
    // Starts the waiting board that came due first, when nothing runs; what
    // is due is not looked at again (`korvel-check --run-due` runs what was
    // due when it began, each board once).
    void start_next(board::Time now);
    // Whether due boards wait their turn.
    bool waiting() const { return !waiting_.empty(); }

    // Starts a run of `board` as given (the board window's form, or a saved
    // board) at once, of `only` these listings when given. Empty when it
    // started; else why not (UTF-8): another run is going, the board is
    // locked elsewhere, the history cannot be opened.
    std::string start_now(const board::Board& board,
                          std::optional<std::vector<ranking::Listing>> only = std::nullopt,
                          board::Time now = std::chrono::system_clock::now());
    // Stops the run going, if any (at once; what it recorded stays).
    void stop();
    // Whether a run is going (false once it has ended, before the next tick).
    bool running() const;
    std::optional<RunningRun> current() const;
    // Blocks until the run going has ended and its observers have returned.
    void wait();
    // Stops the run going and waits for it, then lets the notices drain for
    // at most the sending's drain_limit. tick and start_now do nothing after.
    void shutdown();

    // When the board's next scheduled run starts (or started to wait its
    // turn), for display; nothing without a schedule.
    std::optional<board::Time> next_start(const std::string& board_utf8, board::Time now);
    // Whether some saved board has a schedule switched on.
    bool has_schedules() const;
    // Paused, due starts neither run nor are recorded; the daily reports go on.
    void set_paused(bool paused);
    bool paused() const { return paused_; }

  private:
    class Events;
    struct Run;
    struct Waiting {
        board::Board board;
        board::PlannedStart start;
    };
    using Observers = std::vector<std::shared_ptr<RunnerObserver>>;

    // A scheduled run names its slot; one started by hand has none.
    std::string start_run(const board::Board& board,
                          std::optional<std::vector<ranking::Listing>> only, board::Time now,
                          std::optional<board::Time> slot);
    // Whether the board has run since `slot` (a run another worker took
    // over to finish does not count: it was abandoned).
    bool ran_since(const std::string& name, board::Time slot) const;
    void look_at(const std::string& name, board::Time now, board::LocalZone zone);
    bool start_first(board::Time now);
    // The board's start, if it is due at `now` and not started yet.
    std::optional<board::PlannedStart> due_start(const std::string& name, const board::Board& board,
                                                 std::int64_t created_ms, board::Time now,
                                                 board::LocalZone zone);
    std::optional<board::Time> last_start(const std::string& name, std::int64_t created_ms) const;
    void record_skip(const std::string& name, board::Time now, const std::string& why);
    // The board's lease on a shared history; nothing for a file, or when unreadable.
    std::optional<history::BoardLease> lease_of(const std::string& name) const;
    std::vector<ranking::Listing> unchecked_listings(const board::Board& b, board::Time slot);
    void send_report_if_due(const board::Board& board, board::Time now, board::LocalZone zone);
    notify::NotifierConfig notifier_config(const Configuration& configuration);
    board::LocalZone zone_at(board::Time now) const;
    void reap();
    Observers observers() const;

    RunnerConfig config_;
    std::optional<history::Store> store_;
    std::string store_problem_;
    bool paused_ = false;
    bool shut_down_ = false;
    std::unique_ptr<Run> run_;
    std::map<std::string, Waiting> waiting_;  // due boards by name (UTF-8)
    std::map<std::string, board::Time>
        started_;  // this runner's latest start (or skip) of each board
    std::shared_ptr<notify::Dispatcher> dispatcher_;  // its thread starts with the first send
    // Shared with the notices' callbacks, which may come after a run has gone.
    struct Shared {
        mutable std::mutex mutex;
        Observers observers;
    };
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

}  // namespace service
