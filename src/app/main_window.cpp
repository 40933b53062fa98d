#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QWebEnginePage>

#include "app/board_form.h"
#include "app/board_window.h"
#include "app/catalogue_choices.h"
#include "app/enter_runs.h"
#include "app/settings.h"
#include "app/settings_dialog.h"
#include "app/startup_sequence.h"
#include "app/startup_steps.h"
#include "app/tracker.h"
#include "app/window_catalogue_view.h"
#include "app/window_description.h"
#include "app/window_query_view.h"
#include "catalogue/catalogue_handlers.h"
#include "catalogue/selection_lists.h"
#include "net/hosts.h"
#include "ranking/query_handlers.h"
#include "ui/design_tab_widget.h"
#include "ui/transparent_label.h"

namespace app {

StartupSteps StartupSteps::program_defaults() {
    return {app::install_skin, app::check_update, app::show_announcement};
}

FirstVisitLoaders FirstVisitLoaders::program_defaults() {
    return {catalogue::load_level1_first_visit, catalogue::load_tabs_first_visit};
}

MainWindow::MainWindow(app::ProgramData& data, WindowOptions options)
    : options_(std::move(options)),
      context_{*this, data},
      query_view_(std::make_unique<WindowQueryView>(*this)),
      catalogue_view_(std::make_unique<WindowCatalogueView>(*this)) {
    build_controls();
    find_members();
    bind_events();
    if (options_.tracker)
        tracker();
    show_board_pointer();
    if (options_.load_browser_pages)
        load_home_page();
    // The created event: the window stays hidden while the sequence runs.
    if (options_.run_startup)
        run_startup_sequence(*this, options_.startup);
}

MainWindow::~MainWindow() = default;

MainWindow* MainWindow::find() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<MainWindow*>(widget))
            return window;
    }
    return nullptr;
}

void MainWindow::bind(QPushButton* button,
                      void (*query)(ranking::QueryView&, ranking::QueryState&)) {
    connect(button, &QPushButton::clicked, this,
            [this, query] { query(*query_view_, query_state()); });
}

ranking::QueryState& MainWindow::query_state() {
    context_.data.query.hosts = configuration().hosts;
    return context_.data.query;
}

catalogue::CatalogueData& MainWindow::lists() {
    context_.data.catalogue.hosts = configuration().hosts;
    return context_.data.catalogue;
}

ranking::QueryView& MainWindow::query_view() {
    return *query_view_;
}

catalogue::CatalogueView& MainWindow::catalogue_view() {
    return *catalogue_view_;
}

void MainWindow::bind(QComboBox* box,
                      void (*entry)(catalogue::CatalogueView&, catalogue::CatalogueData&)) {
    // A user's choice only: filling a box must not look like a selection.
    connect(box, &QComboBox::activated, this, [this, entry] { entry(*catalogue_view_, lists()); });
}

void MainWindow::bind_events() {
    bind(按钮关键词排名搜索, ranking::keyword_query);
    bind(按钮类目排名搜索, ranking::category_query);
    bind(按钮爱逛街查询, ranking::ishopping_query);
    bind(按钮新品查询, ranking::new_goods_query);
    run_on_enter(*编辑框2, *按钮关键词排名搜索);
    run_on_ctrl_enter(*编辑框3, *按钮关键词排名搜索);
    run_on_enter(*编辑框12, *按钮类目排名搜索);
    run_on_enter(*编辑框16, *按钮爱逛街查询);
    run_on_enter(*编辑框18, *按钮新品查询);
    bind(组合框1, catalogue::on_level1_selected);
    bind(组合框2, catalogue::on_level2_selected);
    bind(组合框3, catalogue::on_level3_selected);
    bind(组合框4, catalogue::on_tab_selected);
    透明标签1->set_on_left_press([this] { catalogue::retry_level1(*catalogue_view_, lists()); });
    透明标签2->set_on_left_press([this] { catalogue::retry_tabs(*catalogue_view_, lists()); });
    connect(选择夹1, &QTabWidget::currentChanged, this, &MainWindow::load_on_first_visit);
    // Below the page area, on the window itself, so no page changes its layout.
    按钮排名看板 = new QPushButton(QStringLiteral("排名看板"), this);
    按钮排名看板->setObjectName(QStringLiteral("按钮排名看板"));
    const QRect pages = 选择夹1->geometry();
    按钮排名看板->setGeometry(pages.right() - 80, pages.bottom() + 5, 80, 24);
    按钮排名看板->show();
    connect(按钮排名看板, &QPushButton::clicked, this, &MainWindow::open_board);
    auto* 按钮设置 = new QPushButton(QStringLiteral("设置"), this);
    按钮设置->setObjectName(QStringLiteral("按钮设置"));
    按钮设置->setGeometry(pages.right() - 80 - 5 - 60, pages.bottom() + 5, 60, 24);
    按钮设置->show();
    connect(按钮设置, &QPushButton::clicked, this, [this] { open_settings_dialog(this); });
    // A seller new to the program learns the board is there, until they have opened it.
    // Looks like a link: a line of text that opens the board.
    按钮看板引导 = new QPushButton(QStringLiteral("新：排名看板，定时跟踪多个关键词 →"), this);
    按钮看板引导->setObjectName(QStringLiteral("按钮看板引导"));
    按钮看板引导->setFlat(true);
    按钮看板引导->setCursor(Qt::PointingHandCursor);
    按钮看板引导->setStyleSheet(
        QStringLiteral("QPushButton { border: none; background: transparent; color: #1a4f8a;"
                       " text-decoration: underline; text-align: left; padding: 0; }"));
    按钮看板引导->setToolTip(
        QStringLiteral("把本店商品、竞品和关键词放进一个看板：一次查全部排序，定时检查，"
                       "看排名走势和变动通知"));
    按钮看板引导->setGeometry(pages.left(), pages.bottom() + 5, 按钮设置->x() - 6 - pages.left(),
                              24);
    connect(按钮看板引导, &QPushButton::clicked, this, &MainWindow::open_board);
    show_board_pointer();
}

