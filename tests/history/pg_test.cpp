// What only a history on a PostgreSQL server does: its schema's version
// table, refusing what is not ours, concurrent first opens, the board hold,
// and a password that never shows.
#if KORVEL_WITH_POSTGRESQL
#include <libpq-fe.h>
#endif

#include <atomic>
#include <thread>

#include "history/board_hold.h"
#include "history_fixture.h"

namespace {

using history::ErrorCode;
using history::Store;

class PgHistory : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto url = test::test_pg_url();
        if (!url) {
            GTEST_SKIP() << test::kNoPgServer;
        }
        url_ = *url;
        scratch_.emplace(url_);
        ASSERT_TRUE(scratch_->problem().empty()) << scratch_->problem();
    }
    const history::Location& location() const { return scratch_->location(); }

    std::string url_;
    std::optional<test::PgScratch> scratch_;
};

TEST_F(PgHistory, ANewerSchemaAndForeignTablesAreRefusedAndLeftAsTheyAre) {
    ASSERT_TRUE(Store::open(location()).ok());
    scratch_->run("UPDATE korvel_schema SET version = 9");
    const auto newer = Store::open(location());
    ASSERT_FALSE(newer.ok());
    EXPECT_EQ(newer.error().code, ErrorCode::newer_schema);
    EXPECT_NE(newer.error().message.find("schema 9"), std::string::npos);
    EXPECT_EQ(scratch_->run("SELECT version FROM korvel_schema"), "9");

    test::PgScratch other(url_);
    other.run("CREATE TABLE checks (note TEXT)");
    const auto foreign = Store::open(other.location());
    ASSERT_FALSE(foreign.ok());
    EXPECT_EQ(foreign.error().code, ErrorCode::not_a_history);
    EXPECT_EQ(other.run("SELECT to_regclass('korvel_schema') IS NULL"), "t");
}

// A database taken back to schema 3 (no claims, no pace push-back, no day
// summary) comes up to 4 when opened: its deliveries count as sent once and
// its days are summed up from its checks, as they were.
TEST_F(PgHistory, AVersionThreeDatabaseMigratesWithItsDaysAndDeliveries) {
    std::vector<history::CellDay> days;
    std::int64_t notice = 0;
    {
        auto store = Store::open(location());
        ASSERT_TRUE(store.ok()) << store.error().message;
        for (const std::int64_t time : {86'400'000, 86'500'000, 172'900'000}) {
            auto check = history_test::keyword_check("早市", "辣条", history::Sort::sales, time);
            check.outcome = history::Outcome::found;
            check.goods = {{"1001", history::Role::own, static_cast<int>(time / 10'000'000),
                            history::Outcome::found}};
            ASSERT_TRUE(store.value().add_check(check).ok());
        }
        notice = store.value().add_notice({.board = "早市", .message = "上升"}).value();
        ASSERT_TRUE(store.value().record_delivery({notice, "robot", 1, 5, ""}).ok());
        days = store.value()
                   .cell_days("早市", history::Listing::keyword, "辣条", history::Sort::sales, 9)
                   .value();
        ASSERT_EQ(days.size(), 2u);
    }
    for (const char* step :
         {"ALTER TABLE deliveries DROP COLUMN claim, DROP COLUMN claimed_ms, DROP COLUMN sends",
          "ALTER TABLE pace DROP COLUMN pushed_back_at, DROP COLUMN pages_since_push_back",
          "DROP TABLE cell_days", "DROP TABLE board_leases",
          "UPDATE korvel_schema SET version = 3"}) {
        scratch_->run(step);
    }
    ASSERT_TRUE(scratch_->problem().empty()) << scratch_->problem();
    auto store = Store::open(location());
    ASSERT_TRUE(store.ok()) << store.error().message;
    EXPECT_EQ(scratch_->run("SELECT version FROM korvel_schema"), "4");
    EXPECT_EQ(store.value()
                  .cell_days("早市", history::Listing::keyword, "辣条", history::Sort::sales, 9)
                  .value(),
              days);
    const auto sent = store.value().deliveries({notice}).value();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].sends, 1);
    EXPECT_FALSE(store.value().claim_delivery(notice, "robot", "a", 10).value());
    ASSERT_TRUE(store.value().save_pace({"search.example", 1, 2, 3, 4}).ok());
    EXPECT_EQ(store.value().load_pace("search.example").value()->pages_since_push_back, 4);
}

TEST_F(PgHistory, ProcessesOpeningAnEmptyDatabaseAtOnceMakeItOnce) {
    std::vector<std::thread> openers;
    std::atomic<int> opened{0};
    for (int i = 0; i < 4; ++i) {
        openers.emplace_back([&] { opened += Store::open(location()).ok() ? 1 : 0; });
    }
    for (auto& opener : openers) {
        opener.join();
    }
    EXPECT_EQ(opened, 4);
    EXPECT_EQ(scratch_->run("SELECT count(*) FROM korvel_schema"), "1");
}

TEST_F(PgHistory, ABoardIsHeldByOneHolderUntilItLetsGo) {
    ASSERT_TRUE(Store::open(location()).ok());
    auto first = history::BoardHold::take(location(), "早市");
    ASSERT_TRUE(first.ok()) << first.error().message;
    ASSERT_TRUE(first.value().has_value());
    EXPECT_FALSE(history::BoardHold::take(location(), "早市").value().has_value());
    EXPECT_TRUE(history::BoardHold::take(location(), "晚市").value().has_value());
    // Another history in the same database has boards of its own.
    test::PgScratch other(url_);
    ASSERT_TRUE(Store::open(other.location()).ok());
    EXPECT_TRUE(history::BoardHold::take(other.location(), "早市").value().has_value());
    first.value().reset();
    const auto again = history::BoardHold::take(location(), "早市");
    ASSERT_TRUE(again.value().has_value());
    EXPECT_FALSE(again.value()->abandoned()) << "a lease let go leaves no abandoned run";
}

