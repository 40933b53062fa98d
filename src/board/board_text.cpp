#include "board/board_text.h"

#include <algorithm>
#include <cstdlib>

#include "board/schedule_text.h"
#include "board/typed_board.h"
#include "text/codepage.h"

namespace board {

namespace {

constexpr std::string_view kVersionKey = "korvel-board";
constexpr std::string_view kVersion = "1";

std::string escaped(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i]) {
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            default:
                return std::nullopt;
        }
    }
    return out;
}

// `gbk` is a field of the board; the line carries it as UTF-8.
void put(std::string& out, std::string_view key, std::string_view gbk) {
    out += key;
    out += '=';
    out += escaped(text::gbk_to_utf8(gbk));
    out += '\n';
}

void put_goods(std::string& out, std::string_view key, const GoodsItem& item) {
    put(out, key, item.id);
    if (!item.link.empty())
        put(out, "goods_link", item.link);
    if (!item.name.empty())
        put(out, "goods_name", item.name);
    if (!item.shop.empty())
        put(out, "goods_shop", item.shop);
}

std::string sorts_text(const std::vector<ranking::Sort>& sorts) {
    std::string out;
    for (ranking::Sort sort : sorts) {
        if (!out.empty())
            out += ',';
        out += ranking::sort_name(sort);
    }
    return out;
}

std::optional<std::vector<ranking::Sort>> sorts_from(std::string_view list) {
    std::vector<ranking::Sort> sorts;
    while (!list.empty()) {
        const std::size_t comma = std::min(list.find(','), list.size());
        const auto sort = ranking::sort_from_name(list.substr(0, comma));
        if (!sort)
            return std::nullopt;
        sorts.push_back(*sort);
        list.remove_prefix(std::min(comma + 1, list.size()));
    }
    return sorts;
}

// Reads the lines after the version line into a board (UTF-8 values).
class Reader {
  public:
    // An empty result means the line was taken.
    std::string take(std::string_view key, const std::string& value) {
        if (key == "name") {
            board_.name = value;
        } else if (key == "own" || key == "competitor") {
            auto& list = key == "own" ? board_.own : board_.competitors;
            list.push_back(GoodsItem{value, {}, {}, {}});
            last_list_ = &list;
        } else if (key == "goods_link" || key == "goods_name" || key == "goods_shop") {
            if (last_list_ == nullptr)
                return std::string(key) + " before any own or competitor line";
            goods_field(key) = value;
        } else if (key == "keyword") {
            board_.keywords.push_back(value);
        } else if (key == "sorts") {
            auto sorts = sorts_from(value);
            if (!sorts)
                return "unknown sort order in '" + value + "'";
            board_.sorts = std::move(*sorts);
        } else if (key == "category") {
            board_.category_ids.push_back(value);
        } else if (key == "category_name") {
            if (board_.category_ids.empty())
                return "category_name before any category line";
            board_.category_names[board_.category_ids.back()] = value;
        } else if (key == "tab") {
            board_.tab_id = value;
        } else if (key == "tab_name") {
            board_.tab_name = value;
        } else if (key == "schedule") {
            ParsedSchedule parsed = schedule_from_text(value);
            if (!parsed.schedule)
                return "schedule: " + parsed.error;
            board_.schedule = *parsed.schedule;
        } else if (key == "notice_move_by" || key == "notice_top") {
            const int number = std::atoi(value.c_str());
            if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos ||
                number < 1 || number > 1000)
                return std::string(key) + " is not a number from 1 to 1000";
            (key == "notice_move_by" ? board_.notices.move_by : board_.notices.top_n) = number;
        } else if (key == "channel") {
            board_.channels.push_back(value);
        } else if (key == "report") {
            const auto minute = clock_minute(value);
            if (!minute)
                return "report is not a time of day (HH:MM)";
            board_.report_minute = *minute;
        } else if (key == "new_goods") {
            if (value != "0" && value != "1")
                return "new_goods is neither 0 nor 1";
            board_.new_goods = value == "1";
        } else {
            return "unknown key '" + std::string(key) + "'";
        }
        return {};
    }

    Board finish() && { return std::move(board_); }

  private:
    std::string& goods_field(std::string_view key) {
        GoodsItem& item = last_list_->back();
        if (key == "goods_link")
            return item.link;
        return key == "goods_name" ? item.name : item.shop;
    }

    Board board_;
    // The list (own or competitors) whose last item the goods_ lines describe.
    std::vector<GoodsItem>* last_list_ = nullptr;
};

std::optional<Board> fail(std::string* error, int line, const std::string& what) {
    if (error != nullptr)
        *error = line > 0 ? "line " + std::to_string(line) + ": " + what : what;
    return std::nullopt;
}

}  // namespace

std::string board_to_text(const Board& board) {
    std::string out;
    put(out, kVersionKey, kVersion);
    put(out, "name", board.name);
    for (const GoodsItem& item : board.own)
        put_goods(out, "own", item);
    for (const GoodsItem& item : board.competitors)
        put_goods(out, "competitor", item);
    for (const std::string& keyword : board.keywords)
        put(out, "keyword", keyword);
    put(out, "sorts", sorts_text(board.sorts));
    for (const std::string& id : board.category_ids) {
        put(out, "category", id);
        if (const auto name = board.category_names.find(id);
            name != board.category_names.end() && !name->second.empty())
            put(out, "category_name", name->second);
    }
    if (board.tab_id) {
        put(out, "tab", *board.tab_id);
        if (!board.tab_name.empty())
            put(out, "tab_name", board.tab_name);
    }
    if (board.new_goods)
        put(out, "new_goods", "1");
    if (board.schedule)
        put(out, "schedule", schedule_to_text(*board.schedule));
    for (const std::string& channel : board.channels)
        put(out, "channel", channel);
    if (board.report_minute)
        put(out, "report", clock_text(*board.report_minute));
    const NoticeThresholds defaults;
    if (board.notices.move_by != defaults.move_by)
        put(out, "notice_move_by", std::to_string(board.notices.move_by));
    if (board.notices.top_n != defaults.top_n)
        put(out, "notice_top", std::to_string(board.notices.top_n));
    return out;
}

std::optional<Board> typed_board_from_text(std::string_view text, std::string* error) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    Reader reader;
    bool versioned = false;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);  // a file saved with CR LF line ends
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return fail(error, number, "no '=' in line");
        const std::string_view key = line.substr(0, equals);
        const auto value = unescaped(line.substr(equals + 1));
        if (!value)
            return fail(error, number, "broken escape in value");
        if (!versioned) {
            if (key != kVersionKey || *value != kVersion)
                return fail(error, number, "not a board of format version 1");
            versioned = true;
            continue;
        }
        const std::string problem = reader.take(key, *value);
        if (!problem.empty())
            return fail(error, number, problem);
    }
    if (!versioned)
        return fail(error, 0, "empty board text");
    return std::move(reader).finish();
}

std::optional<Board> board_from_text(std::string_view text, std::string* error) {
    std::optional<Board> typed = typed_board_from_text(text, error);
    if (!typed)
        return std::nullopt;
    return board_to_gbk(*typed);
}

}  // namespace board
