#include "history/schema.h"

#include <sqlite3.h>

#include "history/day_summary.h"
#include "history/summaries.h"

namespace history {
namespace {

constexpr int busy_timeout_ms = 5000;

// Version 2, the base a new file is built on before the steps to version 3.
// Texts are UTF-8.
constexpr const char* create_v2 = R"sql(
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
)sql";

// Shared by a new file and the migration from version 1.
constexpr const char* create_notices = R"sql(
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
)sql";

// Version 1 kept only the seller's own goods, no HTTP statuses and no notices.
// Its indexes were added late in its life, so they are made here if missing.
constexpr const char* migrate_v1_to_v2 = R"sql(
ALTER TABLE checks ADD COLUMN http_statuses TEXT NOT NULL DEFAULT '';
ALTER TABLE check_goods ADD COLUMN role TEXT NOT NULL DEFAULT 'own'
    CHECK (role IN ('own', 'competitor'));
CREATE INDEX IF NOT EXISTS checks_by_time ON checks (time_ms, id);
CREATE INDEX IF NOT EXISTS checks_by_board ON checks (board, time_ms);
)sql";

// Version 3: a goods row's own outcome (NULL on rows written before, whose
// status follows from the check, see status_of), the notice's check, and the
// tables kept up to date by triggers so that a year of checks is never read
// whole to answer "best rank" or "how many". Rows are only ever deleted by
// prune, which rebuilds what the triggers keep. The goods rows move to a
// table clustered by check, so a check's rows are read (and written) in one
// place instead of through a separate index; there are six of them a check.
constexpr const char* migrate_v2_to_v3 = R"sql(
CREATE TABLE check_goods_v3 (
    check_id INTEGER NOT NULL REFERENCES checks (id) ON DELETE CASCADE,
    position INTEGER NOT NULL,
    goods_id TEXT    NOT NULL,
    rank     INTEGER CHECK (rank IS NULL OR rank BETWEEN 1 AND 1000),
    role     TEXT    NOT NULL DEFAULT 'own' CHECK (role IN ('own', 'competitor')),
    status   TEXT    NULL
             CHECK (status IS NULL OR status IN ('found', 'not_in_top_1000', 'failed', 'not_checked')),
    reason   TEXT    NOT NULL DEFAULT '',
    PRIMARY KEY (check_id, position)
) WITHOUT ROWID;
INSERT INTO check_goods_v3 (check_id, position, goods_id, rank, role)
    SELECT check_id, position, goods_id, rank, role FROM check_goods;
DROP TABLE check_goods;
ALTER TABLE check_goods_v3 RENAME TO check_goods;
ALTER TABLE notices ADD COLUMN check_id INTEGER NOT NULL DEFAULT 0;
CREATE INDEX checks_by_cell ON checks (board, listing, listing_key, sort_order, time_ms);
CREATE TABLE cell_best (
    board        TEXT    NOT NULL,
    listing      TEXT    NOT NULL,
    listing_key  TEXT    NOT NULL,
    sort_order   TEXT    NOT NULL,
    goods_id     TEXT    NOT NULL,
    best_rank    INTEGER NOT NULL,
    best_time_ms INTEGER NOT NULL,
    PRIMARY KEY (board, listing, listing_key, sort_order, goods_id)
) WITHOUT ROWID;
CREATE TABLE check_counts (
    board TEXT    PRIMARY KEY,
    n     INTEGER NOT NULL
) WITHOUT ROWID;
CREATE TABLE pace (
    host             TEXT    PRIMARY KEY,
    pages_per_second REAL    NOT NULL,
    time_ms          INTEGER NOT NULL
);
CREATE TABLE runs (
    id          INTEGER PRIMARY KEY,
    board       TEXT    NOT NULL,
    started_ms  INTEGER NOT NULL,
    ended_ms    INTEGER NOT NULL,
    how_ended   TEXT    NOT NULL CHECK (how_ended IN ('done', 'stopped', 'gave_up', 'failed')),
    checks      INTEGER NOT NULL,
    failed      INTEGER NOT NULL,
    not_checked INTEGER NOT NULL
);
CREATE INDEX runs_by_board ON runs (board, started_ms);
CREATE TABLE deliveries (
    notice_id    INTEGER NOT NULL REFERENCES notices (id) ON DELETE CASCADE,
    channel      TEXT    NOT NULL,
    attempts     INTEGER NOT NULL,
    delivered_ms INTEGER NOT NULL,
    error        TEXT    NOT NULL,
    PRIMARY KEY (notice_id, channel)
) WITHOUT ROWID;
CREATE TRIGGER checks_counted AFTER INSERT ON checks BEGIN
    INSERT INTO check_counts (board, n) VALUES (NEW.board, 1)
        ON CONFLICT (board) DO UPDATE SET n = n + 1;
