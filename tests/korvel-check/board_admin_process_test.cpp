// Boards kept without a window: saved from the one-off options, exported in
// their text form, imported into another history and run there with the
// same grid; their notice channels checked against the settings file that
// --config names; and the settings file korvel-check says it uses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "plain/temp_dir.h"
#include "run_process.h"
#include "settings_text.h"
#include "sim_catalogue.h"
#include "sim_server.h"

namespace {

const std::string kProgram = KORVEL_CHECK_EXE;
const std::string kSample(sim::kSampleGoodsId);

class BoardAdmin : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::Options options;
        options.port = 0;
        server = std::make_unique<sim::Server>(options);
        ASSERT_TRUE(server->start());
        const std::string host = server->host();
        std::filesystem::create_directories(dir.file("config/korvel"));
        // Only in the user's settings directory: korvel-check finds it there.
        std::ofstream(dir.file("config/korvel/korvel.ini")) << test::settings_text(host);
    }

    test::ProcessResult run(const std::vector<std::string>& args) {
        return test::run_process(kProgram, args,
                                 {{"XDG_CONFIG_HOME", dir.file("config").string()},
                                  {"XDG_DATA_HOME", dir.file("data").string()}});
    }

    std::string db(const std::string& name) const { return dir.file(name).string(); }

    std::unique_ptr<sim::Server> server;
    test::TempDir dir;
};

TEST_F(BoardAdmin, VersionNamesTheSettingsFileInUse) {
    const auto result = run({"--version"});
    EXPECT_EQ(result.exit_code, 0) << result.err;
    const std::string head = "korvel-check 2.0\nsettings: ";
    ASSERT_EQ(result.out.rfind(head, 0), 0u) << result.out;
    ASSERT_EQ(result.out.back(), '\n') << result.out;
    // The same file, however the platform spells its path.
    const std::string named = result.out.substr(head.size(), result.out.size() - head.size() - 1);
    EXPECT_TRUE(std::filesystem::exists(named) &&
                std::filesystem::equivalent(named, dir.file("config/korvel/korvel.ini")))
        << result.out;
}

TEST_F(BoardAdmin, SavedExportedAndImportedBoardRunsWithTheSameGrid) {
    const std::string name = "辣条看板";
    const auto saved =
        run({"--save-board", name, "--goods", kSample, "--competitor", "96919329", "--keyword",
             "辣条大礼包", "--keyword", "辣条", "--sort", "all", "--new", "--schedule",
             "30m 08:00-22:00 mon,fri on", "--notice-move-by", "5", "--db", db("one.sqlite")});
    ASSERT_EQ(saved.exit_code, 0) << saved.err;
    const auto again =
        run({"--save-board", name, "--goods", kSample, "--new", "--db", db("one.sqlite")});
    EXPECT_EQ(again.exit_code, 64) << "a board of that name is replaced only with --replace";

    const auto exported = run({"--export-board", name, "--db", db("one.sqlite")});
    ASSERT_EQ(exported.exit_code, 0) << exported.err;
    EXPECT_NE(exported.out.find("\nschedule=30m 08:00-22:00 mon,fri on\n"), std::string::npos);
    EXPECT_NE(exported.out.find("\nnotice_move_by=5\n"), std::string::npos);
    std::ofstream(dir.file("board.txt")) << exported.out;
    const auto imported =
        run({"--import-board", dir.file("board.txt").string(), "--db", db("two.sqlite")});
    ASSERT_EQ(imported.exit_code, 0) << imported.err;
    EXPECT_EQ(run({"--export-board", name, "--db", db("two.sqlite")}).out, exported.out);

    const auto first = run({"--board", name, "--db", db("one.sqlite")});
    const auto second = run({"--board", name, "--db", db("two.sqlite")});
    EXPECT_EQ(first.exit_code, 0) << first.err;
    EXPECT_NE(first.out.find("第37名"), std::string::npos) << first.out;
    EXPECT_EQ(second.out, first.out);

    EXPECT_EQ(run({"--delete-board", name, "--db", db("two.sqlite")}).exit_code, 0);
    EXPECT_EQ(run({"--list-boards", "--db", db("two.sqlite")}).out, "");
    EXPECT_EQ(run({"--delete-board", name, "--db", db("two.sqlite")}).exit_code, 64);
}

TEST_F(BoardAdmin, AnImportedFileThatCannotBeCheckedIsRefused) {
    std::ofstream(dir.file("bad.txt")) << "korvel-board=1\nname=空看板\nown=4033138\nsorts=\n";
    const auto result =
        run({"--import-board", dir.file("bad.txt").string(), "--db", db("one.sqlite")});
    EXPECT_EQ(result.exit_code, 64);
    EXPECT_EQ(run({"--list-boards", "--db", db("one.sqlite")}).out, "");
}

