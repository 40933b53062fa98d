#pragma once
// The polite scheduler's decisions, without threads or sockets: which page
// request may go out now, when to look again, and what a finished request
// means. The caller passes the time in, so tests drive it with a made-up
// clock; the threaded driver (board_run.h) passes the steady clock.
//
// Rules:
// - at most `concurrency()` requests in flight per host (max_in_flight at
//   first), and one request per check at a time (page 2 needs page 1);
// - consecutive requests start 1/pages_per_second apart, jittered;
// - a check asks for page 2 only while a goods item is still missing;
// - a transient failure (no connection, time-out, 5xx, 429, a body that is
//   no listing) is retried after a jittered, doubling backoff, at least as
//   long as the server's Retry-After, at most `retries` times;
// - push-back (a 429, or failures_before_pause transient failures in a row)
//   halves the concurrency and pauses all work for Retry-After or pause_s.
//   The give_up_after-th push-back ends the run instead: every check not yet
//   reported is reported not checked. Failures of requests sent before the
//   last push-back do not count again.
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
#include "net/fetch_page.h"
#include "net/hosts.h"
#include "ranking/listing_read.h"

namespace board {

using TimePoint = std::chrono::steady_clock::time_point;

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
    Scheduler(CheckPlan plan, const net::Hosts& hosts, const BoardSettings& settings,
              std::uint64_t seed);

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
    int concurrency() const { return concurrency_; }
    TimePoint paused_until() const { return paused_until_; }
    int push_backs() const { return push_backs_; }
    std::size_t in_flight() const { return orders_.size(); }
    // Distinct hosts the plan's pages come from.
    std::size_t host_count() const;

  private:
    struct CheckState {
        std::optional<ranking::ListingRead> read;  // engaged once the check has started
        bool in_flight = false;
        bool finished = false;
        int page_failures = 0;  // failed requests for the page being read
        // The read as the last failed request left it: what the check reports
        // when the run gives up before a retry succeeds.
        std::optional<ranking::ListingRead> last_failure;
        TimePoint ready_at{};  // its next request waits for this (backoff)
        std::vector<int> statuses;
    };
    struct Order {
        std::size_t check;
        std::string host;
        int epoch;
    };

    std::optional<std::size_t> ready_check(TimePoint now) const;
    bool host_free(const std::string& host) const;
    FetchOrder issue(std::size_t check, TimePoint now);
    void page_failed(std::size_t check, ranking::ListingRead&& failed_read,
                     const net::PageResult& page, const Order& order, TimePoint now);
    // True when the run goes on.
    bool push_back(int retry_after_s, bool waiting_too_long, TimePoint now);
    void finish(std::size_t check);
    void give_up();
    void end_if_all_reported();
    double jittered(double seconds);
    bool too_long(int retry_after_s) const;

    CheckPlan plan_;
    net::Hosts hosts_;
    BoardSettings settings_;
    std::mt19937_64 random_;
    std::vector<CheckState> checks_;
    std::vector<std::string> check_hosts_;  // the host each check's pages come from
    std::map<std::uint64_t, Order> orders_;
    std::map<std::string, int> in_flight_by_host_;
    std::vector<CheckReport> reports_;
    std::uint64_t next_ticket_ = 1;
    std::size_t reported_ = 0;
    TimePoint next_slot_{};
    TimePoint paused_until_{};
    int concurrency_;
    int failures_in_a_row_ = 0;
    int push_backs_ = 0;
    int epoch_ = 0;  // counts push-backs; orders remember the one they went out in
    RunEnd end_ = RunEnd::running;
};

}  // namespace board