// A worker that dies stops renewing: once its lease has run out (by the
// server's clock) the board is taken over and the dead run recorded as
// abandoned, with what it recorded. A renewal that finds its lease taken says so.
TEST_F(PgHistory, ALeaseIsRenewedWhileHeldAndTakenOverOnceItRunsOut) {
    using namespace std::chrono;
    auto store = Store::open(location());
    ASSERT_TRUE(store.ok()) << store.error().message;
    const history::LeaseTerms short_lease{"甲", milliseconds(900), 1'000'000};
    auto held = history::BoardHold::take(location(), "早市", short_lease);
    ASSERT_TRUE(held.value().has_value());
    std::this_thread::sleep_for(milliseconds(1500));
    EXPECT_FALSE(history::BoardHold::take(location(), "早市").value().has_value())
        << "renewed past its first expiry";
    const auto lease = store.value().board_lease("早市").value();
    ASSERT_TRUE(lease);
    EXPECT_TRUE(lease->live);
    EXPECT_EQ(lease->started_ms, 1'000'000);
    EXPECT_EQ(lease->holder.rfind("甲/", 0), 0u) << lease->holder;
    held.value().reset();

    // What a killed (or frozen) worker leaves: a lease nobody renews, and two
    // checks, kept though the lease has run out, as nobody has taken it yet.
    scratch_->run(
        "INSERT INTO board_leases VALUES ('晚市', '乙/1/dead', 2000000, 2000900, 2001000)");
    auto frozen = Store::open(location());
    ASSERT_TRUE(frozen.ok()) << frozen.error().message;
    frozen.value().record_only_while_held("晚市", "乙/1/dead");
    const auto check_at = [](std::int64_t time) {
        return history_test::keyword_check("晚市", "辣条", history::Sort::sales, time);
    };
    for (const std::int64_t time : {1'999'000, 2'000'100, 2'000'500}) {
        auto check = check_at(time);
        if (time == 2'000'500) {
            check.outcome = history::Outcome::failed;
            check.reason = "连接失败";
            check.goods[0].status = history::Outcome::failed;
            check.goods[0].reason = "连接失败";
        }
        const auto added = frozen.value().add_check(check);
        ASSERT_TRUE(added.ok()) << added.error().message;
    }
    std::atomic<bool> lost{false};
    auto taker = history::BoardHold::take(location(), "晚市", short_lease, [&] { lost = true; });
    ASSERT_TRUE(taker.value().has_value());
    // The frozen worker wakes: its next check is refused, and nothing of it kept.
    const auto late = frozen.value().add_check(check_at(2'000'600));
    ASSERT_FALSE(late.ok());
    EXPECT_EQ(late.error().code, ErrorCode::lease_lost);
    EXPECT_EQ(store.value().count_checks("晚市").value(), 3);
    EXPECT_TRUE(store.value().add_check(check_at(2'000'700)).ok()) << "an unguarded store is free";
    const auto dead = taker.value()->abandoned();
    ASSERT_TRUE(dead);
    EXPECT_EQ(dead, store.value().last_run("晚市").value());
    EXPECT_EQ(dead->how_ended, "abandoned");
    EXPECT_EQ(dead->started_ms, 2'000'000);
    EXPECT_EQ(dead->ended_ms, 2'000'900);
    EXPECT_EQ(dead->checks, 2);
    EXPECT_EQ(dead->failed, 1);

    scratch_->run("UPDATE board_leases SET holder = 'someone else' WHERE board = '晚市'");
    for (int i = 0; i < 40 && !lost; ++i)
        std::this_thread::sleep_for(milliseconds(100));
    EXPECT_TRUE(lost) << "the renewal found the lease taken";
}

#if KORVEL_WITH_POSTGRESQL
// A server that vanishes without a word must not hold a query for a quarter
// of an hour; an address's own timeouts still win.
TEST_F(PgHistory, AConnectionGivesUpOnASilentServerUnlessTheAddressSaysOtherwise) {
    const auto option = [](const history::Location& where, const std::string& name) {
        auto db = history::pg::connect(where);
        EXPECT_TRUE(db.ok()) << db.error().message;
        std::string value;
        PQconninfoOption* options = db.ok() ? PQconninfo(db.value().get()) : nullptr;
        for (PQconninfoOption* o = options; o != nullptr && o->keyword != nullptr; ++o) {
            if (name == o->keyword && o->val != nullptr)
                value = o->val;
        }
        PQconninfoFree(options);
        return value;
    };
    EXPECT_EQ(option(location(), "tcp_user_timeout"), "20000");
    EXPECT_EQ(option(location(), "keepalives_idle"), "30");
    const history::Location own(location().text() + "&tcp_user_timeout=2500&connect_timeout=4");
    EXPECT_EQ(option(own, "tcp_user_timeout"), "2500");
    EXPECT_EQ(option(own, "connect_timeout"), "4");
}
#endif

TEST_F(PgHistory, AWrongPasswordIsReportedWithoutShowingIt) {
    const std::string secret = "not-the-password-4711";
    std::string url = url_;
    const auto at = url.find('@');
    const auto colon = url.rfind(':', at);
    ASSERT_NE(at, std::string::npos);
    url.replace(colon + 1, at - colon - 1, secret);
    const auto refused = Store::open(history::Location(url));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().code, ErrorCode::cannot_open);
    EXPECT_EQ(refused.error().message.find(secret), std::string::npos) << refused.error().message;
    EXPECT_NE(refused.error().message.find(":***@"), std::string::npos) << refused.error().message;
}

}  // namespace
