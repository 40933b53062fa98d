#pragma once
// What the history keeps: checks with their goods rows, boards and change
// notices. Every text here is UTF-8 (the board layer converts from the
// program's GBK before it writes).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace history {

enum class Listing { keyword, category, tab, new_goods };

// `none` is a listing read in its only order (category, tab, new goods).
enum class Sort { none, default_order, sales, credit, price_asc, price_desc };

// A check's outcome; also the status of each goods item of a check.
// found: the pages were read and at least one goods item is among them.
// not_in_top_1000: the pages were read and none of the goods is among them.
// failed: the pages could not be read (connection, status, a body that is
//   not a listing); no goods item has a rank.
// not_checked: the listing was not read at all (skipped, stopped).
enum class Outcome { found, not_in_top_1000, failed, not_checked };

enum class Role { own, competitor };

struct GoodsResult {
    std::string goods_id{};
    Role role = Role::own;
    std::optional<int> rank{};  // 1..1000 when found in a read listing
    // The goods item's own outcome: one check reads pages for several goods,
    // and a page 2 that failed for a competitor must not cost the own rank.
    // Rows written before goods had an outcome of their own have none.
    std::optional<Outcome> status{};
    std::string reason{};  // why this goods item failed or was not checked

    bool operator==(const GoodsResult&) const = default;
};

struct Check {
    std::int64_t id = 0;  // given by the store when added
    std::string board{};  // empty: a check made without a board
    Listing listing = Listing::keyword;
    std::string key{};  // keyword text, category id or tab id; empty for new goods
    Sort sort = Sort::none;
    std::int64_t time_ms = 0;  // Unix time in milliseconds, UTC
    int pages_read = 0;        // 0, 1 or 2
    std::vector<int> http_statuses{};
    Outcome outcome = Outcome::not_checked;
    std::string reason{};  // why it failed or was not checked
    std::vector<GoodsResult> goods{};

    bool operator==(const Check&) const = default;
};

struct Board {
    std::string name{};
    std::string definition{};  // opaque to the store, kept byte for byte
    std::int64_t created_ms = 0;
    std::int64_t updated_ms = 0;

    bool operator==(const Board&) const = default;
};

struct Notice {
    std::int64_t id = 0;  // given by the store when added
    std::string board{};
    std::int64_t time_ms = 0;
    Listing listing = Listing::keyword;
    std::string key{};
    Sort sort = Sort::none;
    std::string goods_id{};
    std::string kind{};
    std::string before{};
    std::string after{};
    std::string message{};
    std::int64_t check_id = 0;  // the check that made it; 0 for a notice about a whole run

    bool operator==(const Notice&) const = default;
};

// A goods item's best (lowest) rank ever in one cell (listing, key, sort).
struct CellBest {
    Listing listing = Listing::keyword;
    std::string key{};
    Sort sort = Sort::none;
    std::string goods_id{};
    int best_rank = 0;
    std::int64_t time_ms = 0;  // the first check that reached it

    bool operator==(const CellBest&) const = default;
};

// Where a point of a cell stands, as one number that orders points from
// best to worst: a rank 1..1000, then not in the first 1000, then not read
// (failed or not checked).
inline constexpr int kPlaceNotInTop1000 = 1001;
inline constexpr int kPlaceNotRead = 1002;

// The days a summary is kept by: UTC days since 1970-01-01.
inline constexpr std::int64_t kDayMs = 24LL * 3600 * 1000;

// One goods item's day in one cell, kept as checks are added so that months
// are read a row a day: the day's best point, its worst point read, and its
// last point. Places as above; ties keep the earliest time.
struct CellDay {
    std::string goods_id{};
    Role role = Role::own;  // as the day's last check had it
    std::int64_t day = 0;   // time_ms / kDayMs
    int best_place = kPlaceNotRead;
    std::int64_t best_ms = 0;
    std::optional<int> worst_place{};  // none: nothing was read that day
    std::int64_t worst_ms = 0;
    int last_place = kPlaceNotRead;
    std::int64_t last_ms = 0;
    std::string last_reason{};  // why the last point was not read

