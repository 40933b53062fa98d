#include "app/board_form.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "app/channel_checks.h"
#include "app/name_picker.h"
#include "text/codepage.h"
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

QFormLayout* column_form() {
    auto* form = new QFormLayout();
    form->setContentsMargins(0, 0, 0, 0);
    form->setVerticalSpacing(4);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return form;
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

std::vector<board::GoodsItem> items_of(const QPlainTextEdit* box,
                                       const std::vector<board::GoodsItem>& known) {
    std::vector<board::GoodsItem> items;
    for (const std::string& line : lines_of(box))
        items.push_back(goods_item_of(line, known));
    return items;
}

std::vector<NamedId> named_ids(const std::vector<catalogue::CategoryEntry>& entries) {
    std::vector<NamedId> out;
    for (const catalogue::CategoryEntry& e : entries)
        out.push_back({ui::to_qstring(e.id), ui::to_qstring(e.name)});
    return out;
}

int minute_of(const QTimeEdit* box) {
    return box->time().msecsSinceStartOfDay() / 60000;
}

QTime time_of(int minute) {
    return QTime::fromMSecsSinceStartOfDay(minute * 60000);
}

}  // namespace

BoardForm::BoardForm(QWidget* parent) : QWidget(parent) {
    QFormLayout* left = column_form();
    编辑框看板名称 = new QLineEdit(this);
    编辑框看板名称->setObjectName(QStringLiteral("编辑框看板名称"));
    编辑框看板名称->setPlaceholderText(QStringLiteral("例如：辣条日常"));
    编辑框看板关键词 = lines_box(this, "编辑框看板关键词", QStringLiteral("每行一个关键词"));
    left->addRow(QStringLiteral("看板名称："), 编辑框看板名称);
    left->addRow(QStringLiteral("本店商品："),
                 build_goods_row(编辑框本店商品, 标签本店名称, "编辑框本店商品", "标签本店名称",
                                 QStringLiteral("每行一个商品ID或商品链接")));
    left->addRow(QStringLiteral("竞品："),
                 build_goods_row(编辑框竞品, 标签竞品名称, "编辑框竞品", "标签竞品名称",
                                 QStringLiteral("最多5个，每行一个")));
    left->addRow(QStringLiteral("关键词："), 编辑框看板关键词);
    left->addRow(QStringLiteral("排序："), build_sort_row());
    left->addRow(QStringLiteral("定时："), build_schedule_rows());

    QFormLayout* right = column_form();
    类目选择 = new NamePicker(NamePicker::Mode::many, QStringLiteral("类目名称或ID（可不填）"),
                              QStringLiteral("类目未加载：打开一次类目排名页即可"), this);
    爱逛街选择 =
        new NamePicker(NamePicker::Mode::one, QStringLiteral("爱逛街标签名称或ID（可不填）"),
                       QStringLiteral("标签未加载：打开一次爱逛街排名页即可"), this);
    编辑框看板类目 = 类目选择->edit();
    编辑框看板爱逛街 = 爱逛街选择->edit();
    编辑框看板类目->setObjectName(QStringLiteral("编辑框看板类目"));
    编辑框看板爱逛街->setObjectName(QStringLiteral("编辑框看板爱逛街"));
    复选框看板新品 = new QCheckBox(QStringLiteral("同时检查新品"), this);
    复选框看板新品->setObjectName(QStringLiteral("复选框看板新品"));
    right->addRow(QStringLiteral("类目："), 类目选择);
    right->addRow(QStringLiteral("爱逛街："), 爱逛街选择);
    right->addRow(QString(), 复选框看板新品);
    right->addRow(build_notice_group());

    标签商品提示 = new QLabel(this);
    标签商品提示->setObjectName(QStringLiteral("标签商品提示"));
    标签商品提示->setTextFormat(Qt::PlainText);
    标签商品提示->setWordWrap(true);
    标签商品提示->setStyleSheet(QStringLiteral("color: #b00000"));
    标签商品提示->setVisible(false);

    auto* columns = new QHBoxLayout();
    columns->setSpacing(16);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(4);
    outer->addLayout(columns);
    outer->addWidget(标签商品提示);
}

