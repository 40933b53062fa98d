// Renders each page of the main window, offscreen, to <dir>/page0.png ...
// page5.png. The window is built as the program builds it and skinned as at
// start, without the rest of the start-up sequence and without browser pages.
// Then the board window on a 1366x768 screen, with runs of a sample board
// against the local simulator started in this process: a new board's form
// to <dir>/board_new.png, a run under way to <dir>/board_run.png, and the
// board as it reopens afterwards to <dir>/board.png.
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <cstdio>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <filesystem>
#include <fstream>

#include "app/board_form.h"
#include "app/board_window.h"
#include "app/main_window.h"
#include "app/platform.h"
#include "app/qt_event_pump.h"
#include "app/settings.h"
#include "app/skin.h"
#include "app/window_description.h"
#include "net/event_pump.h"
#include "net/hosts.h"
#include "service/runner.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "text/codepage.h"
#include "ui/design_tab_widget.h"
#include "ui/widget_text.h"

namespace {

long long checks_in(const history::Store& store) {
    const auto count = store.count_checks();
    return count ? count.value() : 0;
}

bool save_picture(QWidget& widget, const QString& out_dir, const QString& name) {
    const QString file = QDir(out_dir).filePath(name);
    if (!widget.grab().save(file))
        return false;
    // Where the window stands on the screen: the picture is its inside only.
    const QRect outer = widget.frameGeometry();
    std::printf("%s (window %dx%d at %d,%d)\n", qPrintable(file), outer.width(), outer.height(),
                outer.x(), outer.y());
    return true;
}

// One run of the board on screen; with `stop_after`, 停止 once that many
// checks are recorded, as a seller who stops a run half-way; with
// `picture`, the window is drawn to it once `picture_after` checks are in.
void run_board(app::BoardWindow& window, history::Store& store, long long stop_after,
               const QString& out_dir = {}, const QString& picture = {},
               long long picture_after = 0) {
    const long long before = checks_in(store);
    if (!window.start_checks())
        return;
    bool drawn = picture.isEmpty();
    QElapsedTimer guard;
    guard.start();
    while (window.running() && guard.elapsed() < 120000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const long long done = checks_in(store) - before;
        if (!drawn && done >= picture_after) {
            save_picture(window, out_dir, picture);
            drawn = true;
        }
        if (stop_after > 0 && done >= stop_after)
            window.stop_checks();
    }
}

// A board of 18 keywords run three times: as it stands, after the own goods
// fell 30 places everywhere, and back up again in a run stopped after 52 of
// its 90 checks, so the grid shows rises, falls and 千名外 side by side. It is
// drawn as a seller opens it the next time, at 1366x768.
bool render_board(const QString& out_dir) {
    sim::Options options;
    options.port = 0;
    sim::Server server(options);
    if (!server.start())
        return false;
    const std::string host = server.host();
    app::override_hosts(net::Hosts{host, host, host, host, "goods2.html"});
    app::QtEventPump pump;
    net::set_event_pump(&pump);
    const auto dir = std::filesystem::temp_directory_path() / "korvel-render-board";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const sim::Catalogue catalogue(options.seed);
    const auto rivals = catalogue.keyword_listing("辣条", sim::Sort::overall);
    bool saved = false;
    {
        auto store =
            std::make_shared<history::Store>(history::Store::open(dir / "history.sqlite").value());
        service::RunnerConfig config;
        config.history_file = store->file();
        config.configuration = [] {
            service::Configuration c = app::configuration();
            c.board.pages_per_second = 40;
            c.board.jitter = 0;
            return c;
        };
        service::Runner runner(std::move(config));
        app::BoardWindow window(store, &runner);
        ui::write_text(window.form->编辑框看板名称, text::utf8_to_gbk("辣条店铺看板"));
        ui::write_text(window.form->编辑框本店商品, std::string(sim::kSampleGoodsId));
        ui::write_text(window.form->编辑框竞品, rivals.at(4) + "\n" + rivals.at(30));
        ui::write_text(window.form->编辑框看板关键词,
                       text::utf8_to_gbk("辣条\n辣条大礼包\n麻辣零食\n卫龙辣条\n素牛筋\n豆干\n"
                                         "零食大礼包\n休闲零食\n网红零食\n办公室零食\n牛肉干\n"
                                         "鸭脖\n薯片\n坚果\n麻辣小吃\n湖南特产\n儿时怀旧零食\n"
                                         "小包装零食整箱批发价"));
        window.show();
        QApplication::processEvents();
        window.save_board();
        window.show_definition(false);
        for (const auto& [shift, stop_after] : {std::pair{0, 0LL}, {30, 0LL}, {0, 52LL}}) {
            sim::Options moved = server.options();
            moved.rank_shift = shift;
            server.set_options(moved);
            // The last run is drawn half-way, its progress bar and time left showing.
            const bool last = stop_after > 0;
            run_board(window, *store, stop_after, out_dir,
                      last ? QStringLiteral("board_run.png") : QString(), 30);
        }
        window.hide();

        app::BoardWindow fresh(store, &runner);
        fresh.show();
        QApplication::processEvents();
        saved = save_picture(fresh, out_dir, QStringLiteral("board_new.png"));
        fresh.hide();

        app::BoardWindow reopened(store, &runner);
        reopened.open_board(text::utf8_to_gbk("辣条店铺看板"));
        reopened.show();
        QApplication::processEvents();
        saved = save_picture(reopened, out_dir, QStringLiteral("board.png")) && saved;
    }
    net::set_event_pump(nullptr);
    std::filesystem::remove_all(dir);
    return saved;
}

// The offscreen platform with one 1366x768 screen: the board window places
// itself on its screen as it would on a seller's laptop.
std::filesystem::path small_screen_file() {
    const auto file = std::filesystem::temp_directory_path() / "korvel-render-screen.json";
    std::ofstream(file) << R"({"windowFrameMargins": false, "screens": [{"name": "laptop",)"
                        << R"( "x": 0, "y": 0, "width": 1366, "height": 768,)"
                        << R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path screen;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        screen = small_screen_file();
        qputenv("QT_QPA_PLATFORM",
                QByteArray::fromStdString("offscreen:configfile=" + screen.string()));
    }
    app::prepare_browser_environment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    if (!screen.empty())
        std::filesystem::remove(screen);
    const QString out_dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    if (!QDir().mkpath(out_dir)) {
        std::fprintf(stderr, "render-pages: cannot create %s\n", qPrintable(out_dir));
        return 1;
    }

    // The look the program has once its start-up has applied the skin.
    const std::string_view sheet = app::skin_style_sheet(app::skin_block());
    application.setStyleSheet(
        QString::fromUtf8(sheet.data(), static_cast<qsizetype>(sheet.size())));

    app::ProgramData data;
    app::WindowOptions options;
    options.run_startup = false;
    options.load_browser_pages = false;
    options.first_visit = {};  // pages show as designed, not after a list load
    app::MainWindow window(data, std::move(options));
    window.show();

    for (int page = 0; page < app::kPageCount; ++page) {
        window.选择夹1->setCurrentIndex(page);
        QApplication::processEvents();
        const QString file = QDir(out_dir).filePath(QStringLiteral("page%1.png").arg(page));
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "render-pages: cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }
    window.hide();
    if (!render_board(out_dir)) {
        std::fprintf(stderr, "render-pages: cannot render the board window\n");
        return 1;
    }
    return 0;
}
