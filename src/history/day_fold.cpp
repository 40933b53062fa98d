#include "history/day_fold.h"

#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "history/records.h"

namespace history {
namespace {

using CellGoods = std::tuple<std::string, std::string, std::string, std::string, std::string>;

// A goods row's place (records.h), its status as status_of gives it.
int place_of(const sql::Statement& row) {
    const std::string outcome = row.text(10);
    std::string status = row.is_null(8) ? std::string() : row.text(8);
    if (status.empty()) {
        status = outcome == "failed" || outcome == "not_checked"
                     ? outcome
                     : (row.is_null(7) ? "not_in_top_1000" : "found");
    }
    if (status == "found") {
        return row.is_null(7) ? kPlaceNotRead : static_cast<int>(row.int64(7));
    }
    return status == "not_in_top_1000" ? kPlaceNotInTop1000 : kPlaceNotRead;
}

// Points arrive in time order: a better place replaces the best, a worse
// one read the worst (a tie keeps the earlier), every one the last.
void fold(CellDay& day, int place, std::int64_t time_ms, Role role, std::string reason) {
    if (place < day.best_place) {
        day.best_place = place;
        day.best_ms = time_ms;
    }
    if (place <= kPlaceNotInTop1000 && (!day.worst_place || place > *day.worst_place)) {
        day.worst_place = place;
        day.worst_ms = time_ms;
    }
    day.role = role;
    day.last_place = place;
    day.last_ms = time_ms;
    day.last_reason = std::move(reason);
}

class DayWriter {
  public:
    explicit DayWriter(sql::Statement insert) : insert_(std::move(insert)) {}

    Status write(std::map<CellGoods, CellDay>& days) {
        for (const auto& [key, day] : days) {
            insert_.bind(1, std::get<0>(key))
                .bind(2, std::get<1>(key))
                .bind(3, std::get<2>(key))
                .bind(4, std::get<3>(key))
                .bind(5, std::get<4>(key))
                .bind(6, day.day)
                .bind(7, to_text(day.role))
                .bind(8, std::int64_t{day.best_place})
                .bind(9, day.best_ms)
                .bind(10, day.worst_place);
            if (day.worst_place) {
                insert_.bind(11, day.worst_ms);
            } else {
                insert_.bind_null(11);
            }
            insert_.bind(12, std::int64_t{day.last_place})
                .bind(13, day.last_ms)
                .bind(14, day.last_reason);
            if (auto done = insert_.run(); !done) {
                return done;
            }
            if (auto reset = insert_.reset_for_reuse(); !reset) {
                return reset;
            }
        }
        days.clear();
        return {};
    }

  private:
    sql::Statement insert_;
};

// Reads the points `select` gives (in time order) and writes their days.
Status fold_points(const sql::Connection& db, sql::Statement& select) {
    auto insert = sql::prepare(db,
                               "INSERT INTO cell_days (board, listing, listing_key, sort_order, "
                               "goods_id, day, role, best_place, best_ms, worst_place, worst_ms, "
                               "last_place, last_ms, last_reason) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    if (!insert) {
        return insert.error();
    }
    DayWriter writer(std::move(insert).value());
    std::map<CellGoods, CellDay> days;
    std::int64_t current = 0;
    for (;;) {
        auto row = select.step();
        if (!row) {
            return row.error();
        }
        if (!row.value()) {
            return writer.write(days);
        }
        const std::int64_t time_ms = select.int64(6);
        const std::int64_t day = time_ms / kDayMs;
        if (day != current && !days.empty()) {
            if (auto written = writer.write(days); !written) {
                return written;
            }
        }
        current = day;
        const int place = place_of(select);
        std::string reason;
        if (place == kPlaceNotRead) {
            reason = select.text(9).empty() ? select.text(11) : select.text(9);
        }
        const CellGoods key{select.text(0), select.text(1), select.text(2), select.text(3),
                            select.text(4)};
        const auto [at, fresh] = days.try_emplace(key);
        if (fresh) {
            at->second.day = day;
            at->second.best_place = place;
            at->second.best_ms = time_ms;
        }
        fold(at->second, place, time_ms, role_from_text(select.text(5)).value_or(Role::own),
             std::move(reason));
    }
}

constexpr std::string_view points =
    "SELECT c.board, c.listing, c.listing_key, c.sort_order, g.goods_id, "
    "g.role, c.time_ms, g.rank, g.status, g.reason, c.outcome, c.reason "
    "FROM checks c JOIN check_goods g ON g.check_id = c.id ";
constexpr std::string_view in_time_order = " ORDER BY c.time_ms, c.id";

}  // namespace

Status fold_all_days(const sql::Connection& db) {
    auto select = sql::prepare(db, std::string(points) + std::string(in_time_order));
    if (!select) {
        return select.error();
    }
    return fold_points(db, select.value());
}

Status fold_stale_cells(const sql::Connection& db, std::int64_t since_ms, std::int64_t until_ms) {
    auto select = sql::prepare(
        db, std::string(points) +
                "WHERE c.time_ms >= ? AND c.time_ms < ? AND (c.board, c.listing, c.listing_key, "
                "c.sort_order) IN (SELECT board, listing, listing_key, sort_order FROM "
                "temp.stale_cells)" +
                std::string(in_time_order));
    if (!select) {
        return select.error();
    }
    select.value().bind(1, since_ms).bind(2, until_ms);
    return fold_points(db, select.value());
}

}  // namespace history
