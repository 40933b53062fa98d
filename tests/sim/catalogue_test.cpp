// The seeded catalogue itself: size, tree, determinism, sort orders and the
// places of the sample goods.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "sim_catalogue.h"

namespace {

using sim::Catalogue;
using sim::ListingKind;
using sim::Sort;

TEST(Catalogue, HoldsAFewThousandGoodsWithDistinctIdsNamesAndShops) {
    const Catalogue c(1);
    EXPECT_GE(c.goods().size(), 2000u);
    EXPECT_LE(c.goods().size(), 9000u);
    std::set<std::string> ids;
    for (const auto& g : c.goods()) {
        EXPECT_TRUE(ids.insert(g.id).second) << g.id;
        EXPECT_FALSE(g.name.empty());
        EXPECT_FALSE(g.shop.empty());
        EXPECT_GT(g.price_fen, 0);
        EXPECT_LE(g.rating_tenths, 50);
        ASSERT_NE(c.find_category(g.level3_id), nullptr);
        EXPECT_EQ(c.find_category(g.level3_id)->level, 3);
    }
}

TEST(Catalogue, SampleGoodsIsTheWindowsSampleInput) {
    const Catalogue c(1);
    EXPECT_EQ(c.sample().id, sim::kSampleGoodsId);
    EXPECT_NE(c.sample().name.find("辣条大礼包"), std::string::npos);
    EXPECT_EQ(c.find_goods(sim::kSampleGoodsId), &c.sample());
    EXPECT_EQ(c.find_goods("12"), nullptr);
}

TEST(Catalogue, TreeHasEightOrMoreLevelOneCategoriesEachWithTwoLevelsBelow) {
    const Catalogue c(1);
    const auto level1 = c.level1();
    ASSERT_GE(level1.size(), 8u);
    for (const auto& l1 : level1) {
        const auto level2 = c.children(l1.id);
        ASSERT_FALSE(level2.empty()) << l1.name;
        for (const auto& l2 : level2) {
            EXPECT_EQ(l2.level, 2);
            EXPECT_EQ(l2.parent_id, l1.id);
            const auto level3 = c.children(l2.id);
            ASSERT_FALSE(level3.empty()) << l2.name;
            for (const auto& l3 : level3) {
                EXPECT_EQ(l3.level, 3);
                EXPECT_TRUE(c.children(l3.id).empty());
            }
        }
    }
    const auto sample = c.sample_categories();
    EXPECT_EQ(sample[2].id, c.sample().level3_id);
    EXPECT_EQ(sample[1].id, sample[2].parent_id);
    EXPECT_EQ(sample[0].id, sample[1].parent_id);
    EXPECT_EQ(sample[0].level, 1);
}

TEST(Catalogue, SameSeedGivesTheSameCatalogueAndOrders) {
    const Catalogue a(7), b(7);
    ASSERT_EQ(a.goods().size(), b.goods().size());
    for (std::size_t i = 0; i < a.goods().size(); ++i) {
        EXPECT_EQ(a.goods()[i].id, b.goods()[i].id);
        EXPECT_EQ(a.goods()[i].name, b.goods()[i].name);
    }
    EXPECT_EQ(a.keyword_listing("辣条", Sort::overall), b.keyword_listing("辣条", Sort::overall));
    EXPECT_EQ(a.new_goods_listing(), b.new_goods_listing());
}

TEST(Catalogue, AnotherSeedGivesOtherGoods) {
    const Catalogue a(1), b(2);
    EXPECT_NE(a.goods()[0].id, b.goods()[0].id);
    EXPECT_NE(a.keyword_listing("坚果", Sort::overall), b.keyword_listing("坚果", Sort::overall));
}

TEST(Catalogue, EachSortGivesItsOwnOrder) {
    const Catalogue c(1);
    std::set<std::vector<std::string>> orders;
    for (Sort s : sim::kAllSorts) {
        orders.insert(c.keyword_listing("辣条", s));
    }
    EXPECT_EQ(orders.size(), sim::kAllSorts.size());
}

// Among the goods that hold the keyword (they lead the listing) the sort
// key never goes the wrong way.
TEST(Catalogue, SortsFollowSalesRatingAndPrice) {
    const Catalogue c(3);
    struct Case {
        Sort sort;
        int (*key)(const sim::Goods&);
        bool descending;
    };
    const Case cases[] = {
        {Sort::sales, [](const sim::Goods& g) { return g.sales; }, true},
        {Sort::credit, [](const sim::Goods& g) { return g.rating_tenths; }, true},
        {Sort::price_ascending, [](const sim::Goods& g) { return g.price_fen; }, false},
        {Sort::price_descending, [](const sim::Goods& g) { return g.price_fen; }, true},
    };
    for (const auto& k : cases) {
        const auto ids = c.keyword_listing("坚果", k.sort);
        int previous = k.descending ? 1 << 30 : -1;
        int matching = 0;
        for (const auto& id : ids) {
            const auto& g = *c.find_goods(id);
            if (g.name.find("坚果") == std::string::npos) {
                break;
            }
            ++matching;
            const int key = k.key(g);
            EXPECT_TRUE(k.descending ? key <= previous : key >= previous) << sort_value(k.sort);
            previous = key;
        }
        EXPECT_GT(matching, 10) << sort_value(k.sort);
    }
}

TEST(Catalogue, ListingsHoldEveryGoodsOnceAndOnlyTheirOwn) {
    const Catalogue c(1);
    const auto all = c.keyword_listing("辣条", Sort::overall);
    EXPECT_EQ(all.size(), c.goods().size());
    EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), all.size());
    const auto level3 = c.sample_categories()[2];
    for (const auto& id : c.category_listing(level3.id)) {
        EXPECT_EQ(c.find_goods(id)->level3_id, level3.id);
    }
    EXPECT_TRUE(c.category_listing("999999").empty());
    EXPECT_TRUE(c.tab_listing("999999").empty());
}

