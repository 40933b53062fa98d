// The built korvel-check run as a process against the simulator on a free
// loopback port, with a settings file that points every host at it.
#include <gtest/gtest.h>

#include <fstream>

#include "history/store.h"
#include "korvel_check_fixture.h"
#include "plain/raw_http_server.h"

namespace {

using checktest::kHint;
using checktest::KorvelCheck;
using checktest::kProgram;
using checktest::kSample;

TEST_F(KorvelCheck, SampleKeywordsGiveTheirRanksInCsv) {
    const auto result = check({"--goods", kSample, "--keyword", "辣条大礼包", "--keyword", "辣条",
                               "--keyword", "辣条礼包", "--format", "csv"});
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.out,
              "goods_id,listing,key,sort,status,rank,reason\n"
              "4033138,keyword,辣条大礼包,default,found,37,\n"
              "4033138,keyword,辣条,default,found,618,\n"
              "4033138,keyword,辣条礼包,default,not_in_top_1000,,\n");
    EXPECT_EQ(result.err, "") << "no progress line when stderr is not a terminal";
}

// A second goods item costs no request: its link is resolved through its
// goods page, and the listing's two pages are read once for both.
TEST_F(KorvelCheck, EachListingIsReadOnceForAllGoodsAndRowsComeGoodsByGoods) {
    const auto listing = catalogue.keyword_listing("辣条", sim::Sort::overall);
    const std::string other = listing.at(2) == kSample ? listing.at(3) : listing.at(2);
    const std::string link = "http://" + server.host() + "/goods2.html?goods_id=" + other;
    const auto result = check(
        {"--goods", kSample, "--goods", link, "--keyword", "辣条", "--format", "csv", "--new"});
    EXPECT_EQ(result.exit_code, 0) << result.err;
    const auto rank = [&](const std::string& id) {
        return std::to_string(expected_rank(sim::ListingKind::keyword, listing, id));
    };
    const auto new_rank = [&](const std::string& id) {
        const int at =
            expected_rank(sim::ListingKind::new_goods, catalogue.new_goods_listing(), id);
        return at > 0 ? "found," + std::to_string(at) : std::string("not_in_top_1000,");
    };
    EXPECT_EQ(result.out, "goods_id,listing,key,sort,status,rank,reason\n" + kSample +
                              ",keyword,辣条,default,found," + rank(kSample) + ",\n" + kSample +
                              ",new,,," + new_rank(kSample) + ",\n" + other +
                              ",keyword,辣条,default,found," + rank(other) + ",\n" + other +
                              ",new,,," + new_rank(other) + ",\n");
    EXPECT_EQ(requests_to("/search"), 2u) << "page 1 and page 2, once";
    EXPECT_EQ(requests_to("/goods2.html"), 1u) << "only the link is looked up";
}

// A competitor costs no request: each listing is read once for both, and a
// page 2 only where some goods item is still missing after page 1.
TEST_F(KorvelCheck, CompetitorRowsFollowTheOwnGoodsAndCostNoRequest) {
    const auto listing = catalogue.keyword_listing("辣条大礼包", sim::Sort::overall);
    const std::string rival = listing.at(2) == kSample ? listing.at(3) : listing.at(2);
    const std::vector<std::string> args = {"--goods",   kSample, "--keyword", "辣条大礼包",
                                           "--keyword", "辣条",  "--format",  "csv"};
    const auto alone = check(args);
    const int pages_alone = server.counts().listing_pages();
    server.reset_counts();
    std::vector<std::string> with_rival = args;
    with_rival.insert(with_rival.end(), {"--competitor", rival});
    const auto both = check(with_rival);

    EXPECT_EQ(both.exit_code, 0) << both.err;
    EXPECT_EQ(server.counts().listing_pages(), pages_alone);
    EXPECT_EQ(pages_alone, 3) << "page 1 of 辣条大礼包, both pages of 辣条";
    const auto rank = [&](const std::string& keyword) {
        const int at = expected_rank(sim::ListingKind::keyword,
                                     catalogue.keyword_listing(keyword, sim::Sort::overall), rival);
        return at > 0 ? "found," + std::to_string(at) : std::string("not_in_top_1000,");
    };
    EXPECT_EQ(both.out, alone.out + rival + ",keyword,辣条大礼包,default," + rank("辣条大礼包") +
                            ",\n" + rival + ",keyword,辣条,default," + rank("辣条") + ",\n");
}

