// Opening files of every kind: new, older schema, newer schema, not ours.
#include <fstream>

#include "history/sqlite_owner.h"
#include "history_fixture.h"

namespace {

using history::ErrorCode;
using history::Role;
using history_test::file_bytes;
using history_test::HistoryTest;
namespace sql = history::sql;

// The layout an earlier release wrote, kept here as that release left it.
constexpr const char* version_1_file = R"sql(
CREATE TABLE checks (
    id INTEGER PRIMARY KEY, board TEXT NOT NULL DEFAULT '', listing TEXT NOT NULL,
    listing_key TEXT NOT NULL DEFAULT '', sort_order TEXT NOT NULL DEFAULT '',
    time_ms INTEGER NOT NULL, pages_read INTEGER NOT NULL, outcome TEXT NOT NULL,
    reason TEXT NOT NULL DEFAULT '');
CREATE TABLE check_goods (
    check_id INTEGER NOT NULL REFERENCES checks (id) ON DELETE CASCADE,
    position INTEGER NOT NULL, goods_id TEXT NOT NULL, rank INTEGER,
    PRIMARY KEY (check_id, position));
CREATE TABLE boards (
    name TEXT PRIMARY KEY, definition TEXT NOT NULL,
    created_ms INTEGER NOT NULL, updated_ms INTEGER NOT NULL);
INSERT INTO checks VALUES (1, '早市', 'keyword', '辣条', 'sales', 1700000000000, 1, 'found', '');
INSERT INTO check_goods VALUES (1, 0, '1001', 17);
INSERT INTO boards VALUES ('早市', 'goods=1001', 5, 6);
PRAGMA user_version = 1;
)sql";

// Version 2 as that release created it, with a found check whose competitor
// was not found, a failed check and a notice.
constexpr const char* version_2_file = R"sql(
CREATE TABLE checks (
    id            INTEGER PRIMARY KEY,
    board         TEXT    NOT NULL DEFAULT '',
    listing       TEXT    NOT NULL CHECK (listing IN ('keyword', 'category', 'tab', 'new')),
    listing_key   TEXT    NOT NULL DEFAULT '',
    sort_order    TEXT    NOT NULL DEFAULT ''
                  CHECK (sort_order IN ('', 'default', 'sales', 'credit', 'price-asc', 'price-desc')),
    time_ms       INTEGER NOT NULL,
    pages_read    INTEGER NOT NULL CHECK (pages_read BETWEEN 0 AND 2),
    http_statuses TEXT    NOT NULL DEFAULT '',
    outcome       TEXT    NOT NULL
                  CHECK (outcome IN ('found', 'not_in_top_1000', 'failed', 'not_checked')),
    reason        TEXT    NOT NULL DEFAULT ''
);
CREATE INDEX checks_by_time ON checks (time_ms, id);
CREATE INDEX checks_by_board ON checks (board, time_ms);
CREATE TABLE check_goods (
    check_id INTEGER NOT NULL REFERENCES checks (id) ON DELETE CASCADE,
    position INTEGER NOT NULL,
    goods_id TEXT    NOT NULL,
    rank     INTEGER CHECK (rank IS NULL OR rank BETWEEN 1 AND 1000),
    role     TEXT    NOT NULL DEFAULT 'own' CHECK (role IN ('own', 'competitor')),
    PRIMARY KEY (check_id, position)
);
CREATE TABLE boards (
    name       TEXT    PRIMARY KEY,
    definition TEXT    NOT NULL,
    created_ms INTEGER NOT NULL,
    updated_ms INTEGER NOT NULL
);
CREATE TABLE notices (
    id          INTEGER PRIMARY KEY,
    board       TEXT    NOT NULL,
    time_ms     INTEGER NOT NULL,
    listing     TEXT    NOT NULL,
    listing_key TEXT    NOT NULL,
    sort_order  TEXT    NOT NULL,
    goods_id    TEXT    NOT NULL,
    kind        TEXT    NOT NULL,
    before_text TEXT    NOT NULL,
    after_text  TEXT    NOT NULL,
    message     TEXT    NOT NULL
);
CREATE INDEX notices_by_board ON notices (board, time_ms);
INSERT INTO checks VALUES (1, '早市', 'keyword', '辣条', 'sales', 1700000000000, 2, '200;200',
                           'found', '');