END;
CREATE TRIGGER check_goods_best AFTER INSERT ON check_goods WHEN NEW.rank IS NOT NULL BEGIN
    INSERT INTO cell_best (board, listing, listing_key, sort_order, goods_id, best_rank,
                           best_time_ms)
        SELECT c.board, c.listing, c.listing_key, c.sort_order, NEW.goods_id, NEW.rank, c.time_ms
        FROM checks c
        WHERE c.id = NEW.check_id
          AND (NEW.status = 'found' OR (NEW.status IS NULL AND c.outcome = 'found'))
        ON CONFLICT (board, listing, listing_key, sort_order, goods_id) DO UPDATE
        SET best_rank = excluded.best_rank, best_time_ms = excluded.best_time_ms
        WHERE excluded.best_rank < best_rank
           OR (excluded.best_rank = best_rank AND excluded.best_time_ms < best_time_ms);
END;
)sql";

// Version 4, deliveries: a notice is claimed for a channel in the history
// before it is sent, so that no other process or thread sends it too. A row
// without a claim that was never sent is queued; a claim left by a process
// that ended mid-send stays, and the notice is not sent again (it may have
// arrived). `sends` counts the messages that carried the notice: a failed
// one is tried once more with a later run. Rows written before were each one
// send.
constexpr const char* migrate_v3_to_v4_deliveries = R"sql(
ALTER TABLE deliveries ADD COLUMN claim TEXT NOT NULL DEFAULT '';
ALTER TABLE deliveries ADD COLUMN claimed_ms INTEGER NOT NULL DEFAULT 0;
ALTER TABLE deliveries ADD COLUMN sends INTEGER NOT NULL DEFAULT 0;
UPDATE deliveries SET sends = 1;
)sql";

// Version 4, the pace: besides the pace a host ended with, the pace it was
// last pushed back at (0: none since it was kept) and the pages read since,
// so the next run climbs back where this one left off. The per-day summary
// of every cell comes with it (day_summary.h).
constexpr const char* migrate_v3_to_v4_pace = R"sql(
ALTER TABLE pace ADD COLUMN pushed_back_at REAL NOT NULL DEFAULT 0;
ALTER TABLE pace ADD COLUMN pages_since_push_back INTEGER NOT NULL DEFAULT 0;
)sql";

Result<int> schema_version(const sql::Connection& db, const std::string& shown_path) {
    auto version = sql::single_int(db, "PRAGMA user_version");
    if (!version) {
        Error error = version.error();
        if (error.code == ErrorCode::not_a_history) {
            error.message = "the file " + shown_path + " is not a Korvel history file";
        }
        return error;
    }
    return static_cast<int>(version.value());
}

Status refuse_unknown(int version, const std::string& shown_path) {
    if (version > current_schema_version) {
        return Error{ErrorCode::newer_schema,
                     "the history file " + shown_path + " was written by a newer Korvel (schema " +
                         std::to_string(version) + "); this version knows up to " +
                         std::to_string(current_schema_version)};
    }
    if (version < 0) {
        return Error{ErrorCode::not_a_history,
                     "the file " + shown_path + " is not a Korvel history file"};
    }
    return {};
}

