#pragma once
// The program's one window, built from the window description. Every visible
// control is a member whose identifier is the control's name and whose
// objectName is the same name, so handlers find it with ui::control<T>(window,
// "编辑框5") and code in this module can write window.编辑框5.
#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/program_data.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWebEnginePage;
class QWebEngineView;

namespace ui {
class DesignTabWidget;
class TransparentLabel;
}  // namespace ui

namespace history {
struct Check;
}  // namespace history

namespace ranking {
class QueryView;
struct QueryState;
}  // namespace ranking

namespace catalogue {
class CatalogueView;
struct CatalogueData;
}  // namespace catalogue

namespace app {

class BoardForm;
class Tracker;
class WindowCatalogueView;
class WindowQueryView;
using Handler = std::function<void(app::Context&)>;

// The steps of the start-up sequence that other parts of the shell provide;
// tests replace them to watch the order.
struct StartupSteps {
    std::function<void()> install_skin;
    Handler check_update;
    Handler show_announcement;
    static StartupSteps program_defaults();
};

// What 选择夹1 runs the first time 类目排名 / 爱逛街排名 is opened.
using CatalogueLoader = std::function<void(catalogue::CatalogueView&, catalogue::CatalogueData&)>;
struct FirstVisitLoaders {
    CatalogueLoader level1;
    CatalogueLoader tabs;
    static FirstVisitLoaders program_defaults();
};

struct WindowOptions {
    // Run the start-up sequence as the window's created event.
    bool run_startup = true;
    // Let 超文本浏览框1 load the vendor home page when the window is created.
    bool load_browser_pages = true;
    StartupSteps startup = StartupSteps::program_defaults();
    FirstVisitLoaders first_visit = FirstVisitLoaders::program_defaults();
    // Called when the user closes the window (after the close is accepted).
    std::function<void()> on_close;
    // The rank board, its history file, schedules and tray icon from the
    // start (the program turns this on; otherwise they start on first use).
    bool tracker = false;
    std::filesystem::path history_file;  // empty: the user's default history file
};

class MainWindow final : public QWidget {
    Q_OBJECT

  public:
    explicit MainWindow(app::ProgramData& data, WindowOptions options = {});
    ~MainWindow() override;

    // The program's main window, from its constructor on (the start-up
    // sequence runs inside it), or nullptr.
    static MainWindow* find();

    // What every handler gets: this window and the program data beside it.
    app::Context& context() { return context_; }
    app::ProgramData& data() { return context_.data; }
    // What the ranking queries see of this window.
    ranking::QueryView& query_view();
    // The board, history and schedules beside this window (made on first use).
    Tracker& tracker();
    // Opens the board window (the "排名看板" button below the pages).
    void open_board();
    // Hands the category and 爱逛街 lists as loaded now to the board form,
    // once the board window has been opened.
    void share_catalogue();
    // Ends the program even while schedules would keep it in the tray; with
    // `ask`, a board that was run but not saved is asked about first (a
    // termination request from the system does not wait for an answer).
    void end_program(bool ask = true);
    // Keeps a finished single query's run in the check history.
    void record_check(const history::Check& check);
    // What the catalogue sees of this window.
    catalogue::CatalogueView& catalogue_view();
    // The queries' and the lists' data, with the hosts of the configuration
    // in force now (the settings dialog may have changed them).
    ranking::QueryState& query_state();
    catalogue::CatalogueData& lists();

    // The first-visit loading of 选择夹1 (the handler of a current-page change).
    void load_on_first_visit(int new_page);

    // On the window.
    QGroupBox* 分组框1 = nullptr;
    QPlainTextEdit* 编辑框20 = nullptr;
    ui::DesignTabWidget* 选择夹1 = nullptr;
    QProgressBar* 进度条1 = nullptr;
    // The vendor home page, loaded at creation and never shown or read: a
    // browser page without a view loads like any other but needs no surface
    // to draw on and cannot appear by accident.
    QWebEnginePage* 超文本浏览框1 = nullptr;

