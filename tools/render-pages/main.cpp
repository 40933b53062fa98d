// Renders each page of the main window, offscreen, to <dir>/page0.png ...
// page5.png. The window is built as the program builds it and skinned as at
// start, without the rest of the start-up sequence and without browser pages.
// Then the board window, after one run of a sample board against the local
// simulator started in this process, to <dir>/board.png.
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <cstdio>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <filesystem>

#include "app/board_form.h"
#include "app/board_window.h"
#include "app/main_window.h"
#include "app/platform.h"
#include "app/qt_event_pump.h"
#include "app/skin.h"
#include "app/window_description.h"
#include "net/event_pump.h"
#include "net/hosts.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "text/codepage.h"
#include "ui/design_tab_widget.h"
#include "ui/widget_text.h"

namespace {

bool render_board(const QString& out_dir) {
    sim::Options options;
    options.port = 0;
    sim::Server server(options);
    if (!server.start())
        return false;
    const std::string host = server.host();
    net::set_hosts(net::Hosts{host, host, host, host, "goods2.html"});
    app::QtEventPump pump;
    net::set_event_pump(&pump);
    const auto dir = std::filesystem::temp_directory_path() / "korvel-render-board";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    bool saved = false;
    {
        auto store =
            std::make_shared<history::Store>(history::Store::open(dir / "history.sqlite").value());
        board::BoardSettings fast;
        fast.pages_per_second = 50;
        app::BoardWindow window(store, fast);
        ui::write_text(window.form->编辑框看板名称, text::utf8_to_gbk("辣条日常"));
        ui::write_text(window.form->编辑框本店商品, std::string(sim::kSampleGoodsId));
        ui::write_text(window.form->编辑框竞品, "96919329");
        ui::write_text(window.form->编辑框看板关键词,
                       text::utf8_to_gbk("辣条大礼包\n辣条\n辣条礼包"));
        window.show();
        window.start_checks();
        QElapsedTimer guard;
        guard.start();
        while (window.running() && guard.elapsed() < 60000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        const QString file = QDir(out_dir).filePath(QStringLiteral("board.png"));
        saved = window.grab().save(file);
        std::printf("%s\n", qPrintable(file));
    }
    net::set_event_pump(nullptr);
    std::filesystem::remove_all(dir);
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    app::prepare_browser_environment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
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
