// One run read over real HTTP from a loopback server: how it ends, for one or
// several goods, and which pages it asks for.
#include "ranking/listing_run.h"

#include <gtest/gtest.h>

#include "listing_body.h"
#include "listing_server.h"
#include "net/fetch_page.h"
#include "outcome_print.h"
#include "plain/raw_http_server.h"
#include "ranking/listing.h"
#include "text/codepage.h"

namespace {

using ranking::QueryKind;
using ranking::RunOutcome;
using test::Reply;
using Fail = ranking::FailReason;
using Ids = std::vector<std::string>;

class HttpSteps final : public ranking::RunSteps {
  public:
    HttpSteps(net::Hosts hosts, net::FetchOptions options = {})
        : hosts_(std::move(hosts)), options_(std::move(options)) {}

    net::PageResult fetch(int page) override {
        const ranking::Listing listing{QueryKind::keyword, "k", ranking::Sort::general};
        std::string url = ranking::listing_page_url(hosts_, listing, page);
        return net::fetch_page_result(url, options_);
    }

  private:
    net::Hosts hosts_;
    net::FetchOptions options_;
};

std::vector<RunOutcome> run(const net::Hosts& hosts, const Ids& targets,
                            net::FetchOptions options = {}) {
    HttpSteps steps(hosts, std::move(options));
    const auto read = ranking::run_listing(QueryKind::keyword, targets, steps);
    EXPECT_TRUE(read.has_value());
    return read ? read->outcomes() : std::vector<RunOutcome>{};
}

Reply listing(const Ids& ids) {
    return Reply::ok(listing_body::keyword_listing(listing_body::ids(ids)));
}

Ids numbered(int first, int count) {
    Ids ids;
    for (int i = 0; i < count; ++i)
        ids.push_back(std::to_string(first + i));
    return ids;
}

Reply garbage() {
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += static_cast<char>((i * 7919 + 13) % 256);
    return Reply::ok(bytes);
}

struct RunCase {
    const char* name;
    Reply page1;
    Reply page2;
    RunOutcome outcome;
    const char* reason;  // UTF-8, as the window shows a failure
    std::size_t requests;
};

// Rows show as their name in test output.
void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

class OneTarget : public testing::TestWithParam<RunCase> {};

TEST_P(OneTarget, EndsAsTheTableSays) {
    const RunCase& c = GetParam();
    ranking_test::ListingServer server;
    server.set_page(1, c.page1);
    server.set_page(2, c.page2);
    const std::vector<RunOutcome> outcomes = run(server.hosts(), {"77"});
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0], c.outcome);
    EXPECT_EQ(text::gbk_to_utf8(ranking::reason_text(outcomes[0])), c.reason);
    EXPECT_EQ(server.listing_targets().size(), c.requests);
}

const Reply kEmptyListing = Reply::ok(R"({"goods_list":[]})");
const Reply kUnavailable = Reply::status("HTTP/1.1 503 Service Unavailable", "<h1>busy</h1>");

