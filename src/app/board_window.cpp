#include "app/board_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <chrono>

#include "app/board_form.h"
#include "app/rank_chart.h"
#include "board/board_text.h"
#include "board/chart_series.h"
#include "board/check_plan.h"
#include "board/check_record.h"
#include "history/csv_export.h"
#include "net/hosts.h"
#include "ranking/goods_info.h"
#include "text/codepage.h"
#include "text/primitives.h"
#include "ui/widget_text.h"

namespace app {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromUtf8(name));
    return b;
}

QString from_utf8(const std::string& text) {
    return QString::fromStdString(text);
}

std::int64_t start_of_day_ms(const QDate& date) {
    return QDateTime(date, QTime(0, 0)).toMSecsSinceEpoch();
}

}  // namespace

BoardWindow::BoardWindow(std::shared_ptr<history::Store> store, board::BoardSettings settings,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), store_(std::move(store)), settings_(settings) {
    setObjectName(QStringLiteral("看板窗口"));
    setWindowTitle(QStringLiteral("排名看板"));
    resize(1000, 820);
    build();
    wire();
    refresh_board_names();
    prepare_board(form->board());
}

BoardWindow::~BoardWindow() {
    // Stops and joins the run first: its queued reports die with this window.
    run_.reset();
}

void BoardWindow::build() {
    auto* top = new QHBoxLayout();
    组合框看板 = new QComboBox(this);
    组合框看板->setObjectName(QStringLiteral("组合框看板"));
    组合框看板->setMinimumWidth(180);
    按钮保存看板 = button(this, "按钮保存看板", QStringLiteral("保存看板"));
    按钮删除看板 = button(this, "按钮删除看板", QStringLiteral("删除看板"));
    top->addWidget(new QLabel(QStringLiteral("已保存的看板："), this));
    top->addWidget(组合框看板);
    top->addWidget(按钮保存看板);
    top->addWidget(按钮删除看板);
    top->addStretch();

    form = new BoardForm(this);

    auto* actions = new QHBoxLayout();
    按钮开始检查 = button(this, "按钮开始检查", QStringLiteral("开始检查"));
    按钮停止 = button(this, "按钮停止", QStringLiteral("停止"));
    按钮重查失败 = button(this, "按钮重查失败", QStringLiteral("重查失败"));
    按钮导出看板 = button(this, "按钮导出看板", QStringLiteral("导出看板CSV"));
    按钮导出历史 = button(this, "按钮导出历史", QStringLiteral("导出历史CSV"));
    日期从 = new QDateEdit(QDate::currentDate().addDays(-7), this);
    日期到 = new QDateEdit(QDate::currentDate(), this);
    日期从->setObjectName(QStringLiteral("日期从"));
    日期到->setObjectName(QStringLiteral("日期到"));
    日期从->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    日期到->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    日期从->setCalendarPopup(true);
    日期到->setCalendarPopup(true);
    组合框显示 = new QComboBox(this);
    组合框显示->setObjectName(QStringLiteral("组合框显示"));
    按钮停止->setEnabled(false);
    for (QWidget* w : {static_cast<QWidget*>(按钮开始检查), static_cast<QWidget*>(按钮停止),
                       static_cast<QWidget*>(按钮重查失败)})
        actions->addWidget(w);
    actions->addSpacing(16);
    actions->addWidget(new QLabel(QStringLiteral("显示："), this));
    actions->addWidget(组合框显示);
    actions->addStretch();
    actions->addWidget(按钮导出看板);
    actions->addWidget(日期从);
    actions->addWidget(new QLabel(QStringLiteral("至"), this));
    actions->addWidget(日期到);
    actions->addWidget(按钮导出历史);

    表格排名 = new QTableWidget(this);
    表格排名->setObjectName(QStringLiteral("表格排名"));
    表格排名->setEditTriggers(QAbstractItemView::NoEditTriggers);
    表格排名->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    标签看板状态 = new QLabel(this);
    标签看板状态->setObjectName(QStringLiteral("标签看板状态"));
    标签看板状态->setTextFormat(Qt::PlainText);
    列表通知 = new QListWidget(this);
    列表通知->setObjectName(QStringLiteral("列表通知"));
    列表通知->setMaximumHeight(80);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(form);
    layout->addLayout(actions);
    layout->addWidget(表格排名, 1);
    layout->addWidget(标签看板状态);
    layout->addWidget(new QLabel(QStringLiteral("变动通知："), this));
    layout->addWidget(列表通知);
}

