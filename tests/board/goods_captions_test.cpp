// Goods named as their pages gave them, kept through a form that holds only
// ids and links.
#include "board/goods_captions.h"

#include <gtest/gtest.h>

namespace {

TEST(GoodsCaptions, ConfirmedNamesAreKeptAndSurviveAFormWithoutThem) {
    board::Board b;
    b.own = {{"", "https://x/goods?id=7", "", ""}};
    b.competitors = {{"9", "", "", ""}};
    board::ConfirmedGoods own{
        {"7", "https://x/goods?id=7", "\xC0\xB1\xCC\xF5", "\xB5\xEA"}, true, {}};
    board::ConfirmedGoods gone{
        {"9", "", "", ""}, false, ranking::RunOutcome::failed(ranking::FailReason::goods_gone)};
    EXPECT_TRUE(board::take_names(b, {own, gone}));
    EXPECT_FALSE(board::take_names(b, {own, gone}));
    EXPECT_EQ(b.own[0].id, "7");
    EXPECT_EQ(board::goods_caption(b.own[0]), "辣条（店）");
    EXPECT_EQ(board::goods_caption(b.competitors[0]), "9");
    EXPECT_EQ(board::names_by_id(b), (std::map<std::string, std::string>{{"7", "辣条（店）"}}));

    board::Board typed;
    typed.own = {{"", "https://x/goods?id=7", "", ""}};
    EXPECT_EQ(board::with_known_names(typed, b).own[0].name, "\xC0\xB1\xCC\xF5");
}

}  // namespace
