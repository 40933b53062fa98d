// The program's command line and the program itself.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim_cli.h"
#include "sim_client.h"

#if !defined(_WIN32)
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace {

sim::CommandLine parsed(const std::vector<std::string>& args) {
    std::string error;
    const auto line = sim::parse_command_line(args, error);
    EXPECT_TRUE(line.has_value()) << error;
    return line.value_or(sim::CommandLine{});
}

TEST(CommandLine, NoArgumentsKeepTheDefaults) {
    const auto o = parsed({}).options;
    EXPECT_EQ(o.port, 18080);
    EXPECT_EQ(o.seed, 1u);
    EXPECT_EQ(o.version, "2.0");
    EXPECT_EQ(o.body, sim::BodyFault::none);
    EXPECT_FALSE(o.refuse_connections);
}

TEST(CommandLine, EveryOptionReachesItsField) {
    const auto line = parsed({"--port",
                              "0",
                              "--seed",
                              "9",
                              "--version",
                              "2.1",
                              "--announcement",
                              "公告 x",
                              "--delay-ms",
                              "250",
                              "--status",
                              "502",
                              "--body",
                              "garbage",
                              "--short-page",
                              "480",
                              "--no-thumb",
                              "10",
                              "--set-cookie",
                              "a=b",
                              "--level1-count",
                              "4",
                              "--tab-count",
                              "1",
                              "--blank-level2",
                              "-1",
                              "--blank-level3",
                              "2",
                              "--fault-path",
                              "/search",
                              "--version-record",
                              "x|y",
                              "--download-file",
                              "/tmp/f",
                              "--refuse",
                              "--rate-limit",
                              "4",
                              "--retry-after",
                              "3",
                              "--rank-shift",
                              "-2"});
    const auto& o = line.options;
    EXPECT_EQ(o.port, 0);
    EXPECT_EQ(o.seed, 9u);
    EXPECT_EQ(o.version, "2.1");
    EXPECT_EQ(o.announcement, "公告 x");
    EXPECT_EQ(o.delay_ms, 250);
    EXPECT_EQ(o.status, 502);
    EXPECT_EQ(o.body, sim::BodyFault::garbage);
    EXPECT_EQ(o.short_first_page, 480);
    EXPECT_EQ(o.no_thumb_every, 10);
    EXPECT_EQ(o.set_cookie, "a=b");
    EXPECT_EQ(o.level1_count, 4);
    EXPECT_EQ(o.tab_count, 1);
    EXPECT_EQ(o.blank_level2_answers, -1);
    EXPECT_EQ(o.blank_level3_answers, 2);
    EXPECT_EQ(o.fault_path, "/search");
    EXPECT_EQ(o.version_record, "x|y");
    EXPECT_EQ(line.download_file, "/tmp/f");
    EXPECT_TRUE(o.refuse_connections);
    EXPECT_EQ(o.rate_limit, 4);
    EXPECT_EQ(o.retry_after, 3);
    EXPECT_EQ(o.rank_shift, -2);
}

TEST(CommandLine, MistakesAreRefusedWithAMessage) {
    const std::vector<std::vector<std::string>> wrong = {
        {"--port"},
        {"--port", "x"},
        {"--port", "-3"},
        {"--body", "odd"},
        {"--no-thumb", "0"},
        {"--status", "7"},
        {"--frobnicate"},
        {"--seed", "12abc"},
        {"--rate-limit", "-1"},
        {"--retry-after", "-1"},
    };
    for (const auto& args : wrong) {
        std::string error;
        EXPECT_FALSE(sim::parse_command_line(args, error).has_value()) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

#if defined(_WIN32)
TEST(Program, PrintsItsAddressAnswersAndStopsOnSigterm) {
    GTEST_SKIP() << "the simulator program waits for SIGTERM and is built for the build machine "
                    "only; korvel-check.UnderWineAgainstTheNativeSimulator runs it beside Wine";
}
#else
std::filesystem::path program_path() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" /
           "marketplace-sim" / "marketplace-sim";
}

// Started as a program: prints its address, answers there, ends cleanly on SIGTERM.
TEST(Program, PrintsItsAddressAnswersAndStopsOnSigterm) {
    const auto path = program_path();
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << "marketplace-sim is not built next to the tests";
    }
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string program = path.string();
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--port"),
                    const_cast<char*>("0"), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);

    std::string line;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n') {
        line += c;
    }
    const std::string prefix = "marketplace-sim listening on http://127.0.0.1:";
    ASSERT_EQ(line.substr(0, prefix.size()), prefix);
    const int port = std::stoi(line.substr(prefix.size()));
    EXPECT_EQ(sim::http_get(port, "/info.asp?id=70").status, 200);

    kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    close(out[0]);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

}  // namespace
