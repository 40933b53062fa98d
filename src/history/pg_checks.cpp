// Adding and reading checks with their goods rows, on a server.
#include <algorithm>
#include <limits>
#include <variant>

#include "history/check_query.h"
#include "history/pg_engine.h"
#include "history/pg_schema.h"
#include "history/pg_summaries.h"

namespace history {
namespace {

// The check, its goods rows, its notices and what is kept beside them (the
// board's count, each goods item's best rank in the cell, its day in the
// cell, pg_days.cpp) in one statement:
// one trip to the server, and atomic without a transaction around it. The
// goods and the notices come as arrays, so the text never changes; a
// notice's id is drawn before it is written, so the ids come back in the
// order the notices were given. The change counter is moved on last.
// With a holder in $25, the check is kept only while that holder's lease on
// the board stands, and the lease row stays share-locked until the check is
// in: a takeover (which locks it for update) waits, then sees the check.
constexpr const char* record_check_head = R"sql(
WITH held AS (
    SELECT 1 FROM board_leases WHERE board = $1 AND holder = $25 FOR SHARE),
c AS (
    INSERT INTO checks (board, listing, listing_key, sort_order, time_ms, pages_read,
                        http_statuses, outcome, reason)
    SELECT $1::text, $2::text, $3::text, $4::text, $5::bigint, $6::int, $7::text, $8::text,
           $9::text
    WHERE $25::text = '' OR EXISTS (SELECT 1 FROM held)
    RETURNING id, board, listing, listing_key, sort_order, time_ms, outcome, reason),
goods AS (
    SELECT * FROM unnest($10::text[], $11::text[], $12::int[], $13::text[], $14::text[])
        WITH ORDINALITY AS u(goods_id, role, rank, status, reason, position)),
kept_goods AS (
    INSERT INTO check_goods (check_id, position, goods_id, role, rank, status, reason)
    SELECT c.id, goods.position - 1, goods.goods_id, goods.role, goods.rank, goods.status,
           goods.reason
    FROM c, goods),
counted AS (
    INSERT INTO check_counts (board, n) SELECT board, 1 FROM c
    ON CONFLICT (board) DO UPDATE SET n = check_counts.n + 1),
best AS (
    INSERT INTO cell_best (board, listing, listing_key, sort_order, goods_id, best_rank,
                           best_time_ms)
    SELECT c.board, c.listing, c.listing_key, c.sort_order, goods.goods_id, min(goods.rank),
           c.time_ms
    FROM c, goods
    WHERE goods.rank IS NOT NULL
      AND (goods.status = 'found' OR (goods.status IS NULL AND c.outcome = 'found'))
    GROUP BY c.board, c.listing, c.listing_key, c.sort_order, c.time_ms, goods.goods_id
    ON CONFLICT (board, listing, listing_key, sort_order, goods_id) DO UPDATE
    SET best_rank = excluded.best_rank, best_time_ms = excluded.best_time_ms
    WHERE excluded.best_rank < cell_best.best_rank
       OR (excluded.best_rank = cell_best.best_rank
           AND excluded.best_time_ms < cell_best.best_time_ms)),
notes AS (
    SELECT nextval(pg_get_serial_sequence('notices', 'id')) AS id, u.*
    FROM unnest($15::text[], $16::bigint[], $17::text[], $18::text[], $19::text[],
                $20::text[], $21::text[], $22::text[], $23::text[], $24::text[])
        WITH ORDINALITY AS u(board, time_ms, listing, listing_key, sort_order, goods_id,
                             kind, before_text, after_text, message, place)),
kept_notes AS (
    INSERT INTO notices (id, board, time_ms, listing, listing_key, sort_order, goods_id,
                         kind, before_text, after_text, message, check_id)
    SELECT notes.id, notes.board, notes.time_ms, notes.listing, notes.listing_key,
           notes.sort_order, notes.goods_id, notes.kind, notes.before_text,
           notes.after_text, notes.message, c.id
    FROM notes, c),
bump AS (UPDATE korvel_changes SET n = n + 1 WHERE EXISTS (SELECT 1 FROM c))
)sql";

const std::string& record_check_sql() {
    static const std::string sql =
        std::string(record_check_head) + ", days AS (" +
        pg_summaries::upsert_days(pg_summaries::points("FROM c, goods g")) +
        ")\nSELECT c.id, (SELECT string_agg(id::text, ',' ORDER BY place) FROM notes) FROM c";
    return sql;
}

using Texts = std::vector<std::optional<std::string>>;

// Each goods field as one array parameter.
void add_goods(pg::Params& params, const std::vector<GoodsResult>& goods) {
    Texts ids, roles, statuses, reasons;
    std::vector<std::optional<std::int64_t>> ranks;
    for (const auto& g : goods) {
        ids.emplace_back(g.goods_id);
        roles.emplace_back(std::string(to_text(g.role)));
        ranks.push_back(g.rank ? std::optional<std::int64_t>(*g.rank) : std::nullopt);
        statuses.push_back(g.status ? std::optional<std::string>(to_text(*g.status))
                                    : std::nullopt);
        reasons.emplace_back(g.reason);
    }
    params.add(pg::text_array(ids))
        .add(pg::text_array(roles))
        .add(pg::int_array(ranks))
        .add(pg::text_array(statuses))
        .add(pg::text_array(reasons));
}

void add_notices(pg::Params& params, const std::vector<Notice>& notices) {
    std::vector<Texts> texts(9);
    std::vector<std::optional<std::int64_t>> times;
    for (const auto& n : notices) {
        times.emplace_back(n.time_ms);
        const std::string fields[] = {n.board,    std::string(to_text(n.listing)),
                                      n.key,      std::string(to_text(n.sort)),
                                      n.goods_id, n.kind,
                                      n.before,   n.after,
                                      n.message};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i].emplace_back(fields[i]);
        }
    }
    params.add(pg::text_array(texts[0])).add(pg::int_array(times));
    for (std::size_t i = 1; i < texts.size(); ++i) {
        params.add(pg::text_array(texts[i]));
    }
}

