// Korvel's own HTTP clients against the simulator: what the program fetches
// is what the ground truth says, and the fault options reach it.
#include "net/fetch_page.h"
#include "net/goods_page.h"
#include "sim_test_support.h"
#include "text/primitives.h"

namespace {

using namespace simtest;
using sim::Sort;

class KorvelClient : public SimTest {
  protected:
    std::string fetch(const std::string& target, const net::FetchOptions& options = {}) {
        std::string url = "http://" + server.host() + target;
        return std::string(text::as_text(net::fetch_page(url, options)));
    }
};

TEST_F(KorvelClient, GoodsPageFetchGivesTheSampleFields) {
    const auto page = gbk(net::fetch_page_text(
        "http://" + server.host() + "/goods2.html?goods_id=" + std::string(sim::kSampleGoodsId)));
    EXPECT_EQ(between(page, "goodsID\":", ","), sim::kSampleGoodsId);
    EXPECT_EQ(between(page, "goodsName\":\"", "\","), gbk(catalogue.sample().name));
    EXPECT_EQ(between(page, "mallName\":\"", "\","), gbk(catalogue.sample().shop));
}

TEST_F(KorvelClient, ListingPagesReadAsTheGroundTruth) {
    for (Sort sort : {Sort::overall, Sort::price_descending}) {
        const auto body = fetch(search_target(percent_encoded("辣条礼包"), sort, 2));
        EXPECT_EQ(captures(kThumbListingPattern, body),
                  sim::page_ids(catalogue.keyword_listing("辣条礼包", sort), 2, 500, {}));
    }
}

TEST_F(KorvelClient, CookieSetOnFirstContactComesBackOnTheNextRequest) {
    change([](sim::Options& o) { o.set_cookie = "sim_sid=k42; Path=/"; });
    std::string cookies;
    net::FetchOptions first;
    first.response_cookies = &cookies;
    fetch("/info.asp?id=71", first);
    EXPECT_EQ(cookies, "sim_sid=k42;");
    server.clear_requests();
    fetch("/info.asp?id=70");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].header("Cookie").find("sim_sid=k42"), std::string::npos);
}

TEST_F(KorvelClient, ErrorStatusBodyArrivesLikeAnyOther) {
    change([](sim::Options& o) { o.status = 500; });
    const auto body = fetch("/info.asp?id=70");
    EXPECT_NE(body.find("500"), std::string::npos);
    EXPECT_EQ(between(body, "yiji", "mulu"), "");
}

TEST_F(KorvelClient, RefusedConnectionGivesAnEmptyBody) {
    change([](sim::Options& o) { o.refuse_connections = true; });
    EXPECT_EQ(fetch("/info.asp?id=71"), "");
}

TEST_F(KorvelClient, GarbageBodyEndsAtItsFirstNulAsText) {
    change([](sim::Options& o) { o.body = sim::BodyFault::garbage; });
    std::string url = "http://" + server.host() + "/info.asp?id=71";
    const auto bytes = net::fetch_page(url);
    EXPECT_EQ(bytes, sim::http_get(server.port(), "/info.asp?id=71").body);
    EXPECT_EQ(text::as_text(bytes).size(), 100u);
}

}  // namespace
