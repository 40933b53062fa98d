#include "app/tracker.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <iostream>
#include <system_error>

#include "app/board_form.h"
#include "app/board_window.h"
#include "app/runner_relay.h"
#include "app/settings.h"
#include "app/settings_dialog.h"
#include "board/board_text.h"
#include "history/default_path.h"
#include "text/codepage.h"

namespace app {

namespace {

constexpr int kScheduleTickMs = 20000;

}  // namespace

// The runner's events the tracker itself takes, on the GUI thread: the tray
// and the board window's reading of the history.
class Tracker::Events final : public service::RunnerObserver {
  public:
    explicit Events(Tracker& tracker) : tracker_(tracker) {}

    void run_ended(const board::Board& b, const board::SessionSummary& run) override {
        tracker_.show_notices(b, run.notices);
    }
    void start_skipped(const std::string&, const std::string&) override {
        tracker_.history_changed();
    }
    void send_reported(const notify::SendReport& report) override {
        tracker_.take_send_report(report);
    }

  private:
    Tracker& tracker_;
};

namespace {

struct Where {
    history::Location location;
    QString problem;  // no history can be had: why
};

// Where the history is: the file given (a test's, the command line's), else
// the settings' [history] url=, else the user's file.
Where history_location(const std::filesystem::path& file) {
    Where where{file, {}};
    if (where.location.empty()) {
        const service::HistorySetting configured = configuration().history;
        if (!configured.problem.empty())
            return {{}, QString::fromStdString(configured.problem)};
        where.location = configured.location;
    }
    if (where.location.empty()) {
        const auto found = history::default_history_path();
        if (!found)
            return {{}, QString::fromStdString(found.error().message)};
        where.location = found.value();
    }
    return where;
}

}  // namespace

Tracker::Tracker(QWidget& main_window, const std::filesystem::path& history_file)
    : QObject(&main_window), main_window_(main_window) {
    Where where = history_location(history_file);
    if (where.location.is_server()) {
        try {
            opening_ = std::async(std::launch::async, [this, location = where.location] {
                Opened opened = open_history(location);
                QMetaObject::invokeMethod(
                    this, [this] { settle(); }, Qt::QueuedConnection);
                return opened;
            });
        } catch (const std::system_error&) {
            take(open_history(where.location));  // no thread to spare: here, then
        }
    } else {
        Opened opened = open_history(where.location);
        if (!where.problem.isEmpty())
            opened.problem = where.problem;
        take(std::move(opened));
    }
    make_tray();
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { tick(std::chrono::system_clock::now()); });
    timer_->start(kScheduleTickMs);
}

Tracker::~Tracker() {
    if (opening_.valid())
        opening_.wait();
    board_window_.reset();
    relay_.reset();
    // Stops a run going and lets its notices drain (bounded).
    runner_.reset();
}

Tracker::Opened Tracker::open_history(const history::Location& location) {
    Opened opened;
    if (!location.empty()) {
        auto store = history::Store::open(location);
        if (store) {
            opened.store = std::make_shared<history::Store>(std::move(store).value());
        } else {
            // A server out of reach or a newer program's file: the window
            // works on without a history and says so; nothing is written
            // elsewhere.
            const std::string why = location.masked(store.error().message);
            opened.problem = (location.is_server() ? QStringLiteral("历史数据库连接不上（")
                                                   : QStringLiteral("历史文件无法打开（")) +
                             QString::fromStdString(location.shown()) + QStringLiteral("）：") +
                             QString::fromStdString(why);
            std::cerr << "korvel: " << why << '\n';
        }
    }
    service::RunnerConfig config;
    // No history: the runs go on without one (the server is not tried twice).
    config.history_file = opened.store ? opened.store->file() : history::Location();
    config.configuration = [] { return configuration(); };
    opened.runner = std::make_unique<service::Runner>(std::move(config));
    return opened;
}

void Tracker::take(Opened opened) {
    store_ = std::move(opened.store);
    store_problem_ = std::move(opened.problem);
    runner_ = std::move(opened.runner);
    events_ = std::make_unique<Events>(*this);
    relay_ = std::make_unique<RunnerRelay>(*runner_, this, *events_);
}

void Tracker::settle() {
    if (!opening_.valid())
        return;
    take(opening_.get());
    emit history_ready();
}

bool Tracker::settling() const {
    return opening_.valid() &&
           opening_.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

service::Runner& Tracker::runner() {
    settle();
    return *runner_;
}

const std::shared_ptr<history::Store>& Tracker::store() {
    settle();
    return store_;
}

const QString& Tracker::store_problem() {
    settle();
    return store_problem_;
}

void Tracker::tick(board::Time now) {
    if (settling())
        return;
    runner().tick(now);
}

BoardWindow& Tracker::board_window() {
    if (!board_window_) {
        settle();
        board_window_ = std::make_unique<BoardWindow>(store_, runner_.get());
        board_window_->show_store_problem(store_problem_);
        board_window_->next_start_of = [this](const std::string& name_gbk) {
            return runner_->next_start(text::gbk_to_utf8(name_gbk),
                                       std::chrono::system_clock::now());
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

bool Tracker::has_boards() {
    if (settling())
        return true;
    if (!store())
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

bool Tracker::keeps_running() {
    return tray_ != nullptr && runner().has_schedules();
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
