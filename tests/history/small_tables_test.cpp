// The scheduler's pace per host, runs of a board, notice deliveries and the
// data version a window polls.
#include "history_fixture.h"

namespace {

using history::Delivery;
using history::RunRecord;
using history_test::HistoryTest;

TEST_F(HistoryTest, PaceIsKeptPerHostAndReplaced) {
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

TEST_F(HistoryTest, TheLastRunOfABoardIsTheOneStartedLast) {
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

TEST_F(HistoryTest, ADeliveryIsOneRowPerNoticeAndChannel) {
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

TEST_F(HistoryTest, DataVersionChangesWhenAnotherConnectionCommits) {
    auto watcher = open_store();
    auto writer = open_store();
    const auto before = watcher.data_version().value();
    EXPECT_EQ(watcher.data_version().value(), before);
    ASSERT_TRUE(writer.save_pace({"h", 1, 1}).ok());
    EXPECT_NE(watcher.data_version().value(), before);
}

}  // namespace