board::Board BoardForm::board() const {
    board::Board b;
    b.name = text::trim(ui::read_text(编辑框看板名称));
    b.own = items_of(编辑框本店商品, known_goods_);
    b.competitors = items_of(编辑框竞品, known_goods_);
    b.keywords = lines_of(编辑框看板关键词);
    b.sorts.clear();
    for (std::size_t i = 0; i < sort_boxes.size(); ++i) {
        if (sort_boxes[i]->isChecked())
            b.sorts.push_back(ranking::kAllSorts[i]);
    }
    b.category_ids = 类目选择->ids();
    if (const auto tab = 爱逛街选择->ids(); !tab.empty())
        b.tab_id = tab.front();
    b.new_goods = 复选框看板新品->isChecked();
    {
        // An unticked schedule is kept switched off, so its times reopen as they were.
        board::Schedule schedule;
        schedule.enabled = 复选框定时检查->isChecked();
        schedule.interval_minutes = 数值框间隔分钟->value();
        schedule.from_minute = minute_of(时间框开始);
        schedule.to_minute = minute_of(时间框结束);
        for (std::size_t i = 0; i < weekday_boxes.size(); ++i)
            schedule.weekdays[i] = weekday_boxes[i]->isChecked();
        b.schedule = schedule;
    }
    b.notices = {数值框变动名次->value(), 数值框前N名->value()};
    for (const std::string& channel : channel_checks->chosen())
        b.channels.push_back(text::utf8_to_gbk(channel));
    if (复选框每日报告->isChecked())
        b.report_minute = minute_of(时间框报告);
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
    if (const auto problem = board::schedule_problem(*board().schedule))
        out << QStringLiteral("定时检查") + QString::fromStdString(*problem);
    return out;
}

void BoardForm::show_goods_note(const QString& note) {
    标签商品提示->setText(note);
    标签商品提示->setVisible(!note.isEmpty());
}

void BoardForm::learn_goods(const std::vector<board::GoodsItem>& items) {
    for (const board::GoodsItem& item : items) {
        const auto same =
            std::find_if(known_goods_.begin(), known_goods_.end(), [&](const auto& k) {
                return item.link.empty() ? k.link.empty() && k.id == item.id : k.link == item.link;
            });
        if (same == known_goods_.end())
            known_goods_.push_back(item);
        else
            *same = item;
    }
    refresh_goods_names();
}

void BoardForm::refresh_goods_names() {
    for (auto [box, label] :
         {std::pair{编辑框本店商品, 标签本店名称}, {编辑框竞品, 标签竞品名称}}) {
        const QString names = goods_names_text(items_of(box, known_goods_));
        label->setText(names);
        label->setToolTip(names);
    }
}

void BoardForm::set_catalogue(const CatalogueChoices& lists) {
    类目选择->set_groups({{QStringLiteral("一级类目"), named_ids(lists.levels[0])},
                          {QStringLiteral("二级类目"), named_ids(lists.levels[1])},
                          {QStringLiteral("三级类目"), named_ids(lists.levels[2])}});
    爱逛街选择->set_groups({{QString(), named_ids(lists.tabs)}});
}

void BoardForm::set_channel_names(std::vector<std::string> utf8_names) {
    channel_checks->set_defined(std::move(utf8_names));
}

void BoardForm::tell(const QString& message) {
    if (show_message) {
        show_message(message);
        return;
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("信息："), message, QMessageBox::Ok,
                    this);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

void BoardForm::show_board(const board::Board& b) {
    ui::write_text(编辑框看板名称, b.name);
    known_goods_ = b.own;
    known_goods_.insert(known_goods_.end(), b.competitors.begin(), b.competitors.end());
    std::vector<std::string> own, rivals;
    for (const auto& g : b.own)
        own.push_back(typed_form(g));
    for (const auto& g : b.competitors)
        rivals.push_back(typed_form(g));
    show_lines(编辑框本店商品, own);
    show_lines(编辑框竞品, rivals);
    refresh_goods_names();
    show_lines(编辑框看板关键词, b.keywords);
    for (std::size_t i = 0; i < sort_boxes.size(); ++i) {
        sort_boxes[i]->setChecked(
            std::find(b.sorts.begin(), b.sorts.end(), ranking::kAllSorts[i]) != b.sorts.end());
    }
    类目选择->show_ids(b.category_ids);
    爱逛街选择->show_ids(b.tab_id ? std::vector<std::string>{*b.tab_id}
                                  : std::vector<std::string>{});
    复选框看板新品->setChecked(b.new_goods);
    const board::Schedule schedule = b.schedule.value_or(default_schedule());
    复选框定时检查->setChecked(b.schedule.has_value() && schedule.enabled);
    数值框间隔分钟->setValue(schedule.interval_minutes);
    if (schedule.interval_minutes >= board::kMinIntervalMinutes)
        accepted_interval_ = schedule.interval_minutes;
    时间框开始->setTime(time_of(schedule.from_minute));
    时间框结束->setTime(time_of(schedule.to_minute));
    for (std::size_t i = 0; i < weekday_boxes.size(); ++i)
        weekday_boxes[i]->setChecked(schedule.weekdays[i]);
    数值框变动名次->setValue(b.notices.move_by);
    数值框前N名->setValue(b.notices.top_n);
    std::vector<std::string> channels;
    for (const std::string& channel : b.channels)
        channels.push_back(text::gbk_to_utf8(channel));
    channel_checks->show_chosen(channels);
    复选框每日报告->setChecked(b.report_minute.has_value());
    时间框报告->setTime(time_of(b.report_minute.value_or(kDefaultReportMinute)));
}

}  // namespace app