void MainWindow::load_on_first_visit(int new_page) {
    // Lists load the first time their page opens and again after a failed load
    // (the buffer is still empty then). A load dispatches events while it
    // waits, so the current page is read again before the second check.
    catalogue::CatalogueData& lists = this->lists();
    if (new_page == 1 && catalogue::needs_loading(lists, catalogue::ListKind::Level1)) {
        选择夹1->setCurrentIndex(1);
        if (options_.first_visit.level1)
            options_.first_visit.level1(*catalogue_view_, lists);
    }
    if (选择夹1->currentIndex() == 2 &&
        catalogue::needs_loading(lists, catalogue::ListKind::Tabs)) {
        选择夹1->setCurrentIndex(2);
        if (options_.first_visit.tabs)
            options_.first_visit.tabs(*catalogue_view_, lists);
    }
}

void MainWindow::load_home_page() {
    超文本浏览框1->load(vendor_home_url(configuration().hosts.vendor_info));
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fit_outer_geometry();
    // Window managers add the frame after mapping; look once more when they have.
    QTimer::singleShot(0, this, &MainWindow::fit_outer_geometry);
}

void MainWindow::fit_outer_geometry() {
    const QSize frame_extra = frameGeometry().size() - geometry().size();
    const WindowSpec& spec = window_spec();
    const QSize client(spec.outer.width - frame_extra.width(),
                       spec.outer.height - frame_extra.height());
    if (client != size())
        setFixedSize(client);
    // move() places the frame's corner for a top-level window.
    if (pos() != QPoint(spec.outer.left, spec.outer.top))
        move(spec.outer.left, spec.outer.top);
}

Tracker& MainWindow::tracker() {
    if (tracker_ == nullptr) {
        tracker_ = new Tracker(*this, options_.history_file);
        tracker_->on_quit = [this] { end_program(); };
        connect(tracker_, &Tracker::history_ready, this, [this] { show_board_pointer(); });
    }
    return *tracker_;
}

void MainWindow::end_program(bool ask) {
    keep_in_tray_ = false;
    ask_unsaved_ = ask_unsaved_ && ask;
    close();
}

void MainWindow::record_check(const history::Check& check) {
    if (tracker_ != nullptr && tracker_->store())
        (void)tracker_->store()->add_check(check);
}

// Shown while no board is saved and the board window was never opened.
void MainWindow::show_board_pointer() {
    const bool first_time = !board_opened_ && (tracker_ == nullptr || !tracker_->has_boards());
    按钮看板引导->setVisible(first_time);
}

void MainWindow::open_board() {
    board_opened_ = true;
    show_board_pointer();
    board_form_ = tracker().board_window().form;
    share_catalogue();
    tracker().open_board_window();
}

void MainWindow::share_catalogue() {
    if (board_form_)
        board_form_->set_catalogue(catalogue_choices(context_.data.catalogue));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // With a schedule to keep and a tray icon to come back from, closing only hides.
    if (keep_in_tray_ && tracker_ != nullptr && tracker_->keeps_running()) {
        event->ignore();
        hide();
        return;
    }
    // The program ends: a board run but not saved would go with it.
    if (ask_unsaved_ && tracker_ != nullptr && !tracker_->settle_unsaved_board()) {
        keep_in_tray_ = true;
        event->ignore();
        return;
    }
    event->accept();
    if (options_.on_close)
        options_.on_close();
}

}  // namespace app
