#pragma once
// What a ranking query keeps between its steps: the query kind, each page's
// target, the category level under way and the off-screen working storage
// (the names of the controls it stands for in comments). Texts are GBK.
#include <string>

#include "net/hosts.h"

namespace ranking {

struct QueryState {
    // Where the goods pages and listings are read: the configuration the
    // window loaded, handed over with each query.
    net::Hosts hosts = net::default_hosts();

    std::string query_kind;  // "关键词", "类目", "爱逛街" or "新品"
    std::string target_keyword;
    std::string target_category;
    std::string target_ishopping;
    std::string target_new_goods;
    std::string current_category_id;
    int current_category_level = 1;

    std::string remaining_keywords;  // 编辑框4, CR LF line list
    std::string last_response;       // 编辑框1: the last listing page's body
    std::string row_count;           // 标签1: rows read in the current run, as text
};

}  // namespace ranking