INSERT INTO check_goods VALUES (1, 0, '1001', 734, 'own'), (1, 1, '2002', NULL, 'competitor');
INSERT INTO checks VALUES (2, '早市', 'keyword', '辣条', 'sales', 1700001800000, 0, '',
                           'failed', 'connection refused');
INSERT INTO check_goods VALUES (2, 0, '1001', NULL, 'own');
INSERT INTO notices VALUES (1, '早市', 1700000000000, 'keyword', '辣条', 'sales', '1001', 'rank',
                            '第3名', '第734名', 'm');
PRAGMA user_version = 2;
)sql";

// Version 3 as that release left a file (its CHECK constraints and its
// best-rank trigger left out): the goods rows with their own status, the
// kept counts, the pace without what version 4 added. Two days of one
// cell: the own goods 40, 35, then a failure on the first, 12 then 20 on
// the second (the last check from before goods rows had a status); a
// competitor not in the first 1000.
constexpr const char* version_3_file = R"sql(
CREATE TABLE checks (
    id INTEGER PRIMARY KEY, board TEXT NOT NULL DEFAULT '', listing TEXT NOT NULL,
    listing_key TEXT NOT NULL DEFAULT '', sort_order TEXT NOT NULL DEFAULT '',
    time_ms INTEGER NOT NULL, pages_read INTEGER NOT NULL,
    http_statuses TEXT NOT NULL DEFAULT '', outcome TEXT NOT NULL, reason TEXT NOT NULL DEFAULT '');
CREATE INDEX checks_by_time ON checks (time_ms, id);
CREATE INDEX checks_by_board ON checks (board, time_ms);
CREATE INDEX checks_by_cell ON checks (board, listing, listing_key, sort_order, time_ms);
CREATE TABLE check_goods (
    check_id INTEGER NOT NULL REFERENCES checks (id) ON DELETE CASCADE,
    position INTEGER NOT NULL, goods_id TEXT NOT NULL, rank INTEGER,
    role TEXT NOT NULL DEFAULT 'own', status TEXT NULL, reason TEXT NOT NULL DEFAULT '',
    PRIMARY KEY (check_id, position)) WITHOUT ROWID;
CREATE TABLE boards (
    name TEXT PRIMARY KEY, definition TEXT NOT NULL,
    created_ms INTEGER NOT NULL, updated_ms INTEGER NOT NULL);
CREATE TABLE notices (
    id INTEGER PRIMARY KEY, board TEXT NOT NULL, time_ms INTEGER NOT NULL,
    listing TEXT NOT NULL, listing_key TEXT NOT NULL, sort_order TEXT NOT NULL,
    goods_id TEXT NOT NULL, kind TEXT NOT NULL, before_text TEXT NOT NULL,
    after_text TEXT NOT NULL, message TEXT NOT NULL, check_id INTEGER NOT NULL DEFAULT 0);
CREATE INDEX notices_by_board ON notices (board, time_ms);
CREATE TABLE cell_best (
    board TEXT NOT NULL, listing TEXT NOT NULL, listing_key TEXT NOT NULL,
    sort_order TEXT NOT NULL, goods_id TEXT NOT NULL, best_rank INTEGER NOT NULL,
    best_time_ms INTEGER NOT NULL,
    PRIMARY KEY (board, listing, listing_key, sort_order, goods_id)) WITHOUT ROWID;
CREATE TABLE check_counts (board TEXT PRIMARY KEY, n INTEGER NOT NULL) WITHOUT ROWID;
CREATE TABLE pace (host TEXT PRIMARY KEY, pages_per_second REAL NOT NULL, time_ms INTEGER NOT NULL);
CREATE TABLE runs (
    id INTEGER PRIMARY KEY, board TEXT NOT NULL, started_ms INTEGER NOT NULL,
    ended_ms INTEGER NOT NULL, how_ended TEXT NOT NULL,
    checks INTEGER NOT NULL, failed INTEGER NOT NULL, not_checked INTEGER NOT NULL);
