#pragma once
// A board window over a history file of its own in a temporary directory,
// its runs those of a runner over the same file, brisk enough for the
// simulator on loopback; its messages collected.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTableWidget>
#include <memory>
#include <string>

#include "app/board_form.h"
#include "app/board_window.h"
#include "app/settings.h"
#include "plain/temp_dir.h"
#include "service/runner.h"
#include "sim_catalogue.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace test {

inline board::BoardSettings quick_board_settings() {
    board::BoardSettings s;
    s.pages_per_second = 200;  // the simulator on loopback: politeness is tested elsewhere
    s.jitter = 0;
    s.backoff_s = 0.01;
    s.request_timeout_s = 5;
    s.pause_s = 0.05;
    return s;
}

// The window's runner without the window's timer: runs start from the window.
inline std::unique_ptr<service::Runner> quick_runner(const history::Location& history) {
    service::RunnerConfig config;
    config.history_file = history;
    config.configuration = [] {
        service::Configuration c = app::configuration();  // the test's hosts
        c.board = quick_board_settings();
        return c;
    };
    return std::make_unique<service::Runner>(std::move(config));
}

class BoardWindowFixture : public testing::Test {
  protected:
    BoardWindowFixture() {
        auto opened = history::Store::open(dir.path() / "history.sqlite");
        EXPECT_TRUE(opened.ok());
        store = std::make_shared<history::Store>(std::move(opened).value());
        runner = quick_runner(store->file());
        window = std::make_unique<app::BoardWindow>(store, runner.get());
        window->show_message = [this](const QString& m) { messages << m; };
    }

    // The board `name` of the sample goods, a competitor and keywords (one a line).
    void fill_board(const std::string& name_utf8, const std::string& competitor,
                    const std::string& keywords_utf8) {
        auto* f = window->form;
        ui::write_text(f->编辑框看板名称, text::utf8_to_gbk(name_utf8));
        ui::write_text(f->编辑框本店商品, std::string(sim::kSampleGoodsId));
        ui::write_text(f->编辑框竞品, competitor);
        ui::write_text(f->编辑框看板关键词, text::utf8_to_gbk(keywords_utf8));
    }

    // Runs the event loop until the board's run has ended (a hang guard only).
    void wait_for_run() {
        QElapsedTimer guard;
        guard.start();
        while (window->running() && guard.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        ASSERT_FALSE(window->running());
    }

    std::string cell(int row, int column) const {
        const QTableWidgetItem* item = window->表格排名->item(row, column);
        return item == nullptr ? std::string() : item->text().toStdString();
    }

    TempDir dir;
    std::shared_ptr<history::Store> store;
    std::unique_ptr<service::Runner> runner;  // outlives the windows that observe it
    std::unique_ptr<app::BoardWindow> window;
    QStringList messages;
};

}  // namespace test