// A version-0 database with tables of its own belongs to something else.
Status refuse_foreign(const sql::Connection& db, const std::string& shown_path) {
    auto tables = sql::single_int(db, "SELECT count(*) FROM sqlite_master");
    if (!tables) {
        return tables.error();
    }
    if (tables.value() != 0) {
        return Error{ErrorCode::not_a_history,
                     "the file " + shown_path + " is a database of another program"};
    }
    return {};
}

Status configure(const sql::Connection& db) {
    // With WAL a kill mid-write leaves the file whole; NORMAL syncs at
    // checkpoints only, which WAL makes safe against corruption.
    if (auto wal = sql::exec(db, "PRAGMA journal_mode = WAL"); !wal) {
        return wal;
    }
    return sql::exec(db, "PRAGMA synchronous = NORMAL; PRAGMA foreign_keys = ON");
}

Status upgrade_to_v2(const sql::Connection& db, int from) {
    if (auto base = sql::exec(db, from == 0 ? create_v2 : migrate_v1_to_v2); !base) {
        return base;
    }
    return sql::exec(db, create_notices);
}

Status upgrade_to_v3(const sql::Connection& db) {
    if (auto v3 = sql::exec(db, migrate_v2_to_v3); !v3) {
        return v3;
    }
    if (auto best = rebuild_best(db); !best) {
        return best;
    }
    return rebuild_counts(db);
}

// Every step runs in the caller's transaction, so a file is either migrated
// whole or left as it was.
Status upgrade(const sql::Connection& db, int from) {
    if (from < 2) {
        if (auto v2 = upgrade_to_v2(db, from); !v2) {
            return v2;
        }
    }
    if (from < 3) {
        if (auto v3 = upgrade_to_v3(db); !v3) {
            return v3;
        }
    }
    if (from < 4) {
        if (auto v4 = sql::exec(db, migrate_v3_to_v4_deliveries); !v4) {
            return v4;
        }
        if (auto pace = sql::exec(db, migrate_v3_to_v4_pace); !pace) {
            return pace;
        }
        if (auto days = create_day_summary(db); !days) {
            return days;
        }
    }
    const std::string version = "PRAGMA user_version = " + std::to_string(current_schema_version);
    return sql::exec(db, version.c_str());
}

// Another process may have upgraded the file since it was first read, so the
// version is read again under the write lock.
Status upgrade_in_transaction(const sql::Connection& db, const std::string& shown_path) {
    auto transaction = sql::Transaction::begin(db);
    if (!transaction) {
        return transaction.error();
    }
    auto version = schema_version(db, shown_path);
    if (!version) {
        return version.error();
    }
    if (auto known = refuse_unknown(version.value(), shown_path); !known) {
        return known;
    }
    if (version.value() == current_schema_version) {
        return {};  // the transaction rolls back having changed nothing
    }
    if (auto upgraded = upgrade(db, version.value()); !upgraded) {
        return upgraded;
    }
    return transaction.value().commit();
}

}  // namespace

Status prepare_schema(const sql::Connection& db, const std::string& shown_path) {
    sqlite3_busy_timeout(db.get(), busy_timeout_ms);
    // Read before anything is written: a refused file must stay as it is.
    auto version = schema_version(db, shown_path);
    if (!version) {
        return version.error();
    }
    if (auto known = refuse_unknown(version.value(), shown_path); !known) {
        return known;
    }
    if (version.value() == 0) {
        if (auto ours = refuse_foreign(db, shown_path); !ours) {
            return ours;
        }
    }
    if (auto configured = configure(db); !configured) {
        return configured;
    }
    if (version.value() == current_schema_version) {
        return {};
    }
    return upgrade_in_transaction(db, shown_path);
}

}  // namespace history
