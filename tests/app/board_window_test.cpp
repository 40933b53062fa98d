// The board window against the simulator: every cell of the grid matches the
// simulator's own ranking, a refused host gives 失败 cells (never 千名外),
// and every check lands in the history file.
#include "app/board_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <filesystem>

#include "app/board_form.h"
#include "plain/raw_http_server.h"
#include "plain/temp_dir.h"
#include "qt/test_window.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace {

board::BoardSettings quick_settings() {
    board::BoardSettings s;
    s.pages_per_second = 200;  // the simulator on loopback: politeness is tested elsewhere
    s.jitter = 0;
    s.backoff_s = 0.01;
    s.request_timeout_s = 5;
    s.pause_s = 0.05;
    return s;
}

class BoardWindowTest : public testing::Test {
  protected:
    BoardWindowTest() {
        auto opened = history::Store::open(dir.path() / "history.sqlite");
        EXPECT_TRUE(opened.ok());
        store = std::make_shared<history::Store>(std::move(opened).value());
        window = std::make_unique<app::BoardWindow>(store, quick_settings());
        window->show_message = [this](const QString& m) { messages << m; };
    }

    void fill(const std::string& competitor, const std::string& keywords_utf8) {
        auto* f = window->form;
        ui::write_text(f->编辑框看板名称, text::utf8_to_gbk("测试看板"));
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

    test::TempDir dir;
    std::shared_ptr<history::Store> store;
    std::unique_ptr<app::BoardWindow> window;
    QStringList messages;
};

std::string expected_text(int position) {
    return position < 0 ? "千名外" : "第" + std::to_string(position) + "名";
}

TEST_F(BoardWindowTest, EveryCellMatchesTheSimulatorsRanking) {
    sim::Options options;
    options.port = 0;
    sim::Server server(options);
    ASSERT_TRUE(server.start());
    qt_test::ScopedHosts hosts(server.host());
    sim::Catalogue catalogue(server.options().seed);

    // A competitor that stands tenth under 辣条.
    const std::string rival_id = catalogue.keyword_listing("辣条", sim::Sort::overall).at(9);
    fill(rival_id, "辣条大礼包\n辣条");
    ASSERT_TRUE(window->start_checks());
    wait_for_run();
    EXPECT_TRUE(messages.isEmpty()) << messages.join("; ").toStdString();

    const std::vector<std::string> keywords = {"辣条大礼包", "辣条"};
    ASSERT_EQ(window->表格排名->rowCount(), 2);
    ASSERT_EQ(window->表格排名->columnCount(), 5);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 5; ++c) {
            const auto listing = catalogue.keyword_listing(keywords[r], sim::kAllSorts[c]);
            const int own = sim::expected_position(sim::ListingKind::keyword, listing,
                                                   sim::kSampleGoodsId, server.options());
            EXPECT_TRUE(cell(r, c).starts_with(expected_text(own)))
                << keywords[r] << " column " << c << ": " << cell(r, c);
        }
    }
    // The competitor rode along on the same pages.
    window->组合框显示->setCurrentIndex(1);
    window->组合框显示->activated(1);
    const auto listing = catalogue.keyword_listing("辣条", sim::Sort::overall);
    const int rival =
        sim::expected_position(sim::ListingKind::keyword, listing, rival_id, server.options());
    EXPECT_TRUE(cell(1, 0).starts_with(expected_text(rival))) << cell(1, 0);
    EXPECT_EQ(store->count_checks().value(), 10);
}

TEST_F(BoardWindowTest, ARefusedHostGivesFailedCellsNotOutsideTheThousand) {
    qt_test::ScopedHosts hosts("127.0.0.1:" + std::to_string(test::refused_port()));
    fill("", "辣条");
    // Ids need no goods page: the board can start without the marketplace.
    ASSERT_TRUE(window->start_checks());
    wait_for_run();
    // Failed, or not checked once the run gave up: never "not among the first 1000".
    for (int c = 0; c < 5; ++c) {
        EXPECT_TRUE(cell(0, c).starts_with("失败") || cell(0, c).starts_with("未检查"))
            << cell(0, c);
    }
    EXPECT_TRUE(cell(0, 0).starts_with("失败"));
    EXPECT_EQ(window->列表通知->count(), 1);  // one "checks failing" notice, no rank notices
}

}  // namespace