// Scripts pass --config to every command; a board's channels are checked
// against that file, every missing one named at once.
TEST_F(BoardAdmin, TheAdminCommandsTakeConfigAndCheckTheChannelsAgainstIt) {
    const std::string config = dir.file("other.ini").string();
    std::ofstream(config) << "[notify.运营群]\nkind = json\nurl = http://127.0.0.1:1/hook\n";
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--config", config, "--db", db("one.sqlite")});
        return run(args);
    };
    const auto saved = with({"--save-board", "通知看板", "--goods", kSample, "--new", "--channel",
                             "运营群", "--report", "08:30"});
    ASSERT_EQ(saved.exit_code, 0) << saved.err;
    EXPECT_EQ(
        with({"--save-board", "另一个", "--goods", kSample, "--new", "--channel", "群"}).exit_code,
        64);
    const auto exported = with({"--export-board", "通知看板"});
    ASSERT_EQ(exported.exit_code, 0) << exported.err;
    EXPECT_NE(exported.out.find("\nchannel=运营群\nreport=08:30\n"), std::string::npos)
        << exported.out;
    EXPECT_EQ(with({"--list-boards"}).out, "通知看板\n");

    // The user's settings file defines no channel: without --config the same board is refused.
    std::ofstream(dir.file("board.txt")) << exported.out << "channel=钉钉\nchannel=邮件\n";
    const auto refused = with({"--import-board", dir.file("board.txt").string(), "--replace"});
    EXPECT_EQ(refused.exit_code, 64);
    EXPECT_NE(refused.err.find(": 钉钉, 邮件\n"), std::string::npos) << refused.err;
    std::ofstream(dir.file("board.txt")) << exported.out;
    EXPECT_EQ(with({"--import-board", dir.file("board.txt").string(), "--replace"}).exit_code, 0);
    EXPECT_EQ(run({"--import-board", dir.file("board.txt").string(), "--replace", "--db",
                   db("one.sqlite")})
                  .exit_code,
              64);

    EXPECT_EQ(with({"--delete-board", "通知看板"}).exit_code, 0);
    // An unknown board is the command line's mistake, as the README says.
    EXPECT_EQ(with({"--export-board", "通知看板"}).exit_code, 64);
    EXPECT_EQ(with({"--delete-board", "通知看板"}).exit_code, 64);
    EXPECT_EQ(run({"--list-boards", "--config", dir.file("absent.ini").string()}).exit_code, 64);
}

// A board file with many mistakes is refused with every one of them, one
// line each and no control character printed raw; a goods link and a board
// saved from the options with links are taken.
TEST_F(BoardAdmin, ImportAndSaveListEveryProblemAndTakeGoodsLinks) {
    std::ofstream(dir.file("bad.txt"), std::ios::binary)
        << "korvel-board=1\nname=坏\x1B[2J看板\nown=4033138\n"
        << "competitor=1\ncompetitor=2\ncompetitor=3\ncompetitor=4\ncompetitor=5\n"
        << "competitor=6\nkeyword=辣条😀\nkeyword=al" << std::string(1, '\0') << "pha\n"
        << "keyword=\xFF\ncategory=休闲零食\n";
    const auto bad =
        run({"--import-board", dir.file("bad.txt").string(), "--db", db("one.sqlite")});
    EXPECT_EQ(bad.exit_code, 64);
    for (const char* fault : {"看板名称“坏\\x1B[2J看板”含有控制字符", "竞品最多5个",
                              "关键词“辣条?”含有无法保存的字符", "关键词“al\\x00pha”含有控制字符",
                              "关键词“\\xFF”含有无法识别的字节 0xFF", "类目“休闲零食”不是类目ID"})
        EXPECT_NE(bad.err.find(std::string("\n  ") + fault), std::string::npos) << fault << bad.err;
    EXPECT_EQ(bad.err.find('\x1B'), std::string::npos);
    EXPECT_EQ(run({"--list-boards", "--db", db("one.sqlite")}).out, "");

    const std::string link = "http://" + server->host() + "/goods2.html?goods_id=" + kSample;
    const auto saved = run({"--save-board", "链接看板", "--goods", link, "--keyword", "辣条",
                            "--db", db("one.sqlite")});
    ASSERT_EQ(saved.exit_code, 0) << saved.err;
    const auto exported = run({"--export-board", "链接看板", "--db", db("one.sqlite")});
    EXPECT_NE(exported.out.find("\ngoods_link=" + link + "\n"), std::string::npos) << exported.out;
    const auto checked = run({"--board", "链接看板", "--db", db("one.sqlite")});
    EXPECT_EQ(checked.exit_code, 0) << checked.err;
    EXPECT_NE(checked.out.find("第"), std::string::npos) << checked.out;

    const auto refused = run({"--save-board", "坏看板",   "--goods",      "辣条店",
                              "--competitor", "1",        "--competitor", "2",
                              "--competitor", "3",        "--competitor", "4",
                              "--competitor", "5",        "--competitor", "6",
                              "--keyword",    "辣条\x1B", "--db",         db("one.sqlite")});
    EXPECT_EQ(refused.exit_code, 64);
    for (const char* fault : {"本店商品“辣条店”既不是商品ID也不是商品链接", "竞品最多5个",
                              "关键词“辣条\\x1B”含有控制字符"})
        EXPECT_NE(refused.err.find(fault), std::string::npos) << fault << refused.err;
}

}  // namespace