void BoardWindow::wire() {
    connect(按钮开始检查, &QPushButton::clicked, this, [this] { start_checks(); });
    connect(按钮停止, &QPushButton::clicked, this, [this] { stop_checks(); });
    connect(按钮重查失败, &QPushButton::clicked, this, [this] { recheck_failed(); });
    connect(按钮保存看板, &QPushButton::clicked, this, [this] { save_board(); });
    connect(按钮删除看板, &QPushButton::clicked, this, [this] {
        if (store_ && 组合框看板->currentIndex() >= 0)
            (void)store_->delete_board(组合框看板->currentText().toStdString());
        refresh_board_names();
    });
    connect(组合框看板, &QComboBox::activated, this,
            [this] { open_board(text::utf8_to_gbk(组合框看板->currentText().toStdString())); });
    connect(组合框显示, &QComboBox::activated, this, [this] { refill_grid(); });
    connect(表格排名, &QTableWidget::cellClicked, this,
            [this](int row, int column) { show_chart(row, column); });
    // A notice opens the chart of the cell it speaks of.
    connect(列表通知, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const std::string wanted = item->data(Qt::UserRole).toString().toStdString();
        for (std::size_t r = 0; r < layout_.cells.size(); ++r) {
            for (std::size_t c = 0; c < layout_.cells[r].size(); ++c) {
                const auto& key = layout_.cells[r][c];
                if (key && board::cell_key_text(*key) == wanted)
                    show_chart(static_cast<int>(r), static_cast<int>(c));
            }
        }
    });
    connect(按钮导出看板, &QPushButton::clicked, this,
            [this] { export_to_file(board_csv(), QStringLiteral("看板.csv")); });
    connect(按钮导出历史, &QPushButton::clicked, this, [this] {
        export_to_file(history_csv(start_of_day_ms(日期从->date()),
                                   start_of_day_ms(日期到->date().addDays(1))),
                       QStringLiteral("历史.csv"));
    });
}

