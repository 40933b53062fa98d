#include "app/board_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <chrono>
#include <sstream>

#include "app/board_form.h"
#include "app/rank_chart.h"
#include "app/rank_chart_view.h"
#include "app/runner_relay.h"
#include "app/settings.h"
#include "board/board_text.h"
#include "board/chart_history.h"
#include "board/chart_labels.h"
#include "board/chart_series.h"
#include "board/check_csv.h"
#include "board/check_plan.h"
#include "board/check_record.h"
#include "board/goods_captions.h"
#include "board/goods_names.h"
#include "board/grid_csv.h"
#include "board/run_status_text.h"
#include "board/sheet_csv.h"
#include "text/codepage.h"
#include "text/primitives.h"
#include "ui/widget_text.h"

namespace app {

namespace {

QString from_utf8(const std::string& text) {
    return QString::fromStdString(text);
}

// How often the window looks for checks another process added.
constexpr int kPollMs = 2000;
// How often a run's pace and pauses are shown anew.
constexpr int kStatusMs = 500;
// Beyond this many points a series is thinned to its days (last month kept whole).
constexpr std::size_t kChartPoints = 2000;

bool nothing_typed(const board::Board& b) {
    return b.name.empty() && b.own.empty() && b.competitors.empty() && b.keywords.empty() &&
           b.category_ids.empty() && !b.tab_id && !b.new_goods;
}

std::int64_t start_of_day_ms(const QDate& date) {
    return QDateTime(date, QTime(0, 0)).toMSecsSinceEpoch();
}

bool ask(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("确认"), question, QMessageBox::NoButton,
                    parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(QStringLiteral("删除"), QMessageBox::DestructiveRole);
    box.setDefaultButton(box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole));
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace

BoardWindow::BoardWindow(std::shared_ptr<history::Store> store, service::Runner* runner,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), store_(std::move(store)), runner_(runner) {
    setObjectName(QStringLiteral("看板窗口"));
    setWindowTitle(QStringLiteral("排名看板"));
    // Placed on its screen, above a taskbar, when first shown.
    resize(1300, 680);
    build();
    wire();
    refresh_board_names();
    prepare_board(form->board());
    show_definition(true);  // a new board starts with its definition
    status_timer_ = new QTimer(this);
    status_timer_->setInterval(kStatusMs);
    connect(status_timer_, &QTimer::timeout, this, [this] { update_status(); });
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this] { poll_history(); });
    poll->start(kPollMs);
    if (runner_ != nullptr) {
        events_ = std::make_unique<Events>(*this);
        relay_ = std::make_unique<RunnerRelay>(*runner_, this, *events_);
        // A run that began before the window did shows from here on.
        if (const auto going = runner_->current())
            take_run_start(going->board, going->plan, going->scheduled);
    }
}

BoardWindow::~BoardWindow() = default;

// The runner's events, on the window's thread (app/runner_relay.h). Every
// run goes through here, whoever started it.
class BoardWindow::Events final : public service::RunnerObserver {
  public:
    explicit Events(BoardWindow& window) : window_(window) {}

    void run_started(const board::Board& b, const board::CheckPlan& plan, bool scheduled) override {
        window_.take_run_start(b, plan, scheduled);
    }
    void goods_confirmed(const board::Board& b,
                         const std::vector<board::ConfirmedGoods>& goods) override {
        if (ours(b))
            window_.take_goods(goods);
    }
    void check_recorded(const board::Board& b, const board::CheckReport&,
                        const history::Check& check,
                        const std::vector<history::Notice>& notices) override {
        if (ours(b))
            window_.take_check(check, notices);
    }
    void run_ended(const board::Board& b, const board::SessionSummary& summary) override {
        if (ours(b))
            window_.run_ended(summary);
    }

  private:
    // Events of the run the window follows (one run at a time: a stray one
    // is of a run that began before the window and ended at once).
    bool ours(const board::Board& b) const {
        return window_.run_ && window_.run_->board.name == b.name;
    }

    BoardWindow& window_;
};

