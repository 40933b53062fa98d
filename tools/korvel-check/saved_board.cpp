#include "saved_board.h"

#include <algorithm>

#include "board/board_text.h"
#include "board/schedule_text.h"
#include "text/codepage.h"

namespace cli {

namespace {

std::vector<board::GoodsItem> goods_items(const std::vector<GoodsInput>& inputs) {
    std::vector<board::GoodsItem> items;
    for (const GoodsInput& input : inputs) {
        const std::string typed = text::utf8_to_gbk(input.typed);
        items.push_back(input.is_link ? board::GoodsItem{{}, typed, {}, {}}
                                      : board::GoodsItem{typed, {}, {}, {}});
    }
    return items;
}

// A link's Goods ID is only known once its goods page is read: stand-in ids,
// distinct from one another and from typed ids, let the rest be validated now.
board::Board with_stand_in_ids(board::Board board) {
    std::size_t next = 0;
    for (auto* list : {&board.own, &board.competitors}) {
        for (board::GoodsItem& item : *list) {
            if (item.id.empty())
                item.id = "0" + std::to_string(++next) + "000000000000000000";
        }
    }
    return board;
}

std::string first_fault(const board::Board& board) {
    const std::vector<std::string> faults = board::validate(with_stand_in_ids(board));
    return faults.empty() ? std::string() : text::gbk_to_utf8(faults.front());
}

}  // namespace

BoardOrProblem saved_board(const std::string& name, const CheckPlan& plan,
                           const BoardAdminOptions& admin) {
    BoardOrProblem out{plan.listings, {}};
    board::Board& b = out.board;
    b.name = text::utf8_to_gbk(name);
    b.own = goods_items(plan.own);
    b.competitors = goods_items(plan.competitors);
    if (admin.schedule)
        b.schedule = board::schedule_from_text(*admin.schedule).schedule;
    if (admin.notice_move_by)
        b.notices.move_by = *admin.notice_move_by;
    if (admin.notice_top)
        b.notices.top_n = *admin.notice_top;
    for (const std::string& channel : admin.channels) {
        const std::string gbk = text::utf8_to_gbk(channel);
        if (std::find(b.channels.begin(), b.channels.end(), gbk) == b.channels.end())
            b.channels.push_back(gbk);
    }
    if (admin.report_time)
        b.report_minute = board::clock_minute(*admin.report_time);
    out.problem = first_fault(b);
    return out;
}

std::string board_of_text(std::string_view text, board::Board& board) {
    std::string error;
    std::optional<board::Board> read = board::board_from_text(text, &error);
    if (!read)
        return error;
    board = std::move(*read);
    return first_fault(board);
}

}  // namespace cli
