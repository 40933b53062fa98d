#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../history/history_fixture.h"
#include "board/notices.h"
#include "board/notices_grid.h"

namespace {

using board::NoticeThresholds;
using history::Check;
using history::GoodsResult;
using history::Outcome;
using history::Role;
using Rank = std::optional<int>;

constexpr Rank kOut = std::nullopt;  // read, not among the first 1000

GoodsResult own(Rank rank, std::string id = "111") {
    return {std::move(id), Role::own, rank};
}
GoodsResult rival(Rank rank, std::string id = "999") {
    return {std::move(id), Role::competitor, rank};
}

// A check of the cell 辣条 under the sales order; the outcome follows the ranks.
Check read_check(std::vector<GoodsResult> goods, std::int64_t time_ms = 1000) {
    Check check;
    check.board = "零食";
    check.key = "辣条";
    check.sort = history::Sort::sales;
    check.time_ms = time_ms;
    check.pages_read = 2;
    check.http_statuses = {200, 200};
    const bool any = std::any_of(goods.begin(), goods.end(), [](auto& g) { return g.rank; });
    check.outcome = any ? Outcome::found : Outcome::not_in_top_1000;
    check.goods = std::move(goods);
    return check;
}

Check unread(Outcome outcome, std::string reason = "请求超时", std::int64_t time_ms = 1000) {
    Check check = read_check({own(kOut), rival(kOut)}, time_ms);
    check.outcome = outcome;
    check.pages_read = 0;
    check.http_statuses = {};
    check.reason = std::move(reason);
    return check;
}

std::vector<std::string> kinds(const std::vector<history::Notice>& notices) {
    std::vector<std::string> out;
    for (const auto& n : notices) {
        out.push_back(n.kind);
    }
    return out;
}

TEST(Notices, OwnRankChangesGiveTheWeightiestNotice) {
    struct Case {
        Rank before;
        Rank after;
        const char* kind;  // "" for none
        NoticeThresholds thresholds = {};
    };
    const Case cases[] = {{37, 52, "rank_move"},
                          {37, 46, ""},
                          {37, 27, "rank_move"},
                          {25, 8, "entered_top"},
                          {8, 25, "left_top"},
                          {20, 21, "left_top"},
                          {21, 20, "entered_top"},
                          {5, 12, ""},
                          {30, 30, ""},
                          {kOut, 640, "entered_1000"},
                          {640, kOut, "left_1000"},
                          {8, kOut, "left_1000"},
                          {kOut, 3, "entered_1000"},
                          {kOut, kOut, ""},
                          {10, 7, "rank_move", {3, 5}},
                          {6, 5, "entered_top", {3, 5}},
                          {10, 8, "", {3, 5}}};
    for (const auto& c : cases) {
        const auto notices = board::cell_notices(read_check({own(c.before)}),
                                                 read_check({own(c.after)}), c.thresholds);
        EXPECT_EQ(kinds(notices),
                  *c.kind ? std::vector<std::string>{c.kind} : std::vector<std::string>{})
            << board::rank_text(c.before) << " -> " << board::rank_text(c.after);
    }
}

TEST(Notices, ARankMoveCarriesTheCellBothRanksAndTheChange) {
    const auto notices =
        board::cell_notices(read_check({own(37)}), read_check({own(52)}, 5000), {});
    ASSERT_EQ(notices.size(), 1u);
    const auto& n = notices[0];
    EXPECT_EQ(n.message, "辣条 · 销量：第37名 → 第52名（▼15）");
    EXPECT_EQ(n.before, "第37名");
    EXPECT_EQ(n.after, "第52名");
    EXPECT_EQ(n.goods_id, "111");
    EXPECT_EQ(n.board, "零食");
    EXPECT_EQ(n.key, "辣条");
    EXPECT_EQ(n.sort, history::Sort::sales);
    EXPECT_EQ(n.time_ms, 5000);
}

TEST(Notices, CompetitorsOvertakingTheOwnGoods) {
    struct Case {
        Rank own_before, rival_before, own_after, rival_after;
        bool overtaken;
    };
    const Case cases[] = {
        {10, 15, 10, 8, true},       {10, 8, 12, 5, false},         {10, 15, 10, 15, false},
        {10, kOut, kOut, 900, true}, {kOut, kOut, kOut, 900, true}, {kOut, 900, kOut, 800, false},
        {10, 15, 20, kOut, false},   {10, 15, 15, 15, false},
    };
    for (const auto& c : cases) {
        const auto notices =
            board::cell_notices(read_check({own(c.own_before), rival(c.rival_before)}),
                                read_check({own(c.own_after), rival(c.rival_after)}), {100, 1});
        const bool overtaken = std::any_of(notices.begin(), notices.end(), [](auto& n) {
            return n.kind == "overtaken" && n.goods_id == "999";
        });
        EXPECT_EQ(overtaken, c.overtaken)
            << board::rank_text(c.own_before) << "/" << board::rank_text(c.rival_before) << " -> "
            << board::rank_text(c.own_after) << "/" << board::rank_text(c.rival_after);
    }
}

TEST(Notices, AnOvertakingNoticeNamesTheCompetitorAndTheOwnRank) {
    const auto notices =
        board::cell_notices(read_check({own(10), rival(15)}), read_check({own(10), rival(8)}), {});
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].message.find("999"), std::string::npos) << notices[0].message;
    EXPECT_NE(notices[0].message.find("本店第10名"), std::string::npos) << notices[0].message;
    EXPECT_EQ(notices[0].before, "第15名");
    EXPECT_EQ(notices[0].after, "第8名");
}

