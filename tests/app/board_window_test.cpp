// The board window against the simulator: every cell of the grid matches the
// simulator's own ranking, a refused host gives 失败 cells (never 千名外),
// and every check lands in the history file.
#include "app/board_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTimeEdit>
#include <filesystem>

#include "app/board_form.h"
#include "board_window_fixture.h"
#include "plain/raw_http_server.h"
#include "plain/temp_dir.h"
#include "qt/test_window.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace {

class BoardWindowTest : public test::BoardWindowFixture {
  protected:
    void fill(const std::string& competitor, const std::string& keywords_utf8) {
        fill_board("测试看板", competitor, keywords_utf8);
    }
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
    EXPECT_TRUE(window->标签看板状态->text().startsWith(QStringLiteral("历史中共有 10 次检查")))
        << window->标签看板状态->text().toStdString();
}

TEST_F(BoardWindowTest, ARefusedHostGivesFailedCellsNotOutsideTheThousand) {
    qt_test::ScopedHosts hosts("127.0.0.1:" + std::to_string(test::refused_port()));
    fill("", "辣条");
    ASSERT_TRUE(window->start_checks());
    wait_for_run();
    // Failed, or not checked once the run gave up: never "not among the first 1000".
    for (int c = 0; c < 5; ++c) {
        EXPECT_TRUE(cell(0, c).starts_with("失败") || cell(0, c).starts_with("未检查"))
            << cell(0, c);
    }
    EXPECT_TRUE(cell(0, 0).starts_with("失败"));
    // One run's heading and its one "checks failing" notice, no rank notices.
    EXPECT_EQ(window->列表通知->count(), 2);
}

// korvel-check on a timer writes to the same file: the open window shows its
// check and notice, and a window opened later still lists the notice.
TEST_F(BoardWindowTest, ChecksAndNoticesWrittenElsewhereShowUpAndOutliveTheWindow) {
    fill("", "辣条");
    ASSERT_TRUE(window->save_board());
    ASSERT_TRUE(window->open_board(text::utf8_to_gbk("测试看板")));
    auto other = history::Store::open(dir.path() / "history.sqlite");
    ASSERT_TRUE(other.ok());
    history::Check check;
    check.board = "测试看板";
    check.key = "辣条";
    check.sort = history::Sort::default_order;
    check.time_ms = 1'000'000;
    check.pages_read = 1;
    check.outcome = history::Outcome::found;
    check.goods = {{std::string(sim::kSampleGoodsId), history::Role::own, 42}};
    history::Notice notice;
    notice.board = "测试看板";
    notice.time_ms = 1'000'000;
    notice.key = "辣条";
    notice.sort = history::Sort::default_order;
    notice.kind = "rank_move";
    notice.message = "辣条 · 综合：第12名 → 第42名";
    std::vector<history::Notice> notices{notice};
    ASSERT_TRUE(other.value().record_check(check, notices).ok());

    window->poll_history();
    EXPECT_TRUE(cell(0, 0).starts_with("第42名")) << cell(0, 0);
    EXPECT_TRUE(window->标签看板状态->text().startsWith(
        QStringLiteral("历史中共有 1 次检查（本看板 1 次）")))
        << window->标签看板状态->text().toStdString();
    ASSERT_EQ(window->列表通知->count(), 2);  // the run's heading and its notice

    app::BoardWindow reopened(store, runner.get());
    ASSERT_TRUE(reopened.open_board(text::utf8_to_gbk("测试看板")));
    ASSERT_EQ(reopened.列表通知->count(), 2);
    EXPECT_TRUE(reopened.列表通知->item(1)->text().contains(QStringLiteral("第42名")));
}

// Typing mistakes are refused before anything runs; a goods item that does not
// exist is named in the form and its cells fail instead of reading 千名外.
TEST_F(BoardWindowTest, MistypedInputIsRefusedOrReportedNeverNotRanked) {
    sim::Options options;
    options.port = 0;
    sim::Server server(options);
    ASSERT_TRUE(server.start());
    qt_test::ScopedHosts hosts(server.host());
    for (const auto& [category, keywords, refused] :
         {std::tuple<std::string, std::string, std::string>{"零食", "辣条", "不是类目ID"},
          {"", "辣条😀", "含有无法保存的字符"}}) {
        messages.clear();
        fill("", keywords);
        ui::write_text(window->form->编辑框看板类目, text::utf8_to_gbk(category));
        window->form->编辑框看板关键词->setPlainText(QString::fromStdString(keywords));
        EXPECT_FALSE(window->start_checks());
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(QString::fromStdString(refused)))
            << messages[0].toStdString();
    }
    // 保存看板 refuses the same way, every problem in its one message.
    messages.clear();
    ui::write_text(window->form->编辑框看板类目, text::utf8_to_gbk("零食"));
    EXPECT_FALSE(window->save_board());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("不是类目ID")) &&
                messages[0].contains(QStringLiteral("含有无法保存的字符")))
        << messages[0].toStdString();
    EXPECT_TRUE(store->board_names().value().empty());
    ui::write_text(window->form->编辑框看板类目, std::string());
    fill("", "辣条");
    ui::write_text(window->form->编辑框本店商品, std::string("99999999"));
    ASSERT_TRUE(window->start_checks());
    wait_for_run();
    EXPECT_TRUE(window->form->标签商品提示->text().contains(QStringLiteral("商品不存在或已下架")));
    for (int c = 0; c < 5; ++c)
        EXPECT_TRUE(cell(0, c).starts_with("失败")) << cell(0, c);
}

