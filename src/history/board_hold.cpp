#include "history/board_hold.h"

#include <algorithm>
#include <cstdio>
#include <random>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#if KORVEL_WITH_POSTGRESQL
#include <condition_variable>
#include <mutex>
#include <thread>

#include "history/pg_owner.h"
#endif

namespace history {

namespace {

long process_id() {
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
}

}  // namespace

std::string lease_holder(std::string_view worker) {
    std::random_device seed;
    char tail[24];
    std::snprintf(tail, sizeof tail, "/%ld/%08x", process_id(), static_cast<unsigned>(seed()));
    return std::string(worker) + tail;
}

#if KORVEL_WITH_POSTGRESQL

namespace {

constexpr const char* kServerNowMs = "(extract(epoch FROM clock_timestamp()) * 1000)::bigint";

// The lease as the claim found it, locked until the claim's transaction ends.
struct Found {
    std::string holder;  // empty: a row this claim made, or one let go
    std::int64_t started_ms = 0;
    std::int64_t renewed_ms = 0;
    bool live = false;
};

Result<Found> lock_lease(const pg::Connection& db, std::string_view board) {
    auto made = pg::run(db,
                        "INSERT INTO board_leases (board, holder, started_ms, renewed_ms, "
                        "expires_ms) VALUES ($1, '', 0, 0, 0) ON CONFLICT (board) DO NOTHING",
                        pg::Params().add(board));
    if (!made) {
        return made.error();
    }
    auto rows = pg::run(db,
                        std::string("SELECT holder, started_ms, renewed_ms, expires_ms > ") +
                            kServerNowMs + " FROM board_leases WHERE board = $1 FOR UPDATE",
                        pg::Params().add(board));
    if (!rows) {
        return rows.error();
    }
    const pg::Rows& r = rows.value();
    return Found{r.text(0, 0), r.int64(0, 1), r.int64(0, 2), r.text(0, 3) == "t"};
}

// The run of a worker whose lease ran out: what it recorded from its start
// on, unless it lived to record its own end.
Result<std::optional<RunRecord>> record_abandoned(const pg::Connection& db, std::string_view board,
                                                  const Found& lease) {
    auto added = pg::run(
        db,
        "WITH made AS (SELECT count(*) AS checks, "
        "count(*) FILTER (WHERE outcome = 'failed') AS failed, "
        "count(*) FILTER (WHERE outcome = 'not_checked') AS not_checked "
        "FROM checks WHERE board = $1 AND time_ms >= $2), "
        "added AS (INSERT INTO runs (board, started_ms, ended_ms, how_ended, checks, failed, "
        "not_checked) SELECT $1, $2, $3, 'abandoned', checks, failed, not_checked FROM made "
        "WHERE NOT EXISTS (SELECT 1 FROM runs WHERE board = $1 AND started_ms = $2) "
        "RETURNING id, checks, failed, not_checked), "
        "bump AS (UPDATE korvel_changes SET n = n + 1 WHERE EXISTS (SELECT 1 FROM added)) "
        "SELECT id, checks, failed, not_checked FROM added",
        pg::Params().add(board).add(lease.started_ms).add(lease.renewed_ms));
    if (!added) {
        return added.error();
    }
    const pg::Rows& r = added.value();
    if (r.size() == 0) {
        return std::optional<RunRecord>{};
    }
    return std::optional{RunRecord{r.int64(0, 0), std::string(board), lease.started_ms,
                                   lease.renewed_ms, "abandoned", static_cast<int>(r.int64(0, 1)),
                                   static_cast<int>(r.int64(0, 2)),
                                   static_cast<int>(r.int64(0, 3))}};
}

}  // namespace

// The lease's connection and the thread that renews it.
struct BoardHold::Keeper {
    pg::Connection db;
    std::string board;
    std::string holder;
    std::chrono::milliseconds time;
    Lost lost;
    std::mutex mutex;
    std::condition_variable wake;
    bool quitting = false;
    std::thread renewer;

