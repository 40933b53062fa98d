// korvel-deleter as a real separate process: nothing is deleted while the
// process that left the script lives; once it has ended, the old program file
// and the script are gone.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/deleter_script.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace {

constexpr int kGenerousWaitMs = 60000;

// The deleter has reached its wait once it holds a descriptor of the owner
// process (Linux shows it as an anonymous "pidfd" inode).
bool holds_process_descriptor(qint64 pid) {
    std::error_code ec;
    const std::filesystem::path fds = "/proc/" + std::to_string(pid) + "/fd";
    for (const auto& entry : std::filesystem::directory_iterator(fds, ec)) {
        std::error_code link_error;
        const std::string target = std::filesystem::read_symlink(entry.path(), link_error).string();
        if (target.find("pidfd") != std::string::npos)
            return true;
    }
    return false;
}

class DeleterProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        write(old_program(), "old program");
        write(script(), app::deleter_script_text(ui::from_qstring(dir.path()),
                                                 ui::from_qstring(QStringLiteral("Korvel旧.exe"))));
        write(dir.filePath("keep.txt"), "not named by the script");
    }

    static void write(const QString& path, const std::string& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    QString old_program() const { return dir.filePath(QStringLiteral("Korvel旧.exe")); }
    QString script() const { return dir.filePath("tem.vbs"); }

    void start_deleter(qint64 owner_pid) {
        deleter.setProgram(QStringLiteral(KORVEL_DELETER_PATH));
        deleter.setArguments({QString::number(owner_pid), script()});
        deleter.start();
        ASSERT_TRUE(deleter.waitForStarted(kGenerousWaitMs));
    }

    QTemporaryDir dir;
    QProcess deleter;
};

TEST_F(DeleterProcess, DeletesOnlyAfterOwnerHasEnded) {
    // The owner stands in for Korvel: it lives until its input closes.
    QProcess owner;
    owner.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("read line")});
    ASSERT_TRUE(owner.waitForStarted(kGenerousWaitMs));
    start_deleter(owner.processId());

    // Once the deleter is waiting on the owner, both files must still be there.
    QDeadlineTimer deadline(kGenerousWaitMs);
    while (!holds_process_descriptor(deleter.processId()) && !deadline.hasExpired()) {
        QThread::msleep(10);
    }
    ASSERT_TRUE(holds_process_descriptor(deleter.processId()));
    EXPECT_EQ(deleter.state(), QProcess::Running);
    EXPECT_TRUE(QFile::exists(old_program()));
    EXPECT_TRUE(QFile::exists(script()));

    owner.closeWriteChannel();
    ASSERT_TRUE(owner.waitForFinished(kGenerousWaitMs));
    ASSERT_TRUE(deleter.waitForFinished(kGenerousWaitMs));
    EXPECT_EQ(deleter.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(old_program()));
    EXPECT_FALSE(QFile::exists(script()));
    EXPECT_TRUE(QFile::exists(dir.filePath("keep.txt")));
}

TEST_F(DeleterProcess, OwnerAlreadyGoneDeletesAtOnce) {
    QProcess owner;
    owner.start(QStringLiteral("/bin/true"), {});
    ASSERT_TRUE(owner.waitForStarted(kGenerousWaitMs));
    const qint64 pid = owner.processId();
    ASSERT_TRUE(owner.waitForFinished(kGenerousWaitMs));
    start_deleter(pid);
    ASSERT_TRUE(deleter.waitForFinished(kGenerousWaitMs));
    EXPECT_FALSE(QFile::exists(old_program()));
    EXPECT_FALSE(QFile::exists(script()));
}

TEST_F(DeleterProcess, ScriptNamingOtherDirectoriesDeletesNothingThere) {
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath("victim");
    write(victim, "must stay");
    write(script(), "  fso.DeleteFile(\"" + elsewhere.path().toStdString() + "\\victim\")");
    QProcess owner;
    owner.start(QStringLiteral("/bin/true"), {});
    ASSERT_TRUE(owner.waitForStarted(kGenerousWaitMs));
    const qint64 pid = owner.processId();
    ASSERT_TRUE(owner.waitForFinished(kGenerousWaitMs));
    start_deleter(pid);
    ASSERT_TRUE(deleter.waitForFinished(kGenerousWaitMs));
    EXPECT_TRUE(QFile::exists(victim));
    EXPECT_TRUE(QFile::exists(old_program()));
}

}  // namespace