// A seller reads names: the competitor by goods name and shop, a category
// by the name the board was set up with, an own goods item by its name.
TEST(Notices, NamesTheBoardKnowsReplaceIds) {
    board::NoticeNames names;
    names.goods = {{"999", "辣条王（零食铺）"}, {"222", "大辣条"}};
    names.listings.categories = {{"14", "休闲零食"}};
    Check before = read_check({own(10, "111"), own(40, "222"), rival(15)});
    Check after = read_check({own(10, "111"), own(80, "222"), rival(8)});
    before.listing = after.listing = history::Listing::category;
    before.key = after.key = "14";
    before.sort = after.sort = history::Sort::none;
    std::vector<std::string> messages;
    for (const auto& n : board::cell_notices(before, after, {}, names))
        messages.push_back(n.message);
    EXPECT_EQ(messages,
              (std::vector<std::string>{"类目 休闲零食 · 本店 111：竞品 辣条王（零食铺） 第8名，"
                                        "已排在本店前面（本店第10名）",
                                        "类目 休闲零食 · 本店 大辣条：第40名 → 第80名（▼40）"}));
}

TEST(Notices, SeveralOwnGoodsInACellAreNamed) {
    const auto notices = board::cell_notices(read_check({own(10, "111"), own(40, "222")}),
                                             read_check({own(10, "111"), own(80, "222")}), {});
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].goods_id, "222");
    EXPECT_NE(notices[0].message.find("本店 222"), std::string::npos) << notices[0].message;
}

TEST(Notices, NothingWithoutABaselineOfTheSameCell) {
    const Check good = read_check({own(37), rival(50)});
    Check other_order = read_check({own(80)});
    other_order.sort = history::Sort::credit;
    Check other_board = read_check({own(80)});
    other_board.board = "别的看板";
    const std::pair<std::optional<Check>, Check> cases[] = {
        {good, unread(Outcome::failed)},
        {good, unread(Outcome::not_checked)},
        {unread(Outcome::failed), good},
        {unread(Outcome::not_checked), good},
        {std::nullopt, good},
        {other_order, read_check({own(10)})},
        {other_board, read_check({own(10)})},
        {read_check({own(10)}), read_check({own(12), rival(3)})},       // the rival is new
        {read_check({own(10, "222")}), read_check({own(50, "111")})}};  // the goods is new
    for (const auto& [previous, current] : cases) {
        EXPECT_TRUE(board::cell_notices(previous, current, {}).empty())
            << board::cell_label(current) << " " << history::to_text(current.outcome);
    }
    // The baseline skips the failure in between.
    const auto previous = board::last_successful({good, unread(Outcome::failed)});
    EXPECT_EQ(kinds(board::cell_notices(previous, read_check({own(52), rival(60)}), {})),
              std::vector<std::string>{"rank_move"});
}

TEST(RunNotices, MostChecksFailingGiveOneNoticeWithTheCommonestReason) {
    const std::vector<board::CellChange> cells = {
        {read_check({own(37)}), unread(Outcome::failed, "请求超时", 2000)},
        {read_check({own(37)}), unread(Outcome::failed, "服务器返回错误 503", 3000)},
        {read_check({own(37)}), unread(Outcome::failed, "请求超时", 4000)},
        {read_check({own(37)}), read_check({own(60)}, 1500)},
        {std::nullopt, read_check({own(5)})},
    };
    const auto notices = board::run_notices(cells, {});
    ASSERT_EQ(kinds(notices), (std::vector<std::string>{"checks_failing", "rank_move"}));
    EXPECT_EQ(notices[0].after, "3/5");
    EXPECT_EQ(notices[0].time_ms, 4000);
    EXPECT_EQ(notices[0].board, "零食");
    EXPECT_NE(notices[0].message.find("请求超时（2项）"), std::string::npos) << notices[0].message;
}

