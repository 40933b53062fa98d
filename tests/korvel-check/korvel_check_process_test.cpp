// The built korvel-check run as a process against the simulator on a free
// loopback port, with a settings file that points every host at it and a
// data directory of its own, so no run touches the user's history.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <set>
#include <thread>

#include "board/board_lock.h"
#include "board/board_text.h"
#include "board/check_csv.h"
#include "board/goods_names.h"
#include "history/local_time.h"
#include "history/store.h"
#include "plain/raw_http_server.h"
#include "plain/smtp_server.h"
#include "plain/temp_dir.h"
#include "run_process.h"
#include "settings_text.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "text/codepage.h"

namespace {

const std::string kProgram = KORVEL_CHECK_EXE;
const std::string kSample(sim::kSampleGoodsId);
const std::string kHint = "Run with --help for more information.\n";
const std::string kBoardName = "辣条看板";

sim::Options on_free_port() {
    sim::Options options;
    options.port = 0;
    return options;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class KorvelCheck : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server.start()); }

    // A settings file in the temporary directory with every host at `host`
    // and the given [board] section (by default brisk: the simulator answers
    // at once).
    std::string config_for(
        const std::string& host, const std::string& name = "korvel.ini",
        const std::string& board = "[board]\npages_per_second=50\nbackoff_s=0.05\npause_s=0.2\n") {
        const auto file = dir.file(name);
        std::ofstream(file) << test::settings_text(host, board);
        return file.string();
    }

    test::ProcessResult run(const std::vector<std::string>& args,
                            const std::string& program = kProgram,
                            test::StdoutTo stdout_to = test::StdoutTo::pipe) {
        return test::run_process(program, args, {{"XDG_DATA_HOME", dir.file("data").string()}},
                                 stdout_to);
    }

    test::ProcessResult check(std::vector<std::string> args) {
        args.insert(args.begin(), {"--config", config_for(server.host())});
        return run(args);
    }

    std::size_t requests_to(const std::string& path) const {
        std::size_t count = 0;
        for (const sim::RequestRecord& r : server.requests())
            count += r.path == path ? 1 : 0;
        return count;
    }

    int expected_rank(sim::ListingKind kind, const std::vector<std::string>& listing,
                      const std::string& goods_id) const {
        return sim::expected_position(kind, listing, goods_id, server.options());
    }

    // A goods item at the top of page 1 of 辣条大礼包 (the sample is 37th there).
    std::string rival() const {
        const auto listing = catalogue.keyword_listing("辣条大礼包", sim::Sort::overall);
        return listing.at(2) == kSample ? listing.at(3) : listing.at(2);
    }

    int sample_rank(const std::string& keyword) const {
        const auto listing =
            catalogue.keyword_listing(keyword, sim::Sort::overall, server.options().rank_shift);
        return expected_rank(sim::ListingKind::keyword, listing, kSample);
    }

    sim::Server server{on_free_port()};
    sim::Catalogue catalogue{1};
    test::TempDir dir;
};

TEST_F(KorvelCheck, SampleKeywordsGiveTheirRanksInCsv) {
    const auto result = check({"--goods", kSample, "--keyword", "辣条大礼包", "--keyword", "辣条",
                               "--keyword", "辣条礼包", "--format", "csv"});
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.out,
              "goods_id,listing,key,sort,status,rank,reason\n"
              "4033138,keyword,辣条大礼包,default,found,37,\n"
              "4033138,keyword,辣条,default,found,618,\n"
              "4033138,keyword,辣条礼包,default,not_in_top_1000,,\n");
    EXPECT_EQ(result.err, "") << "no progress line when stderr is not a terminal";
}

