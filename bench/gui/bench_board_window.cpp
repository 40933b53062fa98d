// The board window while its board runs: how long the GUI thread is ever kept
// from its events (target: every event answered within 50 ms). A 1 ms timer
// ticks through the whole run of a 5 keyword x 5 sort board with one
// competitor against a simulator that answers after 300 ms; the longest gap
// between two ticks is the longest stall. Plain output, one line per number.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <iostream>

#include "app/board_form.h"
#include "app/board_window.h"
#include "app/qt_event_pump.h"
#include "app/settings.h"
#include "net/event_pump.h"
#include "net/hosts.h"
#include "service/runner.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The program's own pump: goods pages are read while the window's events run.
    app::QtEventPump pump;
    net::set_event_pump(&pump);
    sim::Options options;
    options.port = 0;
    options.delay_ms = 300;
    sim::Server server(options);
    if (!server.start())
        return 1;
    const std::string host = server.host();
    app::override_hosts(net::Hosts{host, host, host, host, "goods2.html"});

    const auto dir = std::filesystem::temp_directory_path() / "korvel-bench-board-window";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    auto store =
        std::make_shared<history::Store>(history::Store::open(dir / "history.sqlite").value());
    service::RunnerConfig config;
    config.history_file = store->file();
    config.configuration = [] {
        service::Configuration c = app::configuration();
        c.board = board::BoardSettings{};
        return c;
    };
    service::Runner runner(std::move(config));
    app::BoardWindow window(store, &runner);
    window.show_message = [](const QString& m) { std::cerr << m.toStdString() << '\n'; };
    ui::write_text(window.form->编辑框看板名称, "bench");
    ui::write_text(window.form->编辑框本店商品, std::string(sim::kSampleGoodsId));
    ui::write_text(window.form->编辑框竞品, "96919329");
    ui::write_text(window.form->编辑框看板关键词,
                   text::utf8_to_gbk("辣条大礼包\n辣条\n辣条礼包\n零食\n大礼包"));
    window.show();

    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    window.on_run_end = [] { QCoreApplication::quit(); };
    clock.start();
    ticker.start(1);
    if (!window.start_checks())
        return 1;
    const qint64 started = clock.elapsed();
    QApplication::exec();
    std::cout << "checks " << window.log()->size() << "\n"
              << "run_ms " << clock.elapsed() - started << "\n"
              << "longest_gui_stall_ms " << longest << "\n";
    std::filesystem::remove_all(dir);
    net::set_event_pump(nullptr);
    return 0;
}
