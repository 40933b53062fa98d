#include "board/typed_board.h"

#include <cstdio>

#include "ranking/goods_info.h"
#include "text/codepage.h"
#include "text/printable.h"
#include "text/utf8.h"

namespace board {

namespace {

// A value quoted in a message: on one line, and not endless.
constexpr std::size_t kShownCharacters = 30;

std::string shown(std::string_view utf8) {
    std::string cut;
    std::size_t characters = 0;
    while (!utf8.empty() && characters < kShownCharacters) {
        const std::size_t length = std::max<std::size_t>(1, text::utf8_sequence_length(utf8));
        cut.append(utf8.substr(0, length));
        utf8.remove_prefix(std::min(length, utf8.size()));
        ++characters;
    }
    return text::utf8_to_gbk(text::printable(cut) + (utf8.empty() ? "" : "…"));
}

std::uint32_t code_point(std::string_view sequence) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(sequence[i]); };
    switch (sequence.size()) {
        case 1:
            return byte(0);
        case 2:
            return (byte(0) & 0x1Fu) << 6 | (byte(1) & 0x3Fu);
        case 3:
            return (byte(0) & 0x0Fu) << 12 | (byte(1) & 0x3Fu) << 6 | (byte(2) & 0x3Fu);
        default:
            return (byte(0) & 0x07u) << 18 | (byte(1) & 0x3Fu) << 12 | (byte(2) & 0x3Fu) << 6 |
                   (byte(3) & 0x3Fu);
    }
}

bool is_control(std::uint32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::string hex(const char* format, unsigned value) {
    char out[16];
    std::snprintf(out, sizeof out, format, value);
    return out;
}

class Checker {
  public:
    void field(std::string_view label_utf8, std::string_view value) {
        const std::string fault = character_fault(value);
        if (!fault.empty())
            faults_.push_back(text::utf8_to_gbk(label_utf8) + GBK("“") + shown(value) + GBK("”") +
                              fault);
    }

    void goods(std::string_view label_utf8, const std::vector<GoodsItem>& items,
               std::string_view domain_word) {
        for (const GoodsItem& item : items) {
            field(label_utf8, item.id);
            field(label_utf8, item.link);
            field("商品名称", item.name);
            field("店铺名称", item.shop);
            if (item.id.empty() && !item.link.empty() && character_fault(item.link).empty() &&
                !ranking::is_goods_link(text::utf8_to_gbk(item.link), domain_word))
                faults_.push_back(text::utf8_to_gbk(label_utf8) + GBK("“") + shown(item.link) +
                                  GBK("”既不是商品ID也不是商品链接"));
        }
    }

    std::vector<std::string> take() && { return std::move(faults_); }

  private:
    std::vector<std::string> faults_;
};

std::vector<std::string> gbk_list(const std::vector<std::string>& utf8) {
    std::vector<std::string> out;
    for (const std::string& s : utf8)
        out.push_back(text::utf8_to_gbk(s));
    return out;
}

std::vector<GoodsItem> gbk_goods(const std::vector<GoodsItem>& utf8) {
    std::vector<GoodsItem> out;
    for (const GoodsItem& g : utf8)
        out.push_back({text::utf8_to_gbk(g.id), text::utf8_to_gbk(g.link),
                       text::utf8_to_gbk(g.name), text::utf8_to_gbk(g.shop)});
    return out;
}

}  // namespace

std::string character_fault(std::string_view utf8) {
    while (!utf8.empty()) {
        const std::size_t length = text::utf8_sequence_length(utf8);
        if (length == 0)
            return GBK("含有无法识别的字节 ") +
                   hex("0x%02X", static_cast<unsigned char>(utf8.front()));
        const std::string_view sequence = utf8.substr(0, length);
        const std::uint32_t c = code_point(sequence);
        if (is_control(c))
            return GBK("含有控制字符 ") + hex(c < 0x80 ? "\\x%02X" : "\\u%04X", c) +
                   GBK("（如换行、制表、ESC）");
        // Kept only if it comes back from GBK as it went in (no "?", no look-alike).
        if (length > 1 && text::gbk_to_utf8(text::utf8_to_gbk(sequence)) != sequence)
            return GBK("含有无法保存的字符 ") + hex("U+%04X", c) + GBK("（如表情符号）");
        utf8.remove_prefix(length);
    }
    return {};
}

std::string trimmed(std::string_view utf8) {
    static constexpr std::string_view kWideSpace = "\xE3\x80\x80";  // U+3000
    for (bool cut = true; cut;) {
        cut = false;
        for (std::string_view blank : {std::string_view(" "), std::string_view("\t"), kWideSpace}) {
            while (utf8.starts_with(blank)) {
                utf8.remove_prefix(blank.size());
                cut = true;
            }
            while (utf8.ends_with(blank)) {
                utf8.remove_suffix(blank.size());
                cut = true;
            }
        }
    }
    return std::string(utf8);
}

GoodsItem typed_goods(std::string_view typed_utf8) {
    const std::string line = trimmed(typed_utf8);
    const bool digits = !line.empty() && line.find_first_not_of("0123456789") == std::string::npos;
    return digits ? GoodsItem{line, {}, {}, {}} : GoodsItem{{}, line, {}, {}};
}

Board board_to_gbk(const Board& utf8) {
    Board b = utf8;
    b.name = text::utf8_to_gbk(utf8.name);
    b.own = gbk_goods(utf8.own);
    b.competitors = gbk_goods(utf8.competitors);
    b.keywords = gbk_list(utf8.keywords);
    b.category_ids = gbk_list(utf8.category_ids);
    b.category_names.clear();
    for (const auto& [id, name] : utf8.category_names)
        b.category_names[text::utf8_to_gbk(id)] = text::utf8_to_gbk(name);
    if (utf8.tab_id)
        b.tab_id = text::utf8_to_gbk(*utf8.tab_id);
    b.tab_name = text::utf8_to_gbk(utf8.tab_name);
    b.channels = gbk_list(utf8.channels);
    return b;
}

TypedBoard check_typed(const Board& typed, std::string_view domain_word) {
    Checker check;
    check.field("看板名称", typed.name);
    check.goods("本店商品", typed.own, domain_word);
    check.goods("竞品", typed.competitors, domain_word);
    for (const std::string& keyword : typed.keywords)
        check.field("关键词", keyword);
    for (const std::string& id : typed.category_ids)
        check.field("类目", id);
    for (const auto& [id, name] : typed.category_names)
        check.field("类目名称", name);
    if (typed.tab_id)
        check.field("爱逛街标签", *typed.tab_id);
    check.field("爱逛街标签名称", typed.tab_name);
    for (const std::string& channel : typed.channels)
        check.field("通知通道", channel);
    TypedBoard out{board_to_gbk(typed), std::move(check).take()};
    for (std::string& fault : validate(out.board))
        out.faults.push_back(std::move(fault));
    // A schedule switched off keeps its times for later: they must hold too.
    if (out.board.schedule) {
        if (const auto problem = schedule_problem(*out.board.schedule))
            out.faults.push_back(GBK("定时检查") + text::utf8_to_gbk(*problem));
    }
    return out;
}

}  // namespace board
