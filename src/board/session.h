#pragma once
// One run of a board, from start to end, whoever started it (the board
// window, a schedule, korvel-check): it takes the board's lock, opens the
// history, confirms the goods by their goods pages (and keeps the names they
// give in the saved board), reads the listings under the polite scheduler,
// records every check with the notices it gives (one transaction each, so a
// kill loses at most the check in flight), and at the end adds the run's
// summary notice and hands the run to its sinks.
// Callers observe it; none of them orchestrates a run of its own.
//
//   board::Session session(config, &observer);
//   session.add_sink(std::make_shared<MySink>());
//   if (const std::string refused = session.start(); !refused.empty()) ...
//   ...
//   session.stop();                            // at once; nothing half-recorded
//   const board::SessionSummary s = session.wait();
//
// The observer's calls and the sinks' run on the session's threads, one call
// at a time; they may call stop() but not wait().
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "board/board.h"
#include "board/board_run.h"
#include "board/board_settings.h"
#include "board/check_plan.h"
#include "board/check_record.h"
#include "board/check_report.h"
#include "board/goods_confirm.h"
#include "board/run_summary.h"
#include "board/scheduler.h"
#include "history/location.h"
#include "history/records.h"
#include "net/abort_signal.h"
#include "net/hosts.h"

namespace board {

enum class SessionEnd {
    finished,  // every check recorded
    stopped,   // stop(): the checks not reported were dropped
    gave_up,   // the marketplace kept pushing back: the rest was recorded not checked
};

struct SessionConfig {
    Board board;                     // as saved (GBK); an empty name keeps checks without a board
    history::Location history_file;  // a file or a server; empty: nothing kept, no lock
    net::Hosts hosts;
    BoardSettings settings;
    // Only these listings of the board (a re-check); none: every listing.
    std::optional<std::vector<ranking::Listing>> only;
    GoodsPageFetch fetch_goods_page;  // empty: a real request, aborted by stop()
    // Goods IDs (GBK) a goods page has already given in this run: no second request.
    std::vector<std::string> confirmed_ids;
    // When the run began by its starter's clock (Unix ms), as the history
    // keeps it; 0: now. A runner decides the next start from it.
    std::int64_t started_ms = 0;
    // Who runs it ([service] worker=): on a history on a server, the first
    // part of its lease's holder and the key of its remembered pace.
    std::string worker;
    // How long the board's lease on a server lasts unless renewed.
    std::chrono::milliseconds lease_time{std::chrono::seconds(120)};
    // Asked once the board is held, before anything is read: a non-empty
    // answer (UTF-8) lets the board go and the run does not start. Another
    // worker may have run the board between a runner's look and its claim.
    std::function<std::string()> still_wanted;
};

struct SessionSummary {
    SessionEnd end = SessionEnd::finished;
    std::size_t total = 0;     // checks planned
    std::size_t recorded = 0;  // checks reported and recorded
    std::size_t failed = 0;    // of those, not read for some goods item
    std::size_t not_checked = 0;
    std::vector<history::Notice> notices;  // the run's notices in the order they were made
    // The own goods' moves over the cells the run was to check (those it did
    // not reach count as not checked); none for a board without a name.
    std::optional<RunSummary> counts;
    std::int64_t started_ms = 0;
    std::int64_t ended_ms = 0;
    std::string store_problem;  // the first thing the history refused (UTF-8), or empty
    // The lease ran out mid-run and another worker took the board over (and
    // recorded this run as abandoned): the run stopped and kept no record.
    bool taken_over = false;
};

class SessionObserver {
  public:
    virtual ~SessionObserver() = default;
    virtual void goods_confirmed(const std::vector<ConfirmedGoods>& /*goods*/) {}
    // `report` carries one outcome per goods item of the board (plan order).
    virtual void check_recorded(const CheckReport& /*report*/, const history::Check& /*check*/,
                                const std::vector<history::Notice>& /*notices*/) {}
    virtual void ended(const SessionSummary& /*summary*/) {}
};

// Where a run's notices go once it has ended: the window's list and tray,
// korvel-check's stderr, chat robots, e-mail. Called once at the end of
// every run of a named board, with or without notices (a run that reads
// again after failing runs is news too), never with a failed check's rank.
class NoticeSink {
  public:
    virtual ~NoticeSink() = default;
    virtual void deliver(const Board& board, const SessionSummary& run) = 0;
};

class Session {
  public:
    explicit Session(SessionConfig config, SessionObserver* observer = nullptr);
    // Stops the run and joins its threads.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void add_sink(std::shared_ptr<NoticeSink> sink);

    // Takes the lock, opens the history and starts the run's thread. Empty
    // when it started; else why not (UTF-8), and nothing was run.
    std::string start();
    void stop();
    // Blocks until the run has ended and every call to the observer and the
    // sinks has returned.
    SessionSummary wait();
    bool done() const { return done_; }
    // How the run goes (thread-safe): checks done, pace, a pause and its end,
    // retries. Before the listings are read (goods pages), only the total.
    RunStatus status() const;

    const Board& board() const { return config_.board; }
    // The listings the run will read, in order, and the goods of the board
    // (as given; a link becomes its id once its goods page is read). Fixed
    // from construction on, so any thread may read it.
    const CheckPlan& plan() const { return plan_; }

  private:
    struct Impl;

    void run();
    void finish(RunEnd end);
    void keep_names(const std::vector<ConfirmedGoods>& goods);
    LearnedPaces learned_pace() const;
    std::string pace_key(const std::string& host) const;
    std::vector<history::Notice> notices_left_by(const history::RunRecord& dead) const;
    RunSummary run_counts() const;

    SessionConfig config_;
    CheckPlan plan_;
    SessionObserver* observer_;
    std::vector<std::shared_ptr<NoticeSink>> sinks_;
    std::unique_ptr<Impl> impl_;
    std::shared_ptr<net::AbortSignal> abort_;
    std::atomic<bool> stop_requested_{false};
    std::atomic<bool> lease_lost_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
    SessionSummary summary_;
    std::atomic<std::size_t> summary_total_{0};
};

class BoardLog;

// The board's listings whose latest check (as the log holds it) was not
// read for some goods item, or that have none, and those at `unreached`
// (cells a stopped run did not get to): what 重查失败 checks again.
std::vector<ranking::Listing> listings_to_recheck(const Board& board, const BoardLog& log,
                                                  const std::set<CellKey>& unreached = {});

// Of `cells`, those with no check in the log since `since_ms`.
std::set<CellKey> unchecked_since(const std::set<CellKey>& cells, const BoardLog& log,
                                  std::int64_t since_ms);

// The cells the board's last run left unreached: it was a run of the whole
// board that was stopped, and they have no check since it started. A stopped
// run stores no check for them, so this is how a reopened board, or another
// process, knows which cells say 未检查.
std::set<CellKey> unreached_by(const Board& board, const BoardLog& log,
                               const history::RunRecord& last_run);

}  // namespace board