// A spreadsheet opens a file only as UTF-8 with the mark; a program reading
// a pipe gets none unless it asks.
TEST_F(KorvelCheck, CsvIntoAFileBeginsWithAByteOrderMarkAndIntoAPipeOnlyWithBom) {
    std::vector<std::string> args = {"--config",    config_for(server.host()),
                                     "--goods",     kSample,
                                     "--keyword",   "辣条大礼包",
                                     "--format",    "csv",
                                     "--no-history"};
    const auto piped = run(args);
    ASSERT_EQ(piped.exit_code, 0) << piped.err;
    ASSERT_TRUE(piped.out.starts_with("goods_id,")) << piped.out;
    const auto into_file = run(args, kProgram, test::StdoutTo::file);
    args.push_back("--bom");
    const auto forced = run(args);
    EXPECT_EQ(into_file.out, "\xEF\xBB\xBF" + piped.out);
    EXPECT_EQ(forced.out, "\xEF\xBB\xBF" + piped.out);
}

// A second goods item costs no request: its link is resolved through its
// goods page, and the listing's two pages are read once for both.
TEST_F(KorvelCheck, EachListingIsReadOnceForAllGoodsAndRowsComeGoodsByGoods) {
    const auto listing = catalogue.keyword_listing("辣条", sim::Sort::overall);
    const std::string other = listing.at(2) == kSample ? listing.at(3) : listing.at(2);
    const std::string link = "http://" + server.host() + "/goods2.html?goods_id=" + other;
    const auto result = check(
        {"--goods", kSample, "--goods", link, "--keyword", "辣条", "--format", "csv", "--new"});
    EXPECT_EQ(result.exit_code, 0) << result.err;
    const auto rank = [&](const std::string& id) {
        return std::to_string(expected_rank(sim::ListingKind::keyword, listing, id));
    };
    const auto new_rank = [&](const std::string& id) {
        const int at =
            expected_rank(sim::ListingKind::new_goods, catalogue.new_goods_listing(), id);
        return at > 0 ? "found," + std::to_string(at) : std::string("not_in_top_1000,");
    };
    EXPECT_EQ(result.out, "goods_id,listing,key,sort,status,rank,reason\n" + kSample +
                              ",keyword,辣条,default,found," + rank(kSample) + ",\n" + kSample +
                              ",new,,," + new_rank(kSample) + ",\n" + other +
                              ",keyword,辣条,default,found," + rank(other) + ",\n" + other +
                              ",new,,," + new_rank(other) + ",\n");
    EXPECT_EQ(requests_to("/search"), 2u) << "page 1 and page 2, once";
    EXPECT_EQ(requests_to("/goods2.html"), 2u) << "each goods item's page once";
}

TEST_F(KorvelCheck, CategoriesTabAndNewGoodsInJson) {
    const auto categories = catalogue.sample_categories();
    const std::string tab = catalogue.sample_tab().id;
    const auto result = check({"--goods", kSample, "--category", categories[0].id, "--category",
                               categories[1].id, "--tab", tab, "--new", "--format", "json"});
    EXPECT_EQ(result.exit_code, 0) << result.err;
    const auto object = [&](const std::string& listing, const std::string& key, int rank) {
        return "{\"goods_id\":\"4033138\",\"listing\":\"" + listing +
               "\",\"key\":" + (key.empty() ? std::string("null") : "\"" + key + "\"") +
               ",\"sort\":null,\"status\":\"found\",\"rank\":" + std::to_string(rank) +
               ",\"reason\":null}";
    };
    const auto category_rank = [&](const std::string& id) {
        return expected_rank(sim::ListingKind::category, catalogue.category_listing(id), kSample);
    };
    EXPECT_EQ(
        result.out,
        "[\n  " + object("category", categories[0].id, category_rank(categories[0].id)) + ",\n  " +
            object("category", categories[1].id, category_rank(categories[1].id)) + ",\n  " +
            object("tab", tab,
                   expected_rank(sim::ListingKind::tab, catalogue.tab_listing(tab), kSample)) +
            ",\n  " +
            object("new", "",
                   expected_rank(sim::ListingKind::new_goods, catalogue.new_goods_listing(),
                                 kSample)) +
            "\n]\n");
}

