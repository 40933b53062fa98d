// The rate limit, Retry-After and the request counts.
#include <chrono>
#include <thread>

#include "sim_rate_window.h"
#include "sim_request_counts.h"
#include "sim_test_support.h"

namespace {

using namespace simtest;
using namespace std::chrono_literals;
using sim::PathKind;
using sim::RateWindow;

const std::string kSearch = search_target(percent_encoded("辣条"), sim::Sort::overall, 1);

// Arrivals (ms after the first) against a limit of 3 a second.
TEST(RateWindow, AdmitsAtMostTheLimitInAnyOneSecond) {
    struct Arrival {
        int ms;
        bool admitted;
    };
    const Arrival arrivals[] = {
        {0, true},     {100, true},  {200, true},
        {300, false},  {999, false},  // three in the last second
        {1000, true},                 // the one at 0 has left
        {1050, false}, {1100, true}, {1199, false},
        {1200, true},  {2500, true},
    };
    RateWindow window(3);
    const auto start = RateWindow::Clock::time_point{} + 1h;
    for (const auto& a : arrivals) {
        EXPECT_EQ(window.admit(start + std::chrono::milliseconds(a.ms)), a.admitted) << a.ms;
    }
}

class RateLimit : public SimTest {
  protected:
    // Keyword pages until the first 429 (at most `bound` requests); the
    // number answered 200 before it.
    int pages_until_refused(sim::HttpReply& refused, int bound = 40) {
        for (int i = 0; i < bound; ++i) {
            refused = reply(kSearch);
            if (refused.status != 200) {
                return i;
            }
        }
        return bound;
    }
};

TEST_F(RateLimit, BeyondTheLimitAnswers429WithRetryAfterThenServesAgain) {
    server.reset_counts();
    change([](sim::Options& o) { o.rate_limit = 3; });
    sim::HttpReply refused;
    const int served = pages_until_refused(refused);
    ASSERT_EQ(refused.status, 429);
    EXPECT_GE(served, 3);
    EXPECT_EQ(refused.header("Retry-After"), "1");
    EXPECT_FALSE(refused.body.empty());
    // The vendor info server is not limited.
    EXPECT_EQ(reply("/info.asp?id=70").status, 200);

    const auto counts = server.counts();
    EXPECT_EQ(counts.received_of(PathKind::keyword_page), served + 1);
    EXPECT_EQ(counts.rate_limited_of(PathKind::keyword_page), 1);
    EXPECT_EQ(counts.rate_limited_total(), 1);
    EXPECT_EQ(counts.received_of(PathKind::vendor), 1);

    std::this_thread::sleep_for(1100ms);  // let the window empty
    EXPECT_EQ(reply(kSearch).status, 200);
}

TEST_F(RateLimit, RetryAfterOptionSetsTheSeconds) {
    change([](sim::Options& o) {
        o.rate_limit = 1;
        o.retry_after = 7;
    });
    sim::HttpReply refused;
    pages_until_refused(refused);
    ASSERT_EQ(refused.status, 429);
    EXPECT_EQ(refused.header("Retry-After"), "7");
}

// A status fault carries Retry-After only for 429 and 503, and only when
// the seconds are given.
TEST_F(RateLimit, StatusFaultCarriesRetryAfterWhenGiven) {
    struct Case {
        int status;
        int retry_after;
        std::string header;
    };
    for (const Case& k :
         {Case{503, 5, "5"}, Case{503, -1, ""}, Case{429, 0, "0"}, Case{500, 5, ""}}) {
        auto o = server.options();
        o.status = k.status;
        o.retry_after = k.retry_after;
        server.set_options(o);
        const auto r = reply(kSearch);
        EXPECT_EQ(r.status, k.status);
        EXPECT_EQ(r.header("Retry-After"), k.header) << k.status << " " << k.retry_after;
    }
}

TEST_F(RateLimit, EveryPathKindIsCountedOnce) {
    const std::pair<std::string, PathKind> targets[] = {
        {"/goods2.html?goods_id=4033138", PathKind::goods_page},
        {kSearch, PathKind::keyword_page},
        {"/v5/newlist?page=1&size=500&list_id=0699021960&ver=0&qmxuid=", PathKind::new_goods_page},
        {"/operation/14/groups?offset=0&opt_type=1&size=20&sort_type=DEFAULT&qmxuid=0",
         PathKind::category_list},
        {"/operation/14/groups?offset=0&opt_type=1&size=500&sort_type=DEFAULT&qmxuid=0",
         PathKind::category_page},
        {"/ishopping/tablist?qmxuid=", PathKind::tab_list},
        {"/ishopping/goods?tab_id=14&page=1&size=500&qmxuid=", PathKind::tab_page},
        {"/download/Korvel2.0", PathKind::vendor},
        {"/no-such-page", PathKind::other},
    };
    server.reset_counts();
    for (const auto& [target, kind] : targets) {
        reply(target);
    }
    const auto counts = server.counts();
    for (const auto& [target, kind] : targets) {
        EXPECT_EQ(counts.received_of(kind), 1) << target;
    }
    EXPECT_EQ(counts.received_total(), static_cast<int>(std::size(targets)));
    EXPECT_EQ(counts.listing_pages(), 4);
    EXPECT_EQ(counts.rate_limited_total(), 0);
}

// The counts over HTTP, outside the counts themselves and every fault.
TEST_F(RateLimit, CountsEndpointReportsAndResets) {
    server.reset_counts();
    get(kSearch);
    get(kSearch);
    change([](sim::Options& o) { o.status = 500; });
    const auto counts = reply(std::string(sim::kCountsPath) + "?reset=1");
    EXPECT_EQ(counts.status, 200);
    EXPECT_NE(counts.body.find(R"("keyword_page":2)"), std::string::npos) << counts.body;
    EXPECT_NE(counts.body.find(R"("received_total":2,"rate_limited_total":0,"listing_pages":2)"),
              std::string::npos)
        << counts.body;
    EXPECT_EQ(server.counts().received_total(), 0);
    EXPECT_NE(get(std::string(sim::kCountsPath)).find(R"("received_total":0)"), std::string::npos);
}

}  // namespace
