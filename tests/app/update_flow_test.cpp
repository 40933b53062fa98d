// The self-update at start against the simulator, in-process: the program
// path, the process end and the deleter program are the test's.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <string>
#include <vector>

#include "app/startup_steps.h"
#include "sim_catalogue.h"
#include "sim_pages.h"
#include "text/codepage.h"
#include "ui/widget_text.h"
#include "update_fixture.h"

namespace {

using startup_test::read_bytes;

class UpdateFlow : public startup_test::SimulatorTest {
  protected:
    void run_check() { app::check_update(bare_window().context()); }

    // Waits (not a timing assertion) until a file holds `lines` complete
    // lines, at most 30 s; a file that only has to exist needs none.
    static bool appears(const QString& path, int lines = 0) {
        const auto ready = [&] {
            if (!QFile::exists(path))
                return false;
            const std::string bytes = read_bytes(path);
            return std::count(bytes.begin(), bytes.end(), '\n') >= lines;
        };
        QDeadlineTimer deadline(30000);
        while (!ready() && !deadline.hasExpired())
            QTest::qWait(20);
        return ready();
    }

    std::string expected_script() const {
        const std::string dir = program_dir.path().toStdString();
        return "  Dim fso\r\n  Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
               "  fso.DeleteFile(\"" +
               dir + "\\korvel-old\")\r\n  fso.DeleteFile(\"" + dir + "\\tem.vbs\")";
    }
};

TEST_F(UpdateFlow, OwnVersionShowsNothingAndDownloadsNothing) {
    start_simulator();  // publishes "2.0"
    run_check();
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(exit_codes.empty());
    EXPECT_FALSE(requested("/download/"));
    EXPECT_EQ(count_requests("/info.asp"), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->进度条1->isVisible());
    EXPECT_EQ(program_dir_files(), QStringList{"korvel-old"});
}

TEST_F(UpdateFlow, NoNetworkIsNoUpdate) {
    use_unreachable_vendor();
    run_check();
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(exit_codes.empty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(UpdateFlow, WholeUpdateDownloadsStartsAndEnds) {
    sim::Options options;
    options.version = "2.1";
    start_simulator(options);
    std::vector<int> positions;
    bool all_on_gui_thread = true;
    QProgressBar* bar = bare_window().进度条1;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) {
        positions.push_back(v);
        all_on_gui_thread = all_on_gui_thread && QThread::currentThread() == bar->thread();
    });

    app::check_update(window->context());

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, GBK("有新版本!当前版本2.0\r\n请更新!"));
    EXPECT_EQ(boxes[0].caption, GBK("信息："));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(bar->isVisible());

    const QString new_program = in_program_dir("Korvel2.1.exe");
    EXPECT_EQ(read_bytes(new_program), sim::pages::download_body(server->options()));
    EXPECT_TRUE(QFile::permissions(new_program) & QFile::ExeOwner);
    EXPECT_EQ(bar->value(), 1000);
    EXPECT_EQ(bar->maximum(), 1000);
    EXPECT_TRUE(all_on_gui_thread);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));

    EXPECT_EQ(read_bytes(in_program_dir("配置.ini")),
              "[" + GBK("配置") + "]\r\n" + GBK("待删旧版") + "=korvel-old\r\n");
    EXPECT_EQ(ui::from_qstring(window->windowTitle()), GBK("下载完成"));
    EXPECT_EQ(read_bytes(in_program_dir("tem.vbs")), expected_script());
    EXPECT_EQ(exit_codes, std::vector<int>{0});

    // The new program ran: it leaves its marker beside itself.
    EXPECT_TRUE(appears(in_program_dir(QString::fromUtf8(sim::kDownloadMarkerFile))));
    // The deleter was handed this process and the script.
    ASSERT_TRUE(appears(deleter_args_file(), 2));
    EXPECT_EQ(read_bytes(deleter_args_file()), std::to_string(QCoreApplication::applicationPid()) +
                                                   "\n" + in_program_dir("tem.vbs").toStdString() +
                                                   "\n");
}

