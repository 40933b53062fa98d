#include "app/board_form.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "board/grid.h"
#include "text/lines.h"
#include "text/primitives.h"
#include "ui/widget_text.h"

namespace app {

namespace {

QPlainTextEdit* lines_box(QWidget* parent, const char* name, const QString& hint) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setPlaceholderText(hint);
    box->setTabChangesFocus(true);
    box->setMaximumHeight(70);
    return box;
}

QLineEdit* line_box(QWidget* parent, const char* name, const QString& hint) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setPlaceholderText(hint);
    return box;
}

// The non-blank lines of a box, trimmed (GBK).
std::vector<std::string> lines_of(const QPlainTextEdit* box) {
    std::vector<std::string> out;
    const std::string all = ui::read_text(box);
    for (std::string& line : text::split(all, "\r\n")) {
        line = text::trim(line);
        if (!line.empty())
            out.push_back(std::move(line));
    }
    return out;
}

void show_lines(QPlainTextEdit* box, const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines)
        all += (all.empty() ? "" : "\r\n") + line;
    ui::write_text(box, all);
}

std::string typed_form(const board::GoodsItem& item) {
    return item.link.empty() ? item.id : item.link;
}

}  // namespace

board::GoodsItem goods_item_of(const std::string& typed_gbk) {
    const std::string typed = text::trim(typed_gbk);
    const bool digits =
        !typed.empty() && typed.find_first_not_of("0123456789") == std::string::npos;
    return digits ? board::GoodsItem{typed, {}, {}, {}} : board::GoodsItem{{}, typed, {}, {}};
}

BoardForm::BoardForm(QWidget* parent) : QWidget(parent) {
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    编辑框看板名称 = line_box(this, "编辑框看板名称", QStringLiteral("例如：辣条日常"));
    编辑框本店商品 = lines_box(this, "编辑框本店商品", QStringLiteral("每行一个商品ID或商品链接"));
    编辑框竞品 = lines_box(this, "编辑框竞品", QStringLiteral("最多5个，每行一个"));
    编辑框看板关键词 = lines_box(this, "编辑框看板关键词", QStringLiteral("每行一个关键词"));
    auto* sorts = new QHBoxLayout();
    const char* names[] = {"复选框综合", "复选框销量", "复选框评分", "复选框价格低",
                           "复选框价格高"};
    for (std::size_t i = 0; i < sort_boxes.size(); ++i) {
        sort_boxes[i] =
            new QCheckBox(QString::fromStdString(board::sort_caption(ranking::kAllSorts[i])), this);
        sort_boxes[i]->setObjectName(QString::fromUtf8(names[i]));
        sort_boxes[i]->setChecked(true);
        sorts->addWidget(sort_boxes[i]);
    }
    编辑框看板类目 = line_box(this, "编辑框看板类目", QStringLiteral("类目ID，空格分隔（可不填）"));
    编辑框看板爱逛街 = line_box(this, "编辑框看板爱逛街", QStringLiteral("爱逛街tab ID（可不填）"));
    复选框看板新品 = new QCheckBox(QStringLiteral("同时检查新品"), this);
    复选框看板新品->setObjectName(QStringLiteral("复选框看板新品"));
    form->addRow(QStringLiteral("看板名称："), 编辑框看板名称);
    form->addRow(QStringLiteral("本店商品："), 编辑框本店商品);
    form->addRow(QStringLiteral("竞品："), 编辑框竞品);
    form->addRow(QStringLiteral("关键词："), 编辑框看板关键词);
    form->addRow(QStringLiteral("排序："), sorts);
    form->addRow(QStringLiteral("类目："), 编辑框看板类目);
    form->addRow(QStringLiteral("爱逛街："), 编辑框看板爱逛街);
    form->addRow(QString(), 复选框看板新品);
}

board::Board BoardForm::board() const {
    board::Board b;
    b.name = text::trim(ui::read_text(编辑框看板名称));
    for (const std::string& line : lines_of(编辑框本店商品))
        b.own.push_back(goods_item_of(line));
    for (const std::string& line : lines_of(编辑框竞品))
        b.competitors.push_back(goods_item_of(line));
    b.keywords = lines_of(编辑框看板关键词);
    b.sorts.clear();
    for (std::size_t i = 0; i < sort_boxes.size(); ++i) {
        if (sort_boxes[i]->isChecked())
            b.sorts.push_back(ranking::kAllSorts[i]);
    }
    for (std::string& id : text::split(text::trim(ui::read_text(编辑框看板类目)), " ")) {
        if (!text::trim(id).empty())
            b.category_ids.push_back(text::trim(id));
    }
    const std::string tab = text::trim(ui::read_text(编辑框看板爱逛街));
    if (!tab.empty())
        b.tab_id = tab;
    b.new_goods = 复选框看板新品->isChecked();
    return b;
}

void BoardForm::show_board(const board::Board& b) {
    ui::write_text(编辑框看板名称, b.name);
    std::vector<std::string> own, rivals;
    for (const auto& g : b.own)
        own.push_back(typed_form(g));
    for (const auto& g : b.competitors)
        rivals.push_back(typed_form(g));
    show_lines(编辑框本店商品, own);
    show_lines(编辑框竞品, rivals);
    show_lines(编辑框看板关键词, b.keywords);
    for (std::size_t i = 0; i < sort_boxes.size(); ++i) {
        sort_boxes[i]->setChecked(
            std::find(b.sorts.begin(), b.sorts.end(), ranking::kAllSorts[i]) != b.sorts.end());
    }
    std::string categories;
    for (const std::string& id : b.category_ids)
        categories += (categories.empty() ? "" : " ") + id;
    ui::write_text(编辑框看板类目, categories);
    ui::write_text(编辑框看板爱逛街, b.tab_id.value_or(""));
    复选框看板新品->setChecked(b.new_goods);
}

}  // namespace app
