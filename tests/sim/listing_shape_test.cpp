// How pages are cut from a listing and what the program's extraction reads
// from them, with and without the short-page and no-thumb options.
#include <gtest/gtest.h>

#include "sim_catalogue.h"

namespace {

using sim::ListingKind;

std::vector<std::string> numbered(int n) {
    std::vector<std::string> ids;
    for (int i = 1; i <= n; ++i) {
        ids.push_back(std::to_string(i));
    }
    return ids;
}

sim::Options with(int short_first_page, int no_thumb_every) {
    sim::Options o;
    o.short_first_page = short_first_page;
    o.no_thumb_every = no_thumb_every;
    return o;
}

TEST(PageIds, CutsPagesOfTheAskedSize) {
    struct Case {
        int listing, page, size, short_page;
        std::string first, last;
        std::size_t count;
    };
    const Case cases[] = {
        {1200, 1, 500, -1, "1", "500", 500},
        {1200, 2, 500, -1, "501", "1000", 500},
        {1200, 3, 500, -1, "1001", "1200", 200},
        {1200, 1, 20, -1, "1", "20", 20},
        {1200, 1, 500, 480, "1", "480", 480},
        {1200, 2, 500, 480, "481", "980", 500},
        {300, 2, 500, -1, "", "", 0},
        {1200, 0, 500, -1, "1", "500", 500},
    };
    for (const auto& k : cases) {
        const auto ids = sim::page_ids(numbered(k.listing), k.page, k.size, with(k.short_page, 0));
        ASSERT_EQ(ids.size(), k.count) << k.page << "/" << k.size;
        if (k.count > 0) {
            EXPECT_EQ(ids.front(), k.first);
            EXPECT_EQ(ids.back(), k.last);
        }
    }
}

TEST(RowsRead, AnEntryWithoutThumbSwallowsTheNextOne) {
    const std::vector<std::string> page = {"a", "b", "c", "d", "e", "f"};
    struct Case {
        ListingKind kind;
        int every;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {ListingKind::keyword, 0, {"a", "b", "c", "d", "e", "f"}},
        {ListingKind::keyword, 3, {"a", "b", "c", "e"}},  // c eats d; f has no thumb after it
        {ListingKind::category, 2, {"a", "b", "d"}},      // b eats c, d eats e, f ends the page
        {ListingKind::keyword, 1, {}},
        {ListingKind::tab, 2, {"a", "b", "c", "d", "e", "f"}},  // id-first listings ignore it
        {ListingKind::new_goods, 1, {"a", "b", "c", "d", "e", "f"}},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(sim::rows_read(k.kind, page, with(-1, k.every)), k.rows) << k.every;
    }
}

TEST(ExpectedPosition, CountsPageOneRowsBeforePageTwo) {
    const auto listing = numbered(1500);
    struct Case {
        std::string id;
        int short_page;
        int position;
    };
    const Case cases[] = {
        {"1", -1, 1},     {"503", -1, 503},  {"1000", -1, 1000},
        {"1001", -1, -1}, {"483", 480, 483},  // the third entry of page 2 after a page 1 of 480
        {"981", 480, -1}, {"nope", -1, -1},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(
            sim::expected_position(ListingKind::keyword, listing, k.id, with(k.short_page, 0)),
            k.position)
            << k.id;
    }
}

TEST(ExpectedPosition, EveryRowAfterAThumblessEntryMovesUpOne) {
    const auto listing = numbered(1200);
    // Entries 10, 20, … lack the thumb key: 11, 21, … give no rows.
    EXPECT_EQ(sim::expected_position(ListingKind::keyword, listing, "25", with(-1, 10)), 23);
    EXPECT_EQ(sim::expected_position(ListingKind::keyword, listing, "21", with(-1, 10)), -1);
    EXPECT_EQ(sim::expected_position(ListingKind::tab, listing, "25", with(-1, 10)), 25);
}

}  // namespace
