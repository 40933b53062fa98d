#include "check_plan.h"

#include <algorithm>

#include "text/codepage.h"
#include "text/primitives.h"

namespace cli {

namespace {

using ranking::Listing;
using ranking::QueryKind;

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

bool has_control_character(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

// The engine works in GBK: a text that does not come back unchanged from GBK
// is not UTF-8, or holds a character GBK lacks, and would be searched as
// something else than what was typed. Control characters (a tab or line
// break inside one argument) are no part of a keyword or link either.
bool survives_gbk(std::string_view utf8) {
    return !has_control_character(utf8) && text::gbk_to_utf8(text::utf8_to_gbk(utf8)) == utf8;
}

// The value as a usage message quotes it: control characters as \xNN, so
// the message stays on one line.
std::string quoted(std::string_view option, std::string_view value) {
    static const char* hex = "0123456789ABCDEF";
    std::string out = std::string(option) + " '";
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else {
            out += c;
        }
    }
    return out + "'";
}

class Planner {
  public:
    explicit Planner(std::string_view domain_word) : domain_word_(domain_word) {}

    void add_goods(const std::string& typed) {
        const std::string input = trim_blanks(typed);
        if (!survives_gbk(input))
            return fail(quoted("--goods", typed) + " is not text that GBK can hold");
        const std::string gbk = text::utf8_to_gbk(input);
        const bool is_link = !domain_word_.empty() && text::find(gbk, domain_word_, 1, true) != -1;
        if (!is_link && !is_number(input))
            return fail(quoted("--goods", typed) + " is neither a Goods ID nor a goods link");
        plan_.goods.push_back({input, is_link});
    }

    void add_keyword(const std::string& typed, const std::string& sort) {
        const std::string keyword = trim_blanks(typed);
        if (keyword.empty())
            return fail("empty keyword");
        if (!survives_gbk(keyword))
            return fail(quoted("keyword", typed) + " is not text that GBK can hold");
        for (ranking::Sort s : ranking::kAllSorts) {
            if (sort == "all" || ranking::sort_name(s) == sort)
                add({QueryKind::keyword, text::utf8_to_gbk(keyword), s}, keyword);
        }
    }

    void add_id_listing(QueryKind kind, std::string_view option, const std::string& typed) {
        const std::string id = trim_blanks(typed);
        if (!is_number(id))
            return fail(quoted(option, typed) + " is not a number");
        add({kind, id, std::nullopt}, id);
    }

    void add_new_goods() { add({QueryKind::new_goods, {}, std::nullopt}, {}); }

    PlanOrProblem result() && { return {std::move(plan_), std::move(problem_)}; }

  private:
    void add(Listing listing, std::string key) {
        plan_.listings.push_back({std::move(listing), std::move(key)});
    }
    // The first problem is the one reported.
    void fail(std::string problem) {
        if (problem_.empty())
            problem_ = std::move(problem);
    }

    std::string domain_word_;
    CheckPlan plan_;
    std::string problem_;
};

}  // namespace

PlanOrProblem make_plan(const CheckOptions& options, const std::vector<std::string>& file_keywords,
                        std::string_view domain_word) {
    Planner planner(domain_word);
    for (const std::string& goods : options.goods)
        planner.add_goods(goods);
    for (const auto* list : {&options.keywords, &file_keywords}) {
        for (const std::string& keyword : *list)
            planner.add_keyword(keyword, options.sort);
    }
    for (const std::string& category : options.categories)
        planner.add_id_listing(QueryKind::category, "--category", category);
    if (options.tab)
        planner.add_id_listing(QueryKind::ishopping, "--tab", *options.tab);
    if (options.new_goods)
        planner.add_new_goods();
    PlanOrProblem result = std::move(planner).result();
    if (result.problem.empty() && result.plan.listings.empty())
        result.problem = "the keywords file holds no keyword and nothing else is to be checked";
    return result;
}

std::string_view sort_label(const Listing& listing) {
    return listing.sort ? ranking::sort_name(*listing.sort) : std::string_view();
}

std::string listing_label(const PlannedListing& planned) {
    std::string label(ranking::listing_name(planned.listing.kind));
    for (std::string_view part : {std::string_view(planned.key), sort_label(planned.listing)}) {
        if (!part.empty())
            label.append(" ").append(part);
    }
    return label;
}

}  // namespace cli
