#include "board/board.h"

#include <algorithm>
#include <set>

#include "text/codepage.h"
#include "text/primitives.h"

namespace board {

namespace {

bool all_digits(const std::string& id) {
    return !id.empty() &&
           std::all_of(id.begin(), id.end(), [](unsigned char c) { return c >= '0' && c <= '9'; });
}

bool blank(const std::string& text) {
    return text::trim(text).empty();
}

// A goods item is a Goods ID, or a goods link the run looks the id up for.
void check_goods(const std::vector<GoodsItem>& items, const std::string& role,
                 std::set<std::string>& seen, std::vector<std::string>& faults) {
    for (const GoodsItem& item : items) {
        if (item.id.empty() && !item.link.empty()) {
            if (!seen.insert(item.link).second)
                faults.push_back(role + GBK("重复：") + item.link);
        } else if (!all_digits(item.id)) {
            faults.push_back(role + GBK("“") + item.id + GBK("”不是商品ID（数字）或商品链接"));
        } else if (!seen.insert(item.id).second) {
            faults.push_back(role + GBK("重复：") + item.id);
        }
    }
}

std::size_t listing_count(const Board& board) {
    return board.keywords.size() * board.sorts.size() + board.category_ids.size() +
           (board.tab_id ? 1 : 0) + (board.new_goods ? 1 : 0);
}

void check_listings(const Board& board, std::vector<std::string>& faults) {
    if (std::any_of(board.keywords.begin(), board.keywords.end(), blank))
        faults.push_back(GBK("关键词不能为空"));
    if (!board.keywords.empty() && board.sorts.empty())
        faults.push_back(GBK("请至少选择一种排序方式"));
    if (std::any_of(board.category_ids.begin(), board.category_ids.end(), blank))
        faults.push_back(GBK("类目ID不能为空"));
    // A name typed where an id belongs: the lists name it, the listing needs its id.
    for (const std::string& id : board.category_ids) {
        if (!blank(id) && !all_digits(id))
            faults.push_back(GBK("类目“") + id +
                             GBK("”不是类目ID：请从类目列表中选择，或填写数字ID"));
    }
    if (board.tab_id && blank(*board.tab_id))
        faults.push_back(GBK("爱逛街标签不能为空"));
    else if (board.tab_id && !all_digits(*board.tab_id))
        faults.push_back(GBK("爱逛街标签“") + *board.tab_id +
                         GBK("”不是标签ID：请从标签列表中选择，或填写数字ID"));
    if (listing_count(board) == 0)
        faults.push_back(GBK("请至少添加一个关键词、类目、爱逛街标签或新品榜"));
}

}  // namespace

std::vector<std::string> validate(const Board& board) {
    std::vector<std::string> faults;
    if (blank(board.name))
        faults.push_back(GBK("看板名称不能为空"));
    if (board.own.empty())
        faults.push_back(GBK("请至少添加一个本店商品"));
    if (board.competitors.size() > kMaxCompetitors)
        faults.push_back(GBK("竞品最多5个"));
    std::set<std::string> seen;
    check_goods(board.own, GBK("本店商品"), seen, faults);
    check_goods(board.competitors, GBK("竞品"), seen, faults);
    check_listings(board, faults);
    return faults;
}

std::vector<std::string> goods_ids(const Board& board) {
    std::vector<std::string> ids;
    ids.reserve(board.own.size() + board.competitors.size());
    for (const GoodsItem& item : board.own)
        ids.push_back(item.id);
    for (const GoodsItem& item : board.competitors)
        ids.push_back(item.id);
    return ids;
}

ListingNames listing_names(const Board& board) {
    ListingNames names;
    for (const auto& [id, name] : board.category_names)
        names.categories[text::gbk_to_utf8(id)] = text::gbk_to_utf8(name);
    if (board.tab_id && !board.tab_name.empty())
        names.tabs[text::gbk_to_utf8(*board.tab_id)] = text::gbk_to_utf8(board.tab_name);
    return names;
}

}  // namespace board
