// korvel-check with a board saved in a history file: its runs, its lock,
// and the history's chores, run as a process against the simulator.
#include <gtest/gtest.h>

#include <ctime>

#include "board/board_lock.h"
#include "board/board_text.h"
#include "history/csv_export.h"
#include "history/store.h"
#include "korvel_check_fixture.h"
#include "plain/raw_http_server.h"
#include "text/codepage.h"

namespace {

using checktest::kSample;

const std::string kBoardName = "辣条看板";

// Lines of a text, without their ends.
std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Tomorrow's local date, YYYY-MM-DD.
std::string tomorrow() {
    const std::time_t later = std::time(nullptr) + 24 * 3600;
    std::tm local{};
    localtime_r(&later, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

class KorvelCheckBoard : public checktest::KorvelCheck {
  protected:
    void SetUp() override {
        KorvelCheck::SetUp();
        auto store = history::Store::open(db());
        ASSERT_TRUE(store) << store.error().message;
        ASSERT_TRUE(store.value().save_board(kBoardName, board::board_to_text(sample_board()), 1));
    }

    std::string db() const { return dir.file("h.sqlite").string(); }

    // The sample goods and a competitor from page 1 of its first keyword,
    // two keywords under two sort orders.
    board::Board sample_board() const {
        board::Board b;
        b.name = text::utf8_to_gbk(kBoardName);
        b.own = {{kSample, {}, {}, {}}};
        b.competitors = {{rival(), {}, {}, {}}};
        b.keywords = {text::utf8_to_gbk("辣条大礼包"), text::utf8_to_gbk("辣条")};
        b.sorts = {ranking::Sort::general, ranking::Sort::sales};
        return b;
    }

    std::string rival() const {
        const auto listing = catalogue.keyword_listing("辣条大礼包", sim::Sort::overall);
        return listing.at(2) == kSample ? listing.at(3) : listing.at(2);
    }

    test::ProcessResult run_board(std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), {"--board", kBoardName, "--db", db()});
        return check(extra);
    }

    int sample_rank(const std::string& keyword) const {
        return expected_rank(
            sim::ListingKind::keyword,
            catalogue.keyword_listing(keyword, sim::Sort::overall, server.options().rank_shift),
            kSample);
    }
};

TEST_F(KorvelCheckBoard, FirstRunIsQuietThenAMovedRankGivesNoticesAndExitOne) {
    const auto first = run_board();
    EXPECT_EQ(first.exit_code, 0) << first.err;
    EXPECT_EQ(first.err, "");
    const std::vector<std::string> lines = lines_of(first.out);
    ASSERT_GE(lines.size(), 3u) << first.out;
    EXPECT_EQ(lines[0].rfind("本店 " + kSample, 0), 0u) << first.out;
    EXPECT_NE(lines[0].find("综合"), std::string::npos);
    EXPECT_NE(lines[0].find("销量"), std::string::npos);
    const std::string before = "第" + std::to_string(sample_rank("辣条大礼包")) + "名";
    EXPECT_EQ(lines[1].rfind("辣条大礼包", 0), 0u);
    EXPECT_NE(lines[1].find(before), std::string::npos) << lines[1];
    EXPECT_NE(first.out.find("竞品 " + rival()), std::string::npos) << first.out;

    auto options = server.options();
    options.rank_shift = 15;
    server.set_options(options);
    const auto second = run_board({"--format", "csv"});
    EXPECT_EQ(second.exit_code, 1) << second.err;
    const std::string after = "第" + std::to_string(sample_rank("辣条大礼包")) + "名";
    EXPECT_NE(second.out.find(kSample + ",keyword,辣条大礼包,default,found," +
                              std::to_string(sample_rank("辣条大礼包")) + ","),
              std::string::npos)
        << second.out;
    EXPECT_NE(second.err.find(before + " → " + after), std::string::npos) << second.err;

    auto store = history::Store::open(db());
    ASSERT_TRUE(store);
    EXPECT_EQ(store.value().count_checks(kBoardName).value(), 8);
    EXPECT_EQ(store.value().notices(kBoardName).value().size(),
              occurrences(second.err, "korvel-check: "));
}

// The first check fails on its own; the second failure in a row is a
// push-back that ends the run, and the checks given up must read as
// failures, never as "not in the top 1000".
TEST_F(KorvelCheckBoard, ARefusedHostEndsWithTwoAndGivenUpChecksAreNotChecked) {
    const std::string refused = "127.0.0.1:" + std::to_string(test::refused_port());
    const std::string config =
        config_for(refused, "refused.ini",
                   "[board]\nmax_in_flight=1\nretries=0\nfailures_before_pause=2\n"
                   "give_up_after=1\npages_per_second=50\n");
    const auto result =
        run({"--config", config, "--board", kBoardName, "--db", db(), "--format", "csv"});
    EXPECT_EQ(result.exit_code, 2) << result.err;
    EXPECT_EQ(lines_of(result.out).size(), 9u) << result.out;
    EXPECT_EQ(occurrences(result.out, ",failed,,无法连接服务器\n"), 2u) << result.out;
    EXPECT_EQ(occurrences(result.out, ",failed,,未检查\n"), 6u) << result.out;
    EXPECT_EQ(result.out.find("not_in_top_1000"), std::string::npos);
}

TEST_F(KorvelCheckBoard, ABoardHeldElsewhereEndsWithTwoAndAMessage) {
    const board::BoardLock lock = board::BoardLock::try_acquire(dir.path(), kBoardName);
    ASSERT_TRUE(lock.held()) << lock.message();
    const auto result = run_board();
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("korvel-check: ", 0), 0u) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(KorvelCheckBoard, HistoryPrintsTheStoredChecksAndPruneRemovesThem) {
    ASSERT_EQ(run_board().exit_code, 0);
    ASSERT_EQ(check({"--goods", kSample, "--new", "--db", db()}).exit_code, 0);

    const auto printed = run({"--history", "--board", kBoardName, "--db", db(), "--format", "csv"});
    EXPECT_EQ(printed.exit_code, 0) << printed.err;
    auto store = history::Store::open(db());
    ASSERT_TRUE(store);
    history::CheckFilter of_board;
    of_board.board = kBoardName;
    EXPECT_EQ(printed.out, history::to_csv(store.value().checks(of_board).value()));
    EXPECT_EQ(occurrences(printed.out, "\r\n"), 1u + 4 * 2) << "a header, two goods of four checks";
    EXPECT_NE(printed.out.find(kBoardName + ",keyword,辣条大礼包,default," + kSample +
                               ",own,found," + std::to_string(sample_rank("辣条大礼包")) + ","),
              std::string::npos)
        << printed.out;
    const auto every = run({"--history", "--db", db(), "--format", "json"});
    EXPECT_EQ(lines_of(every.out).size(), 2u + 4 * 2 + 1) << every.out;
    const auto later = run({"--history", "--since", tomorrow(), "--db", db(), "--format", "json"});
    EXPECT_EQ(later.out, "[]\n");
    EXPECT_EQ(run({"--list-boards", "--db", db()}).out, kBoardName + "\n");

    const auto pruned = run({"--prune-before", tomorrow(), "--db", db()});
    EXPECT_EQ(pruned.exit_code, 0) << pruned.err;
    EXPECT_EQ(pruned.out, "removed 5 checks\n");
    EXPECT_EQ(store.value().count_checks().value(), 0);
}

}  // namespace
