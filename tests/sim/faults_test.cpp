// Every fault and data option does what it says, also when flipped while the
// server runs.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "sim_test_support.h"
#include "text/lines.h"
#include "text/primitives.h"

namespace {

using namespace simtest;
using sim::ListingKind;
using sim::Sort;

class Faults : public SimTest {};

const std::string kSampleSearch = search_target(percent_encoded("辣条"), Sort::overall, 1);

TEST_F(Faults, StatusAnswersWithThatStatusAndAnErrorPage) {
    change([](sim::Options& o) { o.status = 503; });
    const auto r = reply(kSampleSearch);
    EXPECT_EQ(r.status, 503);
    EXPECT_FALSE(r.body.empty());
    EXPECT_TRUE(captures(kThumbListingPattern, r.body).empty());
    change([](sim::Options& o) { o.status = 0; });
    EXPECT_EQ(reply(kSampleSearch).status, 200);
}

TEST_F(Faults, EmptyBodyIsEmpty) {
    change([](sim::Options& o) { o.body = sim::BodyFault::empty; });
    const auto r = reply("/info.asp?id=71");
    EXPECT_EQ(r.status, 200);
    EXPECT_TRUE(r.body.empty());
}

TEST_F(Faults, GarbageBodyHoldsNoMarkerAndANul) {
    change([](sim::Options& o) { o.body = sim::BodyFault::garbage; });
    for (const std::string target : {"/info.asp?id=70", "/info.asp?id=71", kSampleSearch.c_str(),
                                     "/ishopping/tablist?qmxuid="}) {
        const auto body = get(target);
        EXPECT_GE(body.size(), 1000u);
        EXPECT_NE(body.find('\0'), std::string::npos);
        EXPECT_EQ(between(body, "yiji", "mulu"), "");
        EXPECT_EQ(text::find(body, "banben", 1, true), -1);
        EXPECT_TRUE(captures(kThumbListingPattern, body).empty());
    }
}

TEST_F(Faults, FaultPathLimitsFaultsToItsPaths) {
    change([](sim::Options& o) {
        o.fault_path = "/info.asp";
        o.status = 500;
    });
    EXPECT_EQ(reply("/info.asp?id=70").status, 500);
    EXPECT_EQ(reply(kSampleSearch).status, 200);
}

TEST_F(Faults, DelayHoldsTheAnswerBackPastAShortClientTimeout) {
    change([](sim::Options& o) { o.delay_ms = 3000; });
    EXPECT_FALSE(sim::http_get(server.port(), "/", {}, 200).answered);
    change([](sim::Options& o) { o.delay_ms = 0; });
    EXPECT_TRUE(sim::http_get(server.port(), "/").answered);
}

TEST_F(Faults, RefusedConnectionsGetNoAnswerUntilSwitchedBack) {
    change([](sim::Options& o) { o.refuse_connections = true; });
    EXPECT_FALSE(reply("/").answered);
    change([](sim::Options& o) { o.refuse_connections = false; });
    EXPECT_EQ(reply("/").status, 200);
}

TEST_F(Faults, ShortFirstPageHoldsThatManyEntries) {
    change([](sim::Options& o) { o.short_first_page = 480; });
    const auto listing = catalogue.keyword_listing("辣条", Sort::overall);
    const auto page1 = captures(kThumbListingPattern, get(kSampleSearch));
    const auto page2 = captures(kThumbListingPattern,
                                get(search_target(percent_encoded("辣条"), Sort::overall, 2)));
    ASSERT_EQ(page1.size(), 480u);
    ASSERT_EQ(page2.size(), 500u);
    EXPECT_EQ(page2.front(), listing[480]);
}

// The rows the pattern really reads from served pages are what
// expected_position assumes.
TEST_F(Faults, ThumblessEntriesReadAsTheGroundTruthSays) {
    change([](sim::Options& o) { o.no_thumb_every = 7; });
    const auto options = server.options();
    const auto listing = catalogue.keyword_listing("辣条", Sort::overall);
    std::vector<std::string> rows;
    for (int page : {1, 2}) {
        const auto ids = captures(kThumbListingPattern,
                                  get(search_target(percent_encoded("辣条"), Sort::overall, page)));
        EXPECT_EQ(ids, sim::rows_read(ListingKind::keyword,
                                      sim::page_ids(listing, page, 500, options), options));
        rows.insert(rows.end(), ids.begin(), ids.end());
    }
    EXPECT_LT(rows.size(), 1000u);
    for (std::size_t i = 0; i < listing.size(); i += 97) {
        const auto at = std::find(rows.begin(), rows.end(), listing[i]);
        const int seen = at == rows.end() ? -1 : static_cast<int>(at - rows.begin()) + 1;
        EXPECT_EQ(seen, sim::expected_position(ListingKind::keyword, listing, listing[i], options));
    }
}

TEST_F(Faults, SetCookieOnlyUntilTheClientSendsTheCookie) {
    change([](sim::Options& o) { o.set_cookie = "sim_sid=abc123; Path=/"; });
    EXPECT_EQ(reply("/").header("Set-Cookie"), "sim_sid=abc123; Path=/");
    const auto again = sim::http_get(server.port(), "/", {{"Cookie", "x=1; sim_sid=abc123"}});
    EXPECT_EQ(again.header("Set-Cookie"), "");
    const auto requests = server.requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().header("cookie"), "x=1; sim_sid=abc123");
}

