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
#include <QToolButton>
#include <QVBoxLayout>

#include "app/channel_checks.h"
#include "app/name_picker.h"
#include "app/settings.h"
#include "board/typed_board.h"
#include "catalogue/list_fetch.h"
#include "net/hosts.h"
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

// The non-blank lines of a box, trimmed (UTF-8).
std::vector<std::string> lines_of(const QPlainTextEdit* box) {
    std::vector<std::string> out;
    for (const QString& line : box->toPlainText().split(QLatin1Char('\n'))) {
        std::string typed = board::trimmed(line.toStdString());
        if (!typed.empty())
            out.push_back(std::move(typed));
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

std::vector<board::GoodsItem> typed_goods_of(const QPlainTextEdit* box) {
    std::vector<board::GoodsItem> items;
    for (const std::string& line : lines_of(box))
        items.push_back(board::typed_goods(line));
    return items;
}

// The box's goods in GBK, with what is known of them (names, a link's id).
std::vector<board::GoodsItem> items_of(const QPlainTextEdit* box,
                                       const std::vector<board::GoodsItem>& known) {
    board::Board typed;
    typed.own = typed_goods_of(box);
    std::vector<board::GoodsItem> items;
    for (const board::GoodsItem& item : board::board_to_gbk(typed).own)
        items.push_back(with_known(item, known));
    return items;
}

std::vector<NamedId> named_ids(const std::vector<catalogue::CategoryEntry>& entries) {
    std::vector<NamedId> out;
    for (const catalogue::CategoryEntry& e : entries)
        out.push_back({ui::to_qstring(e.id), ui::to_qstring(e.name)});
    return out;
}

// The category page's own requests, made for the form: level 1, the
// children of a level-1 or level-2 category, the 爱逛街 tabs.
std::vector<NamedId> load_level1() {
    return named_ids(catalogue::fetch_level1(configuration().hosts));
}

std::vector<NamedId> load_sub_level(int level, const QString& parent_id) {
    return named_ids(catalogue::fetch_sub_level(
        configuration().hosts,
        level == 2 ? catalogue::ListKind::Level2 : catalogue::ListKind::Level3,
        ui::from_qstring(parent_id)));
}

std::vector<NamedId> load_tabs() {
    return named_ids(catalogue::fetch_tabs(configuration().hosts));
}

// The names a board keeps for its categories and tab, for the pickers.
std::vector<NamedId> kept_names(const std::map<std::string, std::string>& names) {
    std::vector<NamedId> out;
    for (const auto& [id, name] : names)
        out.push_back({ui::to_qstring(id), ui::to_qstring(name)});
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
                              QStringLiteral("类目未加载（网络无响应），请稍后再点“选择”"), this);
    类目选择->set_loaders(load_level1, load_sub_level, 3);
    爱逛街选择 =
        new NamePicker(NamePicker::Mode::one, QStringLiteral("爱逛街标签名称或ID（可不填）"),
                       QStringLiteral("标签未加载（网络无响应），请稍后再点“选择”"), this);
    爱逛街选择->set_loaders(load_tabs);
    编辑框看板类目 = 类目选择->edit();
    编辑框看板爱逛街 = 爱逛街选择->edit();
    编辑框看板类目->setObjectName(QStringLiteral("编辑框看板类目"));
    编辑框看板爱逛街->setObjectName(QStringLiteral("编辑框看板爱逛街"));
    复选框看板新品 = new QCheckBox(QStringLiteral("同时检查新品"), this);
    复选框看板新品->setObjectName(QStringLiteral("复选框看板新品"));
    right->addRow(QStringLiteral("类目："), 类目选择);
    right->addRow(QStringLiteral("爱逛街标签："), 爱逛街选择);
    right->addRow(QString(), 复选框看板新品);
    right->addRow(build_notice_group());

    标签商品提示 = new QLabel(this);
    标签商品提示->setObjectName(QStringLiteral("标签商品提示"));
    标签商品提示->setTextFormat(Qt::PlainText);
    标签商品提示->setWordWrap(true);
    标签商品提示->setStyleSheet(QStringLiteral("color: #b00000"));
    标签商品提示->setVisible(false);

    标签填写提示 = new QLabel(
        QStringLiteral("新看板：先填看板名称和本店商品（商品ID或商品链接，每行一个），再填关键词；"
                       "竞品、类目和定时检查可以不填。填好后点“开始检查”，满意就“保存看板”。"),
        this);
    标签填写提示->setObjectName(QStringLiteral("标签填写提示"));
    标签填写提示->setWordWrap(true);
    标签填写提示->setStyleSheet(QStringLiteral("color: #1a4f8a"));

    auto* columns = new QHBoxLayout();
    columns->setSpacing(16);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(4);
    outer->addWidget(标签填写提示);
    outer->addLayout(columns);
    outer->addWidget(标签商品提示);
}

board::Board BoardForm::typed_board() const {
    board::Board b;
    b.name = board::trimmed(编辑框看板名称->text().toStdString());
    b.own = typed_goods_of(编辑框本店商品);
    b.competitors = typed_goods_of(编辑框竞品);
    b.keywords = lines_of(编辑框看板关键词);
    b.sorts.clear();
    for (std::size_t i = 0; i < sort_boxes.size(); ++i) {
        if (sort_boxes[i]->isChecked())
            b.sorts.push_back(ranking::kAllSorts[i]);
    }
    for (const QString& id : 类目选择->qids()) {
        b.category_ids.push_back(id.toStdString());
        if (const QString name = 类目选择->name_of(id); !name.isEmpty())
            b.category_names[id.toStdString()] = name.toStdString();
    }
    if (const QStringList tab = 爱逛街选择->qids(); !tab.isEmpty()) {
        b.tab_id = tab.front().toStdString();
        b.tab_name = 爱逛街选择->name_of(tab.front()).toStdString();
    }
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
    b.channels = channel_checks->chosen();
    if (复选框每日报告->isChecked())
        b.report_minute = minute_of(时间框报告);
    return b;
}

board::Board BoardForm::board() const {
    board::Board b = board::board_to_gbk(typed_board());
    for (auto* items : {&b.own, &b.competitors}) {
        for (board::GoodsItem& item : *items)
            item = with_known(item, known_goods_);
    }
    return b;
}

QStringList BoardForm::problems() const {
    QStringList out;
    for (const std::string& fault :
         board::check_typed(typed_board(), configuration().hosts.domain_word).faults)
        out << ui::to_qstring(fault);
    return out;
}

QList<QWidget*> BoardForm::fields_in_order() const {
    QList<QWidget*> order{编辑框看板名称, 编辑框本店商品, 编辑框竞品, 编辑框看板关键词};
    for (QCheckBox* box : sort_boxes)
        order << box;
    order << 复选框定时检查 << 数值框间隔分钟 << 时间框开始 << 时间框结束;
    for (QCheckBox* box : weekday_boxes)
        order << box;
    order << 编辑框看板类目 << 类目选择->button() << 编辑框看板爱逛街 << 爱逛街选择->button()
          << 复选框看板新品 << 数值框变动名次 << 数值框前N名;
    // The channels' boxes and whatever else the channel row offers, as made.
    for (QWidget* field : channel_checks->findChildren<QWidget*>()) {
        if ((field->focusPolicy() & Qt::TabFocus) != 0)
            order << field;
    }
    order << 复选框每日报告 << 时间框报告;
    return order;
}

void BoardForm::show_first_steps(bool shown) {
    标签填写提示->setVisible(shown);
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
    // The page's lower levels are the children of what it has chosen.
    类目选择->set_children(2, ui::to_qstring(lists.level2_parent), named_ids(lists.levels[1]));
    类目选择->set_children(3, ui::to_qstring(lists.level3_parent), named_ids(lists.levels[2]));
    // A list the page has not loaded (or has emptied) leaves the form's own.
    if (!lists.levels[0].empty())
        类目选择->set_groups({{QString(), named_ids(lists.levels[0])}});
    if (!lists.tabs.empty())
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
    类目选择->remember_names(kept_names(b.category_names));
    类目选择->show_ids(b.category_ids);
    if (b.tab_id && !b.tab_name.empty())
        爱逛街选择->remember_names({{ui::to_qstring(*b.tab_id), ui::to_qstring(b.tab_name)}});
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
    show_first_steps(b.name.empty());
    复选框每日报告->setChecked(b.report_minute.has_value());
    时间框报告->setTime(time_of(b.report_minute.value_or(kDefaultReportMinute)));
}

}  // namespace app