void BoardWindow::tell(const QString& message) {
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

void BoardWindow::refresh_board_names() {
    组合框看板->clear();
    if (!store_)
        return;
    if (auto names = store_->board_names()) {
        for (const std::string& name : names.value())
            组合框看板->addItem(from_utf8(name));
    }
    组合框看板->setCurrentIndex(-1);
}

bool BoardWindow::open_board(const std::string& name_gbk) {
    if (!store_ || running())
        return false;
    const auto saved = store_->load_board(text::gbk_to_utf8(name_gbk));
    if (!saved)
        return false;
    std::string error;
    const auto board = board::board_from_text(saved.value().definition, &error);
    if (!board) {
        tell(QStringLiteral("看板无法读取：") + from_utf8(error));
        return false;
    }
    form->show_board(*board);
    prepare_board(*board);
    return true;
}

bool BoardWindow::save_board() {
    board::Board b = form->board();
    if (b.name.empty()) {
        tell(QStringLiteral("请填写看板名称"));
        return false;
    }
    if (!store_) {
        tell(QStringLiteral("历史文件无法打开，看板不能保存"));
        return false;
    }
    const auto now = QDateTime::currentMSecsSinceEpoch();
    const auto saved = store_->save_board(text::gbk_to_utf8(b.name), board::board_to_text(b), now);
    if (!saved) {
        tell(from_utf8(saved.error().message));
        return false;
    }
    refresh_board_names();
    组合框看板->setCurrentText(ui::to_qstring(b.name));
    return true;
}

// Loads the board's stored checks and lays out its grid.
void BoardWindow::prepare_board(const board::Board& b) {
    board_ = b;
    layout_ = board::grid_layout(board_);
    log_ = std::make_unique<board::BoardLog>(text::gbk_to_utf8(board_.name), store_.get());
    const std::string problem = log_->load();
    if (!problem.empty())
        标签看板状态->setText(from_utf8(problem));
    refresh_view_choices();
    refill_grid();
    update_status();
}

void BoardWindow::refresh_view_choices() {
    组合框显示->clear();
    组合框显示->addItem(QStringLiteral("本店排名"));
    for (const auto& c : board_.competitors) {
        const QString id = ui::to_qstring(c.id.empty() ? c.link : c.id);
        组合框显示->addItem(QStringLiteral("竞品 %1 排名").arg(id));
        组合框显示->addItem(QStringLiteral("本店 − 竞品 %1").arg(id));
    }
    组合框显示->setCurrentIndex(0);
}

// Goods links become Goods IDs (and every goods item gets its names) from
// its goods page; false when a goods page gives no Goods ID.
bool BoardWindow::resolve_goods(board::Board& b) {
    auto resolve = [this](board::GoodsItem& item) {
        const std::string typed = item.link.empty() ? item.id : item.link;
        if (const auto known = resolved_.find(typed); known != resolved_.end()) {
            item = known->second;
            return true;
        }
        const ranking::GoodsInfo info = ranking::fetch_goods_info(typed);
        const std::string id = text::trim(info.goods_id);
        if (id.empty() && !item.id.empty())
            return true;  // a typed id needs no goods page; only its names are missing
        if (id.empty()) {
            tell(QStringLiteral("未取得商品ID：") + ui::to_qstring(typed));
            return false;
        }
        item.id = id;
        item.name = info.goods_name;
        item.shop = info.shop_name;
        resolved_[typed] = item;
        return true;
    };
    for (auto* list : {&b.own, &b.competitors}) {
        for (board::GoodsItem& item : *list) {
            if (!resolve(item))
                return false;
        }
    }
    return true;
}

bool BoardWindow::start_checks(bool scheduled) {
    if (running())
        return false;
    board::Board b = form->board();
    if (!resolve_goods(b))
        return false;
    if (const auto faults = board::validate(b); !faults.empty()) {
        if (!scheduled)
            tell(ui::to_qstring(faults.front()));
        return false;
    }
    if (b != board_ || !log_)
        prepare_board(b);
    return begin(board::plan_checks(board_));
}

bool BoardWindow::recheck_failed() {
    if (running() || reports_.empty())
        return false;
    board::CheckPlan again = board::recheck_plan(plan_, reports_);
    if (again.listings.empty())
        return false;
    return begin(std::move(again));
}

bool BoardWindow::begin(board::CheckPlan plan) {
    if (store_) {
        const std::filesystem::path dir = std::filesystem::path(store_->path()).parent_path();
        lock_.emplace(board::BoardLock::try_acquire(dir, text::gbk_to_utf8(board_.name)));
        if (!lock_->held()) {
            tell(from_utf8(lock_->message()));
            lock_.reset();
            return false;
        }
    }
    plan_ = std::move(plan);
    reports_.clear();
    run_checks_.clear();
    run_total_ = plan_.listings.size();
    QPointer<BoardWindow> self(this);
    run_ = std::make_unique<board::BoardRun>(plan_, net::hosts(), settings_,
                                             [self](const board::CheckReport& report) {
                                                 // On the run's control thread: hand the report to
                                                 // the window's thread.
                                                 QMetaObject::invokeMethod(
                                                     self.data(),
                                                     [self, report] {
                                                         if (self)
                                                             self->take_report(report);
                                                     },
                                                     Qt::QueuedConnection);
                                             });
    if (!run_->start()) {
        run_.reset();
        lock_.reset();
        tell(QStringLiteral("检查无法开始"));
        return false;
    }
    按钮开始检查->setEnabled(false);
    按钮重查失败->setEnabled(false);
    按钮停止->setEnabled(true);
    update_status();
    return true;
}

void BoardWindow::take_report(const board::CheckReport& report) {
    if (!run_)
        return;  // stopped meanwhile: nothing half-written
    reports_.push_back(report);
    history::Check check = board::check_record(report, plan_.goods_ids, board_.own.size(),
                                               text::gbk_to_utf8(board_.name));
    const std::string problem = log_->add(check);
    if (!problem.empty())
        标签看板状态->setText(from_utf8(problem));
    run_checks_.push_back(std::move(check));
    const board::CellKey key = board::cell_key(report.listing);
    if (chart_ != nullptr && chart_window_->isVisible() && chart_key_ == key)
        chart_->set_series(board::chart_series(log_->cell(key)));  // the new point shows at once
    for (std::size_t r = 0; r < layout_.cells.size(); ++r) {
        for (std::size_t c = 0; c < layout_.cells[r].size(); ++c) {
            if (layout_.cells[r][c] == key)
                fill_cell(static_cast<int>(r), static_cast<int>(c));
        }
    }
    update_status();
    if (reports_.size() >= run_total_)
        run_ended();
}

void BoardWindow::stop_checks() {
    if (!run_)
        return;
    run_->stop();
    run_ended();
}

void BoardWindow::run_ended() {
    run_.reset();
    lock_.reset();
    按钮开始检查->setEnabled(true);
    按钮重查失败->setEnabled(true);
    按钮停止->setEnabled(false);
    const std::vector<history::Notice> notices = log_->run_notices(run_checks_, board_.notices);
    for (const history::Notice& n : notices) {
        if (store_)
            (void)store_->add_notice(n);
        const QString when = QDateTime::fromMSecsSinceEpoch(n.time_ms).toString("MM-dd HH:mm");
        auto* item = new QListWidgetItem(when + QStringLiteral("  ") + from_utf8(n.message));
        item->setData(Qt::UserRole,
                      QString::fromStdString(board::cell_key_text({n.listing, n.key, n.sort})));
        列表通知->insertItem(0, item);
    }
    if (on_notices && !notices.empty())
        on_notices(notices);
    update_status();
    if (on_run_end)
        on_run_end();
}

void BoardWindow::refill_grid() {
    表格排名->clear();
    表格排名->setRowCount(static_cast<int>(layout_.rows.size()));
    表格排名->setColumnCount(static_cast<int>(std::max<std::size_t>(1, layout_.columns.size())));
    QStringList columns;
    for (ranking::Sort sort : layout_.columns)
        columns << from_utf8(board::sort_caption(sort));
    表格排名->setHorizontalHeaderLabels(columns);
    QStringList rows;
    for (const std::string& row : layout_.rows)
        rows << from_utf8(row);
    表格排名->setVerticalHeaderLabels(rows);
    for (int r = 0; r < 表格排名->rowCount(); ++r) {
        for (int c = 0; c < 表格排名->columnCount(); ++c)
            fill_cell(r, c);
    }
}

void BoardWindow::fill_cell(int row, int column) {
    const auto& key =
        layout_.cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
    if (!key || !log_)
        return;
    const int choice = std::max(0, 组合框显示->currentIndex());
    board::GridMode mode = board::GridMode::own;
    std::string rival;
    if (choice > 0) {
        const auto& c = board_.competitors.at(static_cast<std::size_t>((choice - 1) / 2));
        rival = c.id;
        mode = (choice - 1) % 2 == 0 ? board::GridMode::competitor : board::GridMode::difference;
    }
    const std::string own = board_.own.empty() ? std::string() : board_.own.front().id;
    const board::CellView view = board::cell_view(log_->cell(*key), own, rival, mode);
    auto* item = new QTableWidgetItem(from_utf8(view.text));
    item->setToolTip(from_utf8(view.tooltip));
    if (view.stale)
        item->setForeground(QColor(150, 150, 150));
    表格排名->setItem(row, column, item);
}

void BoardWindow::update_status() {
    QString text = QStringLiteral("历史中共有 %1 次检查").arg(log_ ? log_->size() : 0);
    if (store_) {
        if (const auto all = store_->count_checks())
            text = QStringLiteral("历史中共有 %1 次检查（本看板 %2 次）")
                       .arg(all.value())
                       .arg(log_ ? log_->size() : 0);
    } else {
        text += QStringLiteral("（历史文件无法打开，结果不会保存）");
    }
    if (running())
        text += QStringLiteral("  · 检查中 %1/%2").arg(reports_.size()).arg(run_total_);
    标签看板状态->setText(text);
}

std::string BoardWindow::board_csv() const {
    std::vector<history::Check> checks;
    if (!log_)
        return history::to_csv(checks);
    for (const auto& row : layout_.cells) {
        for (const auto& key : row) {
            if (key && !log_->cell(*key).empty())
                checks.push_back(log_->cell(*key).back());
        }
    }
    return history::to_csv(checks);
}

std::string BoardWindow::history_csv(std::int64_t from_ms, std::int64_t to_ms) const {
    std::vector<history::Check> checks;
    if (store_) {
        history::CheckFilter filter;
        filter.board = text::gbk_to_utf8(board_.name);
        filter.since_ms = from_ms;
        filter.until_ms = to_ms;
        if (auto found = store_->checks(filter))
            checks = std::move(found).value();
    }
    return history::to_csv(checks);
}

void BoardWindow::export_to_file(const std::string& csv, const QString& suggested) {
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("导出CSV"), suggested,
                                                      QStringLiteral("CSV 文件 (*.csv)"));
    if (file.isEmpty())
        return;
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(csv.data(), static_cast<qint64>(csv.size())) != static_cast<qint64>(csv.size())) {
        tell(QStringLiteral("文件无法写入：") + file);
    }
}

