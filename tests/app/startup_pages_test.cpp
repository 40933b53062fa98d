// The whole start-up sequence of the real window against the simulator:
// skin, update check, announcement, then the browser pages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <string>

#include "app/announcement.h"
#include "app/skin.h"
#include "sim_pages.h"
#include "text/codepage.h"
#include "ui/widget_text.h"
#include "update_fixture.h"

namespace {

constexpr int kPageLoadWaitMs = 60000;

class StartupSequence : public startup_test::SimulatorTest {
  protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        QStandardPaths::setTestModeEnabled(true);  // the skin goes to a test location
    }
    void TearDown() override {
        SimulatorTest::TearDown();
        qApp->setStyleSheet(QString());
        QStandardPaths::setTestModeEnabled(false);
    }

    // Requests of a path that had arrived when the window was created.
    int info_requests_at_creation = 0;

    app::MainWindow& start_program() {
        app::MainWindow& w = make_window({});
        info_requests_at_creation = count_requests("/info.asp");
        return w;
    }
};

TEST_F(StartupSequence, AnnouncementShownAndPagesLoadedBeforeAndAfterShow) {
    start_simulator();
    app::MainWindow& w = start_program();
    EXPECT_FALSE(w.isVisible());
    // Update check and announcement: two separate fetches of the vendor page.
    EXPECT_EQ(info_requests_at_creation, 2);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(w.进度条1->isVisible());
    EXPECT_EQ(qApp->styleSheet().toStdString(), app::skin_style_sheet(app::skin_block()));
    EXPECT_EQ(ui::read_text(w.编辑框20),
              app::with_plain_spaces(text::utf8_to_gbk(sim::pages::default_announcement())));

    w.show();
    EXPECT_EQ(w.Tovin网页框1->url().toString().toStdString(),
              "http://" + server->host() + "/1.html");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return w.Tovin网页框1->title() == QStringLiteral("更多工具"); }, kPageLoadWaitMs));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return w.超文本浏览框1->title() == QStringLiteral("Korvel 官方网站"); },
        kPageLoadWaitMs));
    EXPECT_TRUE(requested("/1.html"));
    EXPECT_EQ(count_requests("/"), 1);
}

TEST_F(StartupSequence, NoNetworkStillShowsWorkingWindow) {
    use_unreachable_vendor();
    app::MainWindow& w = start_program();
    EXPECT_EQ(ui::read_text(w.编辑框20), "");
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(exit_codes.empty());
    w.show();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.按钮关键词排名搜索->isEnabled());
}

TEST_F(StartupSequence, FailedUpdateGoesOnWithAnnouncement) {
    sim::Options options;
    options.version_record = "no separator";
    start_simulator(options);
    app::MainWindow& w = start_program();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(exit_codes.empty());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.进度条1->isVisible());
    EXPECT_EQ(info_requests_at_creation, 2);
    EXPECT_FALSE(ui::read_text(w.编辑框20).empty());
}

TEST_F(StartupSequence, OtherVersionEndsTheProcessWithCodeZero) {
    sim::Options options;
    options.version = "2.1";
    start_simulator(options);
    make_window({});
    EXPECT_EQ(exit_codes, std::vector<int>{0});
    EXPECT_TRUE(QFile::exists(in_program_dir("Korvel2.1.exe")));
}

}  // namespace