TEST_F(KorvelCheck, EveryCheckGoesIntoTheNamedHistoryWithoutABoard) {
    const auto db = dir.file("h.sqlite");
    const auto result = check({"--goods", kSample, "--competitor", "96919329", "--keyword",
                               "辣条大礼包", "--sort", "all", "--db", db.string()});
    EXPECT_EQ(result.exit_code, 0) << result.err;
    auto store = history::Store::open(db);
    ASSERT_TRUE(store) << store.error().message;
    const auto checks = store.value().checks({});
    ASSERT_TRUE(checks);
    ASSERT_EQ(checks.value().size(), 5u);
    for (const history::Check& c : checks.value()) {
        EXPECT_EQ(c.board, "");
        EXPECT_EQ(c.key, "辣条大礼包");
        ASSERT_EQ(c.goods.size(), 2u);
        EXPECT_EQ(c.goods[0].goods_id, kSample);
        EXPECT_EQ(c.goods[1].role, history::Role::competitor);
    }
    EXPECT_EQ(checks.value()[0].goods[0].rank, 37);
    EXPECT_FALSE(std::filesystem::exists(default_history()));
}

TEST_F(KorvelCheck, NoHistoryWritesNoFileAndTheDefaultIsInTheUsersDataDirectory) {
    const std::vector<std::string> args = {"--goods", kSample, "--keyword", "辣条大礼包"};
    std::vector<std::string> without = args;
    without.push_back("--no-history");
    EXPECT_EQ(check(without).exit_code, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("data")));
    EXPECT_EQ(check(args).exit_code, 0);
    auto store = history::Store::open(default_history());
    ASSERT_TRUE(store);
    EXPECT_EQ(store.value().count_checks(std::string()).value(), 1);
}

TEST_F(KorvelCheck, AHistoryFileItCannotUseEndsWithTwoBeforeAnyRequest) {
    const auto db = dir.file("notes.sqlite");
    std::ofstream(db) << "These are notes, not a database of checks.\n";
    const auto result = check({"--goods", kSample, "--new", "--db", db.string()});
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("korvel-check: ", 0), 0u) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(KorvelCheck, CategoriesTabAndNewGoodsInJson) {
    const auto categories = catalogue.sample_categories();
    const std::string tab = catalogue.sample_tab().id;
    const auto result = check({"--goods", kSample, "--category", categories[0].id, "--category",
                               categories[1].id, "--tab", tab, "--new", "--format", "json"});
    EXPECT_EQ(result.exit_code, 0) << result.err;
    const auto object = [&](const std::string& listing, const std::string& key, int rank) {
        return "{\"goods_id\":\"4033138\",\"listing\":\"" + listing +
               "\",\"key\":" + (key.empty() ? std::string("null") : "\"" + key + "\"") +
               ",\"sort\":null,\"status\":\"found\",\"rank\":" + std::to_string(rank) +
               ",\"reason\":null}";
    };
    const auto category_rank = [&](const std::string& id) {
        return expected_rank(sim::ListingKind::category, catalogue.category_listing(id), kSample);
    };
    EXPECT_EQ(
        result.out,
        "[\n  " + object("category", categories[0].id, category_rank(categories[0].id)) + ",\n  " +
            object("category", categories[1].id, category_rank(categories[1].id)) + ",\n  " +
            object("tab", tab,
                   expected_rank(sim::ListingKind::tab, catalogue.tab_listing(tab), kSample)) +
            ",\n  " +
            object("new", "",
                   expected_rank(sim::ListingKind::new_goods, catalogue.new_goods_listing(),
                                 kSample)) +
            "\n]\n");
}

