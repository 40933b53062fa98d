// The board form's rows that hold more than one widget: goods with their
// names, the sort orders, the schedule and the group 通知.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "app/board_form.h"
#include "app/channel_checks.h"
#include "board/words.h"

namespace app {

namespace {

QHBoxLayout* tight_row(QWidget* parent = nullptr) {
    auto* row = new QHBoxLayout(parent);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    return row;
}

QTimeEdit* clock_box(QWidget* parent, const char* name, QTime time) {
    auto* box = new QTimeEdit(time, parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setDisplayFormat(QStringLiteral("HH:mm"));
    return box;
}

QSpinBox* count_box(QWidget* parent, const char* name, int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setRange(1, 1000);
    box->setValue(value);
    return box;
}

}  // namespace

QWidget* BoardForm::build_goods_row(QPlainTextEdit*& box, QLabel*& names, const char* box_name,
                                    const char* names_name, const QString& hint) {
    auto* row = new QWidget(this);
    QHBoxLayout* layout = tight_row(row);
    box = new QPlainTextEdit(row);
    box->setObjectName(QString::fromUtf8(box_name));
    box->setPlaceholderText(hint);
    box->setTabChangesFocus(true);
    box->setMaximumHeight(48);
    names = new QLabel(row);
    names->setObjectName(QString::fromUtf8(names_name));
    names->setTextFormat(Qt::PlainText);
    names->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    names->setStyleSheet(QStringLiteral("color: #505050"));
    // A long name is cut at the column's edge (the tooltip has it whole)
    // instead of widening the form.
    names->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    names->setMaximumHeight(48);
    layout->addWidget(box, 2);
    layout->addWidget(names, 3);
    connect(box, &QPlainTextEdit::textChanged, this, [this] { refresh_goods_names(); });
    return row;
}

QWidget* BoardForm::build_sort_row() {
    auto* row = new QWidget(this);
    QHBoxLayout* layout = tight_row(row);
    const char* names[] = {"复选框综合", "复选框销量", "复选框评分", "复选框价格低",
                           "复选框价格高"};
    for (std::size_t i = 0; i < sort_boxes.size(); ++i) {
        sort_boxes[i] =
            new QCheckBox(QString::fromUtf8(board::sort_word(ranking::kAllSorts[i])), row);
        sort_boxes[i]->setObjectName(QString::fromUtf8(names[i]));
        sort_boxes[i]->setChecked(true);
        layout->addWidget(sort_boxes[i]);
    }
    layout->addStretch();
    return row;
}

QWidget* BoardForm::build_schedule_rows() {
    auto* rows = new QWidget(this);
    auto* column = new QVBoxLayout(rows);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    QHBoxLayout* every = tight_row();
    复选框定时检查 = new QCheckBox(QStringLiteral("定时检查，每"), rows);
    复选框定时检查->setObjectName(QStringLiteral("复选框定时检查"));
    // Less than the minimum is refused with a message, never cut silently.
    数值框间隔分钟 = new QSpinBox(rows);
    数值框间隔分钟->setObjectName(QStringLiteral("数值框间隔分钟"));
    数值框间隔分钟->setRange(1, board::kMinutesPerDay);
    数值框间隔分钟->setValue(accepted_interval_);
    connect(数值框间隔分钟, &QSpinBox::editingFinished, this, [this] { interval_edited(); });
    every->addWidget(复选框定时检查);
    every->addWidget(数值框间隔分钟);
    every->addWidget(
        new QLabel(QStringLiteral("分钟（至少%1分钟）").arg(board::kMinIntervalMinutes), rows));
    every->addStretch();

    QHBoxLayout* hours = tight_row();
    时间框开始 = clock_box(rows, "时间框开始", QTime(8, 0));
    时间框结束 = clock_box(rows, "时间框结束", QTime(22, 0));
    hours->addWidget(new QLabel(QStringLiteral("从"), rows));
    hours->addWidget(时间框开始);
    hours->addWidget(new QLabel(QStringLiteral("到"), rows));
    hours->addWidget(时间框结束);
    hours->addSpacing(8);
    hours->addWidget(new QLabel(QStringLiteral("周"), rows));
    const char* names[] = {"复选框周一", "复选框周二", "复选框周三", "复选框周四",
                           "复选框周五", "复选框周六", "复选框周日"};
    const char* captions[] = {"一", "二", "三", "四", "五", "六", "日"};
    for (std::size_t i = 0; i < weekday_boxes.size(); ++i) {
        weekday_boxes[i] = new QCheckBox(QString::fromUtf8(captions[i]), rows);
        weekday_boxes[i]->setObjectName(QString::fromUtf8(names[i]));
        weekday_boxes[i]->setChecked(true);
        hours->addWidget(weekday_boxes[i]);
    }
    hours->addStretch();

    column->addLayout(every);
    column->addLayout(hours);
    return rows;
}

QGroupBox* BoardForm::build_notice_group() {
    分组框通知 = new QGroupBox(QStringLiteral("通知"), this);
    分组框通知->setObjectName(QStringLiteral("分组框通知"));
    auto* column = new QVBoxLayout(分组框通知);
    column->setContentsMargins(6, 4, 6, 4);
    column->setSpacing(2);

    const board::NoticeThresholds defaults;
    数值框变动名次 = count_box(分组框通知, "数值框变动名次", defaults.move_by);
    数值框前N名 = count_box(分组框通知, "数值框前N名", defaults.top_n);
    QHBoxLayout* moves = tight_row();
    moves->addWidget(new QLabel(QStringLiteral("本店名次变动至少"), 分组框通知));
    moves->addWidget(数值框变动名次);
    moves->addWidget(new QLabel(QStringLiteral("名，或进出前"), 分组框通知));
    moves->addWidget(数值框前N名);
    moves->addWidget(new QLabel(QStringLiteral("名时提醒"), 分组框通知));
    moves->addStretch();
    auto* always = new QLabel(QStringLiteral("进出前1000名、被竞品超过时也提醒"), 分组框通知);

    channel_checks = new ChannelChecks(分组框通知);
    channel_checks->setObjectName(QStringLiteral("通知通道"));

    QHBoxLayout* report = tight_row();
    复选框每日报告 = new QCheckBox(QStringLiteral("每日报告，时间"), 分组框通知);
    复选框每日报告->setObjectName(QStringLiteral("复选框每日报告"));
    时间框报告 = clock_box(分组框通知, "时间框报告",
                           QTime::fromMSecsSinceStartOfDay(kDefaultReportMinute * 60000));
    时间框报告->setEnabled(false);
    connect(复选框每日报告, &QCheckBox::toggled, 时间框报告, &QWidget::setEnabled);
    report->addWidget(复选框每日报告);
    report->addWidget(时间框报告);
    report->addStretch();

    column->addLayout(moves);
    column->addWidget(always);
    column->addWidget(channel_checks);
    column->addLayout(report);
    return 分组框通知;
}

void BoardForm::interval_edited() {
    const int typed = 数值框间隔分钟->value();
    if (typed >= board::kMinIntervalMinutes) {
        accepted_interval_ = typed;
        return;
    }
    数值框间隔分钟->setValue(accepted_interval_);
    tell(QStringLiteral("定时检查间隔不能少于%1分钟，已改回%2分钟")
             .arg(board::kMinIntervalMinutes)
             .arg(accepted_interval_));
}

}  // namespace app
