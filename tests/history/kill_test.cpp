// A writer killed with SIGKILL mid-stream leaves a sound file holding every
// check it reported as committed, each with all its goods rows.
#if defined(_WIN32)
#include "history_fixture.h"

using history_test::HistoryTest;

TEST_F(HistoryTest, KilledWriterLosesNoCommittedCheckAndLeavesASoundFile) {
    GTEST_SKIP() << "the writer is started and killed through posix_spawn and SIGKILL";
}
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <set>

#include "history_fixture.h"

extern char** environ;

namespace {

using history_test::HistoryTest;

// Kills and reaps the child however the test ends.
class Child {
  public:
    explicit Child(pid_t pid) : pid_(pid) {}
    ~Child() { kill_now(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    int kill_now() {
        int status = 0;
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            pid_ = 0;
        }
        return status;
    }

  private:
    pid_t pid_;
};

TEST_F(HistoryTest, KilledWriterLosesNoCommittedCheckAndLeavesASoundFile) {
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string program = KORVEL_HISTORY_WRITER;
    const std::string db = file().string();
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(db.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    Child child(pid);

    FILE* lines = fdopen(out[0], "r");
    ASSERT_NE(lines, nullptr);
    std::set<std::int64_t> reported;
    long long id = 0;
    while (reported.size() < 40 && std::fscanf(lines, "%lld", &id) == 1) {
        reported.insert(id);
    }
    const int status = child.kill_now();
    std::fclose(lines);
    ASSERT_EQ(reported.size(), 40u) << "the writer stopped early";
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);

    auto store = open_store();
    EXPECT_TRUE(store.integrity_ok().value());
    const auto checks = store.checks({});
    ASSERT_TRUE(checks.ok());
    std::set<std::int64_t> present;
    for (const auto& check : checks.value()) {
        present.insert(check.id);
        EXPECT_EQ(check.goods.size(), 3u) << "check " << check.id << " was written in part";
    }
    for (const std::int64_t reported_id : reported) {
        EXPECT_TRUE(present.count(reported_id)) << "check " << reported_id << " was lost";
    }
}

}  // namespace
#endif
