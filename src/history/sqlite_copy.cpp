// The SQLite side of copying a whole history: every table read in id order,
// and rows written with the ids they had. The triggers keep the best ranks
// and counts as the rows arrive, and SQLite gives new rows ids past the
// largest, so nothing is left to do after the last batch.
#include "history/sqlite_engine.h"

namespace history {
namespace {

Status each(const sql::Connection& db, const char* query,
            const std::function<bool(const sql::Statement&)>& visit) {
    auto statement = sql::prepare(db, query);
    if (!statement) {
        return statement.error();
    }
    for (;;) {
        auto row = statement.value().step();
        if (!row) {
            return row.error();
        }
        if (!row.value() || !visit(statement.value())) {
            return {};
        }
    }
}

// Runs `statement` once per item with the values `bind` sets.
template <class Item, class Bind>
Status insert_each(const sql::Connection& db, const char* query, const std::vector<Item>& items,
                   Bind bind) {
    if (items.empty()) {
        return {};
    }
    auto statement = sql::prepare(db, query);
    if (!statement) {
        return statement.error();
    }
    auto& insert = statement.value();
    for (const Item& item : items) {
        bind(insert, item);
        if (auto done = insert.run(); !done) {
            return done;
        }
        if (auto reset = insert.reset_for_reuse(); !reset) {
            return reset;
        }
    }
    return {};
}

struct GoodsRow {
    std::int64_t check_id;
    std::int64_t position;
    const GoodsResult* goods;
};

Status insert_checks(const sql::Connection& db, const std::vector<Check>& checks) {
    auto done = insert_each(db,
                            "INSERT INTO checks (id, board, listing, listing_key, sort_order, "
                            "time_ms, pages_read, http_statuses, outcome, reason) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                            checks, [](sql::Statement& s, const Check& c) {
                                s.bind(1, c.id)
                                    .bind(2, c.board)
                                    .bind(3, to_text(c.listing))
                                    .bind(4, c.key)
                                    .bind(5, to_text(c.sort))
                                    .bind(6, c.time_ms)
                                    .bind(7, static_cast<std::int64_t>(c.pages_read))
                                    .bind(8, join_statuses(c.http_statuses))
                                    .bind(9, to_text(c.outcome))
                                    .bind(10, c.reason);
                            });
    if (!done) {
        return done;
    }
    std::vector<GoodsRow> goods;
    for (const Check& check : checks) {
        std::int64_t position = 0;
        for (const GoodsResult& g : check.goods) {
            goods.push_back({check.id, position++, &g});
        }
    }
    return insert_each(
        db,
        "INSERT INTO check_goods (check_id, position, goods_id, role, rank, status, reason) "
        "VALUES (?, ?, ?, ?, ?, ?, ?)",
        goods, [](sql::Statement& s, const GoodsRow& row) {
            s.bind(1, row.check_id)
                .bind(2, row.position)
                .bind(3, row.goods->goods_id)
                .bind(4, to_text(row.goods->role))
                .bind(5, row.goods->rank)
                .bind(7, row.goods->reason);
            if (row.goods->status) {
                s.bind(6, to_text(*row.goods->status));
            } else {
                s.bind_null(6);
            }
        });
}

Status insert_small_tables(const sql::Connection& db, const CopyBatch& batch) {
    auto boards = insert_each(
        db, "INSERT INTO boards (name, definition, created_ms, updated_ms) VALUES (?, ?, ?, ?)",
        batch.boards, [](sql::Statement& s, const Board& b) {
            s.bind(1, b.name).bind(2, b.definition).bind(3, b.created_ms).bind(4, b.updated_ms);
        });
    if (!boards) {
        return boards;
    }
    auto runs = insert_each(
        db,
        "INSERT INTO runs (id, board, started_ms, ended_ms, how_ended, checks, "
        "failed, not_checked) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
        batch.runs, [](sql::Statement& s, const RunRecord& r) {
            s.bind(1, r.id)
                .bind(2, r.board)
                .bind(3, r.started_ms)
                .bind(4, r.ended_ms)
                // A file's schema knows no abandoned run:
                // it was stopped, by its worker's death.
                .bind(5, r.how_ended == "abandoned" ? std::string("stopped") : r.how_ended)
                .bind(6, static_cast<std::int64_t>(r.checks))
                .bind(7, static_cast<std::int64_t>(r.failed))
                .bind(8, static_cast<std::int64_t>(r.not_checked));
        });
    if (!runs) {
        return runs;
    }
    return insert_each(db,
                       "INSERT INTO pace (host, pages_per_second, time_ms, pushed_back_at, "
                       "pages_since_push_back) VALUES (?, ?, ?, ?, ?)",
                       batch.paces, [](sql::Statement& s, const PaceRecord& p) {
                           s.bind(1, p.host)
                               .bind(2, p.pages_per_second)
                               .bind(3, p.time_ms)
                               .bind(4, p.pushed_back_at)
                               .bind(5, p.pages_since_push_back);
                       });
}

Status insert_notices(const sql::Connection& db, const CopyBatch& batch) {
    auto notices = insert_each(
        db,
        "INSERT INTO notices (id, board, time_ms, listing, listing_key, sort_order, goods_id, "
        "kind, before_text, after_text, message, check_id) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        batch.notices, [](sql::Statement& s, const Notice& n) {
            s.bind(1, n.id)
                .bind(2, n.board)
                .bind(3, n.time_ms)
                .bind(4, to_text(n.listing))
                .bind(5, n.key)
                .bind(6, to_text(n.sort))
                .bind(7, n.goods_id)
                .bind(8, n.kind)
                .bind(9, n.before)
                .bind(10, n.after)
                .bind(11, n.message)
                .bind(12, n.check_id);
        });
    if (!notices) {
        return notices;
    }
    return insert_each(db,
                       "INSERT INTO deliveries (notice_id, channel, attempts, delivered_ms, "
                       "error, claim, claimed_ms, sends) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                       batch.deliveries, [](sql::Statement& s, const Delivery& d) {
                           s.bind(1, d.notice_id)
                               .bind(2, d.channel)
                               .bind(3, static_cast<std::int64_t>(d.attempts))
                               .bind(4, d.delivered_ms)
                               .bind(5, d.error)
                               .bind(6, d.claim)
                               .bind(7, d.claimed_ms)
                               .bind(8, static_cast<std::int64_t>(d.sends));
                       });
}

}  // namespace

