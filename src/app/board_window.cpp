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
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <sstream>

#include "app/board_form.h"
#include "app/rank_chart.h"
#include "app/rank_chart_view.h"
#include "board/board_text.h"
#include "board/chart_labels.h"
#include "board/chart_series.h"
#include "board/check_csv.h"
#include "board/check_plan.h"
#include "board/check_record.h"
#include "board/goods_names.h"
#include "board/grid_csv.h"
#include "board/run_status_text.h"
#include "net/hosts.h"
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

// How often the window looks for checks another process added.
constexpr int kPollMs = 2000;
// How often a run's pace and pauses are shown anew.
constexpr int kStatusMs = 500;
// Notices shown when a board opens; older ones stay in the history.
constexpr std::size_t kNoticesShown = 200;
// Beyond this many points a series is thinned to its days (last month kept whole).
constexpr std::size_t kChartPoints = 2000;

std::filesystem::path history_path(const history::Store& store) {
    const std::string& utf8 = store.path();
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool nothing_typed(const board::Board& b) {
    return b.name.empty() && b.own.empty() && b.competitors.empty() && b.keywords.empty() &&
           b.category_ids.empty() && !b.tab_id && !b.new_goods;
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
    status_timer_ = new QTimer(this);
    status_timer_->setInterval(kStatusMs);
    connect(status_timer_, &QTimer::timeout, this, [this] { update_status(); });
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this] { poll_history(); });
    poll->start(kPollMs);
}

BoardWindow::~BoardWindow() {
    // Stops and joins the run first: its queued events die with this window.
    session_.reset();
}

// The session's events, handed to the window's thread.
class BoardWindow::Events final : public board::SessionObserver {
  public:
    explicit Events(BoardWindow* window) : window_(window) {}

    void goods_confirmed(const std::vector<board::ConfirmedGoods>& goods) override {
        post([goods](BoardWindow& w) { w.take_goods(goods); });
    }
    void check_recorded(const board::CheckReport&, const history::Check& check,
                        const std::vector<history::Notice>& notices) override {
        post([check, notices](BoardWindow& w) { w.take_check(check, notices); });
    }
    void ended(const board::SessionSummary& summary) override {
        post([summary](BoardWindow& w) { w.run_ended(summary); });
    }

  private:
    template <typename F>
    void post(F f) {
        QPointer<BoardWindow> window = window_;
        QMetaObject::invokeMethod(
            window_,
            [window, f = std::move(f)] {
                if (window)
                    f(*window);
            },
            Qt::QueuedConnection);
    }