std::vector<std::int64_t> ids_in(const std::string& listed) {
    std::vector<std::int64_t> ids;
    std::size_t start = 0;
    while (start < listed.size()) {
        const std::size_t comma = std::min(listed.find(',', start), listed.size());
        ids.push_back(std::stoll(listed.substr(start, comma - start)));
        start = comma + 1;
    }
    return ids;
}

// Conditions of a WHERE clause and their values, numbered as written.
struct Query {
    std::string sql;
    pg::Params params;
};

// `head` narrowed to the checks the filter lets through.
Query filtered(std::string head, const CheckFilter& filter) {
    Query query{std::move(head), {}};
    for (const FilterTerm& term : filter_terms(filter)) {
        query.sql += query.params.size() == 0 ? " WHERE " : " AND ";
        std::visit([&](const auto& value) { query.params.add(value); }, term.value);
        query.sql +=
            std::string(term.column_and_comparison) + " $" + std::to_string(query.params.size());
    }
    return query;
}

Query check_query(const CheckFilter& filter) {
    Query query = filtered(kCheckRowsSelect, filter);
    query.sql += check_rows_order(filter.newest_first);
    return query;
}

// As the SQLite engine reads them: an unknown outcome reads as failed, and a
// rank only where its goods item was found.
Check check_from_row(const pg::Rows& rows, int row) {
    Check check;
    check.id = rows.int64(row, 0);
    check.board = rows.text(row, 1);
    check.listing = listing_from_text(rows.text(row, 2)).value_or(Listing::keyword);
    check.key = rows.text(row, 3);
    check.sort = sort_from_text(rows.text(row, 4)).value_or(Sort::none);
    check.time_ms = rows.int64(row, 5);
    check.pages_read = static_cast<int>(rows.int64(row, 6));
    check.http_statuses = split_statuses(rows.text(row, 7));
    check.outcome = outcome_from_text(rows.text(row, 8)).value_or(Outcome::failed);
    check.reason = rows.text(row, 9);
    return check;
}