    void renew_until_quit() {
        std::unique_lock lock(mutex);
        while (!wake.wait_for(lock, time / 3, [this] { return quitting; })) {
            lock.unlock();
            auto renewed = pg::run(
                db,
                std::string("UPDATE board_leases SET renewed_ms = ") + kServerNowMs +
                    ", expires_ms = " + kServerNowMs + " + $3 WHERE board = $1 AND holder = $2",
                pg::Params().add(board).add(holder).add(static_cast<std::int64_t>(time.count())));
            // A server out of reach is tried again; the lease may outlive it.
            if (renewed && renewed.value().affected() == 0) {
                if (lost) {
                    lost();
                }
                return;
            }
            lock.lock();
        }
    }

    ~Keeper() {
        {
            std::lock_guard lock(mutex);
            quitting = true;
        }
        wake.notify_all();
        if (renewer.joinable()) {
            renewer.join();
        }
        (void)pg::run(db, "DELETE FROM board_leases WHERE board = $1 AND holder = $2",
                      pg::Params().add(board).add(holder));
    }
};

Result<std::optional<BoardHold>> BoardHold::take(const Location& server,
                                                 std::string_view board_name,
                                                 const LeaseTerms& terms, Lost lost) {
    auto db = pg::connect(server);
    if (!db) {
        return db.error();
    }
    const std::string holder = lease_holder(terms.worker);
    std::optional<RunRecord> abandoned;
    {
        auto transaction = pg::Transaction::begin(db.value());
        if (!transaction) {
            return transaction.error();
        }
        auto found = lock_lease(db.value(), board_name);
        if (!found) {
            return found.error();
        }
        if (found.value().live) {
            return std::optional<BoardHold>{};
        }
        if (!found.value().holder.empty()) {
            auto recorded = record_abandoned(db.value(), board_name, found.value());
            if (!recorded) {
                return recorded.error();
            }
            abandoned = std::move(recorded).value();
        }
        auto claimed =
            pg::run(db.value(),
                    std::string("UPDATE board_leases SET holder = $2, started_ms = $3, "
                                "renewed_ms = ") +
                        kServerNowMs + ", expires_ms = " + kServerNowMs + " + $4 WHERE board = $1",
                    pg::Params()
                        .add(board_name)
                        .add(holder)
                        .add(terms.run_started_ms)
                        .add(static_cast<std::int64_t>(terms.time.count())));
        if (!claimed) {
            return claimed.error();
        }
        if (auto committed = transaction.value().commit(); !committed) {
            return committed.error();
        }
    }
    auto keeper = std::make_unique<Keeper>();
    keeper->db = std::move(db).value();
    keeper->board = std::string(board_name);
    keeper->holder = holder;
    keeper->time = std::max(terms.time, std::chrono::milliseconds(300));
    keeper->lost = std::move(lost);
    Keeper* k = keeper.get();
    try {
        keeper->renewer = std::thread([k] { k->renew_until_quit(); });
    } catch (const std::system_error&) {
        return Error{ErrorCode::storage, "the board's lease cannot be kept renewed"};
    }
    return std::optional<BoardHold>(BoardHold(std::move(keeper), std::move(abandoned)));
}

const std::string& BoardHold::holder() const {
    return keeper_->holder;
}

#else
struct BoardHold::Keeper {};

Result<std::optional<BoardHold>> BoardHold::take(const Location& server, std::string_view,
                                                 const LeaseTerms&, Lost) {
    return Error{ErrorCode::cannot_open, "this build of Korvel keeps its history in a file only; " +
                                             server.shown() + " is a PostgreSQL server"};
}

const std::string& BoardHold::holder() const {
    static const std::string none;
    return none;
}
#endif

BoardHold::BoardHold(std::unique_ptr<Keeper> keeper, std::optional<RunRecord> abandoned)
    : keeper_(std::move(keeper)), abandoned_(std::move(abandoned)) {}
BoardHold::BoardHold(BoardHold&& other) noexcept = default;
BoardHold& BoardHold::operator=(BoardHold&& other) noexcept = default;
BoardHold::~BoardHold() = default;

}  // namespace history
