// The board window's grid: what each cell shows in the chosen view, the
// order of its rows, the filter, and the summary of the last run above it.
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <numeric>

#include "app/board_window.h"
#include "board/goods_captions.h"
#include "board/run_summary.h"
#include "board/words.h"
#include "ui/widget_text.h"

namespace app {

namespace {

QString from_utf8(const std::string& text) {
    return QString::fromStdString(text);
}

QString id_tooltip(const board::GoodsItem& goods) {
    return QStringLiteral("商品ID ") + ui::to_qstring(goods.id.empty() ? goods.link : goods.id);
}

// The choice's competitor (index into the board's) and view.
std::pair<std::size_t, board::GridMode> choice_of(int index) {
    if (index <= 0)
        return {0, board::GridMode::own};
    const auto i = static_cast<std::size_t>(index - 1);
    return {i / 2, i % 2 == 0 ? board::GridMode::competitor : board::GridMode::difference};
}

}  // namespace

void BoardWindow::refresh_view_choices() {
    组合框显示->clear();
    const QString own_word = from_utf8(std::string(board::kOwnWord));
    const QString rival_word = from_utf8(std::string(board::kCompetitorWord));
    if (board_.own.empty()) {
        组合框显示->addItem(own_word + QStringLiteral("排名"));
    } else {
        const board::GoodsItem& own = board_.own.front();
        组合框显示->addItem(own_word + QStringLiteral(" ") + from_utf8(board::goods_caption(own)));
        组合框显示->setItemData(0, id_tooltip(own), Qt::ToolTipRole);
    }
    for (const board::GoodsItem& c : board_.competitors) {
        const QString name = from_utf8(board::goods_caption(c));
        组合框显示->addItem(rival_word + QStringLiteral(" ") + name);
        组合框显示->setItemData(组合框显示->count() - 1, id_tooltip(c), Qt::ToolTipRole);
        组合框显示->addItem(own_word + QStringLiteral("对比") + rival_word + QStringLiteral(" ") +
                            name);
        组合框显示->setItemData(组合框显示->count() - 1, id_tooltip(c), Qt::ToolTipRole);
    }
    组合框显示->setCurrentIndex(0);
}

board::CellView BoardWindow::view_of(std::size_t layout_row, std::size_t column) const {
    const auto& key = layout_.cells.at(layout_row).at(column);
    if (!key) {
        // A category, tab or 新品 row: its one check stands in the first column.
        board::CellView none;
        none.text = board::kNoSortWord;
        none.tooltip = "这个榜单不分排序方式，名次在第一列";
        return none;
    }
    if (!log_)
        return {};
    const auto [rival_index, mode] = choice_of(组合框显示->currentIndex());
    const std::string rival =
        mode == board::GridMode::own ? std::string() : board_.competitors.at(rival_index).id;
    const std::string own = board_.own.empty() ? std::string() : board_.own.front().id;
    board::CellView view = board::cell_view(log_->cell(*key), own, rival, mode);
    if (stopped_.contains(*key)) {
        if (!view.not_checked)
            view.text = std::string(board::kNotCheckedWord) + " · " + view.text;
        view.tooltip = "上一轮检查在此格之前停止，重查失败会检查它\n" + view.tooltip;
        view.failed = true;
        view.not_checked = true;
        view.value.reset();
    }
    return view;
}

void BoardWindow::put_cell(int row, int column, const board::CellView& view) {
    auto* item = new QTableWidgetItem(from_utf8(view.text));
    item->setToolTip(from_utf8(view.tooltip));
    if (view.text == board::kNoSortWord) {
        item->setForeground(QColor(150, 150, 150));
    } else if (view.not_checked) {
        // Grey: nothing went wrong, the check has not been made.
        item->setForeground(QColor(90, 90, 90));
        item->setBackground(QColor(236, 236, 236));
    } else if (view.failed) {
        // Readable, not greyed out: the failure and the last good value beside it.
        item->setForeground(QColor(160, 30, 0));
        item->setBackground(QColor(255, 228, 220));
    } else if (view.tone == board::CellTone::good) {
        item->setForeground(QColor(0, 128, 40));
    } else if (view.tone == board::CellTone::bad) {
        item->setForeground(QColor(200, 30, 30));
    }
    表格排名->setItem(row, column, item);
}

void BoardWindow::refill_grid() {
    std::vector<std::optional<int>> values;
    for (std::size_t r = 0; r < layout_.rows.size(); ++r) {
        const bool has =
            sort_column_ >= 0 && static_cast<std::size_t>(sort_column_) < layout_.cells[r].size();
        values.push_back(has ? view_of(r, static_cast<std::size_t>(sort_column_)).value
                             : std::nullopt);
    }
    if (sort_column_ >= 0) {
        row_order_ = board::sorted_rows(values, sort_descending_);
    } else {
        row_order_.resize(layout_.rows.size());
        std::iota(row_order_.begin(), row_order_.end(), std::size_t{0});
    }
    表格排名->clear();
    表格排名->setRowCount(static_cast<int>(layout_.rows.size()));
    表格排名->setColumnCount(static_cast<int>(std::max<std::size_t>(1, layout_.columns.size())));
    QStringList columns;
    for (ranking::Sort sort : layout_.columns)
        columns << from_utf8(board::sort_caption(sort));
    表格排名->setHorizontalHeaderLabels(columns);
    for (int r = 0; r < 表格排名->rowCount(); ++r) {
        // Long keywords are elided by the header; the whole one is in the tooltip.
        const QString label = from_utf8(layout_.rows[row_order_[static_cast<std::size_t>(r)]]);
        auto* head = new QTableWidgetItem(label);
        head->setToolTip(label);
        表格排名->setVerticalHeaderItem(r, head);
        for (int c = 0; c < 表格排名->columnCount(); ++c)
            put_cell(r, c,
                     view_of(row_order_[static_cast<std::size_t>(r)], static_cast<std::size_t>(c)));
        update_row_shown(r);
    }
    auto* header = 表格排名->horizontalHeader();
    header->setSortIndicatorShown(sort_column_ >= 0);
    if (sort_column_ >= 0)
        header->setSortIndicator(sort_column_,
                                 sort_descending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
    fit_row_header();
    update_summary();
}

// A cell the run just checked, wherever the row stands now (rows do not move
// during a run: the order is made again when the grid is filled anew).
void BoardWindow::fill_cell(int layout_row, int column) {
    const auto at =
        std::find(row_order_.begin(), row_order_.end(), static_cast<std::size_t>(layout_row));
    if (at == row_order_.end())
        return;
    const int row = static_cast<int>(at - row_order_.begin());
    put_cell(row, column,
             view_of(static_cast<std::size_t>(layout_row), static_cast<std::size_t>(column)));
    update_row_shown(row);
}

void BoardWindow::update_row_shown(int row) {
    const std::size_t layout_row = row_order_.at(static_cast<std::size_t>(row));
    std::vector<board::CellView> views;
    for (std::size_t c = 0; c < layout_.cells[layout_row].size(); ++c)
        views.push_back(view_of(layout_row, c));
    const auto filter = static_cast<board::RowFilter>(std::max(0, 组合框筛选->currentIndex()));
    表格排名->setRowHidden(row, !board::row_shown(views, filter));
}

void BoardWindow::sort_grid(int column, bool descending) {
    sort_column_ = column;
    sort_descending_ = column >= 0 && descending;
    refill_grid();
}

// The row header never takes more than a third of the grid: longer keywords
// are elided (the whole keyword stays in the tooltip).
void BoardWindow::fit_row_header() {
    QHeaderView* header = 表格排名->verticalHeader();
    const int widest = std::max(60, 表格排名->width() / 3);
    header->setMaximumWidth(widest);
    const QFontMetrics metrics(header->font());
    for (int r = 0; r < 表格排名->rowCount(); ++r) {
        QTableWidgetItem* head = 表格排名->verticalHeaderItem(r);
        if (head != nullptr)
            head->setText(metrics.elidedText(head->toolTip(), Qt::ElideRight, widest - 16));
    }
}

void BoardWindow::update_summary() {
    std::vector<const board::CellData*> cells;
    bool any = false;
    for (const board::CellKey& key : board::board_cells(layout_)) {
        cells.push_back(stopped_.contains(key) || !log_ ? nullptr : &log_->cell(key));
        any = any || (cells.back() != nullptr && !cells.back()->recent.empty());
    }
    // While a run goes on, the line sums up the cells as that run leaves them.
    const QString what =
        showing_run() ? QStringLiteral("本次检查进行中（%1/%2）：").arg(run_done_).arg(run_total_)
                      : QStringLiteral("最近一次检查：");
    if (!any) {
        标签运行摘要->setText(what + from_utf8(std::string(board::kNotCheckedWord)));
        return;
    }
    std::vector<std::string> own;
    for (const board::GoodsItem& g : board_.own)
        own.push_back(g.id);
    标签运行摘要->setText(what + from_utf8(board::summary_text(board::run_summary(cells, own))));
}

}  // namespace app