TEST_F(KorvelCheck, RefusedHostGivesFailedRowsAndExitCodeTwo) {
    const std::string refused = "127.0.0.1:" + std::to_string(test::refused_port());
    const auto result = run({"--config", config_for(refused), "--goods", kSample, "--goods",
                             "http://" + refused + "/goods2.html?goods_id=1", "--keyword", "辣条",
                             "--format", "csv"});
    EXPECT_EQ(result.exit_code, 2) << result.err;
    EXPECT_EQ(result.out,
              "goods_id,listing,key,sort,status,rank,reason\n"
              "4033138,keyword,辣条,default,failed,,无法连接服务器\n"
              "http://" +
                  refused +
                  "/goods2.html?goods_id=1,keyword,辣条,default,"
                  "failed,,未取得商品ID\n");
}

TEST_F(KorvelCheck, ServerErrorIsAFailureWithItsStatusNeverANotFound) {
    auto options = server.options();
    options.status = 503;
    options.fault_path = "/search";
    server.set_options(options);
    const auto result = check({"--goods", kSample, "--keyword", "辣条", "--sort", "sales",
                               "--format", "csv", "--retries", "0"});
    EXPECT_EQ(result.exit_code, 2) << result.err;
    EXPECT_EQ(result.out,
              "goods_id,listing,key,sort,status,rank,reason\n"
              "4033138,keyword,辣条,sales,failed,,服务器返回错误 503\n");
    EXPECT_EQ(requests_to("/search"), 1u) << "no page 2 after a page 1 that failed";
}

TEST_F(KorvelCheck, KeywordsFileSkipsBlankLines) {
    std::ofstream(dir.file("keywords.txt"), std::ios::binary)
        << "\xEF\xBB\xBF\r\n辣条大礼包\r\n\r\n   \r\n";
    const auto result = check({"--goods", kSample, "--keywords-file",
                               dir.file("keywords.txt").string(), "--format", "csv"});
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.out,
              "goods_id,listing,key,sort,status,rank,reason\n"
              "4033138,keyword,辣条大礼包,default,found,37,\n");
}

TEST_F(KorvelCheck, ReadsKorvelIniBesideTheProgramWithoutConfig) {
    const auto copy = dir.file("korvel-check");
    std::filesystem::copy_file(kProgram, copy);
    config_for(server.host());
    const auto result = run(copy.string(), {"--goods", kSample, "--keyword", "辣条大礼包"});
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.out.find("辣条大礼包  default  found   37"), std::string::npos) << result.out;
    EXPECT_EQ(requests_to("/search"), 1u);
}

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
};

class KorvelCheckUsage : public KorvelCheck, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(KorvelCheckUsage, EndsWith64BeforeAnyRequest) {
    const auto result = check(GetParam().args);
    EXPECT_EQ(result.exit_code, 64);
    EXPECT_EQ(result.out, "");
    ASSERT_GE(result.err.size(), kHint.size());
    EXPECT_EQ(result.err.substr(result.err.size() - kHint.size()), kHint) << result.err;
    EXPECT_TRUE(server.requests().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KorvelCheckUsage,
    ::testing::Values(UsageCase{"UnknownOption", {"--goods", "1", "--keyword", "k", "--turbo"}},
                      UsageCase{"NoListing", {"--goods", "1"}},
                      UsageCase{"GoodsNotAnIdOrLink", {"--goods", "abc", "--new"}},
                      UsageCase{"MissingConfigFile",
                                {"--config", "/nonexistent/korvel.ini", "--goods", "1", "--new"}},
                      UsageCase{"MissingKeywordsFile",
                                {"--goods", "1", "--keywords-file", "/nonexistent/k.txt"}},
                      UsageCase{"NoSuchBoard", {"--board", "没有这个看板"}},
                      UsageCase{"RetriesOutOfRange", {"--board", "b", "--retries", "11"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
