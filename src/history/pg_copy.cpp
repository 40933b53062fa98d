// The PostgreSQL side of copying a whole history: every table read in id
// order through a cursor, rows written with the ids they had (many to a
// statement), and afterwards the summaries rebuilt and the id sequences
// moved past the copied ids.
#include "history/pg_engine.h"
#include "history/pg_rows.h"
#include "history/pg_schema.h"
#include "history/pg_summaries.h"

namespace history {
namespace {

using Texts = std::vector<std::optional<std::string>>;
using Numbers = std::vector<std::optional<std::int64_t>>;

constexpr int rows_per_fetch = 2000;

Status run_all(const pg::Connection& db, const char* sql, const pg::Params& params) {
    auto done = pg::run(db, sql, params);
    if (!done) {
        return done.error();
    }
    return {};
}

Status insert_checks(const pg::Connection& db, const std::vector<Check>& checks) {
    Numbers ids, times, pages;
    std::vector<Texts> texts(7);
    Numbers goods_check, goods_position, goods_rank;
    std::vector<Texts> goods_texts(4);
    for (const Check& c : checks) {
        ids.emplace_back(c.id);
        times.emplace_back(c.time_ms);
        pages.emplace_back(c.pages_read);
        const std::string fields[] = {c.board,
                                      std::string(to_text(c.listing)),
                                      c.key,
                                      std::string(to_text(c.sort)),
                                      join_statuses(c.http_statuses),
                                      std::string(to_text(c.outcome)),
                                      c.reason};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i].emplace_back(fields[i]);
        }
        std::int64_t position = 0;
        for (const GoodsResult& g : c.goods) {
            goods_check.emplace_back(c.id);
            goods_position.emplace_back(position++);
            goods_rank.push_back(g.rank ? std::optional<std::int64_t>(*g.rank) : std::nullopt);
            goods_texts[0].emplace_back(g.goods_id);
            goods_texts[1].emplace_back(std::string(to_text(g.role)));
            goods_texts[2].push_back(g.status ? std::optional<std::string>(to_text(*g.status))
                                              : std::nullopt);
            goods_texts[3].emplace_back(g.reason);
        }
    }
    pg::Params params;
    params.add(pg::int_array(ids));
    for (std::size_t i = 0; i < 4; ++i) {
        params.add(pg::text_array(texts[i]));
    }
    params.add(pg::int_array(times)).add(pg::int_array(pages));
    for (std::size_t i = 4; i < texts.size(); ++i) {
        params.add(pg::text_array(texts[i]));
    }
    auto kept = run_all(db,
                        "INSERT INTO checks (id, board, listing, listing_key, sort_order, time_ms, "
                        "pages_read, http_statuses, outcome, reason) SELECT * FROM unnest("
                        "$1::bigint[], $2::text[], $3::text[], $4::text[], $5::text[], "
                        "$6::bigint[], $7::int[], $8::text[], $9::text[], $10::text[])",
                        params);
    if (!kept) {
        return kept;
    }
    pg::Params goods;
    goods.add(pg::int_array(goods_check))
        .add(pg::int_array(goods_position))
        .add(pg::text_array(goods_texts[0]))
        .add(pg::text_array(goods_texts[1]))
        .add(pg::int_array(goods_rank))
        .add(pg::text_array(goods_texts[2]))
        .add(pg::text_array(goods_texts[3]));
    return run_all(db,
                   "INSERT INTO check_goods (check_id, position, goods_id, role, rank, status, "
                   "reason) SELECT * FROM unnest($1::bigint[], $2::int[], $3::text[], "
                   "$4::text[], $5::int[], $6::text[], $7::text[])",
                   goods);
}