TEST_F(KorvelCheck, RefusedHostGivesFailedRowsAndExitCodeTwo) {
    const std::string refused = "127.0.0.1:" + std::to_string(test::refused_port());
    const auto result = run({"--config", config_for(refused), "--goods", kSample, "--goods",
                             "http://" + refused + "/goods2.html?goods_id=1", "--keyword", "辣条",
                             "--format", "csv"});
    EXPECT_EQ(result.exit_code, 2) << result.err;
    EXPECT_EQ(result.out,
              "goods_id,listing,key,sort,status,rank,reason\n"
              "4033138,keyword,辣条,default,failed,,无法连接服务器\n"
              "http://" +
                  refused +
                  "/goods2.html?goods_id=1,keyword,辣条,default,"
                  "failed,,未取得商品ID\n");
}

TEST_F(KorvelCheck, ServerErrorIsAFailureWithItsStatusNeverANotFound) {
    auto options = server.options();
    options.status = 503;
    options.fault_path = "/search";
    server.set_options(options);
    const auto result = check({"--goods", kSample, "--keyword", "辣条", "--sort", "sales",
                               "--format", "csv", "--retries", "0"});
    EXPECT_EQ(result.exit_code, 2) << result.err;
    EXPECT_EQ(result.out,
              "goods_id,listing,key,sort,status,rank,reason\n"
              "4033138,keyword,辣条,sales,failed,,服务器返回错误 503\n");
    EXPECT_EQ(requests_to("/search"), 1u) << "no page 2 after a page 1 that failed";
}

TEST_F(KorvelCheck, KeywordsFileSkipsBlankLines) {
    std::ofstream(dir.file("keywords.txt"), std::ios::binary)
        << "\xEF\xBB\xBF\r\n辣条大礼包\r\n\r\n   \r\n";
    const auto result = check({"--goods", kSample, "--keywords-file",
                               dir.file("keywords.txt").string(), "--format", "csv"});
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.out,
              "goods_id,listing,key,sort,status,rank,reason\n"
              "4033138,keyword,辣条大礼包,default,found,37,\n");
}

TEST_F(KorvelCheck, ReadsKorvelIniBesideTheProgramWithoutConfig) {
    const auto copy = dir.file("korvel-check");
    std::filesystem::copy_file(kProgram, copy);
    config_for(server.host());
    const auto result = run({"--goods", kSample, "--keyword", "辣条大礼包"}, copy.string());
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.out.find("辣条大礼包  default  found   37"), std::string::npos) << result.out;
    EXPECT_EQ(requests_to("/search"), 1u);
}

// A competitor costs no request: each listing is read once for both, and a
// page 2 only where some goods item is still missing after page 1.
TEST_F(KorvelCheck, CompetitorRowsFollowTheOwnGoodsAndCostNoRequest) {
    std::vector<std::string> args = {"--goods",   kSample, "--keyword", "辣条大礼包",
                                     "--keyword", "辣条",  "--format",  "csv"};
    const auto alone = check(args);
    EXPECT_EQ(server.counts().listing_pages(), 3) << "page 1 of 辣条大礼包, both pages of 辣条";
    server.reset_counts();
    args.insert(args.end(), {"--competitor", rival()});
    const auto both = check(args);
    EXPECT_EQ(both.exit_code, 0) << both.err;
    EXPECT_EQ(server.counts().listing_pages(), 3);
    const auto rank = [&](const std::string& keyword) {
        const int at =
            expected_rank(sim::ListingKind::keyword,
                          catalogue.keyword_listing(keyword, sim::Sort::overall), rival());
        return at > 0 ? "found," + std::to_string(at) : std::string("not_in_top_1000,");
    };
    EXPECT_EQ(both.out, alone.out + rival() + ",keyword,辣条大礼包,default," + rank("辣条大礼包") +
                            ",\n" + rival() + ",keyword,辣条,default," + rank("辣条") + ",\n");
}

