#include "saved_board.h"

#include <algorithm>

#include "board/board_text.h"
#include "board/schedule_text.h"
#include "board/typed_board.h"
#include "check_plan.h"
#include "text/codepage.h"

namespace cli {

namespace {

std::vector<board::GoodsItem> goods_items(const std::vector<std::string>& typed) {
    std::vector<board::GoodsItem> items;
    for (const std::string& input : typed)
        items.push_back(board::typed_goods(input));
    return items;
}

std::vector<std::string> trimmed(const std::vector<std::string>& values) {
    std::vector<std::string> out;
    for (const std::string& value : values)
        out.push_back(board::trimmed(value));
    return out;
}

BoardOrProblem checked(const board::Board& typed, std::string_view domain_word) {
    board::TypedBoard made = board::check_typed(typed, domain_word);
    BoardOrProblem out{std::move(made.board), {}};
    for (const std::string& fault : made.faults)
        out.faults.push_back(text::gbk_to_utf8(fault));
    return out;
}

}  // namespace

BoardOrProblem saved_board(const std::string& name, const CheckOptions& options,
                           const std::vector<std::string>& file_keywords,
                           std::string_view domain_word) {
    board::Board b;
    b.name = name;
    b.own = goods_items(options.goods);
    b.competitors = goods_items(options.competitors);
    b.keywords = trimmed(options.keywords);
    for (const std::string& keyword : file_keywords)
        b.keywords.push_back(keyword);
    b.sorts = chosen_sorts(options.sort);
    b.category_ids = trimmed(options.categories);
    if (options.tab)
        b.tab_id = board::trimmed(*options.tab);
    b.new_goods = options.new_goods;
    const BoardAdminOptions& admin = options.admin;
    if (admin.schedule)
        b.schedule = board::schedule_from_text(*admin.schedule).schedule;
    if (admin.notice_move_by)
        b.notices.move_by = *admin.notice_move_by;
    if (admin.notice_top)
        b.notices.top_n = *admin.notice_top;
    for (const std::string& channel : admin.channels) {  // UTF-8, as typed
        if (std::find(b.channels.begin(), b.channels.end(), channel) == b.channels.end())
            b.channels.push_back(channel);
    }
    if (admin.report_time)
        b.report_minute = board::clock_minute(*admin.report_time);
    return checked(b, domain_word);
}

BoardOrProblem board_of_text(std::string_view text, std::string_view domain_word) {
    std::string error;
    const std::optional<board::Board> read = board::typed_board_from_text(text, &error);
    if (!read)
        return {{}, {error}};
    return checked(*read, domain_word);
}

}  // namespace cli