Status insert_notices(const pg::Connection& db, const std::vector<Notice>& notices) {
    Numbers ids, times, checks;
    std::vector<Texts> texts(9);
    for (const Notice& n : notices) {
        ids.emplace_back(n.id);
        times.emplace_back(n.time_ms);
        checks.emplace_back(n.check_id);
        const std::string fields[] = {n.board,    std::string(to_text(n.listing)),
                                      n.key,      std::string(to_text(n.sort)),
                                      n.goods_id, n.kind,
                                      n.before,   n.after,
                                      n.message};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i].emplace_back(fields[i]);
        }
    }
    pg::Params params;
    params.add(pg::int_array(ids)).add(pg::text_array(texts[0])).add(pg::int_array(times));
    for (std::size_t i = 1; i < texts.size(); ++i) {
        params.add(pg::text_array(texts[i]));
    }
    params.add(pg::int_array(checks));
    return run_all(db,
                   "INSERT INTO notices (id, board, time_ms, listing, listing_key, sort_order, "
                   "goods_id, kind, before_text, after_text, message, check_id) "
                   "SELECT * FROM unnest($1::bigint[], $2::text[], $3::bigint[], $4::text[], "
                   "$5::text[], $6::text[], $7::text[], $8::text[], $9::text[], $10::text[], "
                   "$11::text[], $12::bigint[])",
                   params);
}

Status insert_deliveries(const pg::Connection& db, const std::vector<Delivery>& deliveries) {
    Numbers notices, attempts, delivered, claimed, sends;
    Texts channels, errors, claims;
    for (const Delivery& d : deliveries) {
        notices.emplace_back(d.notice_id);
        channels.emplace_back(d.channel);
        attempts.emplace_back(d.attempts);
        delivered.emplace_back(d.delivered_ms);
        errors.emplace_back(d.error);
        claims.emplace_back(d.claim);
        claimed.emplace_back(d.claimed_ms);
        sends.emplace_back(d.sends);
    }
    return run_all(db,
                   "INSERT INTO deliveries (notice_id, channel, attempts, delivered_ms, error, "
                   "claim, claimed_ms, sends) SELECT * FROM unnest($1::bigint[], $2::text[], "
                   "$3::int[], $4::bigint[], $5::text[], $6::text[], $7::bigint[], $8::int[])",
                   pg::Params()
                       .add(pg::int_array(notices))
                       .add(pg::text_array(channels))
                       .add(pg::int_array(attempts))
                       .add(pg::int_array(delivered))
                       .add(pg::text_array(errors))
                       .add(pg::text_array(claims))
                       .add(pg::int_array(claimed))
                       .add(pg::int_array(sends)));
}

// Boards, runs and paces are few: one statement each.
Status insert_small_tables(const pg::Connection& db, const CopyBatch& batch) {
    for (const Board& b : batch.boards) {
        auto kept = run_all(
            db,
            "INSERT INTO boards (name, definition, created_ms, updated_ms) "
            "VALUES ($1, $2, $3, $4)",
            pg::Params().add(b.name).add_bytes(b.definition).add(b.created_ms).add(b.updated_ms));
        if (!kept) {
            return kept;
        }
    }
    for (const RunRecord& r : batch.runs) {
        auto kept = run_all(db,
                            "INSERT INTO runs (id, board, started_ms, ended_ms, how_ended, "
                            "checks, failed, not_checked) VALUES ($1, $2, $3, $4, $5, $6, $7, $8)",
                            pg::Params()
                                .add(r.id)
                                .add(r.board)
                                .add(r.started_ms)
                                .add(r.ended_ms)
                                .add(r.how_ended)
                                .add(r.checks)
                                .add(r.failed)
                                .add(r.not_checked));
        if (!kept) {
            return kept;
        }
    }
    for (const PaceRecord& p : batch.paces) {
        auto kept = run_all(db,
                            "INSERT INTO pace (host, pages_per_second, time_ms, pushed_back_at, "
                            "pages_since_push_back) VALUES ($1, $2, $3, $4, $5)",
                            pg::Params()
                                .add(p.host)
                                .add(p.pages_per_second)
                                .add(p.time_ms)
                                .add(p.pushed_back_at)
                                .add(p.pages_since_push_back));
        if (!kept) {
            return kept;
        }
    }
    return {};
}

}  // namespace