    // Page 0, 关键词排名.
    QRadioButton* 单选框综合 = nullptr;
    QRadioButton* 单选框销量 = nullptr;
    QRadioButton* 单选框评分 = nullptr;
    QRadioButton* 单选框价格低 = nullptr;
    QRadioButton* 单选框价格高 = nullptr;
    QButtonGroup* sort_order = nullptr;  // the five radio buttons above
    QLabel* 标签2 = nullptr;
    QLineEdit* 编辑框2 = nullptr;
    QPushButton* 按钮关键词排名搜索 = nullptr;
    QLabel* 标签3 = nullptr;
    QPlainTextEdit* 编辑框3 = nullptr;
    QLabel* 标签6 = nullptr;
    QLabel* 标签7 = nullptr;
    QPlainTextEdit* 编辑框5 = nullptr;

    // Page 1, 类目排名.
    QLabel* 标签4 = nullptr;
    QComboBox* 组合框1 = nullptr;
    QLabel* 标签5 = nullptr;
    QComboBox* 组合框2 = nullptr;
    QLabel* 标签8 = nullptr;
    QComboBox* 组合框3 = nullptr;
    QLabel* 标签9 = nullptr;
    QLineEdit* 编辑框12 = nullptr;
    QPushButton* 按钮类目排名搜索 = nullptr;
    QLabel* 标签13 = nullptr;
    QLabel* 标签12 = nullptr;
    ui::TransparentLabel* 透明标签1 = nullptr;
    QLabel* 标签10 = nullptr;
    QLabel* 标签11 = nullptr;
    QLabel* 标签20 = nullptr;
    QPlainTextEdit* 编辑框13 = nullptr;

    // Page 2, 爱逛街排名.
    QLabel* 标签14 = nullptr;
    QComboBox* 组合框4 = nullptr;
    QLabel* 标签15 = nullptr;
    QLineEdit* 编辑框16 = nullptr;
    QPushButton* 按钮爱逛街查询 = nullptr;
    QLabel* 标签17 = nullptr;
    QLabel* 标签16 = nullptr;
    ui::TransparentLabel* 透明标签2 = nullptr;
    QLabel* 标签18 = nullptr;
    QLabel* 标签19 = nullptr;
    QLabel* 标签21 = nullptr;
    QPlainTextEdit* 编辑框17 = nullptr;

    // Page 3, 新品排名.
    QLabel* 标签22 = nullptr;
    QLineEdit* 编辑框18 = nullptr;
    QPushButton* 按钮新品查询 = nullptr;
    QLabel* 标签23 = nullptr;
    QLabel* 标签24 = nullptr;
    QLabel* 标签25 = nullptr;
    QLabel* 标签26 = nullptr;
    QLabel* 标签27 = nullptr;
    QPlainTextEdit* 编辑框19 = nullptr;

    // Page 4, 更多工具.
    QWebEngineView* Tovin网页框1 = nullptr;

    // Page 5, 文字教程.
    QLabel* 标签28 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void build_controls();
    void find_members();
    void bind_events();
    void bind(QPushButton* button, void (*query)(ranking::QueryView&, ranking::QueryState&));
    void bind(QComboBox* box, void (*entry)(catalogue::CatalogueView&, catalogue::CatalogueData&));
    void load_home_page();
    void show_board_pointer();
    // Makes the outer size (frame included) the designed one, once the
    // platform knows the frame.
    void fit_outer_geometry();

    WindowOptions options_;
    app::Context context_;
    std::unique_ptr<WindowQueryView> query_view_;
    Tracker* tracker_ = nullptr;  // a child of this window
    bool keep_in_tray_ = true;    // false once the tray's 退出 asked to end
    bool ask_unsaved_ = true;     // false once the system asked to end
    QPushButton* 按钮排名看板 = nullptr;
    QPushButton* 按钮看板引导 = nullptr;  // points a first-time seller to 排名看板
    bool board_opened_ = false;
    std::unique_ptr<WindowCatalogueView> catalogue_view_;
    QPointer<BoardForm> board_form_;  // the board window's form, once opened
};

}  // namespace app
