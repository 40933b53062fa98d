// What is kept beside the checks (best ranks, counts), bounded reads, and a
// check stored together with its notices.
#include <algorithm>
#include <map>
#include <tuple>

#include "history_fixture.h"

namespace {

using history::CellBest;
using history::CellDay;
using history::Check;
using history::Listing;
using history::Notice;
using history::Outcome;
using history::Role;
using history::Sort;
using history_test::keyword_check;
using history_test::StoreContract;

Check ranked(std::string board, Sort sort, std::int64_t time_ms, std::optional<int> own,
             std::optional<int> competitor) {
    Check check = keyword_check(std::move(board), "辣条", sort, time_ms);
    check.outcome = Outcome::found;
    check.goods = {{"1001", Role::own, own, Outcome::found},
                   competitor
                       ? history::GoodsResult{"2002", Role::competitor, competitor, Outcome::found}
                       : history::GoodsResult{"2002", Role::competitor, std::nullopt,
                                              Outcome::failed, "第2页：超时"}};
    return check;
}

CellBest best(Sort sort, std::string goods, int rank, std::int64_t time_ms) {
    return {Listing::keyword, "辣条", sort, std::move(goods), rank, time_ms};
}

TEST_P(StoreContract, BestRanksAndCountsFollowEveryInsertAndPrune) {
    auto store = open_store();
    for (const auto& check :
         {ranked("A", Sort::sales, 100, 50, 30), ranked("A", Sort::credit, 150, 7, 900),
          ranked("A", Sort::sales, 200, 20, std::nullopt),
          ranked("A", Sort::sales, 300, 20, 60),  // a tie keeps the first
          ranked("A", Sort::sales, 400, 80, 70), ranked("B", Sort::sales, 100, 1, 1)}) {
        ASSERT_TRUE(store.add_check(check).ok());
    }
    Check failed = keyword_check("A", "辣条", Sort::sales, 500);
    failed.outcome = Outcome::failed;
    failed.http_statuses = {0};
    ASSERT_TRUE(store.add_check(failed).ok());

    EXPECT_EQ(store.best_ranks("A").value(),
              (std::vector<CellBest>{
                  best(Sort::credit, "1001", 7, 150), best(Sort::credit, "2002", 900, 150),
                  best(Sort::sales, "1001", 20, 200), best(Sort::sales, "2002", 30, 100)}));
    EXPECT_EQ(store.count_checks("A").value(), 6);
    EXPECT_EQ(store.count_checks().value(), 7);

    EXPECT_EQ(store.prune_before(250).value(), 4);
    EXPECT_EQ(store.best_ranks("A").value(),
              (std::vector<CellBest>{best(Sort::sales, "1001", 20, 300),
                                     best(Sort::sales, "2002", 60, 300)}));
    EXPECT_TRUE(store.best_ranks("B").value().empty());
    EXPECT_EQ(store.count_checks("A").value(), 3);
    EXPECT_EQ(store.count_checks("B").value(), 0);
    EXPECT_EQ(store.count_checks().value(), 3);
}

// Each goods item's best rank per cell among `checks`, the earliest on a tie,
// worked out the plain way.
std::vector<CellBest> best_of(const std::vector<Check>& checks, const std::string& board) {
    std::map<std::tuple<std::string, std::string, std::string>, CellBest> best;
    for (const Check& check : checks) {
        for (const history::GoodsResult& goods : check.goods) {
            if (check.board != board || history::status_of(check, goods) != Outcome::found)
                continue;
            const CellBest reached{check.listing,  check.key,   check.sort,
                                   goods.goods_id, *goods.rank, check.time_ms};
            const auto key =
                std::tuple{check.key, std::string(history::to_text(check.sort)), goods.goods_id};
            const auto [it, first] = best.try_emplace(key, reached);
            if (!first && std::pair{reached.best_rank, reached.time_ms} <
                              std::pair{it->second.best_rank, it->second.time_ms})
                it->second = reached;
        }
    }
    std::vector<CellBest> out;
    for (const auto& [key, cell] : best)
        out.push_back(cell);
    return out;
}

// One cell's per-day summary among `checks` (in time order), worked out the
// plain way: the lowest place first reached, the highest place read first
// reached, the last point.
std::vector<CellDay> days_of(const std::vector<Check>& checks, const std::string& board,
                             Sort sort) {
    std::map<std::pair<std::string, std::int64_t>, CellDay> days;
    for (const Check& check : checks) {
        if (check.board != board || check.sort != sort)
            continue;
        for (const history::GoodsResult& goods : check.goods) {
            const Outcome status = history::status_of(check, goods);
            const int place = status == Outcome::found             ? goods.rank.value_or(1002)
                              : status == Outcome::not_in_top_1000 ? 1001
                                                                   : 1002;
            const std::int64_t day = check.time_ms / history::kDayMs;
            auto [it, first] = days.try_emplace({goods.goods_id, day});
            CellDay& d = it->second;
            if (first || place < d.best_place) {
                d.best_place = place;
                d.best_ms = check.time_ms;
            }
            if (place <= 1001 && (!d.worst_place || place > *d.worst_place)) {
                d.worst_place = place;
                d.worst_ms = check.time_ms;
            }
            d.goods_id = goods.goods_id;
            d.day = day;
            d.role = goods.role;
            d.last_place = place;
            d.last_ms = check.time_ms;
            d.last_reason = place < 1002 ? "" : goods.reason.empty() ? check.reason : goods.reason;
        }
    }
    std::vector<CellDay> out;
    for (const auto& [key, day] : days)
        out.push_back(day);
    return out;
}

// Four days of two boards, a check every three hours with ranks wandering
// and some failures; pruned at every cut, mid-day or at midnight, the best
// ranks (ever, and over a span of days), the counts and each cell's days
// equal what the checks left say.
TEST_P(StoreContract, BestRanksAndCountsStayRightThroughPrunesAcrossDays) {
    auto store = open_store();
    constexpr std::int64_t hour = 3'600'000;
    std::uint32_t state = 7;
    const auto next = [&state](std::uint32_t below) {
        state = state * 1'103'515'245u + 12'345u;
        return (state >> 8) % below;
    };
    for (std::int64_t t = 10 * hour; t < 4 * 24 * hour; t += 3 * hour) {
        for (const char* board : {"A", "B"}) {
            for (const Sort sort : {Sort::sales, Sort::credit}) {
                const bool failed = next(7) == 0;
                Check check =
                    ranked(board, sort, t, 1 + static_cast<int>(next(60)),
                           next(3) == 0 ? std::nullopt : std::optional<int>(1 + next(900)));
                if (failed) {
                    check = keyword_check(board, "辣条", sort, t);
                    check.outcome = Outcome::failed;
                    check.http_statuses = {0};
                    check.reason = "连接失败";
                }
                ASSERT_TRUE(store.add_check(check).ok());
            }
        }
    }
    for (const std::int64_t cut : {30 * hour, 48 * hour, 61 * hour, 95 * hour}) {
        ASSERT_TRUE(store.prune_before(cut).ok()) << cut;
        const std::vector<Check> left = store.checks({}).value();
        for (const std::string board : {"A", "B"}) {
            EXPECT_EQ(store.best_ranks(board).value(), best_of(left, board)) << cut << board;
            const auto in_board = std::count_if(left.begin(), left.end(),
                                                [&](const Check& c) { return c.board == board; });
            EXPECT_EQ(store.count_checks(board).value(), in_board) << cut << board;
            std::vector<Check> span;
            std::copy_if(left.begin(), left.end(), std::back_inserter(span),
                         [&](const Check& c) { return c.time_ms < cut + 30 * hour; });
            EXPECT_EQ(store.best_ranks_between(board, cut - hour, cut + 30 * hour).value(),
                      best_of(span, board))
                << cut << board;
            for (const Sort sort : {Sort::sales, Sort::credit}) {
                EXPECT_EQ(store.cell_days(board, Listing::keyword, "辣条", sort, 1'000'000).value(),
                          days_of(left, board, sort))
                    << cut << board;
            }
        }
        EXPECT_TRUE(store.integrity_ok().value());
    }
}

TEST_P(StoreContract, ForEachCheckGivesTheNewestFirstCountsChecksAndStopsWhenAsked) {
    auto store = open_store();
    for (std::int64_t time = 100; time <= 500; time += 100) {
        ASSERT_TRUE(store.add_check(ranked("A", Sort::sales, time, 5, 6)).ok());
    }
    ASSERT_TRUE(store.add_check(ranked("A", Sort::credit, 600, 5, 6)).ok());
    const auto times = [&](history::CheckFilter filter, std::size_t stop_after = 100) {
        std::vector<std::int64_t> seen;
        auto walked = store.for_each_check(filter, [&](const Check& check) {
            EXPECT_EQ(check.goods.size(), 2u);
            seen.push_back(check.time_ms);
            return seen.size() < stop_after;
        });
        EXPECT_TRUE(walked.ok());
        return seen;
    };
    const history::CheckFilter cell{
        .board = "A", .listing = Listing::keyword, .key = "辣条", .sort = Sort::sales};
    auto newest = cell;
    newest.newest_first = true;
    newest.limit = 3;
    EXPECT_EQ(times(newest), (std::vector<std::int64_t>{500, 400, 300}));
    auto oldest = cell;
    oldest.limit = 2;
    EXPECT_EQ(times(oldest), (std::vector<std::int64_t>{100, 200}));
    newest.limit = 0;
    EXPECT_TRUE(times(newest).empty());
    EXPECT_EQ(times({.newest_first = true}, 2), (std::vector<std::int64_t>{600, 500}));
    EXPECT_EQ(times(cell).size(), 5u);
    EXPECT_EQ(store.count_matching(cell).value(), 5);
    EXPECT_EQ(store.count_matching(oldest).value(), 2);
    EXPECT_EQ(store.count_matching({.board = "B"}).value(), 0);
}

Notice rank_notice(std::string message) {
    return {.board = "A",
            .key = "辣条",
            .goods_id = "1001",
            .kind = "rank",
            .message = std::move(message)};
}

TEST_P(StoreContract, RecordCheckKeepsTheCheckAndItsNoticesTogetherOrNeither) {
    auto store = open_store();
    std::vector<Notice> refused = {rank_notice("上升"), rank_notice("\xC0\xB1")};
    const auto not_kept = store.record_check(ranked("A", Sort::sales, 100, 5, 6), refused);
    ASSERT_FALSE(not_kept.ok());
    EXPECT_EQ(not_kept.error().code, history::ErrorCode::invalid_record);
    EXPECT_EQ(store.count_checks().value(), 0);
    EXPECT_TRUE(store.checks({}).value().empty());
    EXPECT_TRUE(store.notices("A").value().empty());
    EXPECT_EQ(refused[0].id, 0);

    std::vector<Notice> notices = {rank_notice("上升"), rank_notice("超过竞品")};
    const auto id = store.record_check(ranked("A", Sort::sales, 100, 5, 6), notices);
    ASSERT_TRUE(id.ok()) << id.error().message;
    EXPECT_EQ(store.checks({}).value().at(0).id, id.value());
    EXPECT_EQ(store.notices("A").value(), notices);
    EXPECT_GT(notices[0].id, 0);
    EXPECT_EQ(notices[1].check_id, id.value());
}

}  // namespace