// Checks the run never tried count with the failed: 1 failed + 13 未检查 of 15 is failing.
TEST(RunNotices, FailingNoticeNeedsMoreThanHalfOfTheChecksUnread) {
    struct Case {
        std::vector<Outcome> outcomes;
        bool failing;
    };
    const Outcome f = Outcome::failed;
    const Outcome n = Outcome::not_checked;
    const Outcome r = Outcome::found;
    const Case cases[] = {
        {{f, f, r, r}, false}, {{f, f, f, r}, true}, {{f, f, r, n, n, n, n}, true},
        {{n, n}, true},        {{}, false},          {{f}, true},
    };
    for (const auto& c : cases) {
        std::vector<board::CellChange> cells;
        for (const Outcome o : c.outcomes) {
            cells.push_back({std::nullopt, o == r ? read_check({own(5)}) : unread(o)});
        }
        const auto notices = board::run_notices(cells, {});
        EXPECT_EQ(notices.size(), c.failing ? 1u : 0u) << c.outcomes.size();
    }
}

TEST(RunNotices, EveryNoticeIsAcceptedByTheHistory) {
    history_test::TempDir dir;
    auto store = history::Store::open(dir.path() / "history.sqlite");
    ASSERT_TRUE(store.ok()) << store.error().message;
    const std::vector<board::CellChange> cells = {
        {read_check({own(25), rival(30)}), read_check({own(8), rival(3)}, 7000)},
        {read_check({own(kOut)}), read_check({own(640)}, 7000)},
        {std::nullopt, unread(Outcome::failed, "", 7000)},
        {std::nullopt, unread(Outcome::failed, "", 7000)},
        {std::nullopt, unread(Outcome::failed, "", 7000)},
    };
    const auto notices = board::run_notices(cells, {});
    ASSERT_EQ(notices.size(), 4u);
    for (const auto& n : notices) {
        EXPECT_TRUE(store.value().add_notice(n).ok()) << n.message;
    }
    const auto stored = store.value().notices("零食");
    ASSERT_TRUE(stored.ok());
    ASSERT_EQ(stored.value().size(), notices.size());
    for (std::size_t i = 0; i < notices.size(); ++i) {
        EXPECT_EQ(stored.value()[i].message, notices[i].message);
        EXPECT_EQ(stored.value()[i].kind, notices[i].kind);
    }
}

TEST(GridHelpers, ChangeSinceTheLastSuccessfulCheck) {
    struct Case {
        std::optional<Check> previous;
        Check current;
        const char* text;
    };
    const Case cases[] = {
        {read_check({own(37)}), read_check({own(34)}), "▲3"},
        {read_check({own(40)}), read_check({own(52)}), "▼12"},
        {read_check({own(40)}), read_check({own(40)}), ""},
        {read_check({own(kOut)}), read_check({own(900)}), "新进"},
        {read_check({own(900)}), read_check({own(kOut)}), "跌出"},
        {read_check({own(kOut)}), read_check({own(kOut)}), ""},
        {std::nullopt, read_check({own(3)}), ""},
        {read_check({own(40)}), unread(Outcome::failed), ""},
        {unread(Outcome::failed), read_check({own(40)}), ""},
        {read_check({own(40, "222")}), read_check({own(40)}), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(board::change_text(c.previous, c.current, "111"), c.text) << c.text;
    }
}

TEST(GridHelpers, LatestChangeLooksPastFailures) {
    const Check failed = unread(Outcome::failed);
    EXPECT_EQ(
        board::latest_change_text({read_check({own(37)}), failed, read_check({own(34)})}, "111"),
        "▲3");
    EXPECT_EQ(
        board::latest_change_text({read_check({own(37)}), read_check({own(40)}), failed}, "111"),
        "");
    EXPECT_EQ(board::latest_change_text({failed, read_check({own(5)})}, "111"), "");
    EXPECT_EQ(board::latest_change_text({}, "111"), "");
}

TEST(GridHelpers, BestRankSoFar) {
    const std::vector<Check> checks = {read_check({own(30), rival(2)}), unread(Outcome::failed),
                                       read_check({own(12)}), read_check({own(kOut)}),
                                       read_check({own(18)})};
    EXPECT_EQ(board::best_rank(checks, "111"), 12);
    EXPECT_EQ(board::best_rank(checks, "999"), 2);
    EXPECT_EQ(board::best_rank(checks, "555"), std::nullopt);
    EXPECT_EQ(board::best_rank({read_check({own(kOut)}), unread(Outcome::failed)}, "111"),
              std::nullopt);
}

}  // namespace