    bool operator==(const CellDay&) const = default;
};

// The pace a host's marketplace allowed, as the last run left it.
struct PaceRecord {
    std::string host{};  // "name[:port]"
    double pages_per_second = 0;
    std::int64_t time_ms = 0;   // when it was kept
    double pushed_back_at = 0;  // the pace last pushed back at; 0: none
    std::int64_t pages_since_push_back = 0;

    bool operator==(const PaceRecord&) const = default;
};

// One run of a board, from its start to however it ended.
struct RunRecord {
    std::int64_t id = 0;  // given by the store when added
    std::string board;
    std::int64_t started_ms = 0;
    std::int64_t ended_ms = 0;
    // "done", "stopped", "gave_up", "failed", or "abandoned": its worker
    // died mid-run and another took the board over when its lease ran out.
    std::string how_ended;
    int checks = 0;
    int failed = 0;
    int not_checked = 0;

    bool operator==(const RunRecord&) const = default;
};

// Who runs a board of a history on a server, until when. The run's start is
// its worker's clock, like a run record's; the renewal and the expiry are
// the server's, so that workers whose clocks disagree judge a lease alike.
struct BoardLease {
    std::string holder;  // worker name, process and a random part
    std::int64_t started_ms = 0;
    std::int64_t renewed_ms = 0;
    std::int64_t expires_ms = 0;
    bool live = false;  // not expired by the server's clock when read

    bool operator==(const BoardLease&) const = default;
};

// A notice on its way to a named channel (chat robot, e-mail), kept so that
// no notice goes to the same channel twice. Its life: queued (no claim, no
// send yet), claimed by the process sending it, then delivered or failed
// (the claim let go). A failed one may be claimed once more (sends 2, 补发).
// A claim never let go belongs to a process that ended mid-send: whether the
// message arrived is unknown, so the notice is not sent again.
struct Delivery {
    std::int64_t notice_id = 0;
    std::string channel;
    int attempts = 0;
    std::int64_t delivered_ms = 0; /*0: not delivered*/
    std::string error;
    std::string claim{};  // who is sending it; empty when nobody is
    std::int64_t claimed_ms = 0;
    int sends = 0;  // messages that carried it: 0 queued, 1 sent, 2 sent again

    bool delivered() const { return delivered_ms > 0; }
    bool queued() const { return claim.empty() && sends == 0; }
    bool operator==(const Delivery&) const = default;
};

// The status of one goods item: its own when it has one; otherwise a check
// that was not read passes its outcome on to every goods item, so a failure
// never reads as "not in the first 1000".
Outcome status_of(const Check& check, const GoodsResult& goods);

// The words the store and the CSV use.
std::string_view to_text(Listing listing);
std::string_view to_text(Sort sort);
std::string_view to_text(Outcome outcome);
std::string_view to_text(Role role);
std::optional<Listing> listing_from_text(std::string_view text);
std::optional<Sort> sort_from_text(std::string_view text);
std::optional<Outcome> outcome_from_text(std::string_view text);
std::optional<Role> role_from_text(std::string_view text);

// "200;503"; an empty list is empty text.
std::string join_statuses(const std::vector<int>& statuses);
// Whatever is not a number between separators is dropped.
std::vector<int> split_statuses(std::string_view text);

// What is wrong with a record, or nothing. A check must agree with its own
// outcome and its goods with theirs (ranks only where found, at least one when
// found; a check is found when a goods item has a rank, not_in_top_1000 when
// a goods item was read without one, failed or not_checked when none was
// read), so that a stored failure can never be taken for a result. HTTP
// status 0 stands for no answer at all (refused, dropped, timed out).
std::optional<std::string> check_problem(const Check& check);
std::optional<std::string> notice_problem(const Notice& notice);
std::optional<std::string> run_problem(const RunRecord& run);
std::optional<std::string> delivery_problem(const Delivery& delivery);

bool is_utf8(std::string_view text);  // well-formed and without NUL bytes

}  // namespace history
