#pragma once
// The rank board: its grid of every keyword under every sort order (and the
// extra listings) first, filled as checks finish, with the change since the
// last good check and the best rank so far, a line summing up the last run,
// sorting and filters; the board's definition in a panel folded away under
// 编辑看板; the change notices by run; start, stop, re-check of the failed
// cells, CSV export, and the history it keeps.
// The window only observes runs: 开始检查, 重查失败 and 停止 go to the
// runner (service/runner.h), which reads goods pages and listings off the
// GUI thread and records every check there; its events arrive here as
// queued calls, for a run started here and a scheduled one alike, so the
// window never waits for the board. Checks another process (korvel-check,
// another machine on the same history) adds show up too.
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "board/board.h"
#include "board/board_log.h"
#include "board/board_settings.h"
#include "board/grid.h"
#include "board/run_pace.h"
#include "board/session.h"
#include "history/store.h"
#include "service/runner.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QScrollArea;
class QTimer;

namespace app {

class BoardForm;
class RankChart;
class RunnerRelay;

// Where an unmaximised window of `wanted` size goes on a screen whose free
// area (without a taskbar) is `available`, the frame (title bar, borders)
// around it: the client area, whole frame on screen, as large as wanted
// where there is room and never below `minimum`.
QRect fitted_window(const QRect& available, const QMargins& frame, const QSize& wanted,
                    const QSize& minimum);

// What a seller answers when a board that was run but not saved would be lost.
enum class UnsavedAnswer { save, discard, keep_open };

class BoardWindow final : public QWidget {
    Q_OBJECT

  public:
    // `store` may be empty (the history could not be opened: the board
    // still runs and says so). The window's runs are the runner's (which
    // outlives the window); without one nothing runs.
    BoardWindow(std::shared_ptr<history::Store> store, service::Runner* runner,
                QWidget* parent = nullptr);
    ~BoardWindow() override;

    // Starts checking the board on screen; false (with a message) when it
    // cannot start.
    bool start_checks();
    // Stops the run going, whichever board it checks.
    void stop_checks();
    bool recheck_failed();
    // Whether a run goes, as far as its events have arrived.
    bool running() const { return run_.has_value(); }
    // The board being run, or null.
    const board::Board* running_board() const;
    // Reads the history again when another process has written to it.
    void poll_history();
    // Why there is no history (Chinese), for the status line.
    void show_store_problem(const QString& problem);

    // Opens a saved board by name; false when there is none.
    bool open_board(const std::string& name_gbk);
    // Saves the board on screen under its name.
    bool save_board();

    // The board's exports (UTF-8 CSV with a byte-order mark, board/sheet_csv.h
    // and board/grid_csv.h): the latest check of every cell, one row per
    // goods item; the grid as laid out; the checks in [from, to) (empty
    // when the history cannot be read).
    std::string board_csv() const;
    std::string board_grid_csv() const;
    std::string history_csv(std::int64_t from_ms, std::int64_t to_ms) const;

    // Called when a run ends.
    std::function<void()> on_run_end;
    // The next planned start of a board (by GBK name), if it has a schedule.
    std::function<std::optional<board::Time>(const std::string&)> next_start_of;
    // Messages that would block a test go through this (UTF-8).
    std::function<void(const QString&)> show_message;
    // Questions that would block a test go through this (UTF-8); true: go ahead.
    std::function<bool(const QString&)> confirm;
    // The question before a board that was run but not saved is lost (UTF-8).
    std::function<UnsavedAnswer(const QString&)> ask_unsaved;

    // Whether the board on screen was run since it was last saved or opened
    // and differs from what is saved under its name.
    bool has_unsaved_run() const { return ran_unsaved_; }
    // Asks about such a board (save it, let it go, or keep the window open);
    // true when nothing is lost by closing.
    bool settle_unsaved();
    // The focus on the board's first field: the name while the definition
    // shows, else the grid.
    void focus_first_field();

    BoardForm* form = nullptr;
    QComboBox* 组合框看板 = nullptr;
    QPushButton* 按钮编辑看板 = nullptr;  // folds the board's definition away and back
    QScrollArea* 面板看板定义 = nullptr;
    QPushButton* 按钮保存看板 = nullptr;
    QPushButton* 按钮删除看板 = nullptr;
    QPushButton* 按钮开始检查 = nullptr;
    QPushButton* 按钮停止 = nullptr;
    QPushButton* 按钮重查失败 = nullptr;
    QPushButton* 按钮导出看板 = nullptr;
    QPushButton* 按钮导出历史 = nullptr;
    QDateEdit* 日期从 = nullptr;
    QDateEdit* 日期到 = nullptr;
    QComboBox* 组合框显示 = nullptr;
    QComboBox* 组合框筛选 = nullptr;  // 全部 / 只看下降 / 只看失败
    QLabel* 标签运行摘要 = nullptr;
    QTableWidget* 表格排名 = nullptr;
    QLabel* 标签看板状态 = nullptr;
    QProgressBar* 进度条看板 = nullptr;  // checks done of the run's total, while it runs
    QLineEdit* 编辑框通知筛选 = nullptr;
    QPushButton* 按钮导出通知 = nullptr;
    QListWidget* 列表通知 = nullptr;

