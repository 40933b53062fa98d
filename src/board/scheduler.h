#pragma once
// The polite scheduler's decisions, without threads or sockets: which page
// request may go out now, when to look again, and what a finished request
// means. The caller passes the time in, so tests drive it with a made-up
// clock; the threaded driver (board_run.h) passes the steady clock.
//
// Rules:
// - each host has a pace (pace.h): consecutive requests to it start
//   1/pace apart, jittered, with at most its concurrency in flight; one
//   request per check at a time (page 2 needs page 1);
// - a check asks for page 2 only while a goods item is still missing;
// - a transient failure (no connection, time-out, 5xx, 429, a body that is
//   no listing) is retried after a jittered, doubling backoff, at least as
//   long as the server's Retry-After, at most `retries` times; a rate-limit
//   answer (429, 503 with Retry-After) is push-back, not the page's failure;
// - push-back from a host (a 429, a 503 with Retry-After, or
//   failures_before_pause transient failures in a row) halves its pace and
//   pauses it for Retry-After or pause_s. Failures of requests sent before
//   its last push-back do not count again.
// - the run gives up only when push-back goes on: give_up_after push-backs
//   in a row from one host with no page read between them, a Retry-After
//   beyond max_pause_s, or more than pause_budget_s of pauses in the run.
//   Every check not yet reported is then reported: a check whose requests
//   failed with its failure, one never tried not checked (被限速).
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "board/board_settings.h"
#include "board/check_plan.h"
#include "board/check_report.h"
#include "board/pace.h"
#include "net/fetch_page.h"
#include "net/hosts.h"
#include "ranking/listing_read.h"

namespace board {

using TimePoint = std::chrono::steady_clock::time_point;
// Pages a second by host ("name[:port]").
using PaceByHost = std::map<std::string, double>;
// What each host's pace hands on to the next run, by host.
using LearnedPaces = std::map<std::string, LearnedPace>;

struct FetchOrder {
    std::uint64_t ticket = 0;  // hands the result back through fetch_done
    std::size_t check = 0;     // index into the plan's listings
    int page = 1;
    int attempt = 1;  // 1 for a page's first request
    std::string url;
    std::string host;  // "name[:port]" of the url
};

enum class RunEnd {
    running,
    finished,  // every check reported
    stopped,   // stop(): the checks not reported yet are dropped
    gave_up,   // repeated push-back: the rest was reported not checked
};

class Scheduler {
  public:
    // Each host starts at `start_pace` (learned by an earlier run), else at
    // pages_per_second.
    Scheduler(CheckPlan plan, const net::Hosts& hosts, const BoardSettings& settings,
              std::uint64_t seed, const LearnedPaces& start_pace = {});

    // Before the first request: each host named starts at its learned pace.
    void set_start_pace(const LearnedPaces& start_pace);

    // A request that may start at `now`, or nullopt.
    std::optional<FetchOrder> next_fetch(TimePoint now);
    // The earliest time next_fetch can give a request without a result
    // arriving first (possibly already past); nullopt when only a result can
    // unblock it, or the run has ended.
    std::optional<TimePoint> next_wake() const;
    // The answer to an order. Results of orders the scheduler no longer
    // waits for (after stop or give-up) are ignored.
    void fetch_done(std::uint64_t ticket, const net::PageResult& page, TimePoint now);
    // Checks finished since the last call, in the order they finished.
    std::vector<CheckReport> take_reports();

    void stop();
    RunEnd end() const { return end_; }
    bool done() const { return end_ != RunEnd::running; }

    const CheckPlan& plan() const { return plan_; }
    // The lowest concurrency of any host.
    int concurrency() const;
    // The latest end of a host's pause (a past time when none is paused).
    TimePoint paused_until() const;
    int push_backs() const { return push_backs_; }
    std::size_t in_flight() const { return orders_.size(); }
    // Distinct hosts the plan's pages come from.
    std::size_t host_count() const { return hosts_state_.size(); }
    // Each host's current pace.
    PaceByHost pace_by_host() const;
    // What each host's pace hands on: at the end of a run, what to remember.
    LearnedPaces learned_paces() const;
    std::size_t reported() const { return reported_; }
    // Requests answered so far (read or failed): the pace a run really goes.
    std::size_t answered() const { return answered_; }
    std::size_t total() const { return checks_.size(); }
    // Some check waits to retry a page that failed.
    bool retrying() const;
    // The seconds of pausing the run has spent (or is spending).
    double paused_s() const { return paused_s_; }

  private:
    struct CheckState {
        std::optional<ranking::ListingRead> read;  // engaged once the check has started
        bool in_flight = false;
        bool finished = false;
        int page_failures = 0;  // failed requests for the page being read
        int page_limits = 0;    // rate-limit answers for it, not counted as failures
        // The read as the last failed request left it: what the check reports
        // when the run gives up before a retry succeeds.
        std::optional<ranking::ListingRead> last_failure;
        TimePoint ready_at{};  // its next request waits for this (backoff)
        std::vector<int> statuses;
    };
    struct HostState {
        Pace pace;
        TimePoint next_slot{};
        TimePoint paused_until{};
        int in_flight = 0;
        int epoch = 0;  // counts push-backs; orders remember the one they went out in
        int failures_in_a_row = 0;
        int push_backs_in_a_row = 0;  // with no page read between them
    };
    struct Order {
        std::size_t check;
        std::string host;
        int epoch;
    };

    std::optional<std::size_t> ready_check(TimePoint now) const;
    // Whether the check's host lets a request out at `now`; with no time,
    // whether only time holds it back.
    bool host_open(std::size_t check, std::optional<TimePoint> now) const;
    FetchOrder issue(std::size_t check, TimePoint now);
    void page_failed(std::size_t check, ranking::ListingRead&& failed_read,
                     const net::PageResult& page, const Order& order, TimePoint now);
    // True when the run goes on.
    bool push_back(HostState& host, int retry_after_s, TimePoint now);
    void finish(std::size_t check);
    void give_up();
    void end_if_all_reported();
    double jittered(double seconds);
    // Until the next request to a host at this pace.
    double spacing(const Pace& pace);

    CheckPlan plan_;
    net::Hosts hosts_;
    BoardSettings settings_;
    std::mt19937_64 random_;
    std::vector<CheckState> checks_;
    std::vector<std::string> check_hosts_;  // the host each check's pages come from
    std::map<std::string, HostState> hosts_state_;
    std::map<std::uint64_t, Order> orders_;
    std::vector<CheckReport> reports_;
    std::uint64_t next_ticket_ = 1;
    std::size_t reported_ = 0;
    std::size_t answered_ = 0;
    int push_backs_ = 0;
    // What the last push-back was (GBK): the reason of the checks a give-up leaves.
    const std::string* push_back_reason_ = &rate_limited_text();
    double paused_s_ = 0;
    RunEnd end_ = RunEnd::running;
};

}  // namespace board
