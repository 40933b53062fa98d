#pragma once
// What a one-off korvel-check run will do, decided before anything is
// fetched: the goods items (each an id to use as it is, or a link whose goods
// page gives the id), own goods and competitors apart, and the listings as a
// board without goods holds them — keywords (each under the chosen sort
// orders), categories, the tab, new goods.
#include <string>
#include <string_view>
#include <vector>

#include "board/board.h"
#include "check_options.h"
#include "ranking/listing.h"

namespace cli {

struct GoodsInput {
    std::string typed;  // UTF-8, surrounding blanks dropped
    bool is_link = false;
};

struct CheckPlan {
    std::vector<GoodsInput> own;
    std::vector<GoodsInput> competitors;
    board::Board listings;  // keywords in GBK, as the engine reads them; no goods yet
};

// The plan, or the reason the options cannot be checked (a usage error).
struct PlanOrProblem {
    CheckPlan plan;
    std::string problem;  // empty when the plan holds
};

// `file_keywords` are the keywords file's (after --keyword's); `domain_word`
// (GBK) is what marks a goods input as a link, the way the window tells them
// apart.
PlanOrProblem make_plan(const CheckOptions& options, const std::vector<std::string>& file_keywords,
                        std::string_view domain_word);

// The sort orders --sort names: one, or all five for "all".
std::vector<ranking::Sort> chosen_sorts(std::string_view sort);

// "辣条 · 销量", "类目 14", "爱逛街 14" or "新品" (UTF-8), as the board names its rows.
std::string listing_label(const ranking::Listing& listing);

// The sort's name, or empty for listings without sort orders.
std::string_view sort_label(const ranking::Listing& listing);

}  // namespace cli
