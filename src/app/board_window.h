#pragma once
// The rank board: a board's definition, its grid of every keyword under every
// sort order (and the extra listings), filled as checks finish, with the
// change since the last good check and the best rank so far; start, stop,
// re-check of the failed cells, CSV export, and the history it keeps.
// Fetches run off the GUI thread in a board::BoardRun; reports arrive here
// as queued calls, so the window never waits for the board.
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "board/board.h"
#include "board/board_lock.h"
#include "board/board_log.h"
#include "board/board_run.h"
#include "board/board_settings.h"
#include "board/grid.h"
#include "history/store.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace app {

class BoardForm;
class RankChart;

class BoardWindow final : public QWidget {
    Q_OBJECT

  public:
    // `store` may be empty (the history file could not be opened: the board
    // still runs and says so).
    BoardWindow(std::shared_ptr<history::Store> store, board::BoardSettings settings,
                QWidget* parent = nullptr);
    ~BoardWindow() override;

    // Starts checking the board on screen; false (with a message) when it
    // cannot start. `scheduled`: started by a schedule, not by a click.
    bool start_checks(bool scheduled = false);
    void stop_checks();
    bool recheck_failed();
    bool running() const { return static_cast<bool>(run_); }

    // Opens a saved board by name; false when there is none.
    bool open_board(const std::string& name_gbk);
    // Saves the board on screen under its name.
    bool save_board();

    // The board's checks as CSV (UTF-8 with BOM), all or those in [from, to).
    std::string board_csv() const;
    std::string history_csv(std::int64_t from_ms, std::int64_t to_ms) const;

    // Called on the GUI thread after every run with its notices (UTF-8 messages).
    std::function<void(const std::vector<history::Notice>&)> on_notices;
    // Called when a run ends.
    std::function<void()> on_run_end;
    // Messages that would block a test go through this (UTF-8).
    std::function<void(const QString&)> show_message;

    BoardForm* form = nullptr;
    QComboBox* 组合框看板 = nullptr;
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
    QTableWidget* 表格排名 = nullptr;
    QLabel* 标签看板状态 = nullptr;
    QListWidget* 列表通知 = nullptr;

    // The rank chart of a grid cell (opened by a click on the cell).
    RankChart* show_chart(int row, int column);

    const board::Board& current_board() const { return board_; }
    const board::GridLayout& layout() const { return layout_; }
    const board::BoardLog* log() const { return log_.get(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void build();
    void wire();
    void refresh_board_names();
    void prepare_board(const board::Board& board);
    bool resolve_goods(board::Board& board);
    bool begin(board::CheckPlan plan);
    void take_report(const board::CheckReport& report);
    void run_ended();
    void refill_grid();
    void fill_cell(int row, int column);
    void refresh_view_choices();
    void update_status();
    void tell(const QString& message);
    void export_to_file(const std::string& csv, const QString& suggested);

    std::shared_ptr<history::Store> store_;
    board::BoardSettings settings_;
    board::Board board_;
    board::GridLayout layout_;
    std::unique_ptr<board::BoardLog> log_;
    board::CheckPlan plan_;
    std::vector<board::CheckReport> reports_;
    std::vector<history::Check> run_checks_;
    std::unique_ptr<board::BoardRun> run_;
    std::optional<board::BoardLock> lock_;  // held while a run goes on
    // Goods as typed (id or link) -> as their goods page gave them.
    std::map<std::string, board::GoodsItem> resolved_;
    std::size_t run_total_ = 0;
    QWidget* chart_window_ = nullptr;
    RankChart* chart_ = nullptr;
    std::optional<board::CellKey> chart_key_;  // the cell the chart shows
};

}  // namespace app
