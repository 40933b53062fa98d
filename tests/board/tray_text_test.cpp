// The tray message of a run: the board, the count and the three largest moves.
#include <gtest/gtest.h>

#include "board/notices.h"

namespace {

history::Notice moved(std::string kind, std::string before, std::string after) {
    history::Notice n;
    n.kind = std::move(kind);
    n.before = std::move(before);
    n.after = std::move(after);
    n.message = n.before + " → " + n.after;
    return n;
}

TEST(TrayText, NamesTheBoardAndKeepsTheThreeLargestMoves) {
    const std::vector<history::Notice> notices = {
        moved("rank_move", "第10名", "第12名"),   moved("rank_move", "第50名", "第20名"),
        moved("left_1000", "第990名", "千名外"),  moved("rank_move", "第5名", "第6名"),
        moved("rank_move", "第100名", "第160名"),
    };
    EXPECT_EQ(board::tray_text(notices, "辣条看板"),
              "辣条看板：5 条变动\n第990名 → 千名外\n第100名 → 第160名\n第50名 → 第20名");
    EXPECT_TRUE(board::tray_text(notices).starts_with("5 条变动\n"));
}

}  // namespace