Result<bool> PgEngine::is_empty() const {
    auto rows =
        pg::run(db_,
                "SELECT NOT (EXISTS (SELECT 1 FROM checks) OR EXISTS (SELECT 1 FROM boards) "
                "OR EXISTS (SELECT 1 FROM notices) OR EXISTS (SELECT 1 FROM runs) OR "
                "EXISTS (SELECT 1 FROM pace) OR EXISTS (SELECT 1 FROM deliveries))");
    if (!rows) {
        return rows.error();
    }
    return rows.value().text(0, 0) == "t";
}

Status PgEngine::for_each_notice(const std::function<bool(const Notice&)>& visit) const {
    return pg::stream(
        db_, std::string("SELECT ") + pg_rows::notice_columns + " FROM notices ORDER BY id", {},
        rows_per_fetch,
        [&](const pg::Rows& rows, int row) { return visit(pg_rows::notice(rows, row)); });
}

Status PgEngine::for_each_delivery(const std::function<bool(const Delivery&)>& visit) const {
    return pg::stream(db_,
                      std::string("SELECT ") + pg_rows::delivery_columns +
                          " FROM deliveries ORDER BY notice_id, channel",
                      {}, rows_per_fetch, [&](const pg::Rows& rows, int row) {
                          return visit(pg_rows::delivery(rows, row));
                      });
}

Status PgEngine::for_each_run(const std::function<bool(const RunRecord&)>& visit) const {
    return pg::stream(db_,
                      "SELECT id, board, started_ms, ended_ms, how_ended, checks, failed, "
                      "not_checked FROM runs ORDER BY id",
                      {}, rows_per_fetch, [&](const pg::Rows& r, int i) {
                          return visit(RunRecord{
                              r.int64(i, 0), r.text(i, 1), r.int64(i, 2), r.int64(i, 3),
                              r.text(i, 4), static_cast<int>(r.int64(i, 5)),
                              static_cast<int>(r.int64(i, 6)), static_cast<int>(r.int64(i, 7))});
                      });
}

Result<std::vector<PaceRecord>> PgEngine::paces() const {
    auto rows = pg::run(db_,
                        "SELECT host, pages_per_second, time_ms, pushed_back_at, "
                        "pages_since_push_back FROM pace ORDER BY host");
    if (!rows) {
        return rows.error();
    }
    const pg::Rows& r = rows.value();
    std::vector<PaceRecord> paces;
    for (int i = 0; i < r.size(); ++i) {
        paces.push_back(
            PaceRecord{r.text(i, 0), r.real(i, 1), r.int64(i, 2), r.real(i, 3), r.int64(i, 4)});
    }
    return paces;
}

Status PgEngine::import_rows(const CopyBatch& batch) {
    auto transaction = pg::Transaction::begin(db_);
    if (!transaction) {
        return transaction.error();
    }
    if (auto small = insert_small_tables(db_, batch); !small) {
        return small;
    }
    if (!batch.checks.empty()) {
        if (auto checks = insert_checks(db_, batch.checks); !checks) {
            return checks;
        }
    }
    if (!batch.notices.empty()) {
        if (auto notices = insert_notices(db_, batch.notices); !notices) {
            return notices;
        }
    }
    if (!batch.deliveries.empty()) {
        if (auto deliveries = insert_deliveries(db_, batch.deliveries); !deliveries) {
            return deliveries;
        }
    }
    return transaction.value().commit();
}

Status PgEngine::finish_import() {
    auto transaction = pg::Transaction::begin(db_);
    if (!transaction) {
        return transaction.error();
    }
    if (auto locked = pg::exec(db_, "LOCK TABLE checks IN SHARE ROW EXCLUSIVE MODE"); !locked) {
        return locked;
    }
    if (auto summed = pg_summaries::rebuild(db_); !summed) {
        return summed;
    }
    for (const char* table : {"checks", "notices", "runs"}) {
        const std::string sql = std::string("SELECT setval(pg_get_serial_sequence('") + table +
                                "', 'id'), coalesce(max(id), 0) + 1, false) FROM " + table;
        if (auto moved = pg::exec(db_, sql.c_str()); !moved) {
            return moved;
        }
    }
    if (auto bumped = pg::exec(db_, bump_changes); !bumped) {
        return bumped;
    }
    return transaction.value().commit();
}

}  // namespace history
