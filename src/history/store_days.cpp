// Reads of the per-day summary: a cell's days for a long chart, and best
// ranks over a span of days without reading its checks.
#include <algorithm>
#include <map>
#include <tuple>

#include "history/day_span.h"
#include "history/sqlite_engine.h"

namespace history {

Result<std::vector<CellDay>> SqliteEngine::cell_days(const std::string& board, Listing listing,
                                                     const std::string& key, Sort sort,
                                                     std::int64_t before_day) const {
    auto statement = sql::prepare(db_,
                                  "SELECT goods_id, role, day, best_place, best_ms, worst_place, "
                                  "worst_ms, last_place, last_ms, last_reason FROM cell_days "
                                  "WHERE board = ? AND listing = ? AND listing_key = ? AND "
                                  "sort_order = ? AND day < ? ORDER BY goods_id, day");
    if (!statement) {
        return statement.error();
    }
    auto& select = statement.value();
    select.bind(1, board)
        .bind(2, to_text(listing))
        .bind(3, key)
        .bind(4, to_text(sort))
        .bind(5, before_day);
    std::vector<CellDay> days;
    auto read = select.each_row([&](const sql::Statement& row) {
        CellDay day;
        day.goods_id = row.text(0);
        day.role = role_from_text(row.text(1)).value_or(Role::own);
        day.day = row.int64(2);
        day.best_place = static_cast<int>(row.int64(3));
        day.best_ms = row.int64(4);
        if (!row.is_null(5)) {
            day.worst_place = static_cast<int>(row.int64(5));
            day.worst_ms = row.int64(6);
        }
        day.last_place = static_cast<int>(row.int64(7));
        day.last_ms = row.int64(8);
        day.last_reason = row.text(9);
        days.push_back(std::move(day));
    });
    if (!read) {
        return read.error();
    }
    return days;
}

Result<std::vector<CellBest>> SqliteEngine::best_ranks_between(const std::string& board,
                                                               std::int64_t since_ms,
                                                               std::int64_t until_ms) const {
    const auto [first_day, end_day] = whole_days(since_ms, until_ms);
    const bool no_whole_day = first_day == end_day;
    auto statement = sql::prepare(
        db_,
        "SELECT listing, listing_key, sort_order, goods_id, best_place, best_ms FROM cell_days "
        "WHERE day >= ? AND day < ? AND board = ? AND best_place <= 1000 "
        "UNION ALL "
        "SELECT c.listing, c.listing_key, c.sort_order, g.goods_id, g.rank, c.time_ms "
        "FROM checks c JOIN check_goods g ON g.check_id = c.id "
        "WHERE c.board = ? AND ((c.time_ms >= ? AND c.time_ms < ?) OR "
        "(c.time_ms >= ? AND c.time_ms < ?)) AND g.rank IS NOT NULL AND "
        "(g.status = 'found' OR (g.status IS NULL AND c.outcome = 'found'))");
    if (!statement) {
        return statement.error();
    }
    auto& select = statement.value();
    select.bind(1, first_day)
        .bind(2, end_day)
        .bind(3, board)
        .bind(4, board)
        .bind(5, since_ms)
        .bind(6, no_whole_day ? until_ms : std::max(since_ms, first_day * kDayMs))
        .bind(7, no_whole_day ? until_ms : std::max(since_ms, end_day * kDayMs))
        .bind(8, until_ms);
    using Key = std::tuple<std::string, std::string, std::string, std::string>;
    std::map<Key, std::pair<int, std::int64_t>> best;
    auto read = select.each_row([&](const sql::Statement& row) {
        const std::pair<int, std::int64_t> reached{static_cast<int>(row.int64(4)), row.int64(5)};
        const auto [it, first] =
            best.try_emplace(Key{row.text(0), row.text(1), row.text(2), row.text(3)}, reached);
        if (!first && reached < it->second) {
            it->second = reached;
        }
    });
    if (!read) {
        return read.error();
    }
    std::vector<CellBest> out;
    for (const auto& [key, reached] : best) {
        out.push_back(CellBest{listing_from_text(std::get<0>(key)).value_or(Listing::keyword),
                               std::get<1>(key),
                               sort_from_text(std::get<2>(key)).value_or(Sort::none),
                               std::get<3>(key), reached.first, reached.second});
    }
    return out;
}

}  // namespace history