TEST_F(KorvelCheck, ChecksGoIntoTheHistoryWithoutABoardUnlessNoHistory) {
    const std::vector<std::string> args = {"--goods",   kSample,      "--competitor", rival(),
                                           "--keyword", "辣条大礼包", "--sort",       "all"};
    std::vector<std::string> without = args;
    without.push_back("--no-history");
    EXPECT_EQ(check(without).exit_code, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("data"))) << "no file, no directory";
    EXPECT_EQ(check(args).exit_code, 0);
    auto store = history::Store::open(dir.file("data/korvel/history.sqlite"));
    ASSERT_TRUE(store) << store.error().message;
    const auto checks = store.value().checks({}).value();
    ASSERT_EQ(checks.size(), 5u);
    for (const history::Check& c : checks) {
        EXPECT_EQ(c.board, "");
        ASSERT_EQ(c.goods.size(), 2u);
        EXPECT_EQ(c.goods[1].role, history::Role::competitor);
    }
    // The five sorts finish in whatever order the pages come back.
    const auto by_default = store.value().checks({.sort = history::Sort::default_order}).value();
    ASSERT_EQ(by_default.size(), 1u);
    EXPECT_EQ(by_default[0].goods[0].rank, sample_rank("辣条大礼包"));
}

TEST_F(KorvelCheck, AHistoryFileItCannotUseEndsWithTwoBeforeAnyRequest) {
    const auto db = dir.file("notes.sqlite");
    std::ofstream(db) << "These are notes, not a database of checks.\n";
    const auto result = check({"--goods", kSample, "--new", "--db", db.string()});
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("korvel-check: ", 0), 0u) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    EXPECT_TRUE(server.requests().empty());
}

// Tomorrow's local date, YYYY-MM-DD: the date part of the local reading
// the history shows.
std::string tomorrow() {
    const auto later = std::chrono::system_clock::now() + std::chrono::hours(24);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(later.time_since_epoch()).count();
    return history::local_time_with_offset(ms).substr(0, 10);
}

class KorvelCheckBoard : public KorvelCheck {
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

    test::ProcessResult run_board(std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), {"--board", kBoardName, "--db", db()});
        return check(extra);
    }
};

TEST_F(KorvelCheckBoard, FirstRunIsQuietThenAMovedRankGivesNoticesAndExitOne) {
    const auto first = run_board();
    EXPECT_EQ(first.exit_code, 0) << first.err;
    EXPECT_EQ(first.err, "");
    // The goods are named as their pages named them, and the board keeps the names.
    const std::string own_corner =
        "本店 " + catalogue.find_goods(kSample)->name + "（" + kSample + "）";
    EXPECT_EQ(first.out.rfind(own_corner, 0), 0u) << first.out;
    EXPECT_LT(first.out.find("销量"), first.out.find('\n')) << "sort orders across";
    const std::string before = "第" + std::to_string(sample_rank("辣条大礼包")) + "名";
    const std::size_t row = first.out.find("\n辣条大礼包 ") + 1;
    ASSERT_GT(row, 0u) << first.out;
    EXPECT_LT(first.out.find(before, row), first.out.find('\n', row)) << first.out;
    EXPECT_NE(first.out.find("竞品 " + catalogue.find_goods(rival())->name), std::string::npos)
        << first.out;
    {
        auto store = history::Store::open(db());
        const auto kept =
            board::board_from_text(store.value().load_board(kBoardName).value().definition);
        ASSERT_TRUE(kept);
        EXPECT_EQ(text::gbk_to_utf8(kept->own.at(0).name), catalogue.find_goods(kSample)->name);
    }

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
    EXPECT_EQ(occurrences(result.out, "\n"), 9u) << result.out;
    // The two checks tried (the second's failure made the run give up) say why;
    // the two never tried are not checked.
    EXPECT_EQ(occurrences(result.out, ",failed,,无法连接服务器\n"), 4u) << result.out;
    EXPECT_EQ(occurrences(result.out, ",failed,,未检查（无响应）\n"), 4u) << result.out;
    EXPECT_EQ(result.out.find("not_in_top_1000"), std::string::npos);
}