GoodsResult goods_from_row(const pg::Rows& rows, int row, const Check& check) {
    GoodsResult goods;
    goods.goods_id = rows.text(row, 10);
    goods.role = role_from_text(rows.text(row, 11)).value_or(Role::own);
    if (!rows.is_null(row, 13)) {
        goods.status = outcome_from_text(rows.text(row, 13)).value_or(Outcome::failed);
    }
    goods.reason = rows.text(row, 14);
    if (!rows.is_null(row, 12) && goods.status.value_or(check.outcome) == Outcome::found) {
        goods.rank = static_cast<int>(rows.int64(row, 12));
    }
    return goods;
}

constexpr int rows_per_fetch = 2000;

}  // namespace

Result<RecordedIds> PgEngine::record_check(const Check& check, const std::vector<Notice>& notices) {
    pg::Params params;
    params.add(check.board)
        .add(to_text(check.listing))
        .add(check.key)
        .add(to_text(check.sort))
        .add(check.time_ms)
        .add(check.pages_read)
        .add(join_statuses(check.http_statuses))
        .add(to_text(check.outcome))
        .add(check.reason);
    add_goods(params, check.goods);
    add_notices(params, notices);
    const bool guarded = !held_by_.empty() && check.board == held_board_;
    params.add(guarded ? std::string_view(held_by_) : std::string_view());
    auto rows = pg::run(db_, record_check_sql(), params);
    if (!rows) {
        return rows.error();
    }
    if (rows.value().size() == 0) {
        return Error{ErrorCode::lease_lost, "another worker has taken over board " + check.board +
                                                "; this check was not kept"};
    }
    return RecordedIds{rows.value().int64(0, 0), ids_in(rows.value().text(0, 1))};
}

void PgEngine::record_only_while_held(const std::string& board, const std::string& holder) {
    held_board_ = board;
    held_by_ = holder;
}

Status PgEngine::for_each_check(const CheckFilter& filter,
                                const std::function<bool(const Check&)>& visit) const {
    const std::size_t limit = filter.limit.value_or(std::numeric_limits<std::size_t>::max());
    if (limit == 0) {
        return {};
    }
    const Query query = check_query(filter);
    std::optional<Check> current;
    std::size_t handed = 0;
    bool stopped = false;
    auto read = pg::stream(db_, query.sql, query.params, rows_per_fetch,
                           [&](const pg::Rows& rows, int row) {
                               if (!current || current->id != rows.int64(row, 0)) {
                                   if (current && (!visit(*current) || ++handed == limit)) {
                                       stopped = true;
                                       return false;
                                   }
                                   current = check_from_row(rows, row);
                               }
                               if (!rows.is_null(row, 10)) {
                                   current->goods.push_back(goods_from_row(rows, row, *current));
                               }
                               return true;
                           });
    if (!read) {
        return read;
    }
    if (current && !stopped) {
        visit(*current);
    }
    return {};
}

// Counted from the index on the cell alone; no LIMIT when the filter has none.
Result<std::int64_t> PgEngine::count_matching(const CheckFilter& filter) const {
    Query query = filtered("SELECT count(*) FROM (SELECT 1 FROM checks c", filter);
    if (filter.limit) {
        constexpr std::size_t most = std::numeric_limits<std::int64_t>::max();
        query.params.add(static_cast<std::int64_t>(std::min(*filter.limit, most)));
        query.sql += " LIMIT $" + std::to_string(query.params.size());
    }
    query.sql += ") matching";
    auto rows = pg::run(db_, query.sql, query.params);
    if (!rows) {
        return rows.error();
    }
    return rows.value().int64(0, 0);
}

}  // namespace history
