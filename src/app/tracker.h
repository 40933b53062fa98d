#pragma once
// Everything of the rank tracker that lives beside the main window: the check
// history (the file or server korvel.ini's [history] url= names, else the
// user's file), the board window, the tray icon that keeps the boards'
// schedules going while the main window is closed, and the runner
// (service/runner.h) that owns the schedules, daily reports and every run,
// the board window's too. The tracker only ticks the runner from a Qt timer;
// its events reach the GUI thread through relays (app/runner_relay.h).
#include <QObject>
#include <QString>
#include <functional>
#include <future>
#include <memory>

#include "board/board.h"
#include "board/schedule.h"
#include "history/store.h"
#include "notify/board_notifier.h"
#include "service/runner.h"

class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace app {

class BoardWindow;
class RunnerRelay;

class Tracker final : public QObject {
    Q_OBJECT

  public:
    // `history_file` empty: the history the settings name, else the user's default file.
    Tracker(QWidget& main_window, const std::filesystem::path& history_file = {});
    ~Tracker() override;

    BoardWindow& board_window();
    void open_board_window();
    // Before the program ends: a board that was run but not saved is asked
    // about; false when the seller keeps the program open.
    bool settle_unsaved_board();
    // Whether any board has been saved (a first-time seller has none); true
    // while a history on a server is still being reached, until
    // history_ready() says it is.
    bool has_boards();

    // Whether closing the main window should only hide it: a tray icon is
    // shown and some saved board has a schedule.
    bool keeps_running();

    // One tick of the runner (the timer's); `now` for tests. Nothing while
    // the history is still being reached.
    void tick(board::Time now);
    bool paused() { return runner().paused(); }
    void set_paused(bool paused) { runner().set_paused(paused); }

    // These wait for a history on a server to be reached (or not).
    service::Runner& runner();
    const std::shared_ptr<history::Store>& store();
    // Why there is no history (Chinese): the window works on without one.
    const QString& store_problem();

    // Called to end the program from the tray.
    std::function<void()> on_quit;

  signals:
    // The history on a server has been reached, or found out of reach.
    void history_ready();

  private:
    class Events;
    // The history and the runner over it, as opened on any thread.
    struct Opened {
        std::shared_ptr<history::Store> store;
        QString problem;
        std::unique_ptr<service::Runner> runner;
    };

    static Opened open_history(const history::Location& location);
    void take(Opened opened);
    // Waits for the history being reached, if it is.
    void settle();
    bool settling() const;
    void make_tray();
    void show_notices(const board::Board& board, const std::vector<history::Notice>& notices);
    // The form offers the channels korvel.ini defines now.
    void offer_channels();
    void take_send_report(const notify::SendReport& report);
    void history_changed();

    QWidget& main_window_;
    std::shared_ptr<history::Store> store_;
    QString store_problem_;
    QSystemTrayIcon* tray_ = nullptr;
    QTimer* timer_ = nullptr;
    std::unique_ptr<service::Runner> runner_;
    std::unique_ptr<Events> events_;
    std::unique_ptr<RunnerRelay> relay_;
    // A server is reached off the window's thread: one that drops packets
    // would otherwise hold the program's start until its connect gives up.
    std::future<Opened> opening_;
    // Declared last: it goes before the runner it observes.
    std::unique_ptr<BoardWindow> board_window_;
};

}  // namespace app
