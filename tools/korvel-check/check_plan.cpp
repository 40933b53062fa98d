#include "check_plan.h"

#include <algorithm>

#include "board/check_record.h"
#include "board/typed_board.h"
#include "board/words.h"
#include "ranking/goods_info.h"
#include "text/codepage.h"
#include "text/printable.h"

namespace cli {

namespace {

std::string trim_blanks(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

bool is_number(std::string_view s) {
    return !s.empty() && s.size() <= 20 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The engine works in GBK: a text that is not UTF-8, holds a character GBK
// lacks or a control character (a tab or line break inside one argument)
// would be searched as something else than what was typed.
bool survives_gbk(std::string_view utf8) {
    return board::character_fault(utf8).empty();
}

// The value as a usage message quotes it: control characters escaped, so
// the message stays on one line.
std::string quoted(std::string_view option, std::string_view value) {
    return std::string(option) + " '" + text::printable(value) + "'";
}

class Planner {
  public:
    explicit Planner(std::string_view domain_word) : domain_word_(domain_word) {}

    void add_goods(std::vector<GoodsInput>& list, std::string_view option,
                   const std::string& typed) {
        const std::string input = trim_blanks(typed);
        if (!survives_gbk(input))
            return fail(quoted(option, typed) + " is not text that GBK can hold");
        const std::string gbk = text::utf8_to_gbk(input);
        const bool is_link = ranking::is_goods_link(gbk, domain_word_);
        if (!is_link && !is_number(input))
            return fail(quoted(option, typed) + " is neither a Goods ID nor a goods link");
        list.push_back({input, is_link});
    }

    void add_keyword(const std::string& typed) {
        const std::string keyword = trim_blanks(typed);
        if (keyword.empty())
            return fail("empty keyword");
        if (!survives_gbk(keyword))
            return fail(quoted("keyword", typed) + " is not text that GBK can hold");
        plan_.listings.keywords.push_back(text::utf8_to_gbk(keyword));
    }

    void choose_sorts(const std::string& sort) { plan_.listings.sorts = chosen_sorts(sort); }

    // An id, or nullopt (and the problem noted) when it is not a number.
    std::optional<std::string> id(std::string_view option, const std::string& typed) {
        std::string id = trim_blanks(typed);
        if (is_number(id))
            return id;
        fail(quoted(option, typed) + " is not a number");
        return std::nullopt;
    }

    CheckPlan& plan() { return plan_; }
    PlanOrProblem result() && { return {std::move(plan_), std::move(problem_)}; }

  private:
    // The first problem is the one reported.
    void fail(std::string problem) {
        if (problem_.empty())
            problem_ = std::move(problem);
    }

    std::string domain_word_;
    CheckPlan plan_;
    std::string problem_;
};

bool has_listings(const board::Board& b) {
    return (!b.keywords.empty() && !b.sorts.empty()) || !b.category_ids.empty() || b.tab_id ||
           b.new_goods;
}

}  // namespace

PlanOrProblem make_plan(const CheckOptions& options, const std::vector<std::string>& file_keywords,
                        std::string_view domain_word) {
    Planner planner(domain_word);
    CheckPlan& plan = planner.plan();
    for (const std::string& goods : options.goods)
        planner.add_goods(plan.own, "--goods", goods);
    for (const std::string& goods : options.competitors)
        planner.add_goods(plan.competitors, "--competitor", goods);
    for (const auto* list : {&options.keywords, &file_keywords}) {
        for (const std::string& keyword : *list)
            planner.add_keyword(keyword);
    }
    planner.choose_sorts(options.sort);
    for (const std::string& category : options.categories) {
        if (auto id = planner.id("--category", category))
            plan.listings.category_ids.push_back(std::move(*id));
    }
    if (options.tab)
        plan.listings.tab_id = planner.id("--tab", *options.tab);
    plan.listings.new_goods = options.new_goods;
    PlanOrProblem result = std::move(planner).result();
    if (result.problem.empty() && !has_listings(result.plan.listings))
        result.problem = "the keywords file holds no keyword and nothing else is to be checked";
    return result;
}

std::vector<ranking::Sort> chosen_sorts(std::string_view sort) {
    std::vector<ranking::Sort> sorts;
    for (ranking::Sort s : ranking::kAllSorts) {
        if (sort == "all" || ranking::sort_name(s) == sort)
            sorts.push_back(s);
    }
    return sorts;
}

std::string_view sort_label(const ranking::Listing& listing) {
    return listing.sort ? ranking::sort_name(*listing.sort) : std::string_view();
}

std::string listing_label(const ranking::Listing& listing) {
    const board::CellKey cell = board::cell_key(listing);
    return board::cell_label(cell.listing, cell.key, cell.sort);
}

}  // namespace cli
