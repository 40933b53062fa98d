#pragma once
// A scheduler on a made-up clock, with pages made up to order: keyword pages
// in the marketplace's shape, answers that fail in the ways a server fails.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "board/scheduler.h"

namespace boardtest {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;

inline net::Hosts test_hosts() {
    return net::Hosts{"goods.test", "search.test", "ops.test", "vendor.test", "word"};
}

// One keyword page holding `ids` in order.
inline net::PageResult listing_page(const std::vector<std::string>& ids) {
    std::string body = R"({"items":[)";
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i > 0)
            body += ',';
        body += R"({"ad":null,"goods_id":)" + ids[i] + R"(,"goods_name":"n","thumb_url":"t"})";
    }
    body += "]}";
    return net::PageResult{body, 200, net::PageFailure::none, -1};
}

inline net::PageResult status_page(int status, int retry_after = -1) {
    return net::PageResult{"<html>busy</html>", status, net::PageFailure::http_status, retry_after};
}

inline net::PageResult refused_page() {
    return net::PageResult{{}, 0, net::PageFailure::connect, -1};
}

// Keyword checks "k0", "k1", … under the general sort for the goods 11 and 22.
inline board::CheckPlan keyword_plan(int checks) {
    board::CheckPlan plan{{"11", "22"}, {}};
    for (int i = 0; i < checks; ++i) {
        plan.listings.push_back(
            {ranking::QueryKind::keyword, "k" + std::to_string(i), ranking::Sort::general});
    }
    return plan;
}

// Settings without spacing or jitter, so only the rule under test holds
// requests back.
inline board::BoardSettings unhurried_settings() {
    board::BoardSettings settings;
    settings.pages_per_second = 50;
    settings.jitter = 0;
    settings.failures_before_pause = 100;
    return settings;
}

struct FakeClock {
    board::TimePoint now = board::TimePoint{} + 1h;
    void advance(Ms ms) { now += ms; }
    Ms since(board::TimePoint start) const { return std::chrono::duration_cast<Ms>(now - start); }
};

// Moves the clock to the scheduler's next wake and takes the order then.
inline std::optional<board::FetchOrder> next_order(board::Scheduler& scheduler, FakeClock& clock) {
    const auto wake = scheduler.next_wake();
    if (!wake)
        return std::nullopt;
    clock.now = std::max(clock.now, *wake);
    return scheduler.next_fetch(clock.now);
}

}  // namespace boardtest
