#include "app/window_query_view.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/main_window.h"
#include "board/check_record.h"
#include "net/message_box.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace app {

using ranking::Choice;
using ranking::QueryKind;

WindowQueryView::Page WindowQueryView::page(QueryKind kind) const {
    MainWindow& w = window_;
    switch (kind) {
        case QueryKind::keyword:
            return {w.按钮关键词排名搜索, w.编辑框2, nullptr, nullptr, w.编辑框5};
        case QueryKind::category:
            return {w.按钮类目排名搜索, w.编辑框12, w.标签11, w.标签12, w.编辑框13};
        case QueryKind::ishopping:
            return {w.按钮爱逛街查询, w.编辑框16, w.标签19, w.标签16, w.编辑框17};
        case QueryKind::new_goods:
            break;
    }
    return {w.按钮新品查询, w.编辑框18, w.标签26, w.标签24, w.编辑框19};
}

std::string WindowQueryView::goods_input(QueryKind kind) const {
    return ui::read_text(page(kind).input);
}

std::string WindowQueryView::keyword_list() const {
    return ui::read_text(window_.编辑框3);
}

ranking::SortChoice WindowQueryView::sort_choice() const {
    const MainWindow& w = window_;
    return {w.单选框综合->isChecked(), w.单选框销量->isChecked(), w.单选框评分->isChecked(),
            w.单选框价格低->isChecked(), w.单选框价格高->isChecked()};
}

bool WindowQueryView::has_choice(Choice choice) const {
    const MainWindow& w = window_;
    const QComboBox* boxes[] = {w.组合框1, w.组合框2, w.组合框3, w.组合框4};
    return !ui::read_text(boxes[static_cast<int>(choice)]).empty();
}

std::string WindowQueryView::chosen_id(Choice choice) const {
    const catalogue::CatalogueData& lists = window_.data().catalogue;
    const catalogue::ListKind kinds[] = {catalogue::ListKind::Level1, catalogue::ListKind::Level2,
                                         catalogue::ListKind::Level3, catalogue::ListKind::Tabs};
    return lists.list(kinds[static_cast<int>(choice)]).chosen_id;
}

std::string WindowQueryView::result_text(QueryKind kind) const {
    return ui::read_text(page(kind).result_box);
}

void WindowQueryView::set_result_text(QueryKind kind, std::string_view text) {
    ui::write_text(page(kind).result_box, text);
}

void WindowQueryView::append_result_text(QueryKind kind, std::string_view text) {
    QPlainTextEdit* box = page(kind).result_box;
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(
        ui::to_qstring(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box->ensureCursorVisible();
}

void WindowQueryView::show_goods(QueryKind kind, const ranking::GoodsInfo& info) {
    const Page p = page(kind);
    if (p.goods_name != nullptr)
        ui::write_text(p.goods_name, info.goods_name);
    if (p.shop_name != nullptr)
        ui::write_text(p.shop_name, info.shop_name);
}

bool WindowQueryView::button_enabled(QueryKind kind) const {
    return page(kind).button->isEnabled();
}

void WindowQueryView::enable_button(QueryKind kind, bool enabled) {
    page(kind).button->setEnabled(enabled);
}

void WindowQueryView::set_button_caption(QueryKind kind, std::string_view caption) {
    ui::write_text(page(kind).button, caption);
}

void WindowQueryView::run_finished(const ranking::Listing& listing, const std::string& goods_id,
                                   const ranking::RunOutcome& outcome, int pages_read,
                                   const std::vector<int>& statuses) {
    window_.record_check(
        board::single_check_record(listing, goods_id, outcome, pages_read, statuses,
                                   board::unix_ms(std::chrono::system_clock::now())));
}

void WindowQueryView::message(std::string_view text) {
    net::show_message(std::string(text), 64, GBK("信息："));
}

}  // namespace app
