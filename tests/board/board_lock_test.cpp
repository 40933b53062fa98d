#if !defined(_WIN32)
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <fstream>
#include <set>
#include <vector>

#include "../history/history_fixture.h"
#include "board/board_lock.h"

namespace {

using board::BoardLock;
using board::LockState;
using history_test::TempDir;

TEST(BoardLockName, EscapesEverythingButLowerCaseDigitsAndDashes) {
    const std::pair<std::string, std::string> cases[] = {{"shop-1", "board-shop-1.lock"},
                                                         {"零食", "board-_E9_9B_B6_E9_A3_9F.lock"},
                                                         {"../x", "board-_2E_2E_2Fx.lock"},
                                                         {"A b", "board-_41_20b.lock"},
                                                         {"a_41", "board-a_5F41.lock"}};
    for (const auto& [name, file] : cases) {
        EXPECT_EQ(board::lock_file_name(name), file) << name;
    }
    // Long names are cut but stay apart.
    std::string long_b(300, 'x');
    long_b.back() = 'y';
    const auto cut = board::lock_file_name(long_b);
    EXPECT_LE(cut.size(), 140u);
    EXPECT_NE(cut, board::lock_file_name(std::string(300, 'x')));
}

TEST(BoardLock, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
    TempDir dir;
    {
        auto first = BoardLock::try_acquire(dir.path(), "零食");
        ASSERT_TRUE(first.held()) << first.message();
        EXPECT_EQ(first.file(), dir.path() / "locks" / "board-_E9_9B_B6_E9_A3_9F.lock");

        const auto second = BoardLock::try_acquire(dir.path(), "零食");
        EXPECT_EQ(second.state(), LockState::busy);
        EXPECT_NE(second.message().find("零食"), std::string::npos) << second.message();
        EXPECT_TRUE(BoardLock::try_acquire(dir.path(), "饮料").held());

        // Moving keeps the board held.
        BoardLock moved = std::move(first);
        EXPECT_TRUE(moved.held());
        EXPECT_EQ(first.state(), LockState::released);
        EXPECT_EQ(BoardLock::try_acquire(dir.path(), "零食").state(), LockState::busy);

        moved.release();
        EXPECT_EQ(moved.state(), LockState::released);
        auto third = BoardLock::try_acquire(dir.path(), "零食");
        EXPECT_TRUE(third.held());
    }
    EXPECT_TRUE(BoardLock::try_acquire(dir.path(), "零食").held());
}

TEST(BoardLock, FailsWithAMessageWhenTheDirectoryCannotBeMade) {
    TempDir dir;
    std::ofstream(dir.path() / "locks") << "not a directory";
    const auto lock = BoardLock::try_acquire(dir.path(), "零食");
    EXPECT_EQ(lock.state(), LockState::failed);
    EXPECT_FALSE(lock.message().empty());
}

#if defined(_WIN32)
TEST(BoardLock, AnotherProcessHoldsTheBoardUntilItIsKilled) {
    GTEST_SKIP() << "the holder is a fork()ed child; korvel-check's process tests hold a board "
                    "from another process on Windows";
}
#else
// A child process that holds a board until it is killed.
class Holder {
  public:
    Holder(const std::filesystem::path& dir, const std::string& board) {
        int ready[2];
        if (pipe(ready) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            const auto lock = BoardLock::try_acquire(dir, board);
            const char held = lock.held() ? 'y' : 'n';
            if (write(ready[1], &held, 1) != 1 || !lock.held()) {
                _exit(1);
            }
            for (;;) {
                pause();
            }
        }
        close(ready[1]);
        char answer = 0;
        holding_ = pid_ > 0 && read(ready[0], &answer, 1) == 1 && answer == 'y';
        close(ready[0]);
    }
    ~Holder() { kill_now(); }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    bool holding() const { return holding_; }

    // SIGKILL: the child runs no destructor and unlocks nothing itself.
    bool kill_now() {
        int status = 0;
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            pid_ = 0;
            return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        }
        return false;
    }

  private:
    pid_t pid_ = -1;
    bool holding_ = false;
};

TEST(BoardLock, AnotherProcessHoldsTheBoardUntilItIsKilled) {
    TempDir dir;
    Holder child(dir.path(), "零食");
    ASSERT_TRUE(child.holding());

    EXPECT_EQ(BoardLock::try_acquire(dir.path(), "零食").state(), LockState::busy);
    EXPECT_TRUE(BoardLock::try_acquire(dir.path(), "饮料").held());

    ASSERT_TRUE(child.kill_now());
    EXPECT_TRUE(std::filesystem::exists(board::lock_file_path(dir.path(), "零食")));
    const auto lock = BoardLock::try_acquire(dir.path(), "零食");
    EXPECT_TRUE(lock.held()) << lock.message();
}
#endif

// The lock belongs to the history file: a link to it (symbolic, or a hard
// link, another name of the same file) shares the lock, another file in the
// same directory does not.
TEST(BoardLock, IsKeyedOnTheHistoryFileItself) {
    TempDir dir;
    const auto file = dir.path() / "history.sqlite";
    std::ofstream(file) << "";
    std::filesystem::create_hard_link(file, dir.path() / "hard.sqlite");
    std::ofstream(dir.path() / "other.sqlite") << "";
    const auto held = BoardLock::for_history(file, "零食");
    ASSERT_TRUE(held.held()) << held.message();
    std::vector<std::filesystem::path> ways{dir.path() / "." / "history.sqlite",
                                            dir.path() / "hard.sqlite"};
#if !defined(_WIN32)  // the Windows runtime makes no symbolic links
    std::filesystem::create_directory(dir.path() / "elsewhere");
    std::filesystem::create_symlink(file, dir.path() / "elsewhere" / "linked.sqlite");
    ways.push_back(dir.path() / "elsewhere" / "linked.sqlite");
#endif
    for (const auto& reached : ways) {
        const auto second = BoardLock::for_history(reached, "零食");
        EXPECT_EQ(second.state(), LockState::busy) << reached;
        EXPECT_NE(second.message().find("零食"), std::string::npos) << second.message();
    }
    EXPECT_TRUE(BoardLock::for_history(dir.path() / "hard.sqlite", "饮料").held());
    EXPECT_TRUE(BoardLock::for_history(dir.path() / "other.sqlite", "零食").held());
}

// On a server the board is held there, so every machine sharing the history
// sees the same lock.
TEST(BoardLock, AHistoryOnAServerIsHeldOnTheServer) {
    const auto url = test::test_pg_url();
    if (!url)
        GTEST_SKIP() << test::kNoPgServer;
    test::PgScratch scratch(*url);
    ASSERT_TRUE(history::Store::open(scratch.location()).ok());
    auto held = BoardLock::for_history(scratch.location(), "零食");
    ASSERT_TRUE(held.held()) << held.message();
    const auto second = BoardLock::for_history(scratch.location(), "零食");
    EXPECT_EQ(second.state(), LockState::busy);
    EXPECT_NE(second.message().find("零食"), std::string::npos);
    held.release();
    EXPECT_TRUE(BoardLock::for_history(scratch.location(), "零食").held());
}

}  // namespace