TEST_F(KorvelCheckBoard, ABoardHeldElsewhereEndsWithTwoAndAMessage) {
    const board::BoardLock lock = board::BoardLock::for_history(db(), kBoardName);
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
    EXPECT_EQ(printed.out, board::checks_csv(store.value().checks(of_board).value(),
                                             board::goods_names(store.value()), false,
                                             board::listing_names_by_board(store.value())));
    EXPECT_EQ(occurrences(printed.out, "\r\n"), 1u + 4 * 2) << "a header, two goods of four checks";
    const std::string rank = std::to_string(sample_rank("辣条大礼包"));
    EXPECT_NE(printed.out.find(kBoardName + ",keyword,辣条大礼包,辣条大礼包,default,综合," +
                               kSample + ","),
              std::string::npos)
        << printed.out;
    EXPECT_NE(printed.out.find(",own,本店,found,第" + rank + "名," + rank + ","), std::string::npos)
        << printed.out;
    const auto every = run({"--history", "--db", db(), "--format", "json"});
    EXPECT_EQ(occurrences(every.out, "\n"), 2u + 4 * 2 + 1) << every.out;
    const auto later = run({"--history", "--since", tomorrow(), "--db", db(), "--format", "json"});
    EXPECT_EQ(later.out, "[]\n");
    EXPECT_EQ(run({"--list-boards", "--db", db()}).out, kBoardName + "\n");

    const auto pruned = run({"--prune-before", tomorrow(), "--db", db()});
    EXPECT_EQ(pruned.exit_code, 0) << pruned.err;
    EXPECT_EQ(pruned.out, "removed 5 checks\n");
    EXPECT_EQ(store.value().count_checks().value(), 0);
}