TEST_F(UpdateFlow, OlderPublishedVersionAlsoUpdates) {
    sim::Options options;
    options.version = "1.9";
    start_simulator(options);
    run_check();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(QFile::exists(in_program_dir("Korvel1.9.exe")));
    EXPECT_EQ(exit_codes, std::vector<int>{0});
}

TEST_F(UpdateFlow, TwoSeparatorsUseFirstAddressAndLastVersion) {
    start_simulator();
    sim::Options options = server->options();
    options.version_record = "http://" + server->host() + "/download/anything|x|2.1";
    server->set_options(options);
    run_check();
    EXPECT_TRUE(requested("/download/anything"));
    EXPECT_EQ(read_bytes(in_program_dir("Korvel2.1.exe")), sim::pages::download_body(options));
    EXPECT_EQ(exit_codes, std::vector<int>{0});
}

TEST_F(UpdateFlow, RecordWithoutSeparatorShowsBoxFailsAndStartUpGoesOn) {
    sim::Options options;
    options.version_record = "no separator here";
    start_simulator(options);
    run_check();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(exit_codes.empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->进度条1->isVisible());
    EXPECT_EQ(program_dir_files(), QStringList{"korvel-old"});

    app::show_announcement(window->context());
    EXPECT_FALSE(ui::read_text(window->编辑框20).empty());
}

TEST_F(UpdateFlow, FailedDownloadLeavesNoFile) {
    start_simulator();
    sim::Options options = server->options();
    options.version_record = "http://" + server->host() + "/download/K|2.1";
    options.fault_path = "/download/";
    options.status = 404;
    server->set_options(options);
    run_check();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(requested("/download/K"));
    EXPECT_TRUE(exit_codes.empty());
    EXPECT_EQ(program_dir_files(), QStringList{"korvel-old"});
}

TEST_F(UpdateFlow, NonWebAddressIsNeverFetched) {
    const QString secret = tools_dir.filePath("secret");
    startup_test::write_bytes(secret, "not to be copied");
    sim::Options options;
    options.version_record = "file://" + secret.toStdString() + "|2.1";
    start_simulator(options);
    run_check();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(exit_codes.empty());
    EXPECT_EQ(program_dir_files(), QStringList{"korvel-old"});
}

TEST_F(UpdateFlow, VersionNamingTheRunningProgramIsNotDownloaded) {
    // "Korvel" + "" + ".exe" would be written over the running program.
    app::set_update_hooks({[this] { return in_program_dir("Korvel.exe"); },
                           [this](int code) { exit_codes.push_back(code); },
                           [this] { return deleter_recorder(); },
                           {}});
    startup_test::write_bytes(in_program_dir("Korvel.exe"), "running");
    start_simulator();
    sim::Options options = server->options();
    options.version_record = "http://" + server->host() + "/download/K|";
    server->set_options(options);
    run_check();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(requested("/download/"));
    EXPECT_EQ(read_bytes(in_program_dir("Korvel.exe")), "running");
    EXPECT_TRUE(exit_codes.empty());
}

class UnsafeVersion : public UpdateFlow, public ::testing::WithParamInterface<std::string> {};

TEST_P(UnsafeVersion, IsNoUpdateAndWritesNothing) {
    start_simulator();
    sim::Options options = server->options();
    options.version_record = "http://" + server->host() + "/download/K|" + GetParam();
    server->set_options(options);
    run_check();
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(exit_codes.empty());
    EXPECT_FALSE(requested("/download/"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(program_dir_files(), QStringList{"korvel-old"});
}

INSTANTIATE_TEST_SUITE_P(Versions, UnsafeVersion,
                         ::testing::Values("/../../evil", "/sub/2.1", "\\..\\2.1", "2.1\t",
                                           std::string(65, '1')));

}  // namespace
