#pragma once
// The ranking pages against a loopback marketplace whose answers each test
// writes, with the fixed pauses recorded instead of waited for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listing_body.h"
#include "listing_server.h"
#include "plain/fake_pause_clock.h"
#include "plain/scoped_hosts.h"
#include "plain_query_view.h"

namespace ranking_test {

inline constexpr const char* kTarget = "4033138";

using Ids = std::vector<std::string>;
using Pauses = std::vector<int>;

inline std::string search_target(const std::string& q, int page, const std::string& sort) {
    return "/search?q=" + q + "&requery=0&page=" + std::to_string(page) + "&size=500&sort=" + sort;
}

class QueryFixture : public testing::Test {
  protected:
    QueryFixture() {
        server.set_goods_page(goods_page(kTarget, "麻辣条", "辣味小店"));
        state.hosts = server.hosts();
    }

    // Listing pages made of the given ids: keyword/category entries, or the
    // objects of 爱逛街 and new-goods listings.
    void serve(const Ids& page1, const Ids& page2 = {}, bool objects = false) {
        auto body = [objects](const Ids& ids) {
            const auto entries = listing_body::ids(ids);
            return objects ? listing_body::object_listing(entries)
                           : listing_body::keyword_listing(entries);
        };
        server.set_page_body(1, body(page1));
        server.set_page_body(2, body(page2));
    }

    // Everything a query of any kind needs: the goods, one keyword, a choice in
    // every selection list.
    void fill_in(ranking::QueryKind kind, const std::string& goods = kTarget) {
        view.type_goods(kind, goods);
        view.type_keywords("k");
        view.choose(ranking::Choice::level1, "1");
        view.choose(ranking::Choice::level2, "2");
        view.choose(ranking::Choice::level3, "3");
        view.choose(ranking::Choice::tab, "7");
    }

    void click(ranking::QueryKind kind) { ranking_test::click(view, state, kind); }

    ListingServer server;
    test::FakePauseClock clock;
    PlainQueryView view;
    ranking::QueryState state;
};

}  // namespace ranking_test
