// A whole history copied from a SQLite file into each engine and back, every
// row intact, and never into a history that holds anything.
#include <algorithm>

#include "history/copy.h"
#include "history_fixture.h"

namespace {

using history::Check;
using history::Notice;
using history::Outcome;
using history::Role;
using history::Sort;
using history::Store;
using history_test::keyword_check;
using history_test::StoreContract;

Store open(const history::Location& location) {
    auto store = Store::open(location);
    EXPECT_TRUE(store.ok()) << store.error().message;
    return std::move(store).value();
}

// A history with a row of every kind: a board whose definition holds a NUL,
// found and failed checks, a check's notices and their deliveries (one
// claimed mid-send), a run and a pace.
void fill(Store& store) {
    ASSERT_TRUE(store.save_board("早市", std::string("goods=1001\n") + '\0' + "x", 5).ok());
    ASSERT_TRUE(store.save_pace({"search.example", 1.25, 7, 2.5, 40}).ok());
    ASSERT_TRUE(store.add_run({0, "早市", 100, 900, "done", 3, 1, 0}).ok());
    for (std::int64_t time = 100; time <= 300; time += 100) {
        Check check = keyword_check("早市", "辣条", Sort::sales, time);
        check.outcome = Outcome::found;
        check.goods = {{"1001", Role::own, static_cast<int>(time / 10), Outcome::found},
                       {"2002", Role::competitor, std::nullopt, Outcome::failed, "第2页：超时"}};
        std::vector<Notice> notices = {{.board = "早市", .time_ms = time, .message = "上升"}};
        ASSERT_TRUE(store.record_check(check, notices).ok());
        ASSERT_TRUE(store.record_delivery({notices[0].id, "robot", 1, time + 1, ""}).ok());
        ASSERT_TRUE(store.claim_delivery(notices[0].id, "mail", "worker-1", time + 2).value());
    }
    Check failed = keyword_check("", "薯片", Sort::credit, 400);
    failed.outcome = Outcome::failed;
    failed.http_statuses = {0};
    ASSERT_TRUE(store.add_check(failed).ok());
}

void expect_same(const Store& a, const Store& b) {
    EXPECT_EQ(a.checks({}).value(), b.checks({}).value());
    EXPECT_EQ(a.notices("早市").value(), b.notices("早市").value());
    std::vector<std::int64_t> ids;
    for (const auto& notice : a.notices("早市").value()) {
        ids.push_back(notice.id);
    }
    EXPECT_EQ(a.deliveries(ids).value(), b.deliveries(ids).value());
    EXPECT_EQ(a.load_board("早市").value(), b.load_board("早市").value());
    EXPECT_EQ(a.last_run("早市").value(), b.last_run("早市").value());
    EXPECT_EQ(a.load_pace("search.example").value(), b.load_pace("search.example").value());
    EXPECT_EQ(a.best_ranks("早市").value(), b.best_ranks("早市").value());
    EXPECT_EQ(a.cell_days("早市", history::Listing::keyword, "辣条", Sort::sales, 1).value(),
              b.cell_days("早市", history::Listing::keyword, "辣条", Sort::sales, 1).value());
    EXPECT_EQ(a.count_checks("早市").value(), b.count_checks("早市").value());
    EXPECT_EQ(a.count_checks().value(), b.count_checks().value());
}

TEST_P(StoreContract, AHistoryCopiesIntoAnEmptyOneAndBackWithEveryRowIntact) {
    Store source = open(dir.path() / "source.sqlite");
    fill(source);
    Store copy = open_store();
    std::vector<std::string> seen;
    const auto copied = history::copy_history(source, copy, 2, [&](const auto& progress) {
        seen.push_back(std::string(progress.what) + " " + std::to_string(progress.done) + "/" +
                       std::to_string(progress.total));
    });
    ASSERT_TRUE(copied.ok()) << copied.error().message;
    expect_same(source, copy);
    EXPECT_NE(std::find(seen.begin(), seen.end(), "checks 4/4"), seen.end());
    EXPECT_TRUE(copy.integrity_ok().value());

    // New rows follow the copied ones.
    const auto next = copy.add_check(keyword_check("早市", "辣条", Sort::sales, 500));
    ASSERT_TRUE(next.ok()) << next.error().message;
    EXPECT_GT(next.value(), source.checks({}).value().back().id);

    Store back = open(dir.path() / "back.sqlite");
    ASSERT_TRUE(history::copy_history(copy, back, 1000, {}).ok());
    expect_same(copy, back);

    const auto refused = history::copy_history(source, copy, 10, {});
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().message.find("not empty"), std::string::npos);
    EXPECT_EQ(copy.count_checks().value(), 5);
}

}  // namespace