void BoardWindow::wire() {
    connect(按钮开始检查, &QPushButton::clicked, this, [this] { start_checks(); });
    connect(按钮停止, &QPushButton::clicked, this, [this] { stop_checks(); });
    connect(按钮重查失败, &QPushButton::clicked, this, [this] { recheck_failed(); });
    connect(按钮保存看板, &QPushButton::clicked, this, [this] { save_board(); });
    connect(按钮删除看板, &QPushButton::clicked, this, [this] { delete_board(); });
    connect(按钮编辑看板, &QPushButton::toggled, this, [this](bool on) { show_definition(on); });
    connect(组合框看板, &QComboBox::activated, this, [this] {
        const std::string chosen = text::utf8_to_gbk(组合框看板->currentText().toStdString());
        // Another board replaces the form: one run but not saved is asked about first.
        if (!settle_unsaved()) {
            组合框看板->setCurrentIndex(组合框看板->findText(ui::to_qstring(board_.name)));
            return;
        }
        open_board(chosen);
    });
    connect(组合框显示, &QComboBox::activated, this, [this] { refill_grid(); });
    connect(组合框筛选, &QComboBox::activated, this, [this] { refill_grid(); });
    connect(表格排名, &QTableWidget::cellClicked, this,
            [this](int row, int column) { show_chart(row, column); });
    connect(表格排名->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        // Ascending, then descending, then the board's own order again.
        if (column != sort_column_)
            sort_grid(column, false);
        else
            sort_grid(sort_descending_ ? -1 : column, !sort_descending_);
    });
    // A notice opens the chart of the cell it speaks of.
    connect(列表通知, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const std::string wanted = item->data(Qt::UserRole).toString().toStdString();
        for (int r = 0; r < 表格排名->rowCount(); ++r) {
            const auto& cells = layout_.cells.at(row_order_.at(static_cast<std::size_t>(r)));
            for (std::size_t c = 0; c < cells.size(); ++c) {
                if (!wanted.empty() && cells[c] && board::cell_key_text(*cells[c]) == wanted)
                    show_chart(r, static_cast<int>(c));
            }
        }
    });
    connect(编辑框通知筛选, &QLineEdit::textChanged, this, [this] { refill_notices(); });
    connect(按钮导出通知, &QPushButton::clicked, this, [this] { export_notices(); });
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
    wire_keys();
}

void BoardWindow::delete_board() {
    if (!store_ || 组合框看板->currentIndex() < 0)
        return;
    const QString name = 组合框看板->currentText();
    const QString question =
        QStringLiteral("删除看板“%1”？它的定义将被删除，已有的检查历史仍然保留。").arg(name);
    if (!(confirm ? confirm(question) : ask(this, question)))
        return;
    if (const auto deleted = store_->delete_board(name.toStdString()); !deleted)
        tell(QStringLiteral("看板未能删除：") + from_utf8(deleted.error().message));
    refresh_board_names();
}