// Goods ID 4033138 with its three keywords under the default sort: one rank
// on page 1, one on page 2, one beyond the first 1000 — for every seed.
TEST(Catalogue, SampleKeywordsGiveAPageOneAPageTwoAndAMissingRank) {
    for (std::uint32_t seed : {1u, 2u, 99u}) {
        const Catalogue c(seed);
        std::vector<int> positions;
        for (auto keyword : sim::kSampleKeywords) {
            positions.push_back(sim::expected_position(ListingKind::keyword,
                                                       c.keyword_listing(keyword, Sort::overall),
                                                       sim::kSampleGoodsId));
        }
        EXPECT_GE(positions[0], 1);
        EXPECT_LE(positions[0], 500);
        EXPECT_GT(positions[1], 500);
        EXPECT_LE(positions[1], 1000);
        EXPECT_EQ(positions[2], -1);
    }
}

// The shift moves only the sample goods, stopping at either end of the
// listing; the other goods keep their order.
TEST(Catalogue, RankShiftMovesOnlyTheSampleGoods) {
    const Catalogue c(1);
    const auto plain = c.keyword_listing("辣条大礼包", Sort::overall);
    const auto at = [](const std::vector<std::string>& ids) {
        return std::find(ids.begin(), ids.end(), sim::kSampleGoodsId) - ids.begin() + 1;
    };
    const long long start = at(plain);
    const long long last = static_cast<long long>(plain.size());
    struct Case {
        int shift;
        long long expected;
    };
    for (const Case k : {Case{5, start + 5}, Case{-3, start - 3}, Case{-100000, 1},
                         Case{100000, last}, Case{0, start}}) {
        auto shifted = c.keyword_listing("辣条大礼包", Sort::overall, k.shift);
        EXPECT_EQ(at(shifted), k.expected) << k.shift;
        auto others = plain;
        std::erase(others, std::string(sim::kSampleGoodsId));
        std::erase(shifted, std::string(sim::kSampleGoodsId));
        EXPECT_EQ(shifted, others) << k.shift;
    }
    const auto by_sales = c.keyword_listing("辣条", Sort::sales);
    EXPECT_EQ(at(c.keyword_listing("辣条", Sort::sales, 2)), at(by_sales) + 2);
}

TEST(Catalogue, SampleStandsInItsCategoriesOneTabAndTheNewGoods) {
    const Catalogue c(1);
    for (const auto& level : c.sample_categories()) {
        EXPECT_GT(sim::expected_position(ListingKind::category, c.category_listing(level.id),
                                         sim::kSampleGoodsId),
                  0)
            << level.name;
    }
    int tabs_with_sample = 0;
    for (const auto& tab : c.tabs()) {
        const int at =
            sim::expected_position(ListingKind::tab, c.tab_listing(tab.id), sim::kSampleGoodsId);
        if (at > 0) {
            ++tabs_with_sample;
            EXPECT_EQ(tab.id, c.sample_tab().id);
        }
    }
    EXPECT_EQ(tabs_with_sample, 1);
    EXPECT_GE(c.tabs().size(), 6u);
    EXPECT_GT(
        sim::expected_position(ListingKind::new_goods, c.new_goods_listing(), sim::kSampleGoodsId),
        0);
}

TEST(Catalogue, SortValuesRoundTrip) {
    const char* values[] = {"default", "_sales", "_credit", "price", "_price"};
    for (std::size_t i = 0; i < sim::kAllSorts.size(); ++i) {
        EXPECT_EQ(sim::sort_value(sim::kAllSorts[i]), values[i]);
        EXPECT_EQ(sim::parse_sort(values[i]), sim::kAllSorts[i]);
    }
    EXPECT_FALSE(sim::parse_sort("").has_value());
    EXPECT_FALSE(sim::parse_sort("sales").has_value());
}

}  // namespace
