// A board on a year of history: how long the board window takes to open it
// (grid, best ranks, notices) and to draw one cell's chart over 全部, and the
// memory that costs. Run on a file from make_year_history:
//   bench_board_open FILE [BOARD]     (BOARD defaults to 年度看板)
// Plain output, one line per number.
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "app/board_window.h"
#include "app/rank_chart.h"
#include "text/codepage.h"

namespace {

long peak_rss_kb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: bench_board_open FILE [BOARD]\n";
        return 64;
    }
    const std::string board = argc > 2 ? argv[2] : "年度看板";
    QElapsedTimer clock;
    clock.start();
    auto opened = history::Store::open(argv[1]);
    if (!opened) {
        std::cerr << opened.error().message << '\n';
        return 1;
    }
    auto store = std::make_shared<history::Store>(std::move(opened).value());
    std::cout << "open history file: " << clock.restart() << " ms\n";
    app::BoardWindow window(store, nullptr);  // nothing runs
    window.show_message = [](const QString& m) { std::cerr << m.toStdString() << '\n'; };
    std::cout << "build window: " << clock.restart() << " ms\n";
    if (!window.open_board(text::utf8_to_gbk(board))) {
        std::cerr << "no board " << board << '\n';
        return 1;
    }
    window.show();
    QCoreApplication::processEvents();
    std::cout << "open board (" << window.layout().rows.size() << " rows): " << clock.restart()
              << " ms\n";
    app::RankChart* chart = window.show_chart(0, 0);
    if (chart == nullptr)
        return 1;
    chart->set_range(board::ChartRange::all);
    const QPixmap picture = chart->grab();
    std::cout << "chart 全部 read and drawn: " << clock.restart() << " ms\n";
    std::cout << "peak RSS: " << peak_rss_kb() / 1024 << " MB\n";
    return picture.isNull() ? 1 : 0;
}
