// Change notices of a board, kept for later showing.
#include <limits>

#include "history/store.h"

namespace history {

Result<std::int64_t> Store::add_notice(const Notice& notice) {
    if (auto problem = notice_problem(notice)) {
        return Error{ErrorCode::invalid_record, "the notice cannot be saved: " + *problem};
    }
    auto statement = sql::prepare(db_,
                                  "INSERT INTO notices (board, time_ms, listing, listing_key, "
                                  "sort_order, goods_id, kind, before_text, after_text, message) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    if (!statement) {
        return statement.error();
    }
    auto done = statement.value()
                    .bind(1, notice.board)
                    .bind(2, notice.time_ms)
                    .bind(3, to_text(notice.listing))
                    .bind(4, notice.key)
                    .bind(5, to_text(notice.sort))
                    .bind(6, notice.goods_id)
                    .bind(7, notice.kind)
                    .bind(8, notice.before)
                    .bind(9, notice.after)
                    .bind(10, notice.message)
                    .run();
    if (!done) {
        return done.error();
    }
    return sql::last_insert_id(db_);
}

Result<std::vector<Notice>> Store::notices(const std::string& board,
                                           std::optional<std::int64_t> since_ms) const {
    auto statement = sql::prepare(db_,
                                  "SELECT id, time_ms, listing, listing_key, sort_order, goods_id, "
                                  "kind, before_text, after_text, message FROM notices "
                                  "WHERE board = ? AND time_ms >= ? ORDER BY time_ms, id");
    if (!statement) {
        return statement.error();
    }
    auto& select = statement.value();
    select.bind(1, board).bind(2, since_ms.value_or(std::numeric_limits<std::int64_t>::min()));
    std::vector<Notice> notices;
    for (;;) {
        auto row = select.step();
        if (!row) {
            return row.error();
        }
        if (!row.value()) {
            return notices;
        }
        notices.push_back(
            Notice{select.int64(0), board, select.int64(1),
                   listing_from_text(select.text(2)).value_or(Listing::keyword), select.text(3),
                   sort_from_text(select.text(4)).value_or(Sort::none), select.text(5),
                   select.text(6), select.text(7), select.text(8), select.text(9)});
    }
}

}  // namespace history