// While the marketplace holds the board back the status line says until when,
// and after 停止 the cells it never reached say 未检查, also once the board is
// opened again; 重查失败 checks them.
TEST_F(BoardWindowTest, APauseShowsItsEndAndAStoppedRunMarksWhatItDidNotReach) {
    sim::Options options;
    options.port = 0;
    sim::Server server(options);
    ASSERT_TRUE(server.start());
    qt_test::ScopedHosts hosts(server.host());
    fill("", "辣条");
    ASSERT_TRUE(window->start_checks());  // every cell read once
    wait_for_run();
    sim::Options held = server.options();
    held.fault_path = "/search";
    held.status = 429;
    held.retry_after = 60;
    server.set_options(held);
    ASSERT_TRUE(window->start_checks());
    QElapsedTimer guard;  // a hang guard only
    guard.start();
    while (!window->标签看板状态->text().contains(QStringLiteral("被限速，暂停至")) &&
           guard.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(window->标签看板状态->text().contains(QStringLiteral("被限速，暂停至")))
        << window->标签看板状态->text().toStdString();
    window->stop_checks();
    wait_for_run();
    for (int c = 0; c < 5; ++c)
        EXPECT_TRUE(cell(0, c).starts_with("未检查")) << cell(0, c);
    EXPECT_TRUE(window->标签看板状态->text().contains(QStringLiteral("上次检查")));
    EXPECT_TRUE(window->标签看板状态->text().contains(QStringLiteral("（5 项，失败 0，未检查 5）")))
        << window->标签看板状态->text().toStdString();

    // Opened again (after a restart), the board still knows what the stopped run left.
    ASSERT_TRUE(window->save_board());
    window = std::make_unique<app::BoardWindow>(store, runner.get());
    window->show_message = [this](const QString& m) { messages << m; };
    ASSERT_TRUE(window->open_board(text::utf8_to_gbk("测试看板")));
    for (int c = 0; c < 5; ++c)
        EXPECT_TRUE(cell(0, c).starts_with("未检查")) << cell(0, c);

    sim::Options mended = server.options();
    mended.status = 0;
    server.set_options(mended);
    ASSERT_TRUE(window->recheck_failed());
    wait_for_run();
    for (int c = 0; c < 5; ++c)
        EXPECT_FALSE(cell(0, c).starts_with("未检查")) << cell(0, c);
}

// A board run but not saved is asked about when the window closes: kept
// open, let go, or saved.
TEST_F(BoardWindowTest, ClosingAfterAnUnsavedRunAsksFirst) {
    sim::Options options;
    options.port = 0;
    sim::Server server(options);
    ASSERT_TRUE(server.start());
    qt_test::ScopedHosts hosts(server.host());
    QStringList questions;
    app::UnsavedAnswer answer = app::UnsavedAnswer::keep_open;
    window->ask_unsaved = [&](const QString& q) {
        questions << q;
        return answer;
    };
    fill("", "辣条");
    window->show();
    window->form->sort_boxes[1]->setChecked(false);
    for (const auto& [given, closes] : {std::pair{app::UnsavedAnswer::keep_open, false},
                                        {app::UnsavedAnswer::discard, true},
                                        {app::UnsavedAnswer::save, true}}) {
        window->show();
        ASSERT_TRUE(window->start_checks());
        wait_for_run();
        answer = given;
        EXPECT_EQ(window->close(), closes);
        EXPECT_EQ(window->isVisible(), !closes);
    }
    ASSERT_EQ(questions.size(), 3);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("测试看板")));
    EXPECT_TRUE(store->load_board("测试看板").ok());
    window->show();
    EXPECT_TRUE(window->close());  // saved: nothing to ask
    EXPECT_EQ(questions.size(), 3);
}

// A schedule switched off keeps its hours when the board is saved and reopened.
TEST_F(BoardWindowTest, ASwitchedOffScheduleReopensWithItsHours) {
    fill("", "辣条");
    window->form->复选框定时检查->setChecked(false);
    window->form->时间框开始->setTime(QTime(9, 30));
    window->form->时间框结束->setTime(QTime(18, 0));
    ASSERT_TRUE(window->save_board());
    window->form->时间框开始->setTime(QTime(0, 0));
    ASSERT_TRUE(window->open_board(text::utf8_to_gbk("测试看板")));
    EXPECT_FALSE(window->form->复选框定时检查->isChecked());
    EXPECT_EQ(window->form->时间框开始->time(), QTime(9, 30));
    EXPECT_EQ(window->form->时间框结束->time(), QTime(18, 0));
}

}  // namespace