CREATE INDEX runs_by_board ON runs (board, started_ms);
CREATE TABLE deliveries (
    notice_id INTEGER NOT NULL REFERENCES notices (id) ON DELETE CASCADE,
    channel TEXT NOT NULL, attempts INTEGER NOT NULL, delivered_ms INTEGER NOT NULL,
    error TEXT NOT NULL, PRIMARY KEY (notice_id, channel)) WITHOUT ROWID;
CREATE TRIGGER checks_counted AFTER INSERT ON checks BEGIN
    INSERT INTO check_counts (board, n) VALUES (NEW.board, 1)
        ON CONFLICT (board) DO UPDATE SET n = n + 1;
END;
INSERT INTO checks VALUES (1, '早市', 'keyword', '辣条', 'sales', 86400000, 1, '200', 'found', '');
INSERT INTO checks VALUES (2, '早市', 'keyword', '辣条', 'sales', 86700000, 0, '0', 'failed', '连接失败');
INSERT INTO checks VALUES (3, '早市', 'keyword', '辣条', 'sales', 86600000, 1, '200', 'found', '');
INSERT INTO checks VALUES (4, '早市', 'keyword', '辣条', 'sales', 172900000, 1, '200', 'found', '');
INSERT INTO checks VALUES (5, '早市', 'keyword', '辣条', 'sales', 173000000, 1, '200', 'found', '');
INSERT INTO check_goods VALUES (1, 0, '1001', 40, 'own', 'found', ''),
    (1, 1, '2002', NULL, 'competitor', 'not_in_top_1000', ''),
    (2, 0, '1001', NULL, 'own', 'failed', ''), (2, 1, '2002', NULL, 'competitor', 'failed', ''),
    (3, 0, '1001', 35, 'own', 'found', ''),
    (3, 1, '2002', NULL, 'competitor', 'not_in_top_1000', ''),
    (4, 0, '1001', 12, 'own', 'found', ''),
    (4, 1, '2002', NULL, 'competitor', 'not_in_top_1000', ''),
    (5, 0, '1001', 20, 'own', NULL, ''), (5, 1, '2002', NULL, 'competitor', NULL, '');
INSERT INTO pace VALUES ('search.example', 0.5, 86600000);
PRAGMA user_version = 3;
)sql";

void write_database(const std::filesystem::path& file, const char* script) {
    auto db = sql::open_file(file.string());
    ASSERT_TRUE(db.ok());
    ASSERT_TRUE(sql::exec(db.value(), script).ok());
}

std::string pragma_text(const std::filesystem::path& file, const char* pragma) {
    auto db = sql::open_file(file.string());
    auto statement = sql::prepare(db.value(), pragma);
    EXPECT_TRUE(statement.value().step().value());
    return statement.value().text(0);
}