TEST_F(Faults, LevelOneCountPublishesThatManyCategories) {
    for (int count : {4, 5, 0}) {
        auto o = server.options();
        o.level1_count = count;
        server.set_options(o);
        const auto segment = gbk(between(get("/info.asp?id=70"), "yiji", "mulu"));
        const auto lines = text::multi_replace(segment, {{"----", "\r\n"}});
        EXPECT_EQ(text::line_count(lines), count);
    }
}

TEST_F(Faults, TabCountListsThatManyTabs) {
    change([](sim::Options& o) { o.tab_count = 1; });
    const auto body = text::url_decode_to_gbk(get("/ishopping/tablist?qmxuid="));
    EXPECT_EQ(captures(kTabPattern, body).size(), 1u);
}

TEST_F(Faults, BlankSubCategoryAnswersComeFirstThenTheList) {
    change([](sim::Options& o) {
        o.blank_level2_answers = 2;
        o.blank_level3_answers = -1;
    });
    const auto level = catalogue.sample_categories();
    const auto level2_list = "/operation/" + level[0].id +
                             "/groups?offset=0&opt_type=1&size=20&sort_type=DEFAULT&qmxuid=0";
    const auto level3_list = "/operation/" + level[1].id +
                             "/groups?opt_type=2&offset=0&size=20&sort_type=DEFAULT&qmxuid=0";
    const auto names = [&](const std::string& target) {
        return captures(kOptInfoPattern, between(get(target), "opt_infos", "debugInfo"));
    };
    // A ranking page of the level-1 id does not use up a blank answer.
    get("/operation/" + level[0].id +
        "/groups?offset=0&opt_type=1&size=500&sort_type=DEFAULT&qmxuid=0");
    EXPECT_TRUE(names(level2_list).empty());
    EXPECT_TRUE(names(level2_list).empty());
    EXPECT_EQ(names(level2_list).size(), catalogue.children(level[0].id).size());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(names(level3_list).empty());
    }
}

TEST_F(Faults, VersionOptionsShapeTheRecord) {
    change([](sim::Options& o) { o.version = "2.1"; });
    auto record = between(get("/info.asp?id=71"), "xiazai", "banben");
    EXPECT_EQ(record, "http://" + server.host() + "/download/Korvel2.1|2.1");
    change([](sim::Options& o) { o.version = ""; });
    EXPECT_EQ(text::find(get("/info.asp?id=71"), "banben", 1, true), -1);
    change([](sim::Options& o) { o.version_record = "only-an-address"; });
    EXPECT_EQ(between(get("/info.asp?id=71"), "xiazai", "banben"), "only-an-address");
}

