// The board window's widgets and their places: the board's name and its
// buttons, the folding definition, the actions, the grid beside the notices,
// and the keys.
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/board_form.h"
#include "app/board_window.h"

namespace app {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromUtf8(name));
    return b;
}

}  // namespace

void BoardWindow::build() {
    form = new BoardForm();
    面板看板定义 = new QScrollArea(this);
    面板看板定义->setObjectName(QStringLiteral("面板看板定义"));
    面板看板定义->setWidget(form);
    面板看板定义->setWidgetResizable(true);
    面板看板定义->setFrameShape(QFrame::NoFrame);

    标签运行摘要 = new QLabel(this);
    标签运行摘要->setObjectName(QStringLiteral("标签运行摘要"));
    标签运行摘要->setTextFormat(Qt::PlainText);
    标签运行摘要->setWordWrap(true);
    表格排名 = new QTableWidget(this);
    表格排名->setObjectName(QStringLiteral("表格排名"));
    表格排名->setEditTriggers(QAbstractItemView::NoEditTriggers);
    表格排名->setSelectionMode(QAbstractItemView::SingleSelection);
    表格排名->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    表格排名->horizontalHeader()->setSectionsClickable(true);
    表格排名->horizontalHeader()->setToolTip(
        QStringLiteral("点击列标题按名次排序，再点一次倒序，第三次恢复看板顺序"));
    表格排名->installEventFilter(this);  // the row header follows the grid's width
    标签看板状态 = new QLabel(this);
    标签看板状态->setObjectName(QStringLiteral("标签看板状态"));
    标签看板状态->setTextFormat(Qt::PlainText);
    标签看板状态->setWordWrap(true);
    进度条看板 = new QProgressBar(this);
    进度条看板->setObjectName(QStringLiteral("进度条看板"));
    进度条看板->setMinimumWidth(280);
    进度条看板->setMaximumHeight(标签看板状态->fontMetrics().height() + 6);
    进度条看板->setTextVisible(true);
    进度条看板->hide();
    auto* status_row = new QHBoxLayout();
    status_row->setSpacing(8);
    status_row->addWidget(标签看板状态, 1);
    status_row->addWidget(进度条看板);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setChildrenCollapsible(false);
    split->addWidget(表格排名);
    split->addWidget(build_notice_panel());
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    layout->addWidget(build_top_row());
    layout->addWidget(面板看板定义);  // as tall as the form, the grid takes the rest
    layout->addWidget(build_action_row());
    layout->addWidget(标签运行摘要);
    layout->addWidget(split, 1);
    layout->addLayout(status_row);
    // Enter on a focused button presses it, as Space does.
    for (QAbstractButton* b : findChildren<QAbstractButton*>()) {
        if (qobject_cast<QPushButton*>(b) != nullptr || qobject_cast<QToolButton*>(b) != nullptr)
            b->installEventFilter(this);
    }
}

QWidget* BoardWindow::build_top_row() {
    auto* row = new QWidget(this);
    auto* top = new QHBoxLayout(row);
    top->setContentsMargins(0, 0, 0, 0);
    组合框看板 = new QComboBox(row);
    组合框看板->setObjectName(QStringLiteral("组合框看板"));
    组合框看板->setMinimumWidth(180);
    按钮编辑看板 = button(row, "按钮编辑看板", QStringLiteral("编辑看板"));
    按钮编辑看板->setCheckable(true);
    按钮保存看板 = button(row, "按钮保存看板", QStringLiteral("保存看板"));
    按钮删除看板 = button(row, "按钮删除看板", QStringLiteral("删除看板"));
    top->addWidget(new QLabel(QStringLiteral("已保存的看板："), row));
    top->addWidget(组合框看板);
    top->addWidget(按钮编辑看板);
    top->addWidget(按钮保存看板);
    // Deleting stands well apart from saving: one is never clicked for the other.
    top->addStretch();
    top->addWidget(按钮删除看板);
    return row;
}