Result<bool> SqliteEngine::is_empty() const {
    auto rows =
        sql::single_int(db_,
                        "SELECT EXISTS (SELECT 1 FROM checks) OR EXISTS (SELECT 1 FROM boards) OR "
                        "EXISTS (SELECT 1 FROM notices) OR EXISTS (SELECT 1 FROM runs) OR "
                        "EXISTS (SELECT 1 FROM pace) OR EXISTS (SELECT 1 FROM deliveries)");
    if (!rows) {
        return rows.error();
    }
    return rows.value() == 0;
}

Status SqliteEngine::for_each_notice(const std::function<bool(const Notice&)>& visit) const {
    return each(db_,
                "SELECT id, board, time_ms, listing, listing_key, sort_order, goods_id, kind, "
                "before_text, after_text, message, check_id FROM notices ORDER BY id",
                [&](const sql::Statement& row) {
                    return visit(Notice{
                        row.int64(0), row.text(1), row.int64(2),
                        listing_from_text(row.text(3)).value_or(Listing::keyword), row.text(4),
                        sort_from_text(row.text(5)).value_or(Sort::none), row.text(6), row.text(7),
                        row.text(8), row.text(9), row.text(10), row.int64(11)});
                });
}

Status SqliteEngine::for_each_delivery(const std::function<bool(const Delivery&)>& visit) const {
    return each(db_,
                "SELECT notice_id, channel, attempts, delivered_ms, error, claim, claimed_ms, "
                "sends FROM deliveries ORDER BY notice_id, channel",
                [&](const sql::Statement& row) {
                    return visit(Delivery{row.int64(0), row.text(1), static_cast<int>(row.int64(2)),
                                          row.int64(3), row.text(4), row.text(5), row.int64(6),
                                          static_cast<int>(row.int64(7))});
                });
}

Status SqliteEngine::for_each_run(const std::function<bool(const RunRecord&)>& visit) const {
    return each(
        db_,
        "SELECT id, board, started_ms, ended_ms, how_ended, checks, failed, not_checked "
        "FROM runs ORDER BY id",
        [&](const sql::Statement& row) {
            return visit(RunRecord{row.int64(0), row.text(1), row.int64(2), row.int64(3),
                                   row.text(4), static_cast<int>(row.int64(5)),
                                   static_cast<int>(row.int64(6)), static_cast<int>(row.int64(7))});
        });
}

Result<std::vector<PaceRecord>> SqliteEngine::paces() const {
    std::vector<PaceRecord> paces;
    auto read = each(db_,
                     "SELECT host, pages_per_second, time_ms, pushed_back_at, "
                     "pages_since_push_back FROM pace ORDER BY host",
                     [&](const sql::Statement& row) {
                         paces.push_back(PaceRecord{row.text(0), row.real(1), row.int64(2),
                                                    row.real(3), row.int64(4)});
                         return true;
                     });
    if (!read) {
        return read.error();
    }
    return paces;
}

Status SqliteEngine::import_rows(const CopyBatch& batch) {
    auto transaction = sql::Transaction::begin(db_);
    if (!transaction) {
        return transaction.error();
    }
    if (auto small = insert_small_tables(db_, batch); !small) {
        return small;
    }
    if (auto checks = insert_checks(db_, batch.checks); !checks) {
        return checks;
    }
    if (auto notices = insert_notices(db_, batch); !notices) {
        return notices;
    }
    return transaction.value().commit();
}

Status SqliteEngine::finish_import() {
    return {};
}

}  // namespace history
