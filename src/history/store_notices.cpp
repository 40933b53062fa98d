// Change notices of a board, kept for later showing, and where each was sent.
#include <algorithm>
#include <limits>

#include "history/sqlite_engine.h"
#include "history/store_rows.h"

namespace history {
namespace {

Notice notice_from_row(const sql::Statement& row, const std::string& board) {
    return Notice{row.int64(0), board,
                  row.int64(1), listing_from_text(row.text(2)).value_or(Listing::keyword),
                  row.text(3),  sort_from_text(row.text(4)).value_or(Sort::none),
                  row.text(5),  row.text(6),
                  row.text(7),  row.text(8),
                  row.text(9),  row.int64(10)};
}

// Far fewer than SQLite's limit of parameters in one statement.
constexpr std::size_t ids_per_query = 500;

std::string delivery_query(std::size_t ids) {
    std::string sql =
        "SELECT notice_id, channel, attempts, delivered_ms, error, claim, claimed_ms, sends "
        "FROM deliveries WHERE notice_id IN (";
    for (std::size_t i = 0; i < ids; ++i) {
        sql += i == 0 ? "?" : ", ?";
    }
    return sql + ") ORDER BY notice_id, channel";
}

}  // namespace

namespace rows {

Result<std::int64_t> insert_notice(const sql::Connection& db, const Notice& notice) {
    auto statement = sql::prepare(db,
                                  "INSERT INTO notices (board, time_ms, listing, listing_key, "
                                  "sort_order, goods_id, kind, before_text, after_text, message, "
                                  "check_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
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
                    .bind(11, notice.check_id)
                    .run();
    if (!done) {
        return done.error();
    }
    return sql::last_insert_id(db);
}

}  // namespace rows

Result<std::int64_t> SqliteEngine::add_notice(const Notice& notice) {
    return rows::insert_notice(db_, notice);
}

Result<std::vector<Notice>> SqliteEngine::notices(const std::string& board,
                                                  std::optional<std::int64_t> since_ms,
                                                  std::optional<std::size_t> newest_limit) const {
    // The newest N are read newest first and turned round.
    auto statement = sql::prepare(
        db_,
        std::string("SELECT id, time_ms, listing, listing_key, sort_order, goods_id, kind, "
                    "before_text, after_text, message, check_id FROM notices "
                    "WHERE board = ? AND time_ms >= ? ") +
            (newest_limit ? "ORDER BY time_ms DESC, id DESC LIMIT ?" : "ORDER BY time_ms, id"));
    if (!statement) {
        return statement.error();
    }
    auto& select = statement.value();
    select.bind(1, board).bind(2, since_ms.value_or(std::numeric_limits<std::int64_t>::min()));
    if (newest_limit) {
        const auto most = std::numeric_limits<std::int64_t>::max();
        select.bind(3, static_cast<std::int64_t>(std::min<std::size_t>(*newest_limit, most)));
    }
    std::vector<Notice> notices;
    auto read = select.each_row(
        [&](const sql::Statement& row) { notices.push_back(notice_from_row(row, board)); });
    if (!read) {
        return read.error();
    }
    if (newest_limit) {
        std::reverse(notices.begin(), notices.end());
    }
    return notices;
}

Status SqliteEngine::record_delivery(const Delivery& delivery) {
    auto statement = sql::prepare(
        db_,
        "INSERT INTO deliveries (notice_id, channel, attempts, delivered_ms, error, claim, "
        "claimed_ms, sends) VALUES (?, ?, ?, ?, ?, ?, ?, ?) "
        "ON CONFLICT (notice_id, channel) DO UPDATE SET attempts = excluded.attempts, "
        "delivered_ms = excluded.delivered_ms, error = excluded.error, claim = excluded.claim, "
        "claimed_ms = excluded.claimed_ms, sends = excluded.sends");
    if (!statement) {
        return statement.error();
    }
    return statement.value()
        .bind(1, delivery.notice_id)
        .bind(2, delivery.channel)
        .bind(3, static_cast<std::int64_t>(delivery.attempts))
        .bind(4, delivery.delivered_ms)
        .bind(5, delivery.error)
        .bind(6, delivery.claim)
        .bind(7, delivery.claimed_ms)
        .bind(8, static_cast<std::int64_t>(delivery.sends))
        .run();
}

Status SqliteEngine::queue_deliveries(const std::vector<std::int64_t>& notice_ids,
                                      const std::string& channel) {
    auto transaction = sql::Transaction::begin(db_);
    if (!transaction) {
        return transaction.error();
    }
    auto statement = sql::prepare(db_,
                                  "INSERT INTO deliveries (notice_id, channel, attempts, "
                                  "delivered_ms, error, claim, claimed_ms, sends) "
                                  "VALUES (?, ?, 0, 0, '', '', 0, 0) "
                                  "ON CONFLICT (notice_id, channel) DO NOTHING");
    if (!statement) {
        return statement.error();
    }
    for (const std::int64_t id : notice_ids) {
        auto& insert = statement.value();
        if (auto done = insert.bind(1, id).bind(2, channel).run(); !done) {
            return done;
        }
        if (auto reset = insert.reset_for_reuse(); !reset) {
            return reset;
        }
    }
    return transaction.value().commit();
}

Result<bool> SqliteEngine::claim_delivery(std::int64_t notice_id, const std::string& channel,
                                          const std::string& claim, std::int64_t now_ms) {
    // One statement, so two claimants can never both get the row: the
    // insert takes a notice the channel never had, the update a queued or
    // once-failed one, and the WHERE leaves every other row alone.
    auto statement = sql::prepare(
        db_,
        "INSERT INTO deliveries (notice_id, channel, attempts, delivered_ms, error, claim, "
        "claimed_ms, sends) VALUES (?, ?, 0, 0, '', ?, ?, 1) "
        "ON CONFLICT (notice_id, channel) DO UPDATE SET claim = excluded.claim, "
        "claimed_ms = excluded.claimed_ms, sends = deliveries.sends + 1 "
        "WHERE deliveries.claim = '' AND deliveries.delivered_ms = 0 AND deliveries.sends < 2");
    if (!statement) {
        return statement.error();
    }
    auto done =
        statement.value().bind(1, notice_id).bind(2, channel).bind(3, claim).bind(4, now_ms).run();
    if (!done) {
        return done.error();
    }
    return sql::changes(db_) == 1;
}

Result<bool> SqliteEngine::settle_delivery(const Delivery& outcome, const std::string& claim) {
    auto statement = sql::prepare(db_,
                                  "UPDATE deliveries SET attempts = ?, delivered_ms = ?, "
                                  "error = ?, claim = ? "
                                  "WHERE notice_id = ? AND channel = ? AND claim = ?");
    if (!statement) {
        return statement.error();
    }
    auto done = statement.value()
                    .bind(1, static_cast<std::int64_t>(outcome.attempts))
                    .bind(2, outcome.delivered_ms)
                    .bind(3, outcome.error)
                    .bind(4, outcome.claim)
                    .bind(5, outcome.notice_id)
                    .bind(6, outcome.channel)
                    .bind(7, claim)
                    .run();
    if (!done) {
        return done.error();
    }
    return sql::changes(db_) == 1;
}

Status SqliteEngine::release_delivery(std::int64_t notice_id, const std::string& channel,
                                      const std::string& claim) {
    auto statement = sql::prepare(db_,
                                  "UPDATE deliveries SET claim = '', sends = sends - 1 "
                                  "WHERE notice_id = ? AND channel = ? AND claim = ?");
    if (!statement) {
        return statement.error();
    }
    return statement.value().bind(1, notice_id).bind(2, channel).bind(3, claim).run();
}

Result<std::vector<Delivery>> SqliteEngine::deliveries(
    const std::vector<std::int64_t>& notice_ids) const {
    std::vector<Delivery> found;
    for (std::size_t first = 0; first < notice_ids.size(); first += ids_per_query) {
        const std::size_t count = std::min(ids_per_query, notice_ids.size() - first);
        auto statement = sql::prepare(db_, delivery_query(count));
        if (!statement) {
            return statement.error();
        }
        auto& select = statement.value();
        for (std::size_t i = 0; i < count; ++i) {
            select.bind(static_cast<int>(i + 1), notice_ids[first + i]);
        }
        auto read = select.each_row([&](const sql::Statement& row) {
            found.push_back(Delivery{row.int64(0), row.text(1), static_cast<int>(row.int64(2)),
                                     row.int64(3), row.text(4), row.text(5), row.int64(6),
                                     static_cast<int>(row.int64(7))});
        });
        if (!read) {
            return read.error();
        }
    }
    // Chunks are each in order; the whole is put in order once.
    std::stable_sort(found.begin(), found.end(), [](const Delivery& a, const Delivery& b) {
        return a.notice_id != b.notice_id ? a.notice_id < b.notice_id : a.channel < b.channel;
    });
    return found;
}

}  // namespace history
