#include "ranking/query_handlers.h"

#include <QWidget>

#include "net/message_box.h"
#include "ranking/goods_info.h"
#include "ranking/query_kind.h"
#include "ranking/query_tabs.h"
#include "ranking/query_widgets.h"
#include "ranking/ranking_search.h"
#include "ranking/window_guard.h"
#include "text/codepage.h"
#include "text/primitives.h"

namespace ranking {

namespace {

// The pressed button is disabled while its query runs; a call that arrives
// then (events are dispatched during the query's waits) starts nothing.
bool query_running(const QWidget& window, QueryKind kind) {
    return button_disabled(window, kind);
}

// Validation messages stop the handler before anything has changed.
bool refuse(const std::string& message) {
    net::show_message(message, 64, GBK("信息："));
    return false;
}

bool ishopping_inputs_ok(const QWidget& window) {
    if (read_control(window, "组合框4").empty())
        return refuse(GBK("请选择类目！"));
    if (read_control(window, "编辑框16").empty())
        return refuse(GBK("请填写链接或者商品ID！"));
    return true;
}

bool category_inputs_ok(const QWidget& window) {
    if (read_control(window, "组合框1").empty())
        return refuse(GBK("请选择一级类目"));
    if (read_control(window, "组合框2").empty())
        return refuse(GBK("请选择二级类目"));
    if (read_control(window, "组合框3").empty())
        return refuse(GBK("请选择三级类目"));
    if (text::trim(read_control(window, "编辑框12")).empty())
        return refuse(GBK("请填写商品ID"));
    return true;
}

// Fetches the goods page of the tab's input and shows its names. Empty when
// the window went away during the fetch.
std::optional<GoodsInfo> identify_goods(ui::Context& ctx, QueryKind kind) {
    const QueryTab& tab = query_tab(kind);
    const WindowGuard guard(ctx.window);
    GoodsInfo info = fetch_goods_info(read_control(ctx.window, tab.input));
    if (!guard.alive())
        return std::nullopt;
    if (tab.goods_name != nullptr)
        write_control(ctx.window, tab.goods_name, info.goods_name);
    if (tab.shop_name != nullptr)
        write_control(ctx.window, tab.shop_name, info.shop_name);
    return info;
}

}  // namespace

void keyword_query(ui::Context& ctx) {
    constexpr QueryKind kind = QueryKind::keyword;
    if (query_running(ctx.window, kind))
        return;
    ctx.data.query_kind = kind_tag(kind);
    disable_buttons(ctx.window, {kind});
    show_busy(ctx.window, kind);
    ctx.data.编辑框4 = read_control(ctx.window, "编辑框3");
    write_control(ctx.window, "编辑框5", "");
    disable_buttons(ctx.window, {QueryKind::new_goods, QueryKind::ishopping, QueryKind::category});
    const auto info = identify_goods(ctx, kind);
    if (!info)
        return;
    ctx.data.target_keyword = info->goods_id;
    run_ranking_search(ctx, kind);
}

void category_query(ui::Context& ctx) {
    constexpr QueryKind kind = QueryKind::category;
    if (query_running(ctx.window, kind) || !category_inputs_ok(ctx.window))
        return;
    disable_buttons(ctx.window, {QueryKind::new_goods, QueryKind::ishopping, QueryKind::keyword});
    write_control(ctx.window, "编辑框13", "");
    show_busy(ctx.window, kind);
    disable_buttons(ctx.window, {kind});
    ctx.data.query_kind = kind_tag(kind);
    ctx.data.current_category_id = text::trim(ctx.data.编辑框6);
    ctx.data.current_category_level = 1;
    const auto info = identify_goods(ctx, kind);
    if (!info)
        return;
    ctx.data.target_category = info->goods_id;
    run_ranking_search(ctx, kind);
}

void ishopping_query(ui::Context& ctx) {
    constexpr QueryKind kind = QueryKind::ishopping;
    if (query_running(ctx.window, kind) || !ishopping_inputs_ok(ctx.window))
        return;
    disable_buttons(ctx.window, {QueryKind::new_goods, QueryKind::keyword, QueryKind::category});
    ctx.data.query_kind = kind_tag(kind);
    disable_buttons(ctx.window, {kind});
    show_busy(ctx.window, kind);
    write_control(ctx.window, "编辑框17", "");
    const auto info = identify_goods(ctx, kind);
    if (!info)
        return;
    ctx.data.target_ishopping = info->goods_id;
    run_ranking_search(ctx, kind);
}

void new_goods_query(ui::Context& ctx) {
    constexpr QueryKind kind = QueryKind::new_goods;
    if (query_running(ctx.window, kind))
        return;
    ctx.data.query_kind = kind_tag(kind);
    disable_buttons(ctx.window,
                    {kind, QueryKind::ishopping, QueryKind::keyword, QueryKind::category});
    show_busy(ctx.window, kind);
    write_control(ctx.window, "编辑框19", "");
    const auto info = identify_goods(ctx, kind);
    if (!info)
        return;
    ctx.data.target_new_goods = info->goods_id;
    run_ranking_search(ctx, kind);
}

}  // namespace ranking
