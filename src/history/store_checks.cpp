// Adding and reading checks with their goods rows.
#include <algorithm>
#include <limits>
#include <variant>

#include "history/check_query.h"
#include "history/sqlite_engine.h"
#include "history/store_rows.h"

namespace history {
namespace {

void bind_status(sql::Statement& statement, int index, std::optional<Outcome> status) {
    if (status) {
        statement.bind(index, to_text(*status));
    } else {
        statement.bind_null(index);
    }
}

Status insert_goods(const sql::Connection& db, std::int64_t check_id, const Check& check) {
    auto statement = sql::prepare(db,
                                  "INSERT INTO check_goods (check_id, position, goods_id, role, "
                                  "rank, status, reason) VALUES (?, ?, ?, ?, ?, ?, ?)");
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
            .bind(5, goods.rank)
            .bind(7, goods.reason);
        bind_status(insert, 6, goods.status);
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
};

// `head` narrowed to the checks the filter lets through.
Query filtered(std::string head, const CheckFilter& filter) {
    Query query{std::move(head), {}};
    for (FilterTerm& term : filter_terms(filter)) {
        query.sql += query.parameters.empty() ? " WHERE " : " AND ";
        query.sql += std::string(term.column_and_comparison) + " ?";
        query.parameters.push_back(std::move(term.value));
    }
    return query;
}

Query check_query(const CheckFilter& filter) {
    Query query = filtered(kCheckRowsSelect, filter);
    query.sql += check_rows_order(filter.newest_first);
    return query;
}

Result<sql::Statement> prepared(const sql::Connection& db, const Query& query) {
    auto statement = sql::prepare(db, query.sql);
    if (statement) {
        int index = 1;
        for (const auto& parameter : query.parameters) {
            std::visit([&](const auto& value) { statement.value().bind(index++, value); },
                       parameter);
        }
    }
    return statement;
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
    if (!row.is_null(13)) {
        goods.status = outcome_from_text(row.text(13)).value_or(Outcome::failed);
    }
    goods.reason = row.text(14);
    // A rank is only ever read back where its goods item was found.
    if (!row.is_null(12) && goods.status.value_or(check.outcome) == Outcome::found) {
        goods.rank = static_cast<int>(row.int64(12));
    }
    return goods;
}

}  // namespace

namespace rows {

Result<std::int64_t> insert_check(const sql::Connection& db, const Check& check) {
    auto statement = sql::prepare(db,
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
    const std::int64_t id = sql::last_insert_id(db);
    if (auto goods = insert_goods(db, id, check); !goods) {
        return goods.error();
    }
    return id;
}

}  // namespace rows

Result<RecordedIds> SqliteEngine::record_check(const Check& check,
                                               const std::vector<Notice>& notices) {
    auto transaction = sql::Transaction::begin(db_);
    if (!transaction) {
        return transaction.error();
    }
    auto id = rows::insert_check(db_, check);
    if (!id) {
        return id.error();
    }
    RecordedIds recorded{id.value(), {}};
    for (auto notice : notices) {
        notice.check_id = id.value();
        auto notice_id = rows::insert_notice(db_, notice);
        if (!notice_id) {
            return notice_id.error();
        }
        recorded.notices.push_back(notice_id.value());
    }
    if (auto committed = transaction.value().commit(); !committed) {
        return committed.error();
    }
    return recorded;
}

Status SqliteEngine::for_each_check(const CheckFilter& filter,
                                    const std::function<bool(const Check&)>& visit) const {
    auto statement = prepared(db_, check_query(filter));
    if (!statement) {
        return statement.error();
    }
    auto& select = statement.value();
    const std::size_t limit = filter.limit.value_or(std::numeric_limits<std::size_t>::max());
    if (limit == 0) {
        return {};
    }
    std::optional<Check> current;
    std::size_t handed = 0;
    for (;;) {
        auto row = select.step();
        if (!row) {
            return row.error();
        }
        if (!row.value()) {
            if (current) {
                visit(*current);
            }
            return {};
        }
        if (!current || current->id != select.int64(0)) {
            if (current && (!visit(*current) || ++handed == limit)) {
                return {};
            }
            current = check_from_row(select);
        }
        if (!select.is_null(10)) {
            current->goods.push_back(goods_from_row(select, *current));
        }
    }
}

// A cell's checks are counted in checks_by_cell alone, without reading one.
Result<std::int64_t> SqliteEngine::count_matching(const CheckFilter& filter) const {
    Query query = filtered("SELECT count(*) FROM (SELECT 1 FROM checks c", filter);
    query.sql += " LIMIT ?)";
    // LIMIT -1 is none.
    constexpr std::size_t none = std::numeric_limits<std::int64_t>::max();
    query.parameters.emplace_back(
        filter.limit ? static_cast<std::int64_t>(std::min(*filter.limit, none)) : -1);
    auto statement = prepared(db_, query);
    if (!statement) {
        return statement.error();
    }
    return sql::single_int(statement.value());
}

}  // namespace history
