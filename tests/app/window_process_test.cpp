// The real korvel program as a child process: it reads korvel.ini beside
// itself, starts against a loopback server, and ends with exit code 0 when
// asked to close, also while it is waiting for a page.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <thread>

#include "plain/raw_http_server.h"

namespace {

using namespace std::chrono_literals;

// Hang guard only; nothing here measures speed.
constexpr int kFinishMs = 30000;

// A copy of the korvel program in a temporary directory, with its own korvel.ini.
class KorvelCopy {
  public:
    explicit KorvelCopy(const std::string& host) {
        const QString built = QCoreApplication::applicationDirPath() + "/../src/app/korvel";
        found_ = QFile::exists(built);
        if (!found_)
            return;
        program_ = dir_.filePath("korvel");
        QFile::copy(built, program_);
        std::ofstream ini(dir_.filePath("korvel.ini").toStdString());
        ini << "[hosts]\ngoods_page=" << host << "\nsearch_api=" << host
            << "\noperations_api=" << host << "\nvendor_info=" << host << "\n";
    }
    bool found() const { return found_; }
    void start(QProcess& process) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        // The program's check history goes into the copy's directory, not the user's.
        env.insert("XDG_DATA_HOME", dir_.path());
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir_.path());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program_, {});
    }

  private:
    QTemporaryDir dir_;
    QString program_;
    bool found_ = false;
};

void expect_clean_end(QProcess& process) {
    ASSERT_TRUE(process.waitForFinished(kFinishMs));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}

std::string host_of(const test::RawHttpServer& server) {
    return "127.0.0.1:" + std::to_string(server.port());
}

const test::Reply& small_page() {
    static const test::Reply page = test::Reply::ok("<html><body>ok</body></html>");
    return page;
}

TEST(KorvelProcess, StartsFromItsSettingsAndEndsCleanlyWhenClosed) {
    test::RawHttpServer server(small_page());
    KorvelCopy korvel(host_of(server));
    if (!korvel.found())
        GTEST_SKIP() << "the korvel program is not built";
    QProcess process;
    korvel.start(process);
    ASSERT_TRUE(process.waitForStarted());
    // The tools page is navigated last in the start-up sequence: the window is up.
    EXPECT_TRUE(server.wait_for_path("/1.html"));
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    expect_clean_end(process);
}

TEST(KorvelProcess, EndsCleanlyWhenClosedDuringAWait) {
    // The update check's page never comes: the program is inside a wait.
    test::RawHttpServer server([](const std::string& request) {
        test::Reply reply = small_page();
        reply.hold = test::request_target(request).starts_with("/info.asp");
        return reply;
    });
    KorvelCopy korvel(host_of(server));
    if (!korvel.found())
        GTEST_SKIP() << "the korvel program is not built";
    QProcess process;
    korvel.start(process);
    ASSERT_TRUE(process.waitForStarted());
    ASSERT_TRUE(server.wait_for_path("/info.asp"));
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    expect_clean_end(process);
    // It ended while its request was still unanswered (later steps may have
    // asked too before giving up at once).
    EXPECT_GE(server.held_now(), 1);
}

}  // namespace
