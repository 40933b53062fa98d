#include "plain_query_view.h"

#include <algorithm>

#include "ranking/query_handlers.h"
#include "text/codepage.h"
#include "text/primitives.h"

namespace ranking_test {

std::string gbk(const std::string& utf8) {
    return text::utf8_to_gbk(utf8);
}

std::string utf8(const std::string& gbk) {
    return text::gbk_to_utf8(gbk);
}

void click(PlainQueryView& view, ranking::QueryState& state, QueryKind kind) {
    switch (kind) {
        case QueryKind::keyword:
            return ranking::keyword_query(view, state);
        case QueryKind::category:
            return ranking::category_query(view, state);
        case QueryKind::ishopping:
            return ranking::ishopping_query(view, state);
        case QueryKind::new_goods:
            return ranking::new_goods_query(view, state);
    }
}

PlainQueryView::PlainQueryView() {
    for (Page& p : pages_)
        p.caption = gbk("查询");
}

void PlainQueryView::type_goods(QueryKind kind, const std::string& utf8) {
    edit(kind).goods_input = gbk(utf8);
}

void PlainQueryView::type_keywords(const std::string& utf8) {
    keywords_ = text::replace_substring(gbk(utf8), "\n", "\r\n");
}

void PlainQueryView::check_sort(ranking::Sort sort) {
    for (std::size_t i = 0; i < sorts_.size(); ++i)
        sorts_[i] = ranking::kAllSorts[i] == sort;
}

void PlainQueryView::choose(Choice choice, const std::string& id) {
    holders_[index(choice)] = {true, gbk(id)};
}

void PlainQueryView::set_holder(Choice choice, const std::string& id) {
    holders_[index(choice)].id = gbk(id);
}

std::string PlainQueryView::result(QueryKind kind) const {
    return utf8(page(kind).result);
}

void PlainQueryView::set_result(QueryKind kind, const std::string& utf8) {
    edit(kind).result = gbk(utf8);
}

std::string PlainQueryView::caption(QueryKind kind) const {
    return utf8(page(kind).caption);
}

std::vector<std::string> PlainQueryView::messages() const {
    std::vector<std::string> out;
    for (const std::string& m : messages_)
        out.push_back(utf8(m));
    return out;
}

bool PlainQueryView::all_buttons_enabled() const {
    return std::all_of(pages_.begin(), pages_.end(), [](const Page& p) { return p.enabled; });
}

net::LifetimeWatch PlainQueryView::watch() const {
    return lifetime_ ? lifetime_->watch() : net::LifetimeWatch({});
}

}  // namespace ranking_test
