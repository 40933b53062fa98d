// The per-day summary on a server: kept by record_check with upsert_days,
// summed up again after a prune or a copy, and read for long charts and for
// best ranks over a span. The rules are the SQLite file's (day_summary.cpp):
// the best point (the lowest place, the earliest of equals), the worst point
// read (the highest place, the earliest of equals) and the last point (the
// latest check, the last of its goods rows).
#include <algorithm>
#include <string>

#include "history/day_span.h"
#include "history/pg_engine.h"
#include "history/pg_summaries.h"

namespace history {
namespace pg_summaries {
namespace {

const std::string day_ms = std::to_string(kDayMs);

constexpr const char* day_columns =
    "INSERT INTO cell_days (board, listing, listing_key, sort_order, goods_id, day, role, "
    "best_place, best_ms, worst_place, worst_ms, last_place, last_ms, last_reason) ";

// A goods row's place (records.h): its own status when it has one, else the
// one its check's outcome gives.
constexpr const char* place_of_goods =
    "CASE coalesce(g.status, CASE WHEN c.outcome IN ('failed', 'not_checked') THEN c.outcome "
    "WHEN g.rank IS NOT NULL THEN 'found' ELSE 'not_in_top_1000' END) "
    "WHEN 'found' THEN coalesce(g.rank, 1002) WHEN 'not_in_top_1000' THEN 1001 ELSE 1002 END";

// The goods points of the checks `where` selects (on c, the checks).
std::string stored_points(const std::string& where) {
    return points("FROM checks c JOIN check_goods g ON g.check_id = c.id WHERE " + where);
}

}  // namespace

std::string points(const std::string& from) {
    return std::string(
               "SELECT c.board, c.listing, c.listing_key, c.sort_order, g.goods_id, "
               "g.role, c.time_ms, c.id AS check_id, g.position, ") +
           place_of_goods + " AS place, g.reason AS goods_reason, c.reason AS check_reason " + from;
}

std::string day_rows(const std::string& points) {
    const std::string latest = " ORDER BY time_ms DESC, check_id DESC, position DESC))[1]";
    return "SELECT board, listing, listing_key, sort_order, goods_id, time_ms / " + day_ms +
           " AS day, (array_agg(role" + latest +
           " AS role, min(place) AS best_place, "
           "(array_agg(time_ms ORDER BY place, time_ms))[1] AS best_ms, "
           "max(place) FILTER (WHERE place <= 1001) AS worst_place, "
           "(array_agg(time_ms ORDER BY place DESC, time_ms) FILTER (WHERE place <= 1001))[1] "
           "AS worst_ms, (array_agg(place" +
           latest +
           " AS last_place, max(time_ms) AS last_ms, "
           "(array_agg(CASE WHEN place = 1002 THEN CASE WHEN goods_reason <> '' THEN "
           "goods_reason ELSE check_reason END ELSE '' END" +
           latest + " AS last_reason FROM (" + points +
           ") p GROUP BY board, listing, listing_key, sort_order, goods_id, time_ms / " + day_ms +
           " ORDER BY board, listing, listing_key, sort_order, goods_id, day";
}

namespace {

std::string pick(const char* when, const char* column) {
    return std::string(column) + " = CASE WHEN " + when + " THEN excluded." + column +
           " ELSE cell_days." + column + " END";
}

}  // namespace

std::string upsert_days(const std::string& points) {
    constexpr const char* better =
        "(excluded.best_place < cell_days.best_place OR (excluded.best_place = "
        "cell_days.best_place AND excluded.best_ms < cell_days.best_ms))";
    constexpr const char* worse =
        "(excluded.worst_place IS NOT NULL AND (cell_days.worst_place IS NULL OR "
        "excluded.worst_place > cell_days.worst_place OR (excluded.worst_place = "
        "cell_days.worst_place AND excluded.worst_ms < cell_days.worst_ms)))";
    constexpr const char* later = "(excluded.last_ms >= cell_days.last_ms)";
    return day_columns + day_rows(points) +
           " ON CONFLICT (board, listing, listing_key, sort_order, goods_id, day) DO UPDATE "
           "SET " +
           pick(better, "best_place") + ", " + pick(better, "best_ms") + ", " +
           pick(worse, "worst_place") + ", " + pick(worse, "worst_ms") + ", " +
           pick(later, "role") + ", " + pick(later, "last_place") + ", " +
           pick(later, "last_reason") + ", " + pick(later, "last_ms");
}

Status rebuild_days(const pg::Connection& db) {
    if (auto cleared = pg::exec(db, "DELETE FROM cell_days"); !cleared) {
        return cleared;
    }
    const std::string sql = day_columns + day_rows(stored_points("true"));
    return pg::exec(db, sql.c_str());
}

// Only the rows of the day the cut falls in whose best, worst or last point
// went with the checks are wrong; they are summed up again from what is left
// of their cells' day, at most a day of checks. A cut at midnight touches none.
Status refresh_days_and_best(const pg::Connection& db, std::int64_t time_ms) {
    const std::int64_t day = time_ms / kDayMs;
    const std::pair<std::string, pg::Params> steps[] = {
        {"CREATE TEMP TABLE stale_days ON COMMIT DROP AS SELECT DISTINCT board, listing, "
         "listing_key, sort_order FROM cell_days WHERE day = $1 AND "
         "(best_ms < $2 OR worst_ms < $2 OR last_ms < $2)",
         pg::Params().add(day).add(time_ms)},
        {"DELETE FROM cell_days WHERE day < $1", pg::Params().add(day)},
        {"DELETE FROM cell_days WHERE day = $1 AND (board, listing, listing_key, sort_order) IN "
         "(SELECT * FROM stale_days)",
         pg::Params().add(day)},
        {day_columns +
             day_rows(stored_points("c.time_ms >= $1 AND c.time_ms < $2 AND (c.board, c.listing, "
                                    "c.listing_key, c.sort_order) IN (SELECT * FROM stale_days)")),
         pg::Params().add(time_ms).add((day + 1) * kDayMs)},
        // A day's best below 1001 is a found rank, as cell_best keeps.
        {"INSERT INTO cell_best (board, listing, listing_key, sort_order, goods_id, best_rank, "
         "best_time_ms) SELECT DISTINCT ON (d.board, d.listing, d.listing_key, d.sort_order, "
         "d.goods_id) d.board, d.listing, d.listing_key, d.sort_order, d.goods_id, "
         "d.best_place, d.best_ms FROM cell_days d JOIN stale_best s ON s.board = d.board AND "
         "s.listing = d.listing AND s.listing_key = d.listing_key AND "
         "s.sort_order = d.sort_order AND s.goods_id = d.goods_id WHERE d.best_place <= 1000 "
         "ORDER BY d.board, d.listing, d.listing_key, d.sort_order, d.goods_id, d.best_place, "
         "d.best_ms",
         {}},
    };
    for (const auto& [sql, params] : steps) {
        if (auto done = pg::run(db, sql, params); !done) {
            return done.error();
        }
    }
    return {};
}

}  // namespace pg_summaries

Result<std::vector<CellDay>> PgEngine::cell_days(const std::string& board, Listing listing,
                                                 const std::string& key, Sort sort,
                                                 std::int64_t before_day) const {
    auto rows = pg::run(
        db_,
        "SELECT goods_id, role, day, best_place, best_ms, worst_place, worst_ms, "
        "last_place, last_ms, last_reason FROM cell_days WHERE board = $1 AND "
        "listing = $2 AND listing_key = $3 AND sort_order = $4 AND day < $5 "
        "ORDER BY goods_id, day",
        pg::Params().add(board).add(to_text(listing)).add(key).add(to_text(sort)).add(before_day));
    if (!rows) {
        return rows.error();
    }
    const pg::Rows& r = rows.value();
    std::vector<CellDay> days;
    for (int i = 0; i < r.size(); ++i) {
        CellDay day;
        day.goods_id = r.text(i, 0);
        day.role = role_from_text(r.text(i, 1)).value_or(Role::own);
        day.day = r.int64(i, 2);
        day.best_place = static_cast<int>(r.int64(i, 3));
        day.best_ms = r.int64(i, 4);
        if (!r.is_null(i, 5)) {
            day.worst_place = static_cast<int>(r.int64(i, 5));
            day.worst_ms = r.int64(i, 6);
        }
        day.last_place = static_cast<int>(r.int64(i, 7));
        day.last_ms = r.int64(i, 8);
        day.last_reason = r.text(i, 9);
        days.push_back(std::move(day));
    }
    return days;
}

// Whole days from the summary, the days the span cuts into from their
// checks; the best of each goods item picked by the server.
Result<std::vector<CellBest>> PgEngine::best_ranks_between(const std::string& board,
                                                           std::int64_t since_ms,
                                                           std::int64_t until_ms) const {
    const auto [first_day, end_day] = whole_days(since_ms, until_ms);
    const bool no_whole_day = first_day == end_day;
    auto rows = pg::run(
        db_,
        "SELECT DISTINCT ON (listing, listing_key, sort_order, goods_id) listing, listing_key, "
        "sort_order, goods_id, place, ms FROM ("
        "SELECT listing, listing_key, sort_order, goods_id, best_place AS place, best_ms AS ms "
        "FROM cell_days WHERE day >= $1 AND day < $2 AND board = $3 AND best_place <= 1000 "
        "UNION ALL "
        "SELECT c.listing, c.listing_key, c.sort_order, g.goods_id, g.rank, c.time_ms "
        "FROM checks c JOIN check_goods g ON g.check_id = c.id "
        "WHERE c.board = $3 AND ((c.time_ms >= $4 AND c.time_ms < $5) OR "
        "(c.time_ms >= $6 AND c.time_ms < $7)) AND g.rank IS NOT NULL AND "
        "(g.status = 'found' OR (g.status IS NULL AND c.outcome = 'found'))) reached "
        "ORDER BY listing, listing_key, sort_order, goods_id, place, ms",
        pg::Params()
            .add(first_day)
            .add(end_day)
            .add(board)
            .add(since_ms)
            .add(no_whole_day ? until_ms : std::max(since_ms, first_day * kDayMs))
            .add(no_whole_day ? until_ms : std::max(since_ms, end_day * kDayMs))
            .add(until_ms));
    if (!rows) {
        return rows.error();
    }
    const pg::Rows& r = rows.value();
    std::vector<CellBest> best;
    for (int i = 0; i < r.size(); ++i) {
        best.push_back(CellBest{listing_from_text(r.text(i, 0)).value_or(Listing::keyword),
                                r.text(i, 1), sort_from_text(r.text(i, 2)).value_or(Sort::none),
                                r.text(i, 3), static_cast<int>(r.int64(i, 4)), r.int64(i, 5)});
    }
    return best;
}

}  // namespace history
