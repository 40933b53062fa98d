// The simulator's answers read with Korvel's own markers, conversions and
// patterns give the catalogue's ground truth.
#include "sim_test_support.h"
#include "text/lines.h"
#include "text/primitives.h"

namespace {

using namespace simtest;
using sim::ListingKind;
using sim::Sort;

class Responses : public SimTest {};

TEST_F(Responses, GoodsPageCarriesIdNameAndShopBetweenTheGoodsMarkers) {
    const auto page = gbk(get("/goods2.html?goods_id=4033138"));
    const auto& sample = catalogue.sample();
    EXPECT_EQ(between(page, "goodsID\":", ","), "4033138");
    EXPECT_EQ(between(page, "goodsName\":\"", "\","), gbk(sample.name));
    EXPECT_EQ(between(page, "mallName\":\"", "\","), gbk(sample.shop));
}

TEST_F(Responses, EveryGoodsPageReadsBackItsOwnGoods) {
    for (std::size_t i = 0; i < catalogue.goods().size(); i += 397) {
        const auto& g = catalogue.goods()[i];
        const auto page = gbk(get("/goods2.html?goods_id=" + g.id));
        EXPECT_EQ(between(page, "goodsID\":", ","), g.id);
        EXPECT_EQ(between(page, "goodsName\":\"", "\","), gbk(g.name));
        EXPECT_EQ(between(page, "mallName\":\"", "\","), gbk(g.shop));
    }
}

TEST_F(Responses, UnknownGoodsPageHasNoGoodsFields) {
    const auto page = gbk(get("/goods2.html?goods_id=123"));
    EXPECT_FALSE(page.empty());
    EXPECT_EQ(between(page, "goodsID\":", ","), "");
    EXPECT_EQ(between(page, "mallName\":\"", "\","), "");
}

// The body is read unconverted, as the ranking search reads it.
TEST_F(Responses, KeywordPagesGiveTheListingIdsInOrderForEverySort) {
    for (auto keyword : sim::kSampleKeywords) {
        for (Sort sort : sim::kAllSorts) {
            const auto listing = catalogue.keyword_listing(keyword, sort);
            for (int page : {1, 2}) {
                const auto body = get(search_target(percent_encoded(keyword), sort, page));
                EXPECT_EQ(captures(kThumbListingPattern, body),
                          sim::page_ids(listing, page, 500, {}))
                    << keyword << " " << sim::sort_value(sort) << " page " << page;
            }
        }
    }
}

TEST_F(Responses, SampleKeywordsRankOnPageOnePageTwoAndNowhere) {
    std::vector<int> found;
    for (auto keyword : sim::kSampleKeywords) {
        std::vector<std::string> rows;
        for (int page : {1, 2}) {
            const auto ids =
                captures(kThumbListingPattern,
                         get(search_target(percent_encoded(keyword), Sort::overall, page)));
            rows.insert(rows.end(), ids.begin(), ids.end());
        }
        const auto at = std::find(rows.begin(), rows.end(), sim::kSampleGoodsId);
        found.push_back(at == rows.end() ? -1 : static_cast<int>(at - rows.begin()) + 1);
    }
    EXPECT_GE(found[0], 1);
    EXPECT_LE(found[0], 500);
    EXPECT_GT(found[1], 500);
    EXPECT_LE(found[1], 1000);
    EXPECT_EQ(found[2], -1);
}

TEST_F(Responses, CategoryPagesGiveTheCategoryListingInOrder) {
    for (const auto& level : catalogue.sample_categories()) {
        const auto listing = catalogue.category_listing(level.id);
        for (int page : {1, 2}) {
            const auto body =
                get("/operation/" + level.id + "/groups?offset=0&opt_type=" + std::to_string(page) +
                    "&size=500&sort_type=DEFAULT&qmxuid=0");
            EXPECT_EQ(captures(kThumbListingPattern, body), sim::page_ids(listing, page, 500, {}))
                << level.name << " page " << page;
        }
    }
}

TEST_F(Responses, TabAndNewGoodsPagesStartEachEntryWithTheGoodsId) {
    const auto& tab = catalogue.sample_tab();
    const auto tab_body = get("/ishopping/goods?tab_id=" + tab.id + "&page=1&size=500&qmxuid=");
    EXPECT_EQ(captures(kIdFirstListingPattern, tab_body),
              sim::page_ids(catalogue.tab_listing(tab.id), 1, 500, {}));
    EXPECT_TRUE(captures(kThumbListingPattern, tab_body).empty());
    const auto new_body = get("/v5/newlist?page=2&size=500&list_id=0699021960&ver=0&qmxuid=");
    EXPECT_EQ(captures(kIdFirstListingPattern, new_body),
              sim::page_ids(catalogue.new_goods_listing(), 2, 500, {}));
}

// The level-1 page read as the category loader reads it: cut, convert,
// replace the separators, count lines.
TEST_F(Responses, LevelOnePageGivesOneCategoryLinePerLevelOneCategory) {
    auto segment = gbk(between(get("/info.asp?id=70"), "yiji", "mulu"));
    const auto lines = text::multi_replace(segment, {{"----", "\r\n"}, {"&mdash;", GBK("—")}});
    const auto level1 = catalogue.level1();
    ASSERT_EQ(text::line_count(lines), static_cast<int>(level1.size()));
    for (std::size_t i = 0; i < level1.size(); ++i) {
        EXPECT_EQ(text::line_at(lines, static_cast<int>(i) + 1),
                  gbk(level1[i].name) + GBK("—") + level1[i].id);
    }
}

TEST_F(Responses, SubCategoryAnswersListTheChildrenBetweenOptInfosAndDebugInfo) {
    const auto level1 = catalogue.sample_categories()[0];
    const auto level2 = catalogue.sample_categories()[1];
    struct Case {
        std::string target;
        std::string parent;
    };
    const Case cases[] = {
        {"/operation/" + level1.id +
             "/groups?offset=0&opt_type=1&size=20&sort_type=DEFAULT&qmxuid=0",
         level1.id},
        {"/operation/" + level2.id +
             "/groups?opt_type=2&offset=0&size=20&sort_type=DEFAULT&qmxuid=0",
         level2.id},
    };
    for (const auto& k : cases) {
        const auto cut = text::url_decode_to_gbk(between(get(k.target), "opt_infos", "debugInfo"));
        const auto ids = captures(kOptInfoPattern, cut, 1);
        const auto names = captures(kOptInfoPattern, cut, 3);
        const auto children = catalogue.children(k.parent);
        ASSERT_EQ(ids.size(), children.size());
        for (std::size_t i = 0; i < children.size(); ++i) {
            EXPECT_EQ(ids[i], children[i].id);
            EXPECT_EQ(names[i], gbk(children[i].name));
        }
    }
}

TEST_F(Responses, TabListMatchesTheTabPattern) {
    const auto body = text::url_decode_to_gbk(get("/ishopping/tablist?qmxuid="));
    const auto ids = captures(kTabPattern, body, 1);
    const auto names = captures(kTabPattern, body, 2);
    ASSERT_EQ(ids.size(), catalogue.tabs().size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        EXPECT_EQ(ids[i], catalogue.tabs()[i].id);
        EXPECT_EQ(names[i], gbk(catalogue.tabs()[i].name));
    }
}

// Cut from the undecoded page, as the announcement step does.
TEST_F(Responses, AnnouncementStandsBetweenItsMarkersWithANonBreakingSpace) {
    const auto cut = gbk(between(get("/info.asp?id=71"), "gonggao[", "]jiesu"));
    EXPECT_FALSE(cut.empty());
    EXPECT_GT(text::find(cut, "&nbsp;"), 0);
    EXPECT_GT(text::find(cut, GBK("欢迎使用")), 0);
}

TEST_F(Responses, VersionRecordNamesADownloadThatAnswers) {
    const auto page = get("/info.asp?id=71");
    EXPECT_GT(text::find(page, "banben", 1, true), 0);
    const auto record = between(page, "xiazai", "banben");
    const auto address = text::text_before(record, "|");
    const int bar = text::find_last(record, "|");
    ASSERT_GT(bar, 0);
    EXPECT_EQ(text::right(record, text::length(record) - bar), "2.0");
    const std::string prefix = "http://" + server.host();
    ASSERT_EQ(address.substr(0, prefix.size()), prefix);
    const auto download = reply(address.substr(prefix.size()));
    EXPECT_EQ(download.status, 200);
    EXPECT_EQ(download.body.substr(0, 9), "#!/bin/sh");
}

TEST_F(Responses, VendorPagesAndUnknownPaths) {
    EXPECT_NE(get("/1.html").find("更多工具"), std::string::npos);
    EXPECT_NE(get("/").find("<html>"), std::string::npos);
    EXPECT_EQ(reply("/nothing/here").status, 404);
    EXPECT_EQ(reply("/info.asp?id=5").status, 404);
}

}  // namespace
