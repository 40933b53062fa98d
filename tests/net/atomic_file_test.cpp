// The settings file is replaced whole or not at all, even when the writer is
// killed between writing and renaming.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "net/atomic_file.h"
#include "plain/temp_dir.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

TEST(AtomicFile, CreatesTheDirectoryAndReplacesKeepingTheMode) {
    test::TempDir dir;
    const auto file = dir.file("cfg/korvel/korvel.ini");
    ASSERT_EQ(net::write_file_atomically(file, "one\n"), "");
    EXPECT_EQ(test::file_bytes(file), "one\n");
    std::filesystem::permissions(
        file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_EQ(net::write_file_atomically(file, "two\n"), "");
    EXPECT_EQ(test::file_bytes(file), "two\n");
#if !defined(_WIN32)  // Windows keeps access in ACLs, not in these bits
    EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
#endif
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1)
        << "no temporary file left behind";
}

#if !defined(_WIN32)
TEST(AtomicFile, KillBeforeTheRenameLeavesTheOldFileWhole) {
    test::TempDir dir;
    const auto file = dir.file("korvel.ini");
    const std::string old_text = "[hosts]\nvendor_info=old.test\n";
    std::ofstream(file) << old_text;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        net::write_file_atomically(file, std::string(100000, 'x'), [] { ::raise(SIGKILL); });
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(test::file_bytes(file), old_text);
}
#endif

TEST(AtomicFile, AnUnwritableDirectoryIsReported) {
    test::TempDir dir;
    std::ofstream(dir.file("plain")) << "a file, not a directory";
    EXPECT_NE(net::write_file_atomically(dir.file("plain/korvel.ini"), "x"), "");
}

}  // namespace
