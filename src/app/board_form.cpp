#include "app/board_form.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTimeEdit>

#include "board/grid.h"
#include "text/codepage.h"
#include "text/lines.h"
#include "text/primitives.h"
#include "ui/widget_text.h"

namespace app {

namespace {

// What the form shows for a board without a schedule: the hours a seller works.
board::Schedule default_schedule() {
    board::Schedule schedule;
    schedule.enabled = false;
    schedule.from_minute = 8 * 60;
    schedule.to_minute = 22 * 60;
    return schedule;
}

QPlainTextEdit* lines_box(QWidget* parent, const char* name, const QString& hint) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setPlaceholderText(hint);
    box->setTabChangesFocus(true);
    box->setMaximumHeight(48);
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
    标签商品提示 = new QLabel(this);
    标签商品提示->setObjectName(QStringLiteral("标签商品提示"));
    标签商品提示->setTextFormat(Qt::PlainText);
    标签商品提示->setStyleSheet(QStringLiteral("color: #b00000"));
    标签商品提示->setVisible(false);
    form->addRow(QString(), 标签商品提示);
    form->addRow(QStringLiteral("关键词："), 编辑框看板关键词);
    form->addRow(QStringLiteral("排序："), sorts);
    form->addRow(QStringLiteral("类目："), 编辑框看板类目);
    form->addRow(QStringLiteral("爱逛街："), 编辑框看板爱逛街);
    form->addRow(QString(), 复选框看板新品);
    form->addRow(QStringLiteral("定时："), build_schedule_row());
    form->addRow(QStringLiteral("通知："), build_notice_row());
}

QWidget* BoardForm::build_schedule_row() {
    auto* row = new QWidget(this);
    auto* box = new QHBoxLayout(row);
    box->setContentsMargins(0, 0, 0, 0);
    复选框定时检查 = new QCheckBox(QStringLiteral("定时检查，每"), row);
    复选框定时检查->setObjectName(QStringLiteral("复选框定时检查"));
    数值框间隔分钟 = new QSpinBox(row);
    数值框间隔分钟->setObjectName(QStringLiteral("数值框间隔分钟"));
    数值框间隔分钟->setRange(board::kMinIntervalMinutes, 24 * 60);
    数值框间隔分钟->setValue(60);
    时间框开始 = new QTimeEdit(QTime(8, 0), row);
    时间框结束 = new QTimeEdit(QTime(22, 0), row);
    时间框开始->setDisplayFormat(QStringLiteral("HH:mm"));
    时间框结束->setDisplayFormat(QStringLiteral("HH:mm"));
    时间框开始->setObjectName(QStringLiteral("时间框开始"));
    时间框结束->setObjectName(QStringLiteral("时间框结束"));
    box->addWidget(复选框定时检查);
    box->addWidget(数值框间隔分钟);
    box->addWidget(new QLabel(QStringLiteral("分钟，从"), row));
    box->addWidget(时间框开始);
    box->addWidget(new QLabel(QStringLiteral("到"), row));
    box->addWidget(时间框结束);
    const char* names[] = {"复选框周一", "复选框周二", "复选框周三", "复选框周四",
                           "复选框周五", "复选框周六", "复选框周日"};
    const char* captions[] = {"一", "二", "三", "四", "五", "六", "日"};
    for (std::size_t i = 0; i < weekday_boxes.size(); ++i) {
        weekday_boxes[i] = new QCheckBox(QString::fromUtf8(captions[i]), row);
        weekday_boxes[i]->setObjectName(QString::fromUtf8(names[i]));
        weekday_boxes[i]->setChecked(true);
        box->addWidget(weekday_boxes[i]);
    }
    box->addStretch();
    return row;
}

QWidget* BoardForm::build_notice_row() {
    auto* row = new QWidget(this);
    auto* box = new QHBoxLayout(row);
    box->setContentsMargins(0, 0, 0, 0);
    数值框变动名次 = new QSpinBox(row);
    数值框变动名次->setObjectName(QStringLiteral("数值框变动名次"));
    数值框变动名次->setRange(1, 1000);
    数值框前N名 = new QSpinBox(row);
    数值框前N名->setObjectName(QStringLiteral("数值框前N名"));
    数值框前N名->setRange(1, 1000);
    const board::NoticeThresholds defaults;
    数值框变动名次->setValue(defaults.move_by);
    数值框前N名->setValue(defaults.top_n);
    box->addWidget(new QLabel(QStringLiteral("本店名次变动至少"), row));
    box->addWidget(数值框变动名次);
    box->addWidget(new QLabel(QStringLiteral("名，或进出前"), row));
    box->addWidget(数值框前N名);
    box->addWidget(new QLabel(QStringLiteral("名、进出前1000名、被竞品超过时提醒"), row));
    box->addStretch();
    return row;
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
    {
        // An unticked schedule is kept switched off, so its times reopen as they were.
        board::Schedule schedule;
        schedule.enabled = 复选框定时检查->isChecked();
        schedule.interval_minutes = 数值框间隔分钟->value();
        schedule.from_minute = 时间框开始->time().msecsSinceStartOfDay() / 60000;
        schedule.to_minute = 时间框结束->time().msecsSinceStartOfDay() / 60000;
        for (std::size_t i = 0; i < weekday_boxes.size(); ++i)
            schedule.weekdays[i] = weekday_boxes[i]->isChecked();
        b.schedule = schedule;
    }
    b.notices = {数值框变动名次->value(), 数值框前N名->value()};
    return b;
}

QStringList BoardForm::problems() const {
    QStringList out;
    for (const QString& line : 编辑框看板关键词->toPlainText().split(QLatin1Char('\n'))) {
        const QString keyword = line.trimmed();
        const std::string utf8 = keyword.toStdString();
        if (!keyword.isEmpty() && text::gbk_to_utf8(text::utf8_to_gbk(utf8)) != utf8)
            out << QStringLiteral("关键词“%1”含有无法查询的字符").arg(keyword);
    }
    return out;
}

void BoardForm::show_goods_note(const QString& note) {
    标签商品提示->setText(note);
    标签商品提示->setVisible(!note.isEmpty());
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
    const board::Schedule schedule = b.schedule.value_or(default_schedule());
    复选框定时检查->setChecked(b.schedule.has_value() && schedule.enabled);
    数值框间隔分钟->setValue(schedule.interval_minutes);
    时间框开始->setTime(QTime::fromMSecsSinceStartOfDay(schedule.from_minute * 60000));
    时间框结束->setTime(QTime::fromMSecsSinceStartOfDay(schedule.to_minute * 60000));
    for (std::size_t i = 0; i < weekday_boxes.size(); ++i)
        weekday_boxes[i]->setChecked(schedule.weekdays[i]);
    数值框变动名次->setValue(b.notices.move_by);
    数值框前N名->setValue(b.notices.top_n);
}

}  // namespace app
