// The scheduler's pace per host, runs of a board, notice deliveries and the
// data version a window polls.
#include <thread>

#include "history_fixture.h"

namespace {

using history::Delivery;
using history::RunRecord;
using history_test::StoreContract;

TEST_P(StoreContract, PaceIsKeptPerHostAndReplaced) {
    auto store = open_store();
    EXPECT_FALSE(store.load_pace("search.example").value().has_value());
    ASSERT_TRUE(store.save_pace({"search.example", 2.5, 100}).ok());
    const history::PaceRecord limited{"search.example", 0.75, 200, 1.5, 12};
    ASSERT_TRUE(store.save_pace(limited).ok());
    ASSERT_TRUE(store.save_pace({"other.example", 9, 300}).ok());
    EXPECT_EQ(store.load_pace("search.example").value(), limited);
    EXPECT_FALSE(store.save_pace({"search.example", 0, 400}).ok());
    EXPECT_FALSE(store.save_pace({"search.example", 1, 400, -1}).ok());
    EXPECT_FALSE(store.save_pace({"", 1, 400}).ok());
}

TEST_P(StoreContract, TheLastRunOfABoardIsTheOneStartedLast) {
    auto store = open_store();
    EXPECT_FALSE(store.last_run("早市").value().has_value());
    RunRecord later{0, "早市", 2000, 2500, "gave_up", 500, 20, 300};
    ASSERT_TRUE(store.add_run(later).ok());
    later.id = store.add_run({0, "早市", 1000, 3000, "done", 500, 0, 0}).value() - 1;
    ASSERT_TRUE(store.add_run({0, "晚市", 4000, 4100, "stopped", 3, 0, 1}).ok());
    EXPECT_EQ(store.last_run("早市").value(), later);
    EXPECT_EQ(store.run_starts("早市", 1500).value(), std::vector<std::int64_t>{2000});
    EXPECT_EQ(store.run_starts("早市", 0).value(), (std::vector<std::int64_t>{1000, 2000}));
    const auto refused = store.add_run({0, "早市", 1, 2, "crashed", 0, 0, 0});
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().code, history::ErrorCode::invalid_record);
}

TEST_P(StoreContract, ADeliveryIsOneRowPerNoticeAndChannel) {
    auto store = open_store();
    const auto first = store.add_notice({.board = "早市", .message = "上升"}).value();
    const auto second = store.add_notice({.board = "早市", .message = "下降"}).value();
    ASSERT_TRUE(store.record_delivery({second, "tray", 1, 50, ""}).ok());
    ASSERT_TRUE(store.record_delivery({first, "robot", 1, 0, "HTTP 502"}).ok());
    ASSERT_TRUE(store.record_delivery({first, "robot", 2, 90, ""}).ok());
    ASSERT_TRUE(store.record_delivery({first, "email", 1, 80, ""}).ok());
    EXPECT_FALSE(store.record_delivery({first, "", 1, 80, ""}).ok());
    EXPECT_EQ(store.deliveries({second, first, 999}).value(),
              (std::vector<Delivery>{{first, "email", 1, 80, ""},
                                     {first, "robot", 2, 90, ""},
                                     {second, "tray", 1, 50, ""}}));
    EXPECT_TRUE(store.deliveries({}).value().empty());
}