RankChart* BoardWindow::show_chart(int row, int column) {
    if (!log_ || row < 0 || column < 0 || static_cast<std::size_t>(row) >= layout_.cells.size())
        return nullptr;
    const auto& key =
        layout_.cells[static_cast<std::size_t>(row)].at(static_cast<std::size_t>(column));
    if (!key)
        return nullptr;
    if (chart_window_ == nullptr) {
        chart_window_ = new QWidget(this, Qt::Window);
        chart_window_->setObjectName(QStringLiteral("走势窗口"));
        chart_window_->resize(720, 420);
        auto* layout = new QVBoxLayout(chart_window_);
        auto* ranges = new QHBoxLayout();
        chart_ = new RankChart(chart_window_);
        const std::pair<const char*, board::ChartRange> choices[] = {
            {"24 小时", board::ChartRange::day},
            {"7 天", board::ChartRange::week},
            {"30 天", board::ChartRange::month},
            {"全部", board::ChartRange::all}};
        for (const auto& [caption, range] : choices) {
            auto* b = new QPushButton(QString::fromUtf8(caption), chart_window_);
            connect(b, &QPushButton::clicked, chart_,
                    [chart = chart_, range = range] { chart->set_range(range); });
            ranges->addWidget(b);
        }
        ranges->addStretch();
        layout->addLayout(ranges);
        layout->addWidget(chart_, 1);
    }
    chart_key_ = *key;
    chart_->set_series(board::chart_series(log_->cell(*key)));
    chart_window_->setWindowTitle(QStringLiteral("排名走势：") +
                                  from_utf8(layout_.rows[static_cast<std::size_t>(row)]));
    chart_window_->show();
    chart_window_->raise();
    return chart_;
}

void BoardWindow::closeEvent(QCloseEvent* event) {
    // The board window only hides: a schedule may still use it.
    event->accept();
}

}  // namespace app
