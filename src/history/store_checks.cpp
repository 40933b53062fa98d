// Adding and reading checks with their goods rows.
#include <variant>

#include "history/store.h"

namespace history {
namespace {

Status insert_goods(const sql::Connection& db, std::int64_t check_id, const Check& check) {
    auto statement = sql::prepare(db,
                                  "INSERT INTO check_goods (check_id, position, goods_id, role, "
                                  "rank) VALUES (?, ?, ?, ?, ?)");
    if (!statement) {
        return statement.error();
    }
    auto& insert = statement.value();
    std::int64_t position = 0;
    for (const auto& goods : check.goods) {
        insert.bind(1, check_id)
            .bind(2, position++)
            .bind(3, goods.goods_id)
            .bind(4, to_text(goods.role))
            .bind(5, goods.rank);
        if (auto done = insert.run(); !done) {
            return done;
        }
        if (auto reset = insert.reset_for_reuse(); !reset) {
            return reset;
        }
    }
    return {};
}

// Values of a WHERE clause, bound in the order the conditions were written.
using Parameter = std::variant<std::int64_t, std::string>;

struct Query {
    std::string sql;
    std::vector<Parameter> parameters;

    void where(const char* condition, Parameter value) {
        sql += parameters.empty() ? " WHERE " : " AND ";
        sql += condition;
        parameters.push_back(std::move(value));
    }
};

Query check_query(const CheckFilter& filter) {
    Query query{
        "SELECT c.id, c.board, c.listing, c.listing_key, c.sort_order, c.time_ms, c.pages_read, "
        "c.http_statuses, c.outcome, c.reason, g.goods_id, g.role, g.rank "
        "FROM checks c LEFT JOIN check_goods g ON g.check_id = c.id",
        {}};
    if (filter.board) {
        query.where("c.board = ?", *filter.board);
    }
    if (filter.since_ms) {
        query.where("c.time_ms >= ?", *filter.since_ms);
    }
    if (filter.until_ms) {
        query.where("c.time_ms < ?", *filter.until_ms);
    }
    if (filter.listing) {
        query.where("c.listing = ?", std::string(to_text(*filter.listing)));
    }
    if (filter.key) {
        query.where("c.listing_key = ?", *filter.key);
    }
    if (filter.sort) {
        query.where("c.sort_order = ?", std::string(to_text(*filter.sort)));
    }
    query.sql += " ORDER BY c.time_ms, c.id, g.position";
    return query;
}

// Words the schema's constraints let through always map; should a file have
// been edited by hand, an unknown outcome reads as failed, never as a result.
Check check_from_row(const sql::Statement& row) {
    Check check;
    check.id = row.int64(0);
    check.board = row.text(1);
    check.listing = listing_from_text(row.text(2)).value_or(Listing::keyword);
    check.key = row.text(3);
    check.sort = sort_from_text(row.text(4)).value_or(Sort::none);
    check.time_ms = row.int64(5);
    check.pages_read = static_cast<int>(row.int64(6));
    check.http_statuses = split_statuses(row.text(7));
    check.outcome = outcome_from_text(row.text(8)).value_or(Outcome::failed);
    check.reason = row.text(9);
    return check;
}

GoodsResult goods_from_row(const sql::Statement& row, const Check& check) {
    GoodsResult goods;
    goods.goods_id = row.text(10);
    goods.role = role_from_text(row.text(11)).value_or(Role::own);
    if (!row.is_null(12) && check.outcome == Outcome::found) {
        goods.rank = static_cast<int>(row.int64(12));
    }
    return goods;
}

}  // namespace

Result<std::int64_t> Store::add_check(const Check& check) {
    if (auto problem = check_problem(check)) {
        return Error{ErrorCode::invalid_record, "the check cannot be saved: " + *problem};
    }
    auto transaction = sql::Transaction::begin(db_);
    if (!transaction) {
        return transaction.error();
    }
    auto statement = sql::prepare(db_,
                                  "INSERT INTO checks (board, listing, listing_key, sort_order, "
                                  "time_ms, pages_read, http_statuses, outcome, reason) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    if (!statement) {
        return statement.error();
    }
    auto done = statement.value()
                    .bind(1, check.board)
                    .bind(2, to_text(check.listing))
                    .bind(3, check.key)
                    .bind(4, to_text(check.sort))
                    .bind(5, check.time_ms)
                    .bind(6, static_cast<std::int64_t>(check.pages_read))
                    .bind(7, join_statuses(check.http_statuses))
                    .bind(8, to_text(check.outcome))
                    .bind(9, check.reason)
                    .run();
    if (!done) {
        return done.error();
    }
    const std::int64_t id = sql::last_insert_id(db_);
    if (auto goods = insert_goods(db_, id, check); !goods) {
        return goods.error();
    }
    if (auto committed = transaction.value().commit(); !committed) {
        return committed.error();
    }
    return id;
}

Result<std::vector<Check>> Store::checks(const CheckFilter& filter) const {
    const Query query = check_query(filter);
    auto statement = sql::prepare(db_, query.sql);
    if (!statement) {
        return statement.error();
    }
    auto& select = statement.value();
    int index = 1;
    for (const auto& parameter : query.parameters) {
        std::visit([&](const auto& value) { select.bind(index++, value); }, parameter);
    }
    std::vector<Check> checks;
    for (;;) {
        auto row = select.step();
        if (!row) {
            return row.error();
        }
        if (!row.value()) {
            return checks;
        }
        if (checks.empty() || checks.back().id != select.int64(0)) {
            checks.push_back(check_from_row(select));
        }
        if (!select.is_null(10)) {
            checks.back().goods.push_back(goods_from_row(select, checks.back()));
        }
    }
}

}  // namespace history
