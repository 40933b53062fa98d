#pragma once
// Everything of the rank tracker that lives beside the main window: the check
// history file, the board window, the boards' schedules (fired from the
// window's event loop) and the tray icon that keeps them going while the
// main window is closed.
#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <mutex>
#include <random>

#include "board/board.h"
#include "board/board_settings.h"
#include "board/schedule.h"
#include "history/store.h"
#include "notify/board_notifier.h"

class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace app {

class BoardWindow;

class Tracker final : public QObject {
    Q_OBJECT

  public:
    // `history_file` empty: the user's default history file.
    Tracker(QWidget& main_window, const std::filesystem::path& history_file = {});
    ~Tracker() override;

    BoardWindow& board_window();
    void open_board_window();
    // Before the program ends: a board that was run but not saved is asked
    // about; false when the seller keeps the program open.
    bool settle_unsaved_board();
    // Whether any board has been saved (a first-time seller has none).
    bool has_boards() const;

    // Whether closing the main window should only hide it: a tray icon is
    // shown and some saved board has a schedule.
    bool keeps_running() const;

    // Looks at every saved board's schedule once; `now` for tests.
    void check_schedules(board::Time now);
    bool paused() const { return paused_; }
    void set_paused(bool paused) { paused_ = paused; }

    const std::shared_ptr<history::Store>& store() const { return store_; }
    const QString& store_problem() const { return store_problem_; }

    // Called to end the program from the tray.
    std::function<void()> on_quit;

  private:
    void open_store(const std::filesystem::path& file);
    void make_tray();
    void show_notices(const board::Board& board, const std::vector<history::Notice>& notices);
    // A start that did not run, kept as a notice; `why` empty: it overlapped a run.
    void record_skip(const std::string& board_utf8, board::Time now, const std::string& why);
    // The form offers the channels korvel.ini defines now.
    void offer_channels();
    // The channels korvel.ini defines now, for one run or one report.
    notify::NotifierConfig notifier_config();
    void send_report_if_due(const std::string& board_utf8, const board::Board& board,
                            board::Time now, const board::LocalZone& zone);
    void take_send_report(const notify::SendReport& report);

    // Hands a send's result from the dispatcher's thread to ours, while we live.
    struct Relay {
        std::mutex mutex;
        Tracker* tracker = nullptr;
    };

    QWidget& main_window_;
    std::shared_ptr<history::Store> store_;
    QString store_problem_;
    board::BoardSettings settings_;
    std::unique_ptr<BoardWindow> board_window_;
    QSystemTrayIcon* tray_ = nullptr;
    QTimer* timer_ = nullptr;
    bool paused_ = false;
    std::map<std::string, board::PlannedStart> next_start_;  // by board name (UTF-8)
    std::mt19937_64 rng_{std::random_device{}()};
    std::shared_ptr<Relay> relay_ = std::make_shared<Relay>();
    std::shared_ptr<notify::Dispatcher> dispatcher_;  // its thread starts with the first send
};

}  // namespace app