// A notice's life on one channel, each step by one statement: claimed by one
// claimant at a time, handed back as it was, sent again once after a
// failure, never after a delivery or by a claimant that does not hold it.
TEST_P(StoreContract, ANoticeIsClaimedByOneSenderAndSentAgainOnceAfterAFailure) {
    auto store = open_store();
    auto other = open_store();  // another process
    const auto notice = store.add_notice({.board = "早市", .message = "上升"}).value();
    const auto delivered = store.add_notice({.board = "早市", .message = "下降"}).value();
    ASSERT_TRUE(store.queue_deliveries({notice, delivered, notice}, "robot").ok());
    ASSERT_TRUE(store.queue_deliveries({notice}, "robot").ok());
    EXPECT_EQ(store.deliveries({notice}).value(),
              (std::vector<Delivery>{{notice, "robot", 0, 0, ""}}));
    EXPECT_FALSE(store.queue_deliveries({notice}, "").ok());
    EXPECT_FALSE(store.claim_delivery(notice, "robot", "", 10).ok());

    EXPECT_TRUE(store.claim_delivery(notice, "robot", "a", 10).value());
    EXPECT_FALSE(other.claim_delivery(notice, "robot", "b", 11).value());
    ASSERT_TRUE(other.release_delivery(notice, "robot", "b").ok());  // not b's: no change
    ASSERT_TRUE(store.release_delivery(notice, "robot", "a").ok());
    EXPECT_EQ(store.deliveries({notice}).value().at(0).sends, 0);

    EXPECT_TRUE(other.claim_delivery(notice, "robot", "b", 20).value());
    EXPECT_FALSE(store.settle_delivery({notice, "robot", 1, 0, "HTTP 502"}, "a").value());
    EXPECT_TRUE(other.settle_delivery({notice, "robot", 1, 0, "HTTP 502"}, "b").value());
    EXPECT_TRUE(store.claim_delivery(notice, "robot", "a", 30).value());  // 补发
    EXPECT_TRUE(store.settle_delivery({notice, "robot", 2, 0, "HTTP 502"}, "a").value());
    EXPECT_FALSE(other.claim_delivery(notice, "robot", "b", 40).value());  // sent twice
    EXPECT_EQ(store.deliveries({notice}).value(),
              (std::vector<Delivery>{{notice, "robot", 2, 0, "HTTP 502", "", 30, 2}}));

    // A channel the notice never had is claimed without a queued row; a
    // claim kept through a cut-off send stays, and nobody sends it again.
    EXPECT_TRUE(store.claim_delivery(delivered, "mail", "a", 50).value());
    EXPECT_TRUE(store.settle_delivery({delivered, "mail", 1, 55, "", "a"}, "a").value());
    EXPECT_FALSE(other.claim_delivery(delivered, "mail", "b", 60).value());
    EXPECT_TRUE(other.claim_delivery(delivered, "robot", "b", 60).value());
    ASSERT_TRUE(other.settle_delivery({delivered, "robot", 1, 61, ""}, "b").ok());
    EXPECT_FALSE(store.claim_delivery(delivered, "robot", "a", 70).value());
}

// Several connections claiming the same notices at once: each notice goes
// to exactly one of them.
TEST_P(StoreContract, RacingClaimantsGetEachNoticeOnce) {
    auto store = open_store();
    std::vector<std::int64_t> ids;
    for (int i = 0; i < 40; ++i) {
        ids.push_back(store.add_notice({.board = "早市", .message = "上升"}).value());
    }
    ASSERT_TRUE(store.queue_deliveries(ids, "robot").ok());
    std::vector<int> won(4, 0);
    std::vector<std::thread> claimants;
    for (int c = 0; c < 4; ++c) {
        claimants.emplace_back([&, c] {
            auto mine = history::Store::open(location());
            ASSERT_TRUE(mine.ok());
            for (const std::int64_t id : ids) {
                const auto got = mine.value().claim_delivery(id, "robot", std::to_string(c), 1);
                ASSERT_TRUE(got.ok()) << got.error().message;
                won[c] += got.value() ? 1 : 0;
            }
        });
    }
    for (auto& claimant : claimants) {
        claimant.join();
    }
    EXPECT_EQ(won[0] + won[1] + won[2] + won[3], 40);
    for (const Delivery& row : store.deliveries(ids).value()) {
        EXPECT_EQ(row.sends, 1);
    }
}

TEST_P(StoreContract, DataVersionChangesWhenAnotherConnectionCommits) {
    auto watcher = open_store();
    auto writer = open_store();
    const auto before = watcher.data_version().value();
    EXPECT_EQ(watcher.data_version().value(), before);
    ASSERT_TRUE(writer.save_pace({"h", 1, 1}).ok());
    EXPECT_NE(watcher.data_version().value(), before);
}

}  // namespace