TEST_F(Faults, AnnouncementOptionReplacesTheText) {
    change([](sim::Options& o) { o.announcement = "新版本&nbsp;上线 (test)"; });
    EXPECT_EQ(between(get("/info.asp?id=71"), "gonggao[", "]jiesu"), "新版本&nbsp;上线 (test)");
}

TEST_F(Faults, DownloadBodyIsServedAsGiven) {
    change([](sim::Options& o) { o.download_body = std::string("MZ\0\x01payload", 11); });
    EXPECT_EQ(get("/download/Korvel2.0"), std::string("MZ\0\x01payload", 11));
}

// The default download is a script that leaves its marker beside itself.
TEST_F(Faults, DefaultDownloadWritesItsMarkerWhenRun) {
#if defined(_WIN32)
    GTEST_SKIP() << "the default download is a POSIX shell script";
#endif
    change([](sim::Options& o) { o.version = "2.1"; });
    const auto dir = std::filesystem::temp_directory_path() /
                     ("korvel-sim-download-" + std::to_string(server.port()));
    std::filesystem::create_directories(dir);
    const auto program = dir / "Korvel2.1";
    std::ofstream(program, std::ios::binary) << get("/download/Korvel2.1");
    ASSERT_EQ(std::system(("/bin/sh '" + program.string() + "'").c_str()), 0);
    const auto marker = dir / std::string(sim::kDownloadMarkerFile);
    EXPECT_TRUE(std::filesystem::exists(marker));
    std::ifstream in(marker);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "Korvel 2.1 started");
    std::filesystem::remove_all(dir);
}

TEST_F(Faults, NewSeedRebuildsTheCatalogueWhileRunning) {
    change([](sim::Options& o) { o.seed = 5; });
    const sim::Catalogue five(5);
    EXPECT_EQ(captures(kThumbListingPattern, get(kSampleSearch)),
              sim::page_ids(five.keyword_listing("辣条", Sort::overall), 1, 500, {}));
}

// The sample's rank moves between two checks of the same query.
TEST_F(Faults, RankShiftMovesTheSampleInServedKeywordPages) {
    const auto target = search_target(percent_encoded("辣条大礼包"), Sort::overall, 1);
    const auto position = [&] {
        const auto ids = captures(kThumbListingPattern, get(target));
        return std::find(ids.begin(), ids.end(), sim::kSampleGoodsId) - ids.begin() + 1;
    };
    const auto before = position();
    change([](sim::Options& o) { o.rank_shift = 12; });
    EXPECT_EQ(position(), before + 12);
    change([](sim::Options& o) { o.rank_shift = -4; });
    EXPECT_EQ(position(), before - 4);
}

TEST_F(Faults, RequestsAreLoggedWithTheirRawTarget) {
    server.clear_requests();
    get(kSampleSearch);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, kSampleSearch);
    EXPECT_EQ(requests[0].path, "/search");
}

TEST(Server, ATakenPortIsRefused) {
    sim::Server first(on_free_port());
    ASSERT_TRUE(first.start());
    sim::Options same;
    same.port = first.port();
    sim::Server second(same);
    EXPECT_FALSE(second.start());
    EXPECT_EQ(first.host(), "127.0.0.1:" + std::to_string(first.port()));
}

TEST(Server, StopsAndStartsAgain) {
    sim::Server server(on_free_port());
    ASSERT_TRUE(server.start());
    server.stop();
    EXPECT_FALSE(sim::http_get(server.port(), "/").answered);
    ASSERT_TRUE(server.start());
    EXPECT_EQ(sim::http_get(server.port(), "/").status, 200);
}

}  // namespace
