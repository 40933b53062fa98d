#include "app/tracker.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <iostream>

#include "app/board_form.h"
#include "app/board_window.h"
#include "app/settings.h"
#include "app/settings_dialog.h"
#include "board/board_text.h"
#include "history/default_path.h"
#include "text/codepage.h"

namespace app {

namespace {

constexpr int kScheduleTickMs = 20000;

// Nothing of a board is in the form: a scheduled run may show its board there.
bool blank(const board::Board& b) {
    return b.name.empty() && b.own.empty() && b.competitors.empty() && b.keywords.empty() &&
           b.category_ids.empty() && !b.tab_id && !b.new_goods;
}

}  // namespace

// The runner's events, handed to the tracker's thread as queued calls.
class Tracker::Relay final : public service::RunnerObserver {
  public:
    explicit Relay(std::shared_ptr<Target> target) : target_(std::move(target)) {}

    void run_started(const board::Board& b, const board::CheckPlan&, bool scheduled) override {
        post([b, scheduled](Tracker& t) { t.take_run_start(b, scheduled); });
    }
    void check_recorded(const board::Board&, const board::CheckReport&, const history::Check&,
                        const std::vector<history::Notice>&) override {
        post([](Tracker& t) { t.history_changed(); });
    }
    void run_ended(const board::Board& b, const board::SessionSummary& run) override {
        post([b, notices = run.notices](Tracker& t) {
            t.history_changed();
            t.show_notices(b, notices);
        });
    }
    void start_skipped(const std::string&, const std::string&) override {
        post([](Tracker& t) { t.history_changed(); });
    }
    void send_reported(const notify::SendReport& report) override {
        post([report](Tracker& t) { t.take_send_report(report); });
    }

  private:
    template <typename F>
    void post(F f) {
        std::lock_guard lock(target_->mutex);
        Tracker* tracker = target_->tracker;
        if (tracker == nullptr)
            return;
        QMetaObject::invokeMethod(
            tracker, [tracker, f = std::move(f)] { f(*tracker); }, Qt::QueuedConnection);
    }

    std::shared_ptr<Target> target_;
};

Tracker::Tracker(QWidget& main_window, const std::filesystem::path& history_file)
    : QObject(&main_window), main_window_(main_window) {
    open_store(history_file);
    make_runner();
    make_tray();
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { tick(std::chrono::system_clock::now()); });
    timer_->start(kScheduleTickMs);
    target_->tracker = this;
}

Tracker::~Tracker() {
    {
        std::lock_guard lock(target_->mutex);
        target_->tracker = nullptr;
    }
    // Stops a scheduled run and lets its notices drain (bounded) before the window goes.
    runner_.reset();
}

void Tracker::open_store(const std::filesystem::path& file) {
    std::filesystem::path path = file;
    if (path.empty()) {
        const auto found = history::default_history_path();
        if (!found) {
            store_problem_ = QString::fromStdString(found.error().message);
            return;
        }
        path = found.value();
    }
    auto opened = history::Store::open(path);
    if (!opened) {
        // A newer program's file is left alone; the board runs without it.
        store_problem_ = QString::fromStdString(opened.error().message);
        std::cerr << "korvel: " << opened.error().message << '\n';
        return;
    }
    store_ = std::make_shared<history::Store>(std::move(opened).value());
}

void Tracker::make_runner() {
    service::RunnerConfig config;
    config.history_file = store_ ? store_->file() : std::filesystem::path();
    config.configuration = [] { return configuration(); };
    config.other_run_going = [this] { return board_window_ && board_window_->running(); };
    runner_ = std::make_unique<service::Runner>(std::move(config));
    runner_->add_observer(std::make_shared<Relay>(target_));
}

void Tracker::tick(board::Time now) {
    runner_->tick(now);
}

BoardWindow& Tracker::board_window() {
    if (!board_window_) {
        board_window_ = std::make_unique<BoardWindow>(store_, board_settings());
        board_window_->current_settings = [] { return board_settings(); };
        board_window_->next_start_of = [this](const std::string& name_gbk) {
            return runner_->next_start(text::gbk_to_utf8(name_gbk),
                                       std::chrono::system_clock::now());
        };
        board_window_->on_notices = [this](const board::Board& b, const auto& run) {
            show_notices(b, run.notices);
        };
        board_window_->make_notice_sink = [this] { return runner_->notice_sink(); };
        // One run at a time: the window's own waits while a scheduled one reads.
        board_window_->busy_elsewhere = [this] {
            const auto going = runner_->current();
            return going ? "另一个看板正在检查（" + text::gbk_to_utf8(going->board.name) + "）"
                         : std::string();
        };
    }
    return *board_window_;
}

void Tracker::open_board_window() {
    BoardWindow& w = board_window();
    offer_channels();
    w.show();
    w.raise();
    w.activateWindow();
}

bool Tracker::settle_unsaved_board() {
    if (!board_window_ || !board_window_->has_unsaved_run())
        return true;
    board_window_->show();
    board_window_->raise();
    return board_window_->settle_unsaved();
}

bool Tracker::has_boards() const {
    if (!store_)
        return false;
    const auto names = store_->board_names();
    return !names || !names.value().empty();
}

void Tracker::make_tray() {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    tray_ = new QSystemTrayIcon(main_window_.style()->standardIcon(QStyle::SP_ComputerIcon), this);
    tray_->setToolTip(QStringLiteral("Korvel 排名查询"));
    auto* menu = new QMenu();
    connect(this, &QObject::destroyed, menu, &QObject::deleteLater);
    menu->addAction(QStringLiteral("打开"), this, [this] {
        main_window_.show();
        main_window_.raise();
    });
    menu->addAction(QStringLiteral("设置"), this, [this] { open_settings_dialog(&main_window_); });
    QAction* pause = menu->addAction(QStringLiteral("暂停全部"));
    pause->setCheckable(true);
    connect(pause, &QAction::toggled, this, [this](bool on) { set_paused(on); });
    menu->addAction(QStringLiteral("退出"), this, [this] {
        if (on_quit)
            on_quit();
    });
    tray_->setContextMenu(menu);
    tray_->show();
}

bool Tracker::keeps_running() const {
    return tray_ != nullptr && runner_->has_schedules();
}

void Tracker::show_notices(const board::Board& b, const std::vector<history::Notice>& notices) {
    if (tray_ == nullptr || notices.empty())
        return;
    tray_->showMessage(
        QStringLiteral("排名变动：") + QString::fromStdString(text::gbk_to_utf8(b.name)),
        QString::fromStdString(board::tray_text(notices)));
}

void Tracker::offer_channels() {
    std::vector<std::string> names;
    for (const notify::Channel& channel : configuration().channels)
        names.push_back(channel.name);
    board_window().form->set_channel_names(std::move(names));
}

void Tracker::take_run_start(const board::Board& b, bool scheduled) {
    // A scheduled run shows its board in a window that shows nothing yet;
    // what the user typed stays as it is.
    if (scheduled && board_window_ && !board_window_->running() &&
        blank(board_window_->form->board()))
        board_window_->open_board(b.name);
}

void Tracker::history_changed() {
    if (board_window_)
        board_window_->poll_history();
}

void Tracker::take_send_report(const notify::SendReport& report) {
    history_changed();  // the delivery is in the history now
    if (!report.result.delivered) {
        std::cerr << "korvel: " << report.result.error << '\n';
        if (tray_ != nullptr)
            tray_->showMessage(
                QStringLiteral("通知未送达：") + QString::fromStdString(report.board),
                QString::fromStdString(report.result.error), QSystemTrayIcon::Warning);
    }
}

}  // namespace app
