#include <algorithm>

#include "history/records.h"

namespace history {
namespace {

bool continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Length of the well-formed sequence that starts text[i], or 0. Overlong
// forms, surrogates and code points past U+10FFFF are refused.
std::size_t sequence_length(std::string_view text, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = at(0);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0x01 && lead <= 0x7F) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size() || at(1) < low || at(1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (!continuation(at(k))) {
            return 0;
        }
    }
    return length;
}

std::optional<std::string> text_problem(std::string_view what, std::string_view text) {
    if (is_utf8(text)) {
        return std::nullopt;
    }
    return std::string(what) + " is not UTF-8 text";
}

std::optional<std::string> goods_problem(const Check& check, const GoodsResult& goods) {
    if (goods.goods_id.empty()) {
        return "a goods item of the check has no goods id";
    }
    if (auto problem = text_problem("a goods id", goods.goods_id)) {
        return problem;
    }
    if (!goods.rank) {
        return std::nullopt;
    }
    if (*goods.rank < 1 || *goods.rank > 1000) {
        return "rank " + std::to_string(*goods.rank) + " is outside 1..1000";
    }
    if (check.outcome != Outcome::found) {
        return "a " + std::string(to_text(check.outcome)) + " check cannot hold a rank";
    }
    return std::nullopt;
}

}  // namespace

bool is_utf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequence_length(text, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::optional<std::string> check_problem(const Check& check) {
    if (check.pages_read < 0 || check.pages_read > 2) {
        return "pages read must be 0, 1 or 2";
    }
    for (const int status : check.http_statuses) {
        if (status < 100 || status > 599) {
            return "HTTP status " + std::to_string(status) + " is not a status";
        }
    }
    for (const auto& [what, text] :
         {std::pair<std::string_view, const std::string&>{"the board name", check.board},
          {"the key", check.key},
          {"the reason", check.reason}}) {
        if (auto problem = text_problem(what, text)) {
            return problem;
        }
    }
    for (const auto& goods : check.goods) {
        if (auto problem = goods_problem(check, goods)) {
            return problem;
        }
    }
    const bool any_rank = std::any_of(check.goods.begin(), check.goods.end(),
                                      [](const GoodsResult& g) { return g.rank.has_value(); });
    const bool read = check.outcome == Outcome::found || check.outcome == Outcome::not_in_top_1000;
    if (read && check.pages_read == 0) {
        return "a listing with no page read has no result";
    }
    if (check.outcome == Outcome::found && !any_rank) {
        return "a found check needs a goods item with a rank";
    }
    return std::nullopt;
}

std::optional<std::string> notice_problem(const Notice& notice) {
    for (const auto& [what, text] :
         {std::pair<std::string_view, const std::string&>{"the board name", notice.board},
          {"the key", notice.key},
          {"the goods id", notice.goods_id},
          {"the kind", notice.kind},
          {"the text before", notice.before},
          {"the text after", notice.after},
          {"the message", notice.message}}) {
        if (auto problem = text_problem(what, text)) {
            return problem;
        }
    }
    return std::nullopt;
}

}  // namespace history
