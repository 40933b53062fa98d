#include <algorithm>

#include "history/records.h"
#include "text/utf8.h"

namespace history {
namespace {

std::optional<std::string> text_problem(std::string_view what, std::string_view text) {
    if (is_utf8(text)) {
        return std::nullopt;
    }
    return std::string(what) + " is not UTF-8 text";
}

bool was_read(Outcome status) {
    return status == Outcome::found || status == Outcome::not_in_top_1000;
}

// A rank needs a found goods item; without a status of its own the goods
// item follows its check.
std::optional<std::string> rank_problem(const Check& check, const GoodsResult& goods) {
    const Outcome holder = goods.status.value_or(check.outcome);
    const char* whose = goods.status ? " goods item" : " check";
    if (goods.rank && holder != Outcome::found) {
        return "a " + std::string(to_text(holder)) + whose + " cannot hold a rank";
    }
    if (!goods.rank && goods.status == Outcome::found) {
        return "a found goods item needs a rank";
    }
    return std::nullopt;
}

std::optional<std::string> goods_problem(const Check& check, const GoodsResult& goods) {
    if (goods.goods_id.empty()) {
        return "a goods item of the check has no goods id";
    }
    if (auto problem = text_problem("a goods id", goods.goods_id)) {
        return problem;
    }
    if (auto problem = text_problem("a goods item's reason", goods.reason)) {
        return problem;
    }
    if (goods.rank && (*goods.rank < 1 || *goods.rank > 1000)) {
        return "rank " + std::to_string(*goods.rank) + " is outside 1..1000";
    }
    return rank_problem(check, goods);
}

// The check's outcome sums up its goods items' statuses.
std::optional<std::string> outcome_problem(const Check& check) {
    const auto any = [&](auto&& pred) {
        return std::any_of(check.goods.begin(), check.goods.end(), pred);
    };
    const bool any_rank = any([](const GoodsResult& g) { return g.rank.has_value(); });
    const bool any_read = any([&](const GoodsResult& g) { return was_read(status_of(check, g)); });
    if (was_read(check.outcome) && check.pages_read == 0) {
        return "a listing with no page read has no result";
    }
    if (check.outcome == Outcome::found && !any_rank) {
        return "a found check needs a goods item with a rank";
    }
    if (check.outcome != Outcome::found && any_rank) {
        return "a check with a ranked goods item is found, not " +
               std::string(to_text(check.outcome));
    }
    if (check.outcome == Outcome::not_in_top_1000 && !check.goods.empty() && !any_read) {
        return "a not_in_top_1000 check needs a goods item that was read";
    }
    if (!was_read(check.outcome) && any_read) {
        return "a " + std::string(to_text(check.outcome)) +
               " check cannot hold a goods item that was read";
    }
    return std::nullopt;
}

bool known_status(int status) {
    return status == 0 || (status >= 100 && status <= 599);
}

}  // namespace

bool is_utf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // A NUL would cut the text short for some readers: refused too.
        const std::size_t length = text[i] == '\0' ? 0 : text::utf8_sequence_length(text.substr(i));
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
        if (!known_status(status)) {
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
    return outcome_problem(check);
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

namespace history {

std::optional<std::string> run_problem(const RunRecord& run) {
    if (auto problem = text_problem("the board name", run.board)) {
        return problem;
    }
    constexpr std::string_view endings[] = {"done", "stopped", "gave_up", "failed", "abandoned"};
    if (std::find(std::begin(endings), std::end(endings), run.how_ended) == std::end(endings)) {
        return "a run ends done, stopped, gave_up, failed or abandoned, not " + run.how_ended;
    }
    if (run.checks < 0 || run.failed < 0 || run.not_checked < 0) {
        return "a run cannot count fewer than no checks";
    }
    return std::nullopt;
}

std::optional<std::string> delivery_problem(const Delivery& delivery) {
    if (delivery.channel.empty()) {
        return "a delivery needs a channel";
    }
    if (delivery.attempts < 0) {
        return "a delivery cannot have fewer than no attempts";
    }
    for (const auto& [what, text] :
         {std::pair<std::string_view, const std::string&>{"the channel", delivery.channel},
          {"the error", delivery.error}}) {
        if (auto problem = text_problem(what, text)) {
            return problem;
        }
    }
    return std::nullopt;
}

}  // namespace history