TEST_F(HistoryTest, NewFileIsCreatedInWalModeAtTheCurrentVersion) {
    auto store = open_store();
    EXPECT_TRUE(store.integrity_ok().value());
    EXPECT_EQ(pragma_text(file(), "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(pragma_text(file(), "PRAGMA user_version"), "4");
}

TEST_F(HistoryTest, VersionTwoFileMigratesWithItsChecksIntactAndItsSummariesBuilt) {
    write_database(file(), version_2_file);
    history::Check found =
        history_test::keyword_check("早市", "辣条", history::Sort::sales, 1'700'000'000'000);
    found.id = 1;
    found.pages_read = 2;
    found.http_statuses = {200, 200};
    found.outcome = history::Outcome::found;
    found.goods = {{"1001", Role::own, 734}, {"2002", Role::competitor, std::nullopt}};
    history::Check failed = found;
    failed.id = 2;
    failed.time_ms = 1'700'001'800'000;
    failed.pages_read = 0;
    failed.http_statuses = {};
    failed.outcome = history::Outcome::failed;
    failed.reason = "connection refused";
    failed.goods = {{"1001", Role::own, std::nullopt}};
    {
        auto store = open_store();
        EXPECT_EQ(store.checks({}).value(), (std::vector<history::Check>{found, failed}));
        EXPECT_EQ(store.count_checks("早市").value(), 2);
        EXPECT_EQ(store.best_ranks("早市").value(),
                  (std::vector<history::CellBest>{{history::Listing::keyword, "辣条",
                                                   history::Sort::sales, "1001", 734,
                                                   1'700'000'000'000}}));
        EXPECT_EQ(store.notices("早市").value().at(0).check_id, 0);
    }
    EXPECT_EQ(pragma_text(file(), "PRAGMA user_version"), "4");
}

// A version-3 file's deliveries each were one send: a delivered one is never
// claimed again, a failed one once (sends 2), and none twice by two claimants.
TEST_F(HistoryTest, VersionThreeDeliveriesMigrateAsSentOnce) {
    std::int64_t delivered = 0;
    std::int64_t failed = 0;
    {
        auto store = open_store();
        delivered = store.add_notice({.board = "早市", .message = "m1"}).value();
        failed = store.add_notice({.board = "早市", .message = "m2"}).value();
    }
    // Back to version 3: without what version 4 added.
    write_database(file(), ("DROP TRIGGER check_goods_days; DROP TABLE cell_days;"
                            "ALTER TABLE pace DROP COLUMN pushed_back_at;"
                            "ALTER TABLE pace DROP COLUMN pages_since_push_back;"
                            "ALTER TABLE deliveries DROP COLUMN claim;"
                            "ALTER TABLE deliveries DROP COLUMN claimed_ms;"
                            "ALTER TABLE deliveries DROP COLUMN sends;"
                            "INSERT INTO deliveries VALUES (" +
                            std::to_string(delivered) +
                            ", '群', 1, 1700000000000, '');"
                            "INSERT INTO deliveries VALUES (" +
                            std::to_string(failed) +
                            ", '群', 3, 0, 'HTTP 500');"
                            "PRAGMA user_version = 3;")
                               .c_str());
    auto store = open_store();
    EXPECT_EQ(pragma_text(file(), "PRAGMA user_version"), "4");
    const auto rows = store.deliveries({delivered, failed}).value();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (history::Delivery{delivered, "群", 1, 1700000000000, "", "", 0, 1}));
    EXPECT_EQ(rows[1].sends, 1);
    EXPECT_FALSE(store.claim_delivery(delivered, "群", "a", 5).value());
    EXPECT_TRUE(store.claim_delivery(failed, "群", "a", 5).value());
    EXPECT_FALSE(store.claim_delivery(failed, "群", "b", 5).value());
    EXPECT_TRUE(store.settle_delivery({failed, "群", 1, 0, "HTTP 500"}, "a").value());
    EXPECT_FALSE(store.claim_delivery(failed, "群", "b", 6).value()) << "sent twice already";
}

TEST_F(HistoryTest, VersionThreeFileMigratesWithItsDaysSummedUpFromItsChecks) {
    write_database(file(), version_3_file);
    {
        auto store = open_store();
        EXPECT_EQ(store.checks({}).value().size(), 5u);
        EXPECT_EQ(store.count_checks("早市").value(), 5);
        using history::CellDay;
        const CellDay own_first{"1001", Role::own,  1,    35,         86'600'000,
                                40,     86'400'000, 1002, 86'700'000, "连接失败"};
        const CellDay own_second{"1001", Role::own,   2,  12,          172'900'000,
                                 20,     173'000'000, 20, 173'000'000, ""};
        const CellDay rival_second{"2002", Role::competitor, 2,    1001,        172'900'000,
                                   1001,   172'900'000,      1001, 173'000'000, ""};
        const CellDay rival_first{"2002", Role::competitor, 1,    1001,       86'400'000,
                                  1001,   86'400'000,       1002, 86'700'000, "连接失败"};
        auto days =
            store.cell_days("早市", history::Listing::keyword, "辣条", history::Sort::sales, 3);
        ASSERT_TRUE(days.ok()) << days.error().message;
        ASSERT_EQ(days.value().size(), 4u);
        EXPECT_EQ(days.value()[0], own_first);
        EXPECT_EQ(days.value()[1], own_second);
        EXPECT_EQ(days.value()[2], rival_first);
        EXPECT_EQ(days.value()[3], rival_second);
        EXPECT_EQ(store.load_pace("search.example").value(),
                  (history::PaceRecord{"search.example", 0.5, 86'600'000, 0, 0}));

        // A check added now is summed up into its day as it is stored.
        auto later = history_test::keyword_check("早市", "辣条", history::Sort::sales, 173'050'000);
        later.outcome = history::Outcome::found;
        later.goods = {{"1001", Role::own, 9, history::Outcome::found}};
        ASSERT_TRUE(store.add_check(later).ok());
        days = store.cell_days("早市", history::Listing::keyword, "辣条", history::Sort::sales, 3);
        EXPECT_EQ(days.value()[1].best_place, 9);
        EXPECT_EQ(days.value()[1].worst_place, 20);
        EXPECT_EQ(days.value()[1].last_ms, 173'050'000);
    }
    EXPECT_EQ(pragma_text(file(), "PRAGMA user_version"), "4");
}

TEST_F(HistoryTest, VersionOneFileMigratesAndKeepsItsData) {
    write_database(file(), version_1_file);
    {
        auto store = open_store();
        history::Check before =
            history_test::keyword_check("早市", "辣条", history::Sort::sales, 1'700'000'000'000);
        before.id = 1;
        before.http_statuses = {};
        before.outcome = history::Outcome::found;
        before.goods = {{"1001", Role::own, 17}};
        EXPECT_EQ(store.checks({}).value(), std::vector<history::Check>{before});
        EXPECT_EQ(store.load_board("早市").value().definition, "goods=1001");

        EXPECT_EQ(store.best_ranks("早市").value().at(0).best_rank, 17);
        // What later versions added works on the migrated file.
        auto added = history_test::keyword_check("早市", "辣条", history::Sort::sales, 2);
        added.goods.push_back({"2002", Role::competitor, std::nullopt});
        ASSERT_TRUE(store.add_check(added).ok());
        ASSERT_TRUE(store.add_notice({.board = "早市", .message = "m"}).ok());
        EXPECT_EQ(store.checks({.since_ms = 2}).value().at(0).goods.at(1).role, Role::competitor);
    }
    EXPECT_EQ(pragma_text(file(), "PRAGMA user_version"), "4");
    EXPECT_EQ(open_store().count_checks().value(), 2);  // a second open changes nothing
}

TEST_F(HistoryTest, FileOfANewerVersionIsRefusedAndLeftUntouched) {
    write_database(file(), "CREATE TABLE future (x); PRAGMA user_version = 5;");
    const std::string before = file_bytes(file());
    const auto store = history::Store::open(file());
    ASSERT_FALSE(store.ok());
    EXPECT_EQ(store.error().code, ErrorCode::newer_schema);
    EXPECT_EQ(store.error().message, "the history file " + file().string() +
                                         " was written by a newer Korvel (schema 5); this "
                                         "version knows up to 4");
    EXPECT_EQ(file_bytes(file()), before);
    EXPECT_FALSE(std::filesystem::exists(file().string() + "-wal"));
}

TEST_F(HistoryTest, FilesThatAreNotAHistoryAreRefusedAndLeftUntouched) {
    struct Case {
        const char* name;
        void (*make)(const std::filesystem::path&);
    };
    const Case cases[] = {
        {"another program's database",
         [](const std::filesystem::path& f) { write_database(f, "CREATE TABLE notes (x);"); }},
        {"a text file",
         [](const std::filesystem::path& f) {
             std::ofstream(f, std::ios::binary) << std::string(600, 'x');
         }},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(file());
        c.make(file());
        const std::string before = file_bytes(file());
        const auto store = history::Store::open(file());
        ASSERT_FALSE(store.ok()) << c.name;
        EXPECT_EQ(store.error().code, ErrorCode::not_a_history) << c.name;
        EXPECT_EQ(file_bytes(file()), before) << c.name;
    }
}

}  // namespace