// A killed run keeps the notice of every check it recorded: notices are made
// with their checks, not when the run ends.
TEST_F(KorvelCheckBoard, AKilledRunKeepsTheNoticesOfTheChecksItRecorded) {
    ASSERT_EQ(run_board().exit_code, 0);
    auto options = server.options();
    options.rank_shift = 40;
    options.delay_ms = 150;
    server.set_options(options);
    auto store = history::Store::open(db());
    ASSERT_TRUE(store);
    {
        test::StartedProcess slow(
            kProgram, {"--config", config_for(server.host()), "--board", kBoardName, "--db", db()},
            {{"XDG_DATA_HOME", dir.file("data").string()}});
        ASSERT_TRUE(slow.started());
        for (int i = 0; i < 400 && store.value().count_checks(kBoardName).value() < 6; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        slow.kill_now();
    }
    history::CheckFilter of_board;
    of_board.board = kBoardName;
    const auto checks = store.value().checks(of_board).value();
    ASSERT_GE(checks.size(), 5u);
    ASSERT_LT(checks.size(), 8u) << "the run ended before it was killed";
    // Every recorded check whose own rank moved by 10 or more has its notice.
    std::set<std::int64_t> moved;
    for (std::size_t i = 4; i < checks.size(); ++i) {
        for (std::size_t j = 0; j < 4; ++j) {
            if (checks[j].key != checks[i].key || checks[j].sort != checks[i].sort)
                continue;
            const auto before = checks[j].goods.at(0).rank;
            const auto after = checks[i].goods.at(0).rank;
            if (before && after && std::abs(*after - *before) >= 10)
                moved.insert(checks[i].id);
        }
    }
    ASSERT_FALSE(moved.empty());
    std::set<std::int64_t> noticed;
    for (const history::Notice& n : store.value().notices(kBoardName).value())
        noticed.insert(n.check_id);
    for (const std::int64_t id : moved)
        EXPECT_TRUE(noticed.contains(id)) << "check " << id;
}

// Ctrl+C and SIGTERM (how systemd stops a unit) stop a run as 停止 does:
// the checks read so far stay recorded, the run is kept as stopped, the
// board's lock is free again, and the exit code names the signal.
TEST_F(KorvelCheckBoard, ASignalStopsTheRunKeepingWhatItReadAndFreeingTheLock) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows has no SIGINT or SIGTERM to send another process";
#endif
    auto options = server.options();
    options.delay_ms = 400;
    server.set_options(options);
    auto store = history::Store::open(db());
    ASSERT_TRUE(store);
    for (const auto& [signal, code] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        const std::int64_t before = store.value().count_checks(kBoardName).value();
        test::StartedProcess slow(kProgram,
                                  {"--config", config_for(server.host()), "--board", kBoardName,
                                   "--db", db(), "--max-in-flight", "1"},
                                  {{"XDG_DATA_HOME", dir.file("data").string()}});
        ASSERT_TRUE(slow.started());
        for (int i = 0; i < 400 && store.value().count_checks(kBoardName).value() == before; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        EXPECT_EQ(slow.end_with(signal, std::chrono::seconds(60)), code) << signal;
        const std::int64_t recorded = store.value().count_checks(kBoardName).value() - before;
        EXPECT_GE(recorded, 1) << signal;
        EXPECT_LT(recorded, 4) << "the run ended before the signal came";
        const auto last = store.value().last_run(kBoardName).value();
        ASSERT_TRUE(last) << signal;
        EXPECT_EQ(last->how_ended, "stopped") << signal;
        EXPECT_EQ(last->not_checked, 4 - recorded) << signal;
        EXPECT_TRUE(board::BoardLock::for_history(db(), kBoardName).held()) << signal;
    }
}

// A run that moved a rank sends one message to each channel the board
// chose, on the way out, without changing how the run ends; no address key
// or password shows in anything the runs leave behind.
TEST_F(KorvelCheckBoard, NoticesReachTheBoardsChatRobotAndMailbox) {
    // The robot echoes the address it was called at, JSON-escaped.
    test::RawHttpServer robot([](const std::string& request) {
        std::string target;
        for (const char c : test::request_target(request))
            target += c == '/' ? std::string("\\/") : std::string(1, c);
        return test::Reply::ok(R"({"errcode":0,"errmsg":"ok )" + target + R"("})");
    });
    test::SmtpServer mail;
    board::Board b = sample_board();
    b.channels = {text::utf8_to_gbk("运营群"), text::utf8_to_gbk("邮件")};
    {
        auto store = history::Store::open(db());
        ASSERT_TRUE(store.value().save_board(kBoardName, board::board_to_text(b), 2));
    }
    const std::string config =
        config_for(server.host(), "korvel.ini",
                   "[board]\npages_per_second=50\nbackoff_s=0.05\npause_s=0.2\n"
                   "[notify.运营群]\nkind=wecom\nurl=" +
                       robot.url("/cgi-bin/webhook/send?key=SECRET-KEY-77") +
                       "\n[notify.邮件]\nkind=email\nsmtp=" + mail.url() +
                       "\nuser=me@example.com\npassword=PASS-WORD-88\nfrom=me@example.com\n"
                       "to=you@example.com\n");
    const auto board_run = [&] {
        return run({"--config", config, "--board", kBoardName, "--db", db()});
    };
    const auto first = board_run();
    EXPECT_EQ(first.exit_code, 0) << first.err;
    EXPECT_EQ(robot.request_count(), 0u) << "a run without notices sends nothing";

    auto options = server.options();
    options.rank_shift = 15;
    server.set_options(options);
    const auto second = board_run();
    EXPECT_EQ(second.exit_code, 1) << second.err;
    ASSERT_EQ(robot.request_count(), 1u);
    EXPECT_NE(test::split_request(robot.last_request()).body.find("看板「" + kBoardName + "」"),
              std::string::npos);
    ASSERT_EQ(mail.sessions().size(), 1u);
    EXPECT_NE(second.err.find("通知已发送至 运营群"), std::string::npos) << second.err;
    EXPECT_NE(second.err.find("通知已发送至 邮件"), std::string::npos) << second.err;

    const auto report = run({"--config", config, "--board", kBoardName, "--db", db(), "--report"});
    EXPECT_EQ(report.exit_code, 0) << report.err;
    ASSERT_EQ(robot.request_count(), 2u);
    EXPECT_NE(test::split_request(robot.last_request()).body.find("日报"), std::string::npos);

    const auto tested = run({"--config", config, "--test-notify", "运营群"});
    EXPECT_EQ(tested.exit_code, 0) << tested.err;
    EXPECT_NE(tested.out.find("服务器回答：HTTP 200"), std::string::npos) << tested.out;
    EXPECT_NE(tested.out.find("***"), std::string::npos) << "the echoed address, masked";

    const std::string left = first.out + first.err + second.out + second.err + report.out +
                             report.err + tested.out + tested.err + test::file_bytes(db()) +
                             test::file_bytes(db() + "-wal");
    for (const char* secret : {"SECRET-KEY-77", "PASS-WORD-88"})
        EXPECT_EQ(left.find(secret), std::string::npos) << secret;
}

// Run 2's first send hangs; run 3 starts meanwhile (the lock is free), then
// run 2 is killed mid-send. The hung send is never repeated, run 2's
// message to the second channel (never started) goes with run 3, and a
// later run sends nothing again: each notice reaches each channel once.
TEST_F(KorvelCheckBoard, AKillMidSendAndAnOverlappingRunSendEachNoticeOnce) {
    std::atomic<int> first_channel_requests{0};
    test::RawHttpServer robot([&](const std::string& request) {
        test::Reply reply = test::Reply::ok("{}");
        reply.hold = test::request_target(request) == "/one" && first_channel_requests++ == 0;
        return reply;
    });
    board::Board b = sample_board();
    b.channels = {text::utf8_to_gbk("一群"), text::utf8_to_gbk("二群")};
    {
        auto store = history::Store::open(db());
        ASSERT_TRUE(store.value().save_board(kBoardName, board::board_to_text(b), 2));
    }
    const std::string config = config_for(
        server.host(), "korvel.ini",
        "[board]\npages_per_second=50\nbackoff_s=0.05\npause_s=0.2\n"
        "[notify.一群]\nkind=json\nurl=" +
            robot.url("/one") + "\n[notify.二群]\nkind=json\nurl=" + robot.url("/two") + "\n");
    const std::vector<std::string> args = {"--config", config, "--board", kBoardName, "--db", db()};
    const auto shift = [&](int places) {
        auto options = server.options();
        options.rank_shift = places;
        server.set_options(options);
    };
    ASSERT_EQ(run(args).exit_code, 0);
    shift(15);
    {
        test::StartedProcess second(kProgram, args, {{"XDG_DATA_HOME", dir.file("data").string()}});
        ASSERT_TRUE(second.started());
        for (int i = 0; i < 2400 && robot.held_now() == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        ASSERT_EQ(robot.held_now(), 1) << "run 2 never sent";
        shift(30);
        const auto third = run(args);
        EXPECT_EQ(third.exit_code, 1) << third.err;
        second.kill_now();
    }
    robot.release();
    shift(30);
    EXPECT_EQ(run(args).exit_code, 0);

    auto store = history::Store::open(db());
    const auto notices = store.value().notices(kBoardName).value();
    ASSERT_FALSE(notices.empty());
    for (const char* path : {"/one", "/two"}) {
        std::string bodies;
        for (const std::string& request : robot.requests()) {
            if (test::request_target(request) == path)
                bodies += test::split_request(request).body;
        }
        for (const history::Notice& n : notices) {
            if (n.kind != "checks_failing") {
                EXPECT_EQ(occurrences(bodies, n.message), 1u) << path << ": " << n.message;
            }
        }
    }
}

// --retry-failed reads exactly the cells whose latest check was not read.
TEST_F(KorvelCheckBoard, RetryFailedChecksOnlyTheCellsThatFailed) {
    board::Board b = sample_board();
    b.name = text::utf8_to_gbk("重查");
    b.new_goods = true;
    auto store = history::Store::open(db());
    ASSERT_TRUE(store);
    ASSERT_TRUE(store.value().save_board("重查", board::board_to_text(b), 1));
    auto options = server.options();
    options.fault_path = "/v5/newlist";
    options.status = 404;
    server.set_options(options);
    const auto config = config_for(server.host());
    EXPECT_EQ(run({"--config", config, "--board", "重查", "--db", db()}).exit_code, 2);
    options.status = 0;
    server.set_options(options);
    server.clear_requests();
    const auto again = run(
        {"--config", config, "--board", "重查", "--db", db(), "--retry-failed", "--format", "csv"});
    EXPECT_EQ(again.exit_code, 0) << again.err;
    EXPECT_EQ(occurrences(again.out, ",new,"), 2u) << again.out;
    EXPECT_EQ(occurrences(again.out, "\n"), 3u) << again.out;
    EXPECT_EQ(requests_to("/search"), 0u);
    server.clear_requests();
    const auto nothing =
        run({"--config", config, "--board", "重查", "--db", db(), "--retry-failed"});
    EXPECT_EQ(nothing.exit_code, 0) << nothing.err;
    EXPECT_EQ(requests_to("/v5/newlist"), 0u);
}

// A Goods ID whose goods page names no goods fails its rows, never "not ranked".
TEST_F(KorvelCheck, AGoodsIdThatDoesNotExistFails) {
    const auto result = check({"--goods", "99999999", "--keyword", "辣条", "--format", "csv"});
    EXPECT_EQ(result.exit_code, 2) << result.err;
    EXPECT_EQ(result.out,
              "goods_id,listing,key,sort,status,rank,reason\n"
              "99999999,keyword,辣条,default,failed,,商品不存在或已下架\n");
    EXPECT_EQ(requests_to("/search"), 0u);
}

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
};

class KorvelCheckUsage : public KorvelCheck, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(KorvelCheckUsage, EndsWith64BeforeAnyRequest) {
    const auto result = check(GetParam().args);
    EXPECT_EQ(result.exit_code, 64);
    EXPECT_EQ(result.out, "");
    ASSERT_GE(result.err.size(), kHint.size());
    EXPECT_EQ(result.err.substr(result.err.size() - kHint.size()), kHint) << result.err;
    EXPECT_TRUE(server.requests().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KorvelCheckUsage,
    ::testing::Values(
        UsageCase{"UnknownOption", {"--goods", "1", "--keyword", "k", "--turbo"}},
        UsageCase{"NoListing", {"--goods", "1"}},
        UsageCase{"GoodsNotAnIdOrLink", {"--goods", "abc", "--new"}},
        UsageCase{"MissingConfigFile",
                  {"--config", "/nonexistent/korvel.ini", "--goods", "1", "--new"}},
        UsageCase{"MissingKeywordsFile", {"--goods", "1", "--keywords-file", "/nonexistent/k.txt"}},
        UsageCase{"NoSuchBoard", {"--board", "没有这个看板"}},
        UsageCase{"RetriesOutOfRange", {"--board", "b", "--retries", "11"}},
        UsageCase{"CategoryNotANumber", {"--goods", "1", "--category", "零食"}},
        UsageCase{"PaceNotANumber", {"--goods", "1", "--new", "--pages-per-second", "nan"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
