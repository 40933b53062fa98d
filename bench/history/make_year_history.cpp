// Writes a year of a busy board into a new history file, fast: raw SQL in
// big transactions, with the insert triggers set aside and the tables they
// keep rebuilt once at the end.
//
//   make_year_history OUT.sqlite [checks]
//
// Board "年度看板": 100 keywords x 5 sort orders, 1 own + 5 competitor goods,
// a check of every cell each 30 minutes (8,760,000 checks by default). Ranks
// wander as they do in a listing; a few checks fail whole, a few lose only
// page 2, a few are not checked.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "history/records.h"
#include "history/sqlite_owner.h"
#include "history/store.h"
#include "history/summaries.h"

namespace {

namespace sql = history::sql;
using history::Outcome;

constexpr const char* board_name = "年度看板";
constexpr int keyword_count = 100;
constexpr int sort_count = 5;
constexpr int cell_count = keyword_count * sort_count;
constexpr int goods_count = 6;                             // the first is the own goods
constexpr std::int64_t year_start_ms = 1'735'689'600'000;  // 2025-01-01T00:00:00Z
constexpr std::int64_t round_ms = 30 * 60 * 1000;
constexpr std::int64_t cell_spacing_ms = 3000;  // a round of 500 cells takes 25 minutes
constexpr int rounds_per_transaction = 48;      // a day
constexpr const char* sort_words[sort_count] = {"default", "sales", "credit", "price-asc",
                                                "price-desc"};

// Deterministic, so two files made with the same count are the same.
class Random {
  public:
    std::uint64_t next() {
        state_ += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    bool chance(int per_ten_thousand) { return below(10'000) < per_ten_thousand; }

  private:
    std::uint64_t state_ = 20250101;
};

std::vector<std::string> keywords() {
    const char* goods[] = {"辣条",   "薯片", "牛肉干", "坚果",   "饼干",
                           "巧克力", "果冻", "奶茶",   "方便面", "蜜饯"};
    const char* kinds[] = {"",     "大礼包", "小包装", "整箱", "网红",
                           "儿童", "零食",   "批发",   "特产", "散装"};
    std::vector<std::string> words;
    for (const char* g : goods) {
        for (const char* k : kinds) {
            words.push_back(std::string(g) + k);
        }
    }
    return words;
}

std::string goods_id(int goods) {
    return std::to_string(800'000'001 + goods);
}

const std::string goods_ids[goods_count] = {goods_id(0), goods_id(1), goods_id(2),
                                            goods_id(3), goods_id(4), goods_id(5)};

// The board as the window saves it (its text form, UTF-8).
std::string board_definition(const std::vector<std::string>& words) {
    std::string text = "korvel-board=1\nname=" + std::string(board_name) + "\n";
    text += "own=" + goods_id(0) + "\n";
    for (int goods = 1; goods < goods_count; ++goods) {
        text += "competitor=" + goods_id(goods) + "\n";
    }
    for (const auto& word : words) {
        text += "keyword=" + word + "\n";
    }
    return text + "sorts=default,sales,credit,price-asc,price-desc\n";
}

// Where each goods item stands in each cell; past 1000 it is not listed.
class Ranks {
  public:
    explicit Ranks(Random& random) : random_(random), place_(cell_count * goods_count) {
        for (std::size_t i = 0; i < place_.size(); ++i) {
            place_[i] = 1 + random_.below(i % goods_count == 0 ? 600 : 1100);
        }
    }
    int step(int cell, int goods) {
        int& place = place_[static_cast<std::size_t>(cell * goods_count + goods)];
        place += random_.below(31) - 15;
        if (random_.chance(20)) {
            place = 1 + random_.below(1300);  // a promotion or a drop
        }
        place = place < 1 ? 2 - place : (place > 1300 ? 2600 - place : place);
        return place;
    }

  private:
    Random& random_;
    std::vector<int> place_;
};

struct GoodsRow {
    int rank = 0;  // 0: none
    Outcome status = Outcome::not_in_top_1000;
    const char* reason = "";
};

struct CheckRow {
    int pages_read = 0;
    const char* statuses = "";
    Outcome outcome = Outcome::not_checked;
    const char* reason = "";
    GoodsRow goods[goods_count];
};

void settle_goods(CheckRow& check, const int (&place)[goods_count], bool page_2_failed) {
    bool any_found = false;
    bool any_read = false;
    for (int g = 0; g < goods_count; ++g) {
        GoodsRow& row = check.goods[g];
        const int limit = check.pages_read == 2 ? 1000 : 500;
        if (place[g] <= limit) {
            row = {place[g], Outcome::found, ""};
        } else if (page_2_failed) {
            row = {0, Outcome::failed, "第2页：连接超时"};
        } else {
            row = {0, Outcome::not_in_top_1000, ""};
        }
        any_found = any_found || row.status == Outcome::found;
        any_read = any_read || row.status != Outcome::failed;
    }
    check.outcome =
        any_found ? Outcome::found : (any_read ? Outcome::not_in_top_1000 : Outcome::failed);
    check.reason = check.outcome == Outcome::failed ? "第2页：连接超时" : "";
}

CheckRow make_check(Random& random, Ranks& ranks, int cell) {
    int place[goods_count];
    bool page_2_needed = false;
    for (int g = 0; g < goods_count; ++g) {
        place[g] = ranks.step(cell, g);
        page_2_needed = page_2_needed || place[g] > 500;
    }
    CheckRow check;
    if (random.chance(100) || random.chance(30)) {
        const bool stopped = random.chance(2000);
        check.outcome = stopped ? Outcome::not_checked : Outcome::failed;
        check.statuses = stopped ? "" : (random.chance(5000) ? "0" : "503");
        check.reason = stopped ? "已停止" : "连接失败";
        for (auto& row : check.goods) {
            row = {0, check.outcome, check.reason};
        }
        return check;
    }
    const bool page_2_failed = page_2_needed && random.chance(200);
    check.pages_read = page_2_needed && !page_2_failed ? 2 : 1;
    check.statuses = !page_2_needed ? "200" : (page_2_failed ? "200;0" : "200;200");
    settle_goods(check, place, page_2_failed);
    return check;
}

struct Statements {
    sql::Statement check;
    sql::Statement goods;
    sql::Statement notice;
    sql::Statement run;
};

bool ok(const history::Status& status) {
    if (!status) {
        std::fprintf(stderr, "%s\n", status.error().message.c_str());
    }
    return status.ok();
}

bool run_and_reset(sql::Statement& statement) {
    return ok(statement.run()) && ok(statement.reset_for_reuse());
}

struct Cell {
    const std::string* keyword;
    const char* sort;
};

bool insert_check(Statements& s, std::int64_t id, const Cell& cell, std::int64_t time_ms,
                  const CheckRow& check) {
    s.check.bind(1, id)
        .bind(2, std::string_view(board_name))
        .bind(3, std::string_view(*cell.keyword))
        .bind(4, std::string_view(cell.sort))
        .bind(5, time_ms)
        .bind(6, static_cast<std::int64_t>(check.pages_read))
        .bind(7, std::string_view(check.statuses))
        .bind(8, history::to_text(check.outcome))
        .bind(9, std::string_view(check.reason));
    if (!run_and_reset(s.check)) {
        return false;
    }
    // All goods rows of a check in one statement: a step costs more than a row.
    for (int g = 0; g < goods_count; ++g) {
        const GoodsRow& row = check.goods[g];
        const int at = g * 7;
        s.goods.bind(at + 1, id)
            .bind(at + 2, static_cast<std::int64_t>(g))
            .bind(at + 3, std::string_view(goods_ids[g]))
            .bind(at + 4, std::string_view(g == 0 ? "own" : "competitor"))
            .bind(at + 5, row.rank > 0 ? std::optional<int>(row.rank) : std::nullopt)
            .bind(at + 6, history::to_text(row.status))
            .bind(at + 7, std::string_view(row.reason));
    }
    return run_and_reset(s.goods);
}

// A rank notice on the first cell of each day, tied to its check.
bool insert_notice(Statements& s, std::int64_t check_id, const Cell& cell, std::int64_t time_ms,
                   const CheckRow& check) {
    const std::string after =
        check.goods[0].rank > 0 ? "第" + std::to_string(check.goods[0].rank) + "名" : "千名外";
    s.notice.bind(1, std::string_view(board_name))
        .bind(2, time_ms)
        .bind(3, std::string_view(*cell.keyword))
        .bind(4, std::string_view(cell.sort))
        .bind(5, goods_id(0))
        .bind(6, std::string_view(after))
        .bind(7, "本店排名变为" + after)
        .bind(8, check_id);
    return run_and_reset(s.notice);
}

bool insert_run(Statements& s, std::int64_t started_ms, int failed, int not_checked) {
    s.run.bind(1, std::string_view(board_name))
        .bind(2, started_ms)
        .bind(3, started_ms + cell_count * cell_spacing_ms)
        .bind(4, static_cast<std::int64_t>(cell_count))
        .bind(5, static_cast<std::int64_t>(failed))
        .bind(6, static_cast<std::int64_t>(not_checked));
    return run_and_reset(s.run);
}

std::optional<Statements> prepare(const sql::Connection& db) {
    auto check = sql::prepare(db,
                              "INSERT INTO checks (id, board, listing, listing_key, sort_order, "
                              "time_ms, pages_read, http_statuses, outcome, reason) "
                              "VALUES (?, ?, 'keyword', ?, ?, ?, ?, ?, ?, ?)");
    std::string goods_sql =
        "INSERT INTO check_goods (check_id, position, goods_id, role, rank, status, reason) "
        "VALUES (?, ?, ?, ?, ?, ?, ?)";
    for (int g = 1; g < goods_count; ++g) {
        goods_sql += ", (?, ?, ?, ?, ?, ?, ?)";
    }
    auto goods = sql::prepare(db, goods_sql);
    auto notice = sql::prepare(db,
                               "INSERT INTO notices (board, time_ms, listing, listing_key, "
                               "sort_order, goods_id, kind, before_text, after_text, message, "
                               "check_id) VALUES (?, ?, 'keyword', ?, ?, ?, 'rank', '', ?, ?, ?)");
    auto run = sql::prepare(db,
                            "INSERT INTO runs (board, started_ms, ended_ms, how_ended, checks, "
                            "failed, not_checked) VALUES (?, ?, ?, 'done', ?, ?, ?)");
    if (!check || !goods || !notice || !run) {
        std::fprintf(stderr, "cannot prepare the inserts\n");
        return std::nullopt;
    }
    return Statements{std::move(check).value(), std::move(goods).value(), std::move(notice).value(),
                      std::move(run).value()};
}

bool write_round(Statements& s, Random& random, Ranks& ranks, const std::vector<std::string>& words,
                 std::int64_t round, std::int64_t& id, std::int64_t last_id) {
    const std::int64_t started_ms = year_start_ms + round * round_ms;
    int failed = 0;
    int not_checked = 0;
    for (int c = 0; c < cell_count && id < last_id; ++c) {
        const Cell cell{&words[static_cast<std::size_t>(c / sort_count)],
                        sort_words[c % sort_count]};
        const std::int64_t time_ms = started_ms + c * cell_spacing_ms;
        const CheckRow check = make_check(random, ranks, c);
        failed += check.outcome == Outcome::failed;
        not_checked += check.outcome == Outcome::not_checked;
        if (!insert_check(s, ++id, cell, time_ms, check)) {
            return false;
        }
        if (c == 0 && round % 48 == 0 && !insert_notice(s, id, cell, time_ms, check)) {
            return false;
        }
    }
    return insert_run(s, started_ms, failed, not_checked);
}

bool write_checks(const sql::Connection& db, std::int64_t total) {
    auto statements = prepare(db);
    if (!statements) {
        return false;
    }
    Random random;
    Ranks ranks(random);
    const auto words = keywords();
    const std::string definition = board_definition(words);
    auto board = sql::prepare(db, "INSERT INTO boards VALUES (?, ?, ?, ?)");
    if (!board || !ok(board.value()
                          .bind(1, std::string_view(board_name))
                          .bind(2, std::string_view(definition))
                          .bind(3, year_start_ms)
                          .bind(4, year_start_ms)
                          .run())) {
        return false;
    }
    std::int64_t id = 0;
    for (std::int64_t round = 0; id < total; ++round) {
        if (!write_round(*statements, random, ranks, words, round, id, total)) {
            return false;
        }
        if (round % rounds_per_transaction == rounds_per_transaction - 1 &&
            !(ok(sql::exec(db, "COMMIT")) && ok(sql::exec(db, "BEGIN")))) {
            return false;
        }
    }
    return true;
}

// The insert triggers and the indexes on checks would cost more than the
// inserts; they are set aside and made again once, after the load.
std::vector<std::string> take_aside(const sql::Connection& db) {
    std::vector<std::string> made;
    std::vector<std::string> drops;
    auto select = sql::prepare(db,
                               "SELECT type, name, sql FROM sqlite_master WHERE type = 'trigger' "
                               "OR (type = 'index' AND tbl_name = 'checks' AND sql IS NOT NULL)");
    for (auto row = select ? select.value().step() : history::Result<bool>(false);
         row && row.value(); row = select.value().step()) {
        drops.push_back("DROP " + select.value().text(0) + " " + select.value().text(1));
        made.push_back(select.value().text(2));
    }
    for (const auto& drop : drops) {
        ok(sql::exec(db, drop.c_str()));
    }
    return made;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool generate(const std::string& path, std::int64_t total) {
    if (auto made = history::Store::open(path); !made) {
        std::fprintf(stderr, "%s\n", made.error().message.c_str());
        return false;
    }
    auto db = sql::open_file(path);
    if (!db) {
        return false;
    }
    // Nothing to protect while the file is being made: no journal, no syncs.
    ok(sql::exec(db.value(),
                 "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; "
                 "PRAGMA cache_size = -65536"));
    const auto start = std::chrono::steady_clock::now();
    const auto aside = take_aside(db.value());
    if (!ok(sql::exec(db.value(), "BEGIN")) || !write_checks(db.value(), total)) {
        return false;
    }
    const double inserted = seconds_since(start);
    for (const auto& made : aside) {
        ok(sql::exec(db.value(), made.c_str()));
    }
    const double indexed = seconds_since(start);
    if (!ok(history::rebuild_summaries(db.value()))) {
        return false;
    }
    if (!ok(sql::exec(db.value(), "COMMIT"))) {
        return false;
    }
    ok(sql::exec(db.value(), "PRAGMA journal_mode = WAL"));
    std::printf("%lld checks: inserted in %.1f s, indexed in %.1f s, summaries rebuilt in %.1f s\n",
                static_cast<long long>(total), inserted, indexed - inserted,
                seconds_since(start) - indexed);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: make_year_history OUT.sqlite [checks]\n");
        return 64;
    }
    const std::string path = argv[1];
    const std::int64_t total = argc == 3 ? std::atoll(argv[2]) : 8'760'000;
    if (total <= 0) {
        std::fprintf(stderr, "the number of checks must be positive\n");
        return 64;
    }
    if (std::filesystem::exists(path)) {
        std::fprintf(stderr, "%s exists already; give a new file\n", path.c_str());
        return 1;
    }
    return generate(path, total) ? 0 : 1;
}
