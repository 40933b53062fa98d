// Change notices of a board on a server, and where each was sent.
#include <algorithm>
#include <limits>

#include "history/pg_engine.h"
#include "history/pg_rows.h"

namespace history {

Notice pg_rows::notice(const pg::Rows& r, int i) {
    return Notice{r.int64(i, 0), r.text(i, 1),
                  r.int64(i, 2), listing_from_text(r.text(i, 3)).value_or(Listing::keyword),
                  r.text(i, 4),  sort_from_text(r.text(i, 5)).value_or(Sort::none),
                  r.text(i, 6),  r.text(i, 7),
                  r.text(i, 8),  r.text(i, 9),
                  r.text(i, 10), r.int64(i, 11)};
}

Result<std::int64_t> PgEngine::add_notice(const Notice& notice) {
    pg::Params params;
    params.add(notice.board)
        .add(notice.time_ms)
        .add(to_text(notice.listing))
        .add(notice.key)
        .add(to_text(notice.sort))
        .add(notice.goods_id)
        .add(notice.kind)
        .add(notice.before)
        .add(notice.after)
        .add(notice.message)
        .add(notice.check_id);
    auto added = pg::run(db_,
                         "WITH added AS (INSERT INTO notices (board, time_ms, listing, "
                         "listing_key, sort_order, goods_id, kind, before_text, after_text, "
                         "message, check_id) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, "
                         "$11) RETURNING id), bump AS (UPDATE korvel_changes SET n = n + 1) "
                         "SELECT id FROM added",
                         params);
    if (!added) {
        return added.error();
    }
    return added.value().int64(0, 0);
}

Result<std::vector<Notice>> PgEngine::notices(const std::string& board,
                                              std::optional<std::int64_t> since_ms,
                                              std::optional<std::size_t> newest_limit) const {
    // The newest N are read newest first and turned round.
    std::string sql = std::string("SELECT ") + pg_rows::notice_columns +
                      " FROM notices WHERE board = $1 AND time_ms >= $2 ";
    pg::Params params;
    params.add(board).add(since_ms.value_or(std::numeric_limits<std::int64_t>::min()));
    if (newest_limit) {
        sql += "ORDER BY time_ms DESC, id DESC LIMIT $3";
        const auto most = static_cast<std::size_t>(std::numeric_limits<std::int64_t>::max());
        params.add(static_cast<std::int64_t>(std::min(*newest_limit, most)));
    } else {
        sql += "ORDER BY time_ms, id";
    }
    auto rows = pg::run(db_, sql, params);
    if (!rows) {
        return rows.error();
    }
    std::vector<Notice> notices;
    for (int i = 0; i < rows.value().size(); ++i) {
        notices.push_back(pg_rows::notice(rows.value(), i));
    }
    if (newest_limit) {
        std::reverse(notices.begin(), notices.end());
    }
    return notices;
}

Delivery pg_rows::delivery(const pg::Rows& r, int i) {
    return Delivery{
        r.int64(i, 0), r.text(i, 1),  static_cast<int>(r.int64(i, 2)), r.int64(i, 3), r.text(i, 4),
        r.text(i, 5),  r.int64(i, 6), static_cast<int>(r.int64(i, 7))};
}

namespace {

// A write to the deliveries that reports how many rows it changed, the
// change counter moved on only when it changed one. `write` returns a row
// per row changed.
Result<std::int64_t> changed_rows(const pg::Connection& db, const std::string& write,
                                  const pg::Params& params) {
    auto rows = pg::run(db,
                        "WITH changed AS (" + write +
                            "), bump AS (UPDATE korvel_changes SET n = n + 1 "
                            "WHERE EXISTS (SELECT 1 FROM changed)) SELECT count(*) FROM changed",
                        params);
    if (!rows) {
        return rows.error();
    }
    return rows.value().int64(0, 0);
}

}  // namespace

Status PgEngine::record_delivery(const Delivery& delivery) {
    auto kept = changed_rows(db_,
                             "INSERT INTO deliveries (notice_id, channel, attempts, delivered_ms, "
                             "error, claim, claimed_ms, sends) "
                             "VALUES ($1, $2, $3, $4, $5, $6, $7, $8) "
                             "ON CONFLICT (notice_id, channel) DO UPDATE SET attempts = "
                             "excluded.attempts, delivered_ms = excluded.delivered_ms, "
                             "error = excluded.error, claim = excluded.claim, "
                             "claimed_ms = excluded.claimed_ms, sends = excluded.sends "
                             "RETURNING 1",
                             pg::Params()
                                 .add(delivery.notice_id)
                                 .add(delivery.channel)
                                 .add(delivery.attempts)
                                 .add(delivery.delivered_ms)
                                 .add(delivery.error)
                                 .add(delivery.claim)
                                 .add(delivery.claimed_ms)
                                 .add(delivery.sends));
    if (!kept) {
        return kept.error();
    }
    return {};
}

Status PgEngine::queue_deliveries(const std::vector<std::int64_t>& notice_ids,
                                  const std::string& channel) {
    std::vector<std::optional<std::int64_t>> ids(notice_ids.begin(), notice_ids.end());
    auto queued = changed_rows(db_,
                               "INSERT INTO deliveries (notice_id, channel, attempts, "
                               "delivered_ms, error, claim, claimed_ms, sends) "
                               "SELECT DISTINCT id, $2, 0, 0, '', '', 0, 0 "
                               "FROM unnest($1::bigint[]) AS u(id) ORDER BY id "
                               "ON CONFLICT (notice_id, channel) DO NOTHING RETURNING 1",
                               pg::Params().add(pg::int_array(ids)).add(channel));
    if (!queued) {
        return queued.error();
    }
    return {};
}

// One statement, so two claimants can never both get the row: the insert
// takes a notice the channel never had; on a conflict the server locks the
// row and tests the WHERE against its latest version, so only a queued or
// once-failed row is taken, and by one claimant alone.
Result<bool> PgEngine::claim_delivery(std::int64_t notice_id, const std::string& channel,
                                      const std::string& claim, std::int64_t now_ms) {
    auto claimed =
        changed_rows(db_,
                     "INSERT INTO deliveries (notice_id, channel, attempts, delivered_ms, error, "
                     "claim, claimed_ms, sends) VALUES ($1, $2, 0, 0, '', $3, $4, 1) "
                     "ON CONFLICT (notice_id, channel) DO UPDATE SET claim = excluded.claim, "
                     "claimed_ms = excluded.claimed_ms, sends = deliveries.sends + 1 "
                     "WHERE deliveries.claim = '' AND deliveries.delivered_ms = 0 AND "
                     "deliveries.sends < 2 RETURNING 1",
                     pg::Params().add(notice_id).add(channel).add(claim).add(now_ms));
    if (!claimed) {
        return claimed.error();
    }
    return claimed.value() == 1;
}

Result<bool> PgEngine::settle_delivery(const Delivery& outcome, const std::string& claim) {
    auto settled = changed_rows(db_,
                                "UPDATE deliveries SET attempts = $1, delivered_ms = $2, "
                                "error = $3, claim = $4 "
                                "WHERE notice_id = $5 AND channel = $6 AND claim = $7 RETURNING 1",
                                pg::Params()
                                    .add(outcome.attempts)
                                    .add(outcome.delivered_ms)
                                    .add(outcome.error)
                                    .add(outcome.claim)
                                    .add(outcome.notice_id)
                                    .add(outcome.channel)
                                    .add(claim));
    if (!settled) {
        return settled.error();
    }
    return settled.value() == 1;
}

Status PgEngine::release_delivery(std::int64_t notice_id, const std::string& channel,
                                  const std::string& claim) {
    auto released = changed_rows(db_,
                                 "UPDATE deliveries SET claim = '', sends = sends - 1 "
                                 "WHERE notice_id = $1 AND channel = $2 AND claim = $3 RETURNING 1",
                                 pg::Params().add(notice_id).add(channel).add(claim));
    if (!released) {
        return released.error();
    }
    return {};
}

Result<std::vector<Delivery>> PgEngine::deliveries(
    const std::vector<std::int64_t>& notice_ids) const {
    std::vector<std::optional<std::int64_t>> ids(notice_ids.begin(), notice_ids.end());
    auto rows = pg::run(db_,
                        std::string("SELECT ") + pg_rows::delivery_columns +
                            " FROM deliveries WHERE notice_id = ANY ($1::bigint[]) "
                            "ORDER BY notice_id, channel",
                        pg::Params().add(pg::int_array(ids)));
    if (!rows) {
        return rows.error();
    }
    std::vector<Delivery> found;
    for (int i = 0; i < rows.value().size(); ++i) {
        found.push_back(pg_rows::delivery(rows.value(), i));
    }
    return found;
}

}  // namespace history
