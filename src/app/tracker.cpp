#include "app/tracker.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/board_form.h"
#include "app/board_window.h"
#include "app/settings.h"
#include "app/settings_dialog.h"
#include "board/board_text.h"
#include "history/default_path.h"
#include "notify/board_report.h"
#include "notify/channels_file.h"
#include "text/codepage.h"

namespace app {

namespace {

constexpr int kScheduleTickMs = 20000;

}  // namespace

Tracker::Tracker(QWidget& main_window, const std::filesystem::path& history_file)
    : QObject(&main_window), main_window_(main_window), settings_(board_settings()) {
    open_store(history_file);
    make_tray();
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this,
            [this] { check_schedules(std::chrono::system_clock::now()); });
    timer_->start(kScheduleTickMs);
    relay_->tracker = this;
}

Tracker::~Tracker() {
    std::lock_guard lock(relay_->mutex);
    relay_->tracker = nullptr;
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

BoardWindow& Tracker::board_window() {
    if (!board_window_) {
        board_window_ = std::make_unique<BoardWindow>(store_, settings_);
        board_window_->current_settings = [] { return board_settings(); };
        board_window_->next_start_of = [this](const std::string& name_gbk) {
            std::optional<board::Time> at;
            if (const auto it = next_start_.find(text::gbk_to_utf8(name_gbk));
                it != next_start_.end())
                at = it->second.at;
            return at;
        };
        board_window_->on_notices = [this](const board::Board& b, const auto& run) {
            show_notices(b, run.notices);
        };
        board_window_->make_notice_sink = [this] {
            return std::make_shared<notify::BoardNotifier>(notifier_config());
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
    if (tray_ == nullptr || !store_)
        return false;
    const auto names = store_->board_names();
    if (!names)
        return false;
    for (const std::string& name : names.value()) {
        const auto saved = store_->load_board(name);
        if (!saved)
            continue;
        const auto b = board::board_from_text(saved.value().definition);
        if (b && b->schedule && b->schedule->enabled)
            return true;
    }
    return false;
}

void Tracker::show_notices(const board::Board& b, const std::vector<history::Notice>& notices) {
    if (tray_ == nullptr || notices.empty())
        return;
    tray_->showMessage(
        QStringLiteral("排名变动：") + QString::fromStdString(text::gbk_to_utf8(b.name)),
        QString::fromStdString(board::tray_text(notices)));
}

void Tracker::record_skip(const std::string& board_utf8, board::Time now, const std::string& why) {
    if (!store_)
        return;
    history::Notice notice;
    notice.board = board_utf8;
    notice.time_ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    notice.kind = "skipped";
    notice.message = why.empty() ? std::string(board::due_reason(board::DueAction::skip)) : why;
    (void)store_->add_notice(notice);
}

void Tracker::offer_channels() {
    std::vector<std::string> names;
    for (const notify::Channel& channel : notify::load_channels(settings_path()).channels)
        names.push_back(channel.name);
    board_window().form->set_channel_names(std::move(names));
}

notify::NotifierConfig Tracker::notifier_config() {
    notify::LoadedChannels loaded = notify::load_channels(settings_path());
    for (const std::string& message : loaded.messages)
        std::cerr << "korvel: " << message << '\n';
    notify::NotifierConfig config;
    config.channels = std::move(loaded.channels);
    config.history_file = store_ ? store_->file() : std::filesystem::path();
    if (!dispatcher_)
        dispatcher_ = std::make_shared<notify::Dispatcher>();
    config.dispatcher = dispatcher_;
    config.on_report = [relay = relay_](const notify::SendReport& report) {
        std::lock_guard lock(relay->mutex);
        if (relay->tracker == nullptr)
            return;
        Tracker* tracker = relay->tracker;
        QMetaObject::invokeMethod(
            tracker, [tracker, report] { tracker->take_send_report(report); },
            Qt::QueuedConnection);
    };
    return config;
}

void Tracker::take_send_report(const notify::SendReport& report) {
    if (board_window_)
        board_window_->poll_history();  // the delivery is in the history now
    if (!report.result.delivered) {
        std::cerr << "korvel: " << report.result.error << '\n';
        if (tray_ != nullptr)
            tray_->showMessage(
                QStringLiteral("通知未送达：") + QString::fromStdString(report.board),
                QString::fromStdString(report.result.error), QSystemTrayIcon::Warning);
    }
}

void Tracker::send_report_if_due(const std::string& board_utf8, const board::Board& b,
                                 board::Time now, const board::LocalZone& zone) {
    if (!b.report_minute || b.channels.empty() || !store_)
        return;
    const auto local =
        std::chrono::floor<std::chrono::minutes>(now.time_since_epoch()) + zone.utc_offset;
    const int minute_of_day = static_cast<int>(
        ((local.count() % board::kMinutesPerDay) + board::kMinutesPerDay) % board::kMinutesPerDay);
    const std::int64_t now_ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    if (minute_of_day < *b.report_minute || notify::report_sent_today(*store_, board_utf8, now_ms))
        return;
    notify::send_daily_report(notifier_config(), *store_, b, now_ms);
}

void Tracker::check_schedules(board::Time now) {
    if (!store_)
        return;
    const auto names = store_->board_names();
    if (!names)
        return;
    const board::LocalZone zone = board::LocalZone::system_at(now);
    for (const std::string& name : names.value()) {
        const auto saved = store_->load_board(name);
        const auto b = saved ? board::board_from_text(saved.value().definition) : std::nullopt;
        if (b)
            send_report_if_due(name, *b, now, zone);
        if (!b || !b->schedule || !b->schedule->enabled) {
            next_start_.erase(name);
            continue;
        }
        auto planned = next_start_.find(name);
        if (planned == next_start_.end()) {
            if (const auto first = board::next_start(*b->schedule, now, zone, rng_))
                next_start_[name] = *first;
            continue;
        }
        if (now < planned->second.at)
            continue;
        BoardWindow& w = board_window();
        const bool this_board_running = w.running() && w.running_board()->name == b->name;
        const board::DueAction action = board::on_due(*b->schedule, paused_, this_board_running);
        if (action == board::DueAction::start) {
            if (w.running())
                continue;  // another board is being checked: try again at the next tick
            // The saved board runs as saved: what the form holds is the user's.
            const std::string refused = w.run_saved(*b);
            if (!refused.empty())
                record_skip(name, now, "定时检查未开始：" + refused);
        } else if (action == board::DueAction::skip) {
            record_skip(name, now, {});
        }
        if (const auto next = board::following_start(*b->schedule, planned->second, zone, rng_))
            planned->second = *next;
        else
            next_start_.erase(planned);
    }
}

}  // namespace app
