#include "ranking/query_handlers.h"

#include <initializer_list>

#include "ranking/goods_info.h"
#include "ranking/ranking_search.h"
#include "text/codepage.h"
#include "text/primitives.h"

namespace ranking {

namespace {

// The pressed button is disabled while its query runs; a call that arrives
// then (events are dispatched during the query's waits) starts nothing.
bool query_running(const QueryView& view, QueryKind kind) {
    return !view.button_enabled(kind);
}

void disable(QueryView& view, std::initializer_list<QueryKind> kinds) {
    for (QueryKind kind : kinds)
        view.enable_button(kind, false);
}

void show_busy(QueryView& view, QueryKind kind) {
    view.set_button_caption(kind, GBK("查询中…"));
}

// Validation messages stop the handler before anything has changed.
bool refuse(QueryView& view, const char* utf8_message) {
    view.message(text::utf8_to_gbk(utf8_message));
    return false;
}

bool ishopping_inputs_ok(QueryView& view) {
    if (!view.has_choice(Choice::tab))
        return refuse(view, "请选择类目！");
    if (view.goods_input(QueryKind::ishopping).empty())
        return refuse(view, "请填写链接或者商品ID！");
    return true;
}

bool category_inputs_ok(QueryView& view) {
    if (!view.has_choice(Choice::level1))
        return refuse(view, "请选择一级类目");
    if (!view.has_choice(Choice::level2))
        return refuse(view, "请选择二级类目");
    if (!view.has_choice(Choice::level3))
        return refuse(view, "请选择三级类目");
    if (text::trim(view.goods_input(QueryKind::category)).empty())
        return refuse(view, "请填写商品ID");
    return true;
}

std::string& target_of(QueryState& state, QueryKind kind) {
    switch (kind) {
        case QueryKind::keyword:
            return state.target_keyword;
        case QueryKind::category:
            return state.target_category;
        case QueryKind::ishopping:
            return state.target_ishopping;
        case QueryKind::new_goods:
            break;
    }
    return state.target_new_goods;
}

// Fetches the goods page of the page's input, shows its names and runs the
// search; a page without a Goods ID fetches no listing.
void identify_and_search(QueryView& view, QueryState& state, QueryKind kind) {
    const net::LifetimeWatch watch = view.watch();
    const GoodsInfo info = fetch_goods_info(view.goods_input(kind), state.hosts);
    if (!watch.alive())
        return;
    view.show_goods(kind, info);
    target_of(state, kind) = info.goods_id;
    run_ranking_search(view, state, kind, !text::trim(info.goods_id).empty());
}

}  // namespace

void keyword_query(QueryView& view, QueryState& state) {
    constexpr QueryKind kind = QueryKind::keyword;
    if (query_running(view, kind))
        return;
    state.query_kind = kind_tag(kind);
    disable(view, {kind});
    show_busy(view, kind);
    state.remaining_keywords = view.keyword_list();
    view.set_result_text(kind, "");
    disable(view, {QueryKind::new_goods, QueryKind::ishopping, QueryKind::category});
    identify_and_search(view, state, kind);
}

void category_query(QueryView& view, QueryState& state) {
    constexpr QueryKind kind = QueryKind::category;
    if (query_running(view, kind) || !category_inputs_ok(view))
        return;
    disable(view, {QueryKind::new_goods, QueryKind::ishopping, QueryKind::keyword});
    view.set_result_text(kind, "");
    show_busy(view, kind);
    disable(view, {kind});
    state.query_kind = kind_tag(kind);
    state.current_category_id = text::trim(view.chosen_id(Choice::level1));
    state.current_category_level = 1;
    identify_and_search(view, state, kind);
}

void ishopping_query(QueryView& view, QueryState& state) {
    constexpr QueryKind kind = QueryKind::ishopping;
    if (query_running(view, kind) || !ishopping_inputs_ok(view))
        return;
    disable(view, {QueryKind::new_goods, QueryKind::keyword, QueryKind::category});
    state.query_kind = kind_tag(kind);
    disable(view, {kind});
    show_busy(view, kind);
    view.set_result_text(kind, "");
    identify_and_search(view, state, kind);
}

void new_goods_query(QueryView& view, QueryState& state) {
    constexpr QueryKind kind = QueryKind::new_goods;
    if (query_running(view, kind))
        return;
    state.query_kind = kind_tag(kind);
    disable(view, {kind, QueryKind::ishopping, QueryKind::keyword, QueryKind::category});
    show_busy(view, kind);
    view.set_result_text(kind, "");
    identify_and_search(view, state, kind);
}

}  // namespace ranking
