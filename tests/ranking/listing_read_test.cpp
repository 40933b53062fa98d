// Positions and page requests of one read, with pages handed over directly.
#include "ranking/listing_read.h"

#include <gtest/gtest.h>

#include "listing_body.h"
#include "outcome_print.h"

namespace {

using ranking::ListingRead;
using ranking::QueryKind;
using ranking::RunOutcome;
using Ids = std::vector<std::string>;

net::PageResult page_of(const Ids& ids) {
    return {listing_body::object_listing(listing_body::ids(ids)), 200, net::PageFailure::none, -1};
}

Ids filler(int count) {
    Ids ids;
    for (int i = 0; i < count; ++i)
        ids.push_back(std::to_string(900000 + i));
    return ids;
}

Ids with(Ids ids, std::size_t index, const std::string& id) {
    ids.at(index) = id;
    return ids;
}

// Hands over pages while the read wants them; the pages it asked for.
int feed(ListingRead& read, const std::vector<net::PageResult>& pages) {
    int asked = 0;
    while (read.wants_page() && asked < static_cast<int>(pages.size())) {
        EXPECT_EQ(read.next_page(), asked + 1);
        read.add_page(pages[static_cast<std::size_t>(asked++)]);
    }
    EXPECT_FALSE(read.wants_page());
    return asked;
}

struct PositionCase {
    const char* name;
    Ids page1;
    Ids page2;
    RunOutcome outcome;
    int pages;
};

class Positions : public testing::TestWithParam<PositionCase> {};

TEST_P(Positions, CountFromTheFirstRowOfPageOne) {
    const PositionCase& c = GetParam();
    ListingRead read(QueryKind::new_goods, {"4033138"});
    EXPECT_EQ(feed(read, {page_of(c.page1), page_of(c.page2)}), c.pages);
    EXPECT_EQ(read.outcomes(), std::vector<RunOutcome>{c.outcome});
    EXPECT_EQ(read.pages_read(), c.pages);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Positions,
    testing::Values(
        PositionCase{"FirstEntry", with(filler(500), 0, "4033138"), {}, RunOutcome::found_at(1), 1},
        PositionCase{"ThirdOfPageTwoAfterFullPage", filler(500), with(filler(500), 2, "4033138"),
                     RunOutcome::found_at(503), 2},
        PositionCase{"ThirdOfPageTwoAfterShortPage", filler(480), with(filler(500), 2, "4033138"),
                     RunOutcome::found_at(483), 2},
        PositionCase{"ListedTwice",
                     with(with(filler(20), 5, "4033138"), 9, "4033138"),
                     {},
                     RunOutcome::found_at(6),
                     1},
        PositionCase{"NotAmongTheFirstThousand", filler(500), filler(500),
                     RunOutcome::not_in_top_1000(), 2},
        // An empty JSON listing on page 1 is read, and page 2 still asked for.
        PositionCase{
            "EmptyPageOne", {}, with(filler(3), 1, "4033138"), RunOutcome::found_at(2), 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListingRead, PageTwoFailureFailsTheMissingTargetAfterPageOneWasRead) {
    ListingRead read(QueryKind::new_goods, {"4033138"});
    net::PageResult failed = page_of({"1", "2"});
    failed.status = 500;
    failed.failure = net::PageFailure::http_status;
    feed(read, {page_of({"7"}), failed});
    EXPECT_EQ(read.outcomes().front(), RunOutcome::failed(ranking::FailReason::http_status, 500));
    EXPECT_EQ(read.rows().size(), 1u);
    EXPECT_EQ(read.statuses(), (std::vector<int>{200, 500}));
}

TEST(ListingRead, WithoutTargetsWantsNoPage) {
    const ListingRead read(QueryKind::keyword, {});
    EXPECT_FALSE(read.wants_page());
    EXPECT_TRUE(read.outcomes().empty());
}

}  // namespace