QWidget* BoardWindow::build_action_row() {
    auto* row = new QWidget(this);
    auto* actions = new QHBoxLayout(row);
    actions->setContentsMargins(0, 0, 0, 0);
    按钮开始检查 = button(row, "按钮开始检查", QStringLiteral("开始检查"));
    按钮开始检查->setToolTip(QStringLiteral("Ctrl+Enter"));
    按钮停止 = button(row, "按钮停止", QStringLiteral("停止"));
    按钮重查失败 = button(row, "按钮重查失败", QStringLiteral("重查失败"));
    按钮导出看板 = button(row, "按钮导出看板", QStringLiteral("导出看板"));
    按钮导出历史 = button(row, "按钮导出历史", QStringLiteral("导出历史"));
    日期从 = new QDateEdit(QDate::currentDate().addDays(-7), row);
    日期到 = new QDateEdit(QDate::currentDate(), row);
    日期从->setObjectName(QStringLiteral("日期从"));
    日期到->setObjectName(QStringLiteral("日期到"));
    for (QDateEdit* date : {日期从, 日期到}) {
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        date->setCalendarPopup(true);
    }
    组合框显示 = new QComboBox(row);
    组合框显示->setObjectName(QStringLiteral("组合框显示"));
    // Goods names can be long: the choice keeps its width, the list shows them whole.
    组合框显示->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    组合框显示->setMinimumContentsLength(16);
    组合框筛选 = new QComboBox(row);
    组合框筛选->setObjectName(QStringLiteral("组合框筛选"));
    组合框筛选->addItems(
        {QStringLiteral("全部"), QStringLiteral("只看下降"), QStringLiteral("只看失败")});
    按钮停止->setEnabled(false);
    for (QPushButton* b : {按钮开始检查, 按钮停止, 按钮重查失败})
        actions->addWidget(b);
    actions->addSpacing(12);
    actions->addWidget(new QLabel(QStringLiteral("显示："), row));
    actions->addWidget(组合框显示);
    actions->addWidget(组合框筛选);
    actions->addStretch();
    actions->addWidget(按钮导出看板);
    actions->addWidget(日期从);
    actions->addWidget(new QLabel(QStringLiteral("至"), row));
    actions->addWidget(日期到);
    actions->addWidget(按钮导出历史);
    return row;
}

QWidget* BoardWindow::build_notice_panel() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    auto* head = new QHBoxLayout();
    编辑框通知筛选 = new QLineEdit(panel);
    编辑框通知筛选->setObjectName(QStringLiteral("编辑框通知筛选"));
    编辑框通知筛选->setPlaceholderText(QStringLiteral("按关键词筛选"));
    编辑框通知筛选->setClearButtonEnabled(true);
    按钮导出通知 = button(panel, "按钮导出通知", QStringLiteral("导出通知"));
    head->addWidget(new QLabel(QStringLiteral("变动通知："), panel));
    head->addWidget(编辑框通知筛选, 1);
    head->addWidget(按钮导出通知);
    列表通知 = new QListWidget(panel);
    列表通知->setObjectName(QStringLiteral("列表通知"));
    列表通知->setWordWrap(true);
    column->addLayout(head);
    column->addWidget(列表通知, 1);
    return panel;
}

void BoardWindow::wire_keys() {
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter}) {
        auto* run = new QShortcut(QKeySequence(key), this);
        connect(run, &QShortcut::activated, this, [this] { start_checks(); });
    }
    auto* close_window = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close_window, &QShortcut::activated, this, &QWidget::close);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* chart = new QShortcut(QKeySequence(key), 表格排名);
        chart->setContext(Qt::WidgetShortcut);
        connect(chart, &QShortcut::activated, this,
                [this] { show_chart(表格排名->currentRow(), 表格排名->currentColumn()); });
    }
}

void BoardWindow::show_definition(bool shown) {
    面板看板定义->setVisible(shown);
    const QSignalBlocker quiet(按钮编辑看板);
    按钮编辑看板->setChecked(shown);
    按钮编辑看板->setText(shown ? QStringLiteral("收起编辑") : QStringLiteral("编辑看板"));
    // Typing goes where the seller looks, never into a field folded away.
    if (QWidget* focused = focusWidget(); shown || (focused != nullptr && !focused->isVisible()))
        focus_first_field();
}

void BoardWindow::focus_first_field() {
    if (面板看板定义->isVisibleTo(this)) {
        form->编辑框看板名称->setFocus(Qt::OtherFocusReason);
        form->编辑框看板名称->selectAll();
    } else {
        表格排名->setFocus(Qt::OtherFocusReason);
        if (表格排名->currentRow() < 0 && 表格排名->rowCount() > 0)
            表格排名->setCurrentCell(0, 0);
    }
}

// Tab follows the screen: the board's name and buttons, the definition top
// to bottom and left column before right, the actions, the grid, the notices.
void BoardWindow::apply_tab_order() {
    QList<QWidget*> order{组合框看板, 按钮编辑看板, 按钮保存看板, 按钮删除看板};
    order << form->fields_in_order();
    order << 按钮开始检查 << 按钮停止 << 按钮重查失败 << 组合框显示 << 组合框筛选 << 按钮导出看板
          << 日期从 << 日期到 << 按钮导出历史 << 表格排名 << 编辑框通知筛选 << 按钮导出通知
          << 列表通知;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

}  // namespace app