INSTANTIATE_TEST_SUITE_P(
    Table, OneTarget,
    testing::Values(RunCase{"FoundOnPageOne", listing({"1", "2", "77"}), listing({"77"}),
                            RunOutcome::found_at(3), "", 1},
                    RunCase{"FoundOnPageTwo", listing(numbered(1000, 500)), listing({"5", "77"}),
                            RunOutcome::found_at(502), "", 2},
                    RunCase{"NotAmongTheFirstThousand", listing(numbered(1000, 500)),
                            listing(numbered(501, 500)), RunOutcome::not_in_top_1000(), "", 2},
                    RunCase{"EmptyJsonListingsAreRead", kEmptyListing, kEmptyListing,
                            RunOutcome::not_in_top_1000(), "", 2},
                    RunCase{"Status503", kUnavailable, listing({"77"}),
                            RunOutcome::failed(Fail::http_status, 503), "服务器返回错误 503", 1},
                    RunCase{"HtmlErrorPage", Reply::ok("<html><body>502 Bad Gateway</body></html>"),
                            listing({"77"}), RunOutcome::failed(Fail::unreadable),
                            "返回内容无法识别", 1},
                    RunCase{"Garbage", garbage(), listing({"77"}),
                            RunOutcome::failed(Fail::unreadable), "返回内容无法识别", 1},
                    RunCase{"EmptyBody", Reply::ok(""), listing({"77"}),
                            RunOutcome::failed(Fail::unreadable), "返回内容无法识别", 1},
                    RunCase{"PageTwoFailsAfterPageOneWithoutTheTarget", listing({"1"}),
                            kUnavailable, RunOutcome::failed(Fail::http_status, 503),
                            "服务器返回错误 503", 2},
                    RunCase{"PageTwoGarbageAfterPageOneWithoutTheTarget", listing({"1"}), garbage(),
                            RunOutcome::failed(Fail::unreadable), "返回内容无法识别", 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListingRun, RefusedConnectionCannotReachTheServer) {
    const std::string host = "127.0.0.1:" + std::to_string(test::refused_port());
    const auto outcomes = run(net::Hosts{host, host, host, host, ""}, {"77"});
    EXPECT_EQ(outcomes, std::vector<RunOutcome>{RunOutcome::failed(Fail::connect)});
    EXPECT_EQ(text::gbk_to_utf8(ranking::reason_text(outcomes.at(0))), "无法连接服务器");
}

TEST(ListingRun, AnswerHeldPastTheTimeoutIsATimeoutAndPageTwoIsNotAsked) {
    ranking_test::ListingServer server;
    Reply held = listing({"77"});
    held.hold = true;  // goes out only when the server stops
    server.set_page(1, held);
    net::FetchOptions options;
    options.timeout_seconds = 1;
    const auto outcomes = run(server.hosts(), {"77"}, options);
    EXPECT_EQ(outcomes, std::vector<RunOutcome>{RunOutcome::failed(Fail::timeout)});
    EXPECT_EQ(text::gbk_to_utf8(ranking::reason_text(outcomes.at(0))), "请求超时");
    EXPECT_EQ(server.listing_targets().size(), 1u);
}

TEST(ListingRun, SeveralGoodsShareTheTwoPages) {
    ranking_test::ListingServer server;
    Ids page1 = numbered(1, 500);
    page1[9] = "A";
    Ids page2 = numbered(501, 500);
    page2[3] = "B";
    server.set_page(1, listing(page1));
    server.set_page(2, listing(page2));
    EXPECT_EQ(run(server.hosts(), {"B", "C", "A"}),
              (std::vector<RunOutcome>{RunOutcome::found_at(504), RunOutcome::not_in_top_1000(),
                                       RunOutcome::found_at(10)}));
    const Ids targets = server.listing_targets();
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_NE(targets[0].find("&page=1&"), std::string::npos);
    EXPECT_NE(targets[1].find("&page=2&"), std::string::npos);
}

TEST(ListingRun, EveryGoodsFoundOnPageOneAsksForNoPageTwo) {
    ranking_test::ListingServer server;
    server.set_page(1, listing({"A", "B"}));
    EXPECT_EQ(run(server.hosts(), {"B", "A"}),
              (std::vector<RunOutcome>{RunOutcome::found_at(2), RunOutcome::found_at(1)}));
    EXPECT_EQ(server.listing_targets().size(), 1u);
}

TEST(ListingRun, PageOneFailureFailsEveryGoodsWithoutPageTwo) {
    ranking_test::ListingServer server;
    server.set_page(1, kUnavailable);
    server.set_page(2, listing({"A"}));
    const RunOutcome failed = RunOutcome::failed(Fail::http_status, 503);
    EXPECT_EQ(run(server.hosts(), {"A", "B"}), (std::vector<RunOutcome>{failed, failed}));
    EXPECT_EQ(server.listing_targets().size(), 1u);
}

}  // namespace