void BoardWindow::tell(const QString& message) {
    if (show_message) {
        show_message(message);
        return;
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("信息"), message, QMessageBox::Ok,
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
    if (!store_ || showing_run())
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
    apply_tab_order();  // the board's channel boxes are new
    prepare_board(*board);
    ran_unsaved_ = false;
    show_definition(false);  // a saved board opens on its grid
    组合框看板->setCurrentIndex(组合框看板->findText(ui::to_qstring(name_gbk)));
    focus_first_field();
    return true;
}

bool BoardWindow::save_board() {
    const board::Board b = board::with_known_names(form->board(), board_);
    if (const QStringList faults = form->problems(); !faults.isEmpty()) {
        tell_faults(QStringLiteral("看板还不能保存"), faults);
        return false;
    }
    if (!store_) {
        tell(store_problem_.isEmpty() ? QStringLiteral("历史文件无法打开，看板不能保存")
                                      : store_problem_ + QStringLiteral("。看板不能保存"));
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
    ran_unsaved_ = false;
    form->show_first_steps(false);
    return true;
}

// One message for every fault, so the seller mends them all in one go.
void BoardWindow::tell_faults(const QString& what, const QStringList& faults) {
    QString message = what + QStringLiteral("，请先改正：");
    for (int i = 0; i < faults.size(); ++i)
        message += QStringLiteral("\n%1. %2").arg(i + 1).arg(faults[i]);
    tell(message);
}

// The board as saved under its name is this one (goods names and resolved
// links aside: a run adds those by itself).
bool BoardWindow::saved_as(const board::Board& b) const {
    if (!store_)
        return false;
    const auto saved = store_->load_board(text::gbk_to_utf8(b.name));
    if (!saved)
        return false;
    const auto kept = board::board_from_text(saved.value().definition);
    if (!kept)
        return false;
    const auto bare = [](board::Board x) {
        for (auto* items : {&x.own, &x.competitors}) {
            for (board::GoodsItem& item : *items)
                item = item.link.empty() ? board::GoodsItem{item.id, {}, {}, {}}
                                         : board::GoodsItem{{}, item.link, {}, {}};
        }
        return x;
    };
    return bare(*kept) == bare(b);
}

bool BoardWindow::settle_unsaved() {
    if (!ran_unsaved_)
        return true;
    const QString name = ui::to_qstring(board_.name);
    const QString question =
        QStringLiteral(
            "看板“%1”检查过，但还没有保存（或改动后没有保存）。关闭后，它的定义就没有了"
            "（检查历史仍然保留）。要保存吗？")
            .arg(name);
    UnsavedAnswer answer = UnsavedAnswer::keep_open;
    if (ask_unsaved) {
        answer = ask_unsaved(question);
    } else {
        QMessageBox box(QMessageBox::Question, QStringLiteral("看板未保存"), question,
                        QMessageBox::NoButton, this);
        box.setTextFormat(Qt::PlainText);
        QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
        QPushButton* drop = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
        box.setDefaultButton(save);
        box.setEscapeButton(box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole));
        box.exec();
        answer = box.clickedButton() == save   ? UnsavedAnswer::save
                 : box.clickedButton() == drop ? UnsavedAnswer::discard
                                               : UnsavedAnswer::keep_open;
    }
    if (answer == UnsavedAnswer::save)
        return save_board();
    if (answer == UnsavedAnswer::discard)
        ran_unsaved_ = false;
    return answer == UnsavedAnswer::discard;
}

// Reads what the grid needs of the board's history and lays out its grid.
void BoardWindow::prepare_board(const board::Board& b) {
    const bool another = b.name != board_.name;
    if (another) {
        stopped_.clear();
        sort_column_ = -1;  // another board: its own order first
    }
    board_ = b;
    layout_ = board::grid_layout(board_);
    // Checks without a board are the six pages' single queries: a board
    // without a name has none of its own.
    log_ = std::make_unique<board::BoardLog>(text::gbk_to_utf8(board_.name),
                                             board_.name.empty() ? nullptr : store_.get());
    if (store_) {
        if (const auto version = store_->data_version())
            seen_version_ = version.value();
    }
    const std::string problem = log_->load(board::board_cells(layout_));
    count_all_checks();
    if (another)
        mark_unreached();
    refresh_view_choices();
    refill_grid();
    load_notices();
    update_status();
    if (!problem.empty())
        标签看板状态->setText(from_utf8(problem));
}

// The cells the board's last run was stopped before say 未检查, also when the
// board is opened again (after a restart, or a run of korvel-check's).
void BoardWindow::mark_unreached() {
    if (!store_ || board_.name.empty())
        return;
    const auto last = store_->last_run(text::gbk_to_utf8(board_.name));
    if (!last || !last.value())
        return;
    stopped_ = board::unreached_by(board_, *log_, *last.value());
    stopped_since_ms_ = last.value()->started_ms;
}

void BoardWindow::show_store_problem(const QString& problem) {
    store_problem_ = problem;
    update_status();
}

void BoardWindow::poll_history() {
    if (!store_ || showing_run())
        return;  // the run's own checks arrive as events
    const auto version = store_->data_version();
    if (!version || version.value() == seen_version_)
        return;
    seen_version_ = version.value();
    const std::string problem = log_->load(board::board_cells(layout_));
    count_all_checks();
    // A cell checked since (korvel-check --retry-failed) no longer waits.
    stopped_ = board::unchecked_since(stopped_, *log_, stopped_since_ms_);
    refill_grid();
    load_notices();
    update_status();
    if (!problem.empty())
        标签看板状态->setText(from_utf8(problem));
}

bool BoardWindow::start_checks() {
    if (running()) {
        if (!showing_run())
            tell(busy_text());
        return false;
    }
    const board::Board b = board::with_known_names(form->board(), board_);
    if (const QStringList faults = form->problems(); !faults.isEmpty()) {
        tell_faults(QStringLiteral("看板还不能检查"), faults);
        return false;
    }
    if (b != board_ || !log_)
        prepare_board(b);
    const std::string refused = begin(b, std::nullopt);
    if (!refused.empty())
        tell(from_utf8(refused));
    else if (!saved_as(b))
        ran_unsaved_ = true;  // closing now would lose it: ask first
    return refused.empty();
}

bool BoardWindow::recheck_failed() {
    if (running()) {
        if (!showing_run())
            tell(busy_text());
        return false;
    }
    if (!log_)
        return false;
    // Cells a stopped run never reached say 未检查: they go again too, as
    // korvel-check --retry-failed takes them.
    std::vector<ranking::Listing> again = board::listings_to_recheck(board_, *log_, stopped_);
    if (again.empty()) {
        tell(QStringLiteral("没有失败或未检查的格子"));
        return false;
    }
    const std::string refused = begin(board_, std::move(again));
    if (!refused.empty())
        tell(from_utf8(refused));
    return refused.empty();
}

const board::Board* BoardWindow::running_board() const {
    return run_ ? &run_->board : nullptr;
}

// The run is of the board on screen.
bool BoardWindow::showing_run() const {
    return run_ && run_->board.name == board_.name;
}

QString BoardWindow::busy_text() const {
    return QStringLiteral("另一个看板正在检查（%1）")
        .arg(run_ ? ui::to_qstring(run_->board.name) : QString());
}

std::string BoardWindow::begin(const board::Board& b,
                               std::optional<std::vector<ranking::Listing>> only) {
    if (runner_ == nullptr)
        return "这里不能检查看板";
    board::CheckPlan plan = board::plan_checks(b);
    if (only)
        plan.listings = *only;
    if (std::string refused = runner_->start_now(b, std::move(only)); !refused.empty())
        return refused;
    // Shown at once; the run's start event, queued meanwhile, finds it shown.
    show_run_start(b, plan, false);
    return {};
}

// A run the runner began (a schedule's, or ours whose start is shown already).
void BoardWindow::take_run_start(const board::Board& b, const board::CheckPlan& plan,
                                 bool scheduled) {
    if (run_)
        return;
    // A scheduled run shows its board in a window that shows nothing yet;
    // what the user typed stays as it is.
    if (scheduled && nothing_typed(form->board()) && store_) {
        form->show_board(b);
        form->show_goods_note({});
        apply_tab_order();
        prepare_board(b);
        ran_unsaved_ = false;
        show_definition(false);
        组合框看板->setCurrentIndex(组合框看板->findText(ui::to_qstring(b.name)));
    }
    show_run_start(b, plan, scheduled);
}

void BoardWindow::show_run_start(const board::Board& b, const board::CheckPlan& plan,
                                 bool scheduled) {
    run_ = ShownRun{b, scheduled};
    waiting_.clear();
    run_start_ms_ = QDateTime::currentMSecsSinceEpoch();
    if (showing_run()) {
        for (const ranking::Listing& listing : plan.listings)
            waiting_.insert(board::cell_key(listing));
    }
    status_timer_->start();
    run_done_ = 0;
    run_total_ = plan.listings.size();
    pace_ = {};
    update_summary();
    按钮开始检查->setEnabled(false);
    按钮重查失败->setEnabled(false);
    按钮停止->setEnabled(true);
    update_status();
}

void BoardWindow::take_goods(const std::vector<board::ConfirmedGoods>& goods) {
    take_names(goods);
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

// The names the goods pages gave show at once (the run keeps them in the
// saved board itself).
void BoardWindow::take_names(const std::vector<board::ConfirmedGoods>& goods) {
    if (!showing_run())
        return;
    std::vector<board::GoodsItem> named;
    for (const board::ConfirmedGoods& g : goods) {
        if (!g.failure)
            named.push_back(g.item);
    }
    form->learn_goods(named);
    if (board::take_names(board_, goods)) {
        const int choice = 组合框显示->currentIndex();
        refresh_view_choices();
        组合框显示->setCurrentIndex(std::max(0, choice));
    }
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
        add_notices(notices);
        update_summary();
    }
    if (all_checks_)
        ++*all_checks_;
    update_status();
}

void BoardWindow::stop_checks() {
    if (runner_ != nullptr && running())
        runner_->stop();
}

void BoardWindow::run_ended(const board::SessionSummary& summary) {
    if (!run_)
        return;
    const bool shown = showing_run();
    run_.reset();
    status_timer_->stop();
    按钮开始检查->setEnabled(true);
    按钮重查失败->setEnabled(true);
    按钮停止->setEnabled(false);
    if (shown && summary.end != board::SessionEnd::finished) {
        // Cells the run did not reach say so until they are checked again.
        stopped_.insert(waiting_.begin(), waiting_.end());
        stopped_since_ms_ = summary.started_ms;
    }
    if (shown) {
        // The run-level notice is the only one not already listed.
        std::vector<history::Notice> failing;
        for (const history::Notice& n : summary.notices) {
            if (n.kind == board::notice_kind::checks_failing)
                failing.push_back(n);
        }
        add_notices(failing);
        refill_grid();
    }
    if (store_) {
        if (const auto version = store_->data_version())
            seen_version_ = version.value();
    }
    count_all_checks();
    update_status();
    if (!summary.store_problem.empty())
        标签看板状态->setText(标签看板状态->text() + QStringLiteral("  · ") +
                              from_utf8(summary.store_problem));
    if (on_run_end)
        on_run_end();
}

// Read when the history changes, not on every status update: on a server
// that is a round trip on this thread, twice a second and once a check while
// a run goes on. A run's own checks are counted as they arrive.
void BoardWindow::count_all_checks() {
    all_checks_.reset();
    if (!store_)
        return;
    if (const auto all = store_->count_checks())
        all_checks_ = all.value();
}

void BoardWindow::update_status() {
    QString text = QStringLiteral("历史中共有 %1 次检查").arg(log_ ? log_->size() : 0);
    if (!running())
        进度条看板->hide();
    if (store_) {
        if (all_checks_)
            text = QStringLiteral("历史中共有 %1 次检查（本看板 %2 次）")
                       .arg(*all_checks_)
                       .arg(log_ ? log_->size() : 0);
    } else if (store_problem_.isEmpty()) {
        text += QStringLiteral("（历史文件无法打开，结果不会保存）");
    } else {
        text += QStringLiteral("（") + store_problem_ + QStringLiteral("，结果不会保存）");
    }
    if (running()) {
        const auto going = runner_ != nullptr ? runner_->current() : std::nullopt;
        board::RunStatus status = going ? going->status : board::RunStatus{};
        status.reported = run_done_;
        status.total = run_total_;
        update_progress(status);
        // The pace the answers really came at, not the one the scheduler allows.
        const auto pace = pace_.pages_per_second();
        status.pages_per_second = pace ? *pace : 0;
        text +=
            (showing_run()
                 ? QStringLiteral("  · 检查中 ")
                 : QStringLiteral("  · 正在检查看板“%1”：").arg(ui::to_qstring(run_->board.name))) +
            from_utf8(board::run_pace_text(status));
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
                                : run.how_ended == "abandoned"
                                    ? QStringLiteral("已中断（检查它的程序意外退出）")
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
    return board::sheet_checks_csv(checks, board::sheet_names(board_));
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
    if (!board::write_sheet_checks_csv(*store_, filter, board::sheet_names(board_), out))
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
    if (!log_ || row < 0 || column < 0 || static_cast<std::size_t>(row) >= row_order_.size())
        return nullptr;
    const std::size_t layout_row = row_order_[static_cast<std::size_t>(row)];
    const auto& cells = layout_.cells.at(layout_row);
    if (static_cast<std::size_t>(column) >= cells.size() ||
        !cells[static_cast<std::size_t>(column)])
        return nullptr;
    const board::CellKey key = *cells[static_cast<std::size_t>(column)];
    if (chart_window_ == nullptr) {
        auto* view = new RankChartView(this, Qt::Window);
        view->setObjectName(QStringLiteral("走势窗口"));
        view->resize(720, 420);
        chart_window_ = view;
        chart_ = view->chart();
    }
    show_chart_of(key);
    chart_window_->setWindowTitle(QStringLiteral("排名走势：") +
                                  from_utf8(layout_.rows[layout_row]));
    chart_window_->show();
    chart_window_->raise();
    return chart_;
}

// The cell's history, read by index: a long one from the per-day summary
// before the last month. Without a file the few checks kept in memory.
void BoardWindow::show_chart_of(const board::CellKey& key) {
    chart_key_ = key;
    const QDateTime now = QDateTime::currentDateTime();
    const std::int64_t now_ms = now.toMSecsSinceEpoch();
    chart_->set_labels(board::chart_labels(board_, key));
    if (store_) {
        chart_->set_series(board::cell_chart(*store_, text::gbk_to_utf8(board_.name), key, now_ms));
        return;
    }
    chart_->set_series(board::thinned(board::chart_series(log_->cell(key).recent), kChartPoints,
                                      board::range_start_ms(board::ChartRange::month, now_ms),
                                      std::int64_t{now.offsetFromUtc()} * 1000));
}

bool BoardWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == 表格排名 && event->type() == QEvent::Resize)
        fit_row_header();
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QAbstractButton*>(watched);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (button != nullptr && enter && key->modifiers() == Qt::NoModifier) {
            if (auto* tool = qobject_cast<QToolButton*>(button); tool && tool->menu())
                tool->showMenu();
            else if (auto* push = qobject_cast<QPushButton*>(button); push && push->menu())
                push->showMenu();
            else
                button->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BoardWindow::closeEvent(QCloseEvent* event) {
    // The board window only hides: a schedule may still use it. A board that
    // was run but not saved is not lost without a question.
    if (!settle_unsaved()) {
        event->ignore();
        return;
    }
    event->accept();
}

void BoardWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    apply_tab_order();  // the form's channel boxes may be new
    if (!placed_) {
        placed_ = true;
        place_on_screen();
        // Window managers add the frame after mapping: fit once more with it.
        QTimer::singleShot(0, this, [this] { place_on_screen(); });
    }
    focus_first_field();
}

// "12/29", a bar, and the time left at the pace the answers come.
void BoardWindow::update_progress(const board::RunStatus& status) {
    pace_.sample(QDateTime::currentMSecsSinceEpoch(), status.reported, status.pages_answered);
    进度条看板->setRange(0, static_cast<int>(std::max<std::size_t>(status.total, 1)));
    进度条看板->setValue(static_cast<int>(std::min(status.reported, status.total)));
    QString format = QStringLiteral("%v/%m");
    if (const auto left = pace_.remaining_ms(status.total))
        format += QStringLiteral(" · ") + from_utf8(board::remaining_text(*left));
    else
        format += QStringLiteral(" · 正在估算剩余时间");
    进度条看板->setFormat(format);
    进度条看板->show();
}

QRect fitted_window(const QRect& available, const QMargins& frame, const QSize& wanted,
                    const QSize& minimum) {
    const int room_w = available.width() - frame.left() - frame.right();
    const int room_h = available.height() - frame.top() - frame.bottom();
    const int w = std::max(minimum.width(), std::min(wanted.width(), room_w));
    const int h = std::max(minimum.height(), std::min(wanted.height(), room_h));
    // Centred across, at the top of the free area: the status line stays above a taskbar.
    const int x = available.left() + frame.left() + std::max(0, (room_w - w) / 2);
    const int y = available.top() + frame.top();
    return {x, y, w, h};
}

void BoardWindow::place_on_screen() {
    if (isMaximized() || isFullScreen() || screen() == nullptr)
        return;
    // Before the window manager has framed it, a usual title bar is allowed for.
    QMargins frame(frameGeometry().left() - geometry().left(),
                   geometry().top() - frameGeometry().top(),
                   frameGeometry().right() - geometry().right(),
                   frameGeometry().bottom() - geometry().bottom());
    if (frame.isNull())
        frame = QMargins(4, 30, 4, 4);
    const QRect client =
        fitted_window(screen()->availableGeometry(), frame, QSize(1300, 680), minimumSizeHint());
    resize(client.size());
    move(client.left() - frame.left(), client.top() - frame.top());
}

}  // namespace app