    // The rank chart of a grid cell as shown (opened by a click on the cell).
    RankChart* show_chart(int row, int column);
    // Sorts the grid by a column's values (a click on its header); -1: board order.
    void sort_grid(int column, bool descending);
    void show_definition(bool shown);
    // The notices listed, newest run first, as CSV.
    std::string notices_csv() const;

    const board::Board& current_board() const { return board_; }
    const board::GridLayout& layout() const { return layout_; }
    const board::BoardLog* log() const { return log_.get(); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class Events;

    void build();
    QWidget* build_top_row();
    QWidget* build_action_row();
    QWidget* build_notice_panel();
    void wire();
    void wire_keys();
    void apply_tab_order();
    void place_on_screen();
    void update_progress(const board::RunStatus& status);
    bool saved_as(const board::Board& board) const;
    void tell_faults(const QString& what, const QStringList& faults);
    void delete_board();
    void refresh_board_names();
    void prepare_board(const board::Board& board);
    void mark_unreached();
    std::string begin(const board::Board& board, std::optional<std::vector<ranking::Listing>> only);
    void take_run_start(const board::Board& board, const board::CheckPlan& plan, bool scheduled);
    void show_run_start(const board::Board& board, const board::CheckPlan& plan, bool scheduled);
    bool showing_run() const;
    QString busy_text() const;
    void take_goods(const std::vector<board::ConfirmedGoods>& goods);
    void take_check(const history::Check& check, const std::vector<history::Notice>& notices);
    void run_ended(const board::SessionSummary& summary);
    void take_names(const std::vector<board::ConfirmedGoods>& goods);
    void load_notices();
    void add_notices(const std::vector<history::Notice>& notices);
    void refill_notices();
    std::vector<history::Notice> shown_notices() const;
    void export_notices();
    void refill_grid();
    void show_chart_of(const board::CellKey& key);
    board::CellView view_of(std::size_t layout_row, std::size_t column) const;
    void put_cell(int row, int column, const board::CellView& view);
    void fill_cell(int layout_row, int column);
    void update_row_shown(int row);
    void fit_row_header();
    void update_summary();
    void refresh_view_choices();
    void update_status();
    void count_all_checks();
    QString last_run_text() const;
    void tell(const QString& message);
    void export_to_file(const std::string& csv, const QString& suggested);
    QString export_name(std::string_view kind, const QString& date = {}) const;

    // The run going, from its start (ours shown at once, a scheduled one
    // when its event comes) to its end's event.
    struct ShownRun {
        board::Board board;
        bool scheduled = false;
    };

    std::shared_ptr<history::Store> store_;
    service::Runner* runner_ = nullptr;
    board::Board board_;  // the board on screen
    board::GridLayout layout_;
    std::unique_ptr<board::BoardLog> log_;
    std::unique_ptr<Events> events_;
    std::unique_ptr<RunnerRelay> relay_;
    std::optional<ShownRun> run_;
    QString store_problem_;
    std::set<board::CellKey> waiting_;   // cells of the run not recorded yet
    std::set<board::CellKey> stopped_;   // cells a stopped or given-up run did not reach
    std::int64_t stopped_since_ms_ = 0;  // the stopped_ cells have no check since then
    QTimer* status_timer_ = nullptr;
    std::size_t run_done_ = 0;
    std::size_t run_total_ = 0;
    board::MeasuredPace pace_;  // the run's pace as its answers came
    bool ran_unsaved_ = false;
    bool placed_ = false;                     // put on its screen once, at the first show
    std::int64_t seen_version_ = -1;          // the history's data_version last read
    std::optional<std::int64_t> all_checks_;  // every board's checks, as last counted
    std::vector<history::Notice> notices_;    // the board's notices listed, oldest first
    bool notices_cut_ = false;                // older notices than these are in the history
    // Read with the notices, not on each keystroke of the filter.
    std::vector<std::int64_t> run_starts_;  // the board's runs since the oldest notice listed
    std::map<std::int64_t, std::vector<history::Delivery>> deliveries_;  // by notice id
    std::optional<std::int64_t> run_start_ms_;  // the start of the run on screen
    std::vector<std::size_t> row_order_;        // grid row -> layout row
    int sort_column_ = -1;
    bool sort_descending_ = false;
    QWidget* chart_window_ = nullptr;
    RankChart* chart_ = nullptr;
    std::optional<board::CellKey> chart_key_;  // the cell the chart shows
};

}  // namespace app
