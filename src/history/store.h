#pragma once
// The check history, shared by the window, the command line and other
// machines: a SQLite file (the default, no server needed) or a PostgreSQL
// database, chosen by the location it is opened with. Each added check is one
// transaction, so a crash or kill loses at most the check being written. Open
// one Store per thread; several processes may open the same history at once.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "history/check_filter.h"
#include "history/location.h"
#include "history/records.h"
#include "history/result.h"

namespace history {

class Engine;
class Store;

// copy.h: a whole history into an empty one.
struct CopyProgress;
Status copy_history(const Store& from, Store& to, std::size_t batch_size,
                    const std::function<void(const CopyProgress&)>& progress);

class Store {
  public:
    // A file path opens or creates the SQLite file (its directory must
    // exist); a postgresql:// URL connects to the server and creates the
    // tables in an empty database. Either refuses a history of a newer
    // schema or a database of another program without writing to it.
    static Result<Store> open(const Location& location);

    Store(Store&&) noexcept;
    Store& operator=(Store&&) noexcept;
    ~Store();

    // Checks. add_check returns the new check's id.
    Result<std::int64_t> add_check(const Check& check);
    // Stores the check and the notices it made in one transaction: either all
    // are kept or none. Each notice gets its id and the check's id written back.
    Result<std::int64_t> record_check(const Check& check, std::vector<Notice>& notices);
    // From now on a check of `board` is kept only while `holder` still holds
    // the board's lease on the server, and fails with lease_lost once another
    // worker has taken it over: a worker that froze past its lease never adds
    // a check beside the one its successor makes. The lease row stays locked
    // while the check is written, so a takeover sees every check kept before it.
    void record_only_while_held(const std::string& board, const std::string& holder);
    Result<std::vector<Check>> checks(const CheckFilter& filter) const;  // by time, then id
    // Hands the checks over one at a time, by time then id (newest first when
    // asked), in constant memory; visit returns false to stop. visit may read
    // from the same store but not write to it (on a server the read is one
    // read-only transaction).
    Status for_each_check(const CheckFilter& filter,
                          const std::function<bool(const Check&)>& visit) const;
    // From a running count, without reading the checks.
    Result<std::int64_t> count_checks(const std::optional<std::string>& board = {}) const;
    Result<std::int64_t> prune_before(std::int64_t time_ms);  // returns the checks removed
    // How many checks the filter lets through, at most its limit: counted by
    // index, no check read.
    Result<std::int64_t> count_matching(const CheckFilter& filter) const;
    // Each goods item's best rank in each cell of the board, by cell then goods.
    Result<std::vector<CellBest>> best_ranks(const std::string& board) const;
    // The same among the checks from since_ms to until_ms (exclusive): whole
    // days from the per-day summary, the days the span cuts into from their
    // checks, so a week costs a few thousand rows however busy it was.
    Result<std::vector<CellBest>> best_ranks_between(const std::string& board,
                                                     std::int64_t since_ms,
                                                     std::int64_t until_ms) const;
    // One cell's per-day summary before `before_day` (records.h), by goods
    // then day: what a chart over months draws.
    Result<std::vector<CellDay>> cell_days(const std::string& board, Listing listing,
                                           const std::string& key, Sort sort,
                                           std::int64_t before_day) const;
    // Changes whenever another connection commits to the history: cheap to poll.
    Result<std::int64_t> data_version() const;

    // Boards, by unique name. save_board inserts or replaces the definition;
    // a replaced board keeps its creation time.
    Result<std::vector<std::string>> board_names() const;     // sorted by name
    Result<Board> load_board(const std::string& name) const;  // not_found when absent
    Status save_board(const std::string& name, const std::string& definition, std::int64_t now_ms);
    Result<bool> delete_board(const std::string& name);  // false when there was none

    // Change notices of a board, by time then id; since_ms is inclusive;
    // newest_limit keeps only the newest N (still oldest first).
    Result<std::int64_t> add_notice(const Notice& notice);
    Result<std::vector<Notice>> notices(const std::string& board,
                                        std::optional<std::int64_t> since_ms = {},
                                        std::optional<std::size_t> newest_limit = {}) const;

    // Which channels a notice went to. record_delivery inserts or replaces
    // the row of (notice_id, channel); deliveries lists those of the given
    // notices by notice id, then channel.
    Status record_delivery(const Delivery& delivery);
    Result<std::vector<Delivery>> deliveries(const std::vector<std::int64_t>& notice_ids) const;

    // Notices on their way to a channel, each claimed before it is sent so
    // that no other process or thread sends it too (one statement each, so
    // several processes, even on several machines, may share the history).
    // queue_deliveries adds a queued row for each notice that has none for
    // the channel yet.
    Status queue_deliveries(const std::vector<std::int64_t>& notice_ids,
                            const std::string& channel);
    // True when this caller got the notice: it had no row for the channel, or
    // a queued one, or a failed one sent once (sends becomes 2). Never one
    // delivered, claimed by another, or already sent twice.
    Result<bool> claim_delivery(std::int64_t notice_id, const std::string& channel,
                                const std::string& claim, std::int64_t now_ms);
    // Writes how the send went (attempts, delivered_ms, error) into the row
    // `claim` holds, and sets its claim to `outcome.claim`: empty lets it go,
    // the same claim keeps it (a send cut off mid-way: not to be sent again).
    // False when the row is not held by `claim`.
    Result<bool> settle_delivery(const Delivery& outcome, const std::string& claim);
    // Hands back a claim whose message was never sent: the row is as it was
    // before the claim (queued, or failed once).
    Status release_delivery(std::int64_t notice_id, const std::string& channel,
                            const std::string& claim);

    // The pace the marketplace last allowed a host; one record per host.
    Status save_pace(const PaceRecord& pace);
    Result<std::optional<PaceRecord>> load_pace(const std::string& host) const;

    // Runs of a board; the last is the one started last.
    Result<std::int64_t> add_run(const RunRecord& run);
    Result<std::optional<RunRecord>> last_run(const std::string& board) const;
    // When the board's runs since `since_ms` started, oldest first.
    Result<std::vector<std::int64_t>> run_starts(const std::string& board,
                                                 std::int64_t since_ms) const;

    // Who runs the board now, or ran it until their lease ran out, on a
    // server (history::BoardHold); nothing when nobody does, and always
    // nothing for a file, whose boards are held by lock files.
    Result<std::optional<BoardLease>> board_lease(const std::string& board) const;

    // The history is sound: SQLite's integrity check of the file, or on a
    // server that what is kept beside the checks agrees with them.
    Result<bool> integrity_ok() const;

    // Where the history is, for messages (UTF-8, any password masked).
    const std::string& path() const { return shown_; }
    // Where the history is, for another connection to the same history.
    const Location& file() const { return location_; }

  private:
    friend Status copy_history(const Store& from, Store& to, std::size_t batch_size,
                               const std::function<void(const CopyProgress&)>& progress);

    Store(std::unique_ptr<Engine> engine, Location location);

    std::unique_ptr<Engine> engine_;
    Location location_;
    std::string shown_;
};

}  // namespace history