    BoardWindow* window_;
};

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
    // The board exports as the grid is laid out or as one row per goods item.
    auto* board_export = new QMenu(按钮导出看板);
    board_export->setObjectName(QStringLiteral("菜单导出看板"));
    connect(board_export->addAction(QStringLiteral("表格布局")), &QAction::triggered, this,
            [this] { export_to_file(board_grid_csv(), export_name("表格")); });
    connect(board_export->addAction(QStringLiteral("明细")), &QAction::triggered, this,
            [this] { export_to_file(board_csv(), export_name("明细")); });
    按钮导出看板->setMenu(board_export);
    connect(按钮导出历史, &QPushButton::clicked, this, [this] {
        const QString from = 日期从->date().toString(QStringLiteral("yyyy-MM-dd"));
        const QString to = 日期到->date().toString(QStringLiteral("yyyy-MM-dd"));
        const std::string csv = history_csv(start_of_day_ms(日期从->date()),
                                            start_of_day_ms(日期到->date().addDays(1)));
        // A file with the header only would read as "nothing was checked".
        if (csv.empty())
            tell(QStringLiteral("历史记录无法读取，未导出。"));
        else
            export_to_file(csv, export_name("历史", from == to ? from : from + "至" + to));
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
    form->show_goods_note({});
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

// Reads what the grid needs of the board's history and lays out its grid.
void BoardWindow::prepare_board(const board::Board& b) {
    if (b.name != board_.name)
        stopped_.clear();
    board_ = b;
    layout_ = board::grid_layout(board_);
    log_ = std::make_unique<board::BoardLog>(text::gbk_to_utf8(board_.name), store_.get());
    if (store_) {
        if (const auto version = store_->data_version())
            seen_version_ = version.value();
    }
    const std::string problem = log_->load(board::board_cells(layout_));
    refresh_view_choices();
    refill_grid();
    load_notices();
    update_status();
    if (!problem.empty())
        标签看板状态->setText(from_utf8(problem));
}

void BoardWindow::add_notice_item(const history::Notice& n, bool newest_first) {
    const QString when = QDateTime::fromMSecsSinceEpoch(n.time_ms).toString("MM-dd HH:mm");
    auto* item = new QListWidgetItem(when + QStringLiteral("  ") + from_utf8(n.message));
    item->setData(Qt::UserRole,
                  QString::fromStdString(board::cell_key_text({n.listing, n.key, n.sort})));
    if (newest_first)
        列表通知->insertItem(0, item);
    else
        列表通知->addItem(item);
}

// The board's stored notices, newest first: they outlive the window.
void BoardWindow::load_notices() {
    列表通知->clear();
    if (!store_ || board_.name.empty())
        return;
    const auto stored = store_->notices(text::gbk_to_utf8(board_.name), {}, kNoticesShown);
    if (!stored)
        return;
    for (auto it = stored.value().rbegin(); it != stored.value().rend(); ++it)
        add_notice_item(*it, false);
}

void BoardWindow::poll_history() {
    if (!store_ || running())
        return;  // a run's own checks arrive as events
    const auto version = store_->data_version();
    if (!version || version.value() == seen_version_)
        return;
    seen_version_ = version.value();
    const std::string problem = log_->load(board::board_cells(layout_));
    refill_grid();
    load_notices();
    update_status();
    if (!problem.empty())
        标签看板状态->setText(from_utf8(problem));
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

bool BoardWindow::start_checks() {
    if (running())
        return false;
    const board::Board b = form->board();
    QStringList faults = form->problems();
    for (const std::string& fault : board::validate(b))
        faults << ui::to_qstring(fault);
    if (!faults.isEmpty()) {
        tell(faults.front());
        return false;
    }
    if (b != board_ || !log_)
        prepare_board(b);
    const std::string refused = begin(b, std::nullopt);
    if (!refused.empty())
        tell(from_utf8(refused));
    return refused.empty();
}

std::string BoardWindow::run_saved(const board::Board& b) {
    if (running())
        return "另一个看板正在检查";
    if (const auto faults = board::validate(b); !faults.empty())
        return text::gbk_to_utf8(faults.front());
    // The grid follows the run when it shows that board or nothing yet; the
    // form is filled only while it is blank, so nothing typed is lost.
    if (nothing_typed(form->board())) {
        form->show_board(b);
        prepare_board(b);
    } else if (board_.name == b.name && board_ != b) {
        prepare_board(b);
    }
    return begin(b, std::nullopt);
}

bool BoardWindow::recheck_failed() {
    if (running() || !log_)
        return false;
    std::vector<ranking::Listing> again = board::listings_to_recheck(board_, *log_);
    if (again.empty()) {
        tell(QStringLiteral("没有失败的检查"));
        return false;
    }
    const std::string refused = begin(board_, std::move(again));
    if (!refused.empty())
        tell(from_utf8(refused));
    return refused.empty();
}

const board::Board* BoardWindow::running_board() const {
    return session_ ? &session_->board() : nullptr;
}

// The run is of the board on screen.
bool BoardWindow::showing_run() const {
    return session_ && session_->board().name == board_.name;
}

std::string BoardWindow::begin(const board::Board& b,
                               std::optional<std::vector<ranking::Listing>> only) {
    board::SessionConfig config;
    config.board = b;
    config.history_file = store_ ? history_path(*store_) : std::filesystem::path();
    config.hosts = net::hosts();
    config.settings = current_settings ? current_settings() : settings_;
    const std::vector<ranking::Listing> listings = only ? *only : board::plan_checks(b).listings;
    config.only = std::move(only);
    events_ = std::make_unique<Events>(this);
    auto session = std::make_unique<board::Session>(std::move(config), events_.get());
    if (make_notice_sink)
        session->add_sink(make_notice_sink());
    if (std::string refused = session->start(); !refused.empty())
        return refused;
    session_ = std::move(session);
    waiting_.clear();
    for (const ranking::Listing& listing : listings)
        waiting_.insert(board::cell_key(listing));
    status_timer_->start();
    run_done_ = 0;
    run_total_ = listings.size();
    按钮开始检查->setEnabled(false);
    按钮重查失败->setEnabled(false);
    按钮停止->setEnabled(true);
    update_status();
    return {};
}

void BoardWindow::take_goods(const std::vector<board::ConfirmedGoods>& goods) {
    if (!showing_run())
        return;
    QStringList missing;
    for (const board::ConfirmedGoods& g : goods) {
        if (g.failure)
            missing << ui::to_qstring(g.item.link.empty() ? g.item.id : g.item.link) +
                           QStringLiteral("：") + ui::to_qstring(ranking::reason_text(*g.failure));
    }
    form->show_goods_note(missing.join(QStringLiteral("；")));
}

void BoardWindow::take_check(const history::Check& check,
                             const std::vector<history::Notice>& notices) {
    ++run_done_;
    if (showing_run() && log_) {
        const board::CellKey key = board::cell_key(check);
        waiting_.erase(key);
        stopped_.erase(key);
        log_->keep(check);
        if (chart_ != nullptr && chart_window_->isVisible() && chart_key_ == key)
            show_chart_of(key);  // the new point shows at once
        for (std::size_t r = 0; r < layout_.cells.size(); ++r) {
            for (std::size_t c = 0; c < layout_.cells[r].size(); ++c) {
                if (layout_.cells[r][c] == key)
                    fill_cell(static_cast<int>(r), static_cast<int>(c));
            }
        }
        for (const history::Notice& n : notices)
            add_notice_item(n, true);
    }
    update_status();
}

void BoardWindow::stop_checks() {
    if (session_)
        session_->stop();
}

void BoardWindow::run_ended(const board::SessionSummary& summary) {
    if (!session_)
        return;
    const board::Board ran = session_->board();
    const bool shown = showing_run();
    session_->wait();  // the session's thread is ending: its last call was this event
    session_.reset();
    status_timer_->stop();
    按钮开始检查->setEnabled(true);
    按钮重查失败->setEnabled(true);
    按钮停止->setEnabled(false);
    if (shown && summary.end != board::SessionEnd::finished) {
        // Cells the run did not reach say so until they are checked again.
        stopped_.insert(waiting_.begin(), waiting_.end());
    }
    if (shown) {
        // The run-level notice is the only one not already listed.
        for (const history::Notice& n : summary.notices) {
            if (n.kind == board::notice_kind::checks_failing)
                add_notice_item(n, true);
        }
        refill_grid();
    }
    if (store_) {
        if (const auto version = store_->data_version())
            seen_version_ = version.value();
    }
    update_status();
    if (!summary.store_problem.empty())
        标签看板状态->setText(标签看板状态->text() + QStringLiteral("  · ") +
                              from_utf8(summary.store_problem));
    if (on_notices && !summary.notices.empty())
        on_notices(ran, summary);
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
    board::CellView view = board::cell_view(log_->cell(*key), own, rival, mode);
    if (stopped_.contains(*key)) {
        view.text = "未检查" + (view.text.empty() ? std::string() : " · " + view.text);
        view.tooltip = "上一轮检查在此格之前停止" +
                       (view.tooltip.empty() ? std::string() : "\n" + view.tooltip);
    }
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
    if (running()) {
        board::RunStatus status = session_->status();
        status.reported = run_done_;
        status.total = run_total_;
        text += QStringLiteral("  · 检查中 ") + from_utf8(board::run_status_text(status));
    } else {
        text += last_run_text();
    }
    标签看板状态->setText(text);
}

// "  · 上次检查 12-09 14:05 完成 · 下次 15:00" for the board on screen.
QString BoardWindow::last_run_text() const {
    QString text;
    if (store_ && !board_.name.empty()) {
        const auto last = store_->last_run(text::gbk_to_utf8(board_.name));
        if (last && last.value()) {
            const history::RunRecord& run = *last.value();
            const QString how = run.how_ended == "done"      ? QStringLiteral("完成")
                                : run.how_ended == "stopped" ? QStringLiteral("已停止")
                                : run.how_ended == "gave_up" ? QStringLiteral("被限速，未全部检查")
                                                             : QStringLiteral("失败");
            text += QStringLiteral("  · 上次检查 %1 %2（%3 项，失败 %4，未检查 %5）")
                        .arg(QDateTime::fromMSecsSinceEpoch(run.ended_ms).toString("MM-dd HH:mm"))
                        .arg(how)
                        .arg(run.checks)
                        .arg(run.failed)
                        .arg(run.not_checked);
        }
    }
    if (next_start_of) {
        if (const auto next = next_start_of(board_.name))
            text += QStringLiteral("  · 下次定时检查 ") +
                    QDateTime::fromMSecsSinceEpoch(board::unix_ms(*next)).toString("MM-dd HH:mm");
    }
    return text;
}

// "我的看板-表格-2026-12-09.csv"; today when no date is given.
QString BoardWindow::export_name(std::string_view kind, const QString& date) const {
    const QString day =
        date.isEmpty() ? QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) : date;
    return from_utf8(
        board::export_file_name(text::gbk_to_utf8(board_.name), kind, day.toStdString()));
}

std::string BoardWindow::board_csv() const {
    std::vector<history::Check> checks;
    if (log_) {
        for (const board::CellKey& key : board::board_cells(layout_)) {
            if (!log_->cell(key).recent.empty())
                checks.push_back(log_->cell(key).recent.back());
        }
    }
    return board::checks_csv(checks, board::goods_names(board_));
}

std::string BoardWindow::board_grid_csv() const {
    if (!log_)
        return board::grid_csv(board_, layout_, board::BoardLog(board_.name, nullptr), stopped_);
    return board::grid_csv(board_, layout_, *log_, stopped_);
}

std::string BoardWindow::history_csv(std::int64_t from_ms, std::int64_t to_ms) const {
    if (!store_)
        return {};
    history::CheckFilter filter;
    filter.board = text::gbk_to_utf8(board_.name);
    filter.since_ms = from_ms;
    filter.until_ms = to_ms;
    // Check by check into the text: a long range never holds its checks twice.
    std::ostringstream out;
    if (!board::write_checks_csv(*store_, filter, board::goods_names(board_), true, out))
        return {};
    return std::move(out).str();
}

void BoardWindow::export_to_file(const std::string& csv, const QString& suggested) {
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("导出CSV"), suggested,
                                                      QStringLiteral("CSV 文件 (*.csv)"));
    if (file.isEmpty())
        return;
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(csv.data(), static_cast<qint64>(csv.size())) != static_cast<qint64>(csv.size()) ||
        !out.flush()) {
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
        auto* view = new RankChartView(this, Qt::Window);
        view->setObjectName(QStringLiteral("走势窗口"));
        view->resize(720, 420);
        chart_window_ = view;
        chart_ = view->chart();
    }
    show_chart_of(*key);
    chart_window_->setWindowTitle(QStringLiteral("排名走势：") +
                                  from_utf8(layout_.rows[static_cast<std::size_t>(row)]));
    chart_window_->show();
    chart_window_->raise();
    return chart_;
}

// The cell's whole history, read by index; a long one thinned before it is drawn.
void BoardWindow::show_chart_of(const board::CellKey& key) {
    chart_key_ = key;
    std::vector<history::Check> checks;
    if (store_) {
        history::CheckFilter filter;
        filter.board = text::gbk_to_utf8(board_.name);
        filter.listing = key.listing;
        filter.key = key.key;
        filter.sort = key.sort;
        (void)store_->for_each_check(filter, [&](const history::Check& check) {
            checks.push_back(check);
            return true;
        });
    } else {
        checks = log_->cell(key).recent;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const std::int64_t now_ms = now.toMSecsSinceEpoch();
    chart_->set_labels(board::chart_labels(board_, key));
    chart_->set_series(board::thinned(board::chart_series(checks), kChartPoints,
                                      board::range_start_ms(board::ChartRange::month, now_ms),
                                      std::int64_t{now.offsetFromUtc()} * 1000));
}

void BoardWindow::closeEvent(QCloseEvent* event) {
    // The board window only hides: a schedule may still use it.
    event->accept();
}

}  // namespace app
