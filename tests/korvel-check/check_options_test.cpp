// korvel-check's command line: what it accepts and how it refuses the rest.
#include <gtest/gtest.h>

#include <initializer_list>

#include "check_options.h"
#include "exit_codes.h"

namespace {

cli::ParsedCommandLine parse(std::initializer_list<const char*> args) {
    std::vector<const char*> argv{"korvel-check"};
    argv.insert(argv.end(), args.begin(), args.end());
    return cli::parse_command_line(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, RepeatedOptionsKeepTheirOrder) {
    const auto parsed = parse({"--goods",    "4033138",
                               "--keyword",  "辣条大礼包",
                               "--goods",    "7",
                               "--keyword",  "辣条",
                               "--category", "14",
                               "--category", "2301",
                               "--tab",      "3",
                               "--new",      "--sort",
                               "all",        "--format",
                               "json",       "--config",
                               "/tmp/k.ini", "--keywords-file",
                               "kw.txt"});
    ASSERT_TRUE(parsed.options) << parsed.err;
    const cli::CheckOptions& o = *parsed.options;
    EXPECT_EQ(o.goods, (std::vector<std::string>{"4033138", "7"}));
    EXPECT_EQ(o.keywords, (std::vector<std::string>{"辣条大礼包", "辣条"}));
    EXPECT_EQ(o.categories, (std::vector<std::string>{"14", "2301"}));
    EXPECT_EQ(o.tab, "3");
    EXPECT_TRUE(o.new_goods);
    EXPECT_EQ(o.sort, "all");
    EXPECT_EQ(o.format, cli::Format::json);
    EXPECT_EQ(o.config, "/tmp/k.ini");
    EXPECT_EQ(o.keywords_file, "kw.txt");
}

TEST(CommandLine, DefaultsAreTheDefaultSortAndATable) {
    const auto parsed = parse({"--goods", "1", "--new"});
    ASSERT_TRUE(parsed.options) << parsed.err;
    EXPECT_EQ(parsed.options->sort, "default");
    EXPECT_EQ(parsed.options->format, cli::Format::table);
    EXPECT_FALSE(parsed.options->config);
    EXPECT_TRUE(parsed.options->keywords.empty());
}

TEST(CommandLine, EverySortAndFormatNameIsAccepted) {
    for (const char* sort : {"default", "sales", "credit", "price-asc", "price-desc", "all"}) {
        const auto parsed = parse({"--goods", "1", "--keyword", "k", "--sort", sort});
        ASSERT_TRUE(parsed.options) << sort << ": " << parsed.err;
        EXPECT_EQ(parsed.options->sort, sort);
    }
    const std::pair<const char*, cli::Format> formats[] = {
        {"table", cli::Format::table}, {"csv", cli::Format::csv}, {"json", cli::Format::json}};
    for (const auto& [name, format] : formats) {
        const auto parsed = parse({"--goods", "1", "--new", "--format", name});
        ASSERT_TRUE(parsed.options) << name;
        EXPECT_EQ(parsed.options->format, format);
    }
}

TEST(CommandLine, TheModeFollowsTheOptionsGiven) {
    const std::pair<std::vector<const char*>, cli::Mode> cases[] = {
        {{"--goods", "1", "--new"}, cli::Mode::check},
        {{"--board", "看板"}, cli::Mode::board},
        {{"--board", "看板", "--format", "csv", "--retries", "0"}, cli::Mode::board},
        {{"--history"}, cli::Mode::history},
        {{"--history", "--board", "看板", "--since", "2024-05-01"}, cli::Mode::history},
        {{"--history", "--format", "csv", "--bom"}, cli::Mode::history},
        {{"--prune-before", "2024-05-01", "--db", "h.sqlite"}, cli::Mode::prune},
        {{"--list-boards"}, cli::Mode::list_boards},
    };
    for (const auto& [args, mode] : cases) {
        std::vector<const char*> argv{"korvel-check"};
        argv.insert(argv.end(), args.begin(), args.end());
        const auto parsed = cli::parse_command_line(static_cast<int>(argv.size()), argv.data());
        ASSERT_TRUE(parsed.options) << args.front() << ": " << parsed.err;
        EXPECT_EQ(parsed.options->mode, mode) << args.front();
    }
}

TEST(CommandLine, HelpGoesToStdoutAndEndsWithZero) {
    const auto parsed = parse({"--help"});
    EXPECT_FALSE(parsed.options);
    EXPECT_EQ(parsed.exit_code, cli::kExitAllRead);
    EXPECT_NE(parsed.out.find("--keywords-file"), std::string::npos);
    EXPECT_NE(parsed.out.find("64"), std::string::npos) << "exit codes are documented";
    EXPECT_TRUE(parsed.err.empty());
}

struct UsageCase {
    const char* name;
    std::vector<const char*> args;
};

class CommandLineUsageError : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CommandLineUsageError, EndsWith64AndOneLineAndTheHelpHint) {
    std::vector<const char*> argv{"korvel-check"};
    argv.insert(argv.end(), GetParam().args.begin(), GetParam().args.end());
    const auto parsed = cli::parse_command_line(static_cast<int>(argv.size()), argv.data());
    EXPECT_FALSE(parsed.options);
    EXPECT_EQ(parsed.exit_code, cli::kExitUsage);
    EXPECT_TRUE(parsed.out.empty());
    const std::string hint = "\nRun with --help for more information.\n";
    ASSERT_GT(parsed.err.size(), hint.size());
    EXPECT_EQ(parsed.err.rfind("korvel-check: ", 0), 0u) << parsed.err;
    EXPECT_EQ(parsed.err.substr(parsed.err.size() - hint.size()), hint);
    EXPECT_EQ(parsed.err.find('\n'), parsed.err.size() - hint.size()) << "one line: " << parsed.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineUsageError,
    ::testing::Values(
        UsageCase{"NoGoods", {"--keyword", "k"}}, UsageCase{"NothingToCheck", {"--goods", "1"}},
        UsageCase{"UnknownOption", {"--goods", "1", "--new", "--fast"}},
        UsageCase{"StrayArgument", {"--goods", "1", "--new", "extra"}},
        UsageCase{"UnknownSort", {"--goods", "1", "--keyword", "k", "--sort", "up"}},
        UsageCase{"UnknownFormat", {"--goods", "1", "--new", "--format", "xml"}},
        UsageCase{"MissingValue", {"--goods", "1", "--new", "--config"}},
        UsageCase{"TwoTabs", {"--goods", "1", "--tab", "1", "--tab", "2"}},
        UsageCase{"TwoFormats", {"--goods", "1", "--new", "--format", "csv", "--format", "json"}},
        UsageCase{
            "SixCompetitors",
            {"--goods", "1", "--new", "--competitor", "2", "--competitor", "3", "--competitor", "4",
             "--competitor", "5", "--competitor", "6", "--competitor", "7"}},
        UsageCase{"BoardWithGoods", {"--board", "b", "--goods", "1"}},
        UsageCase{"SinceWithoutHistory", {"--goods", "1", "--new", "--since", "2024-05-01"}},
        UsageCase{"TwoChores", {"--history", "--list-boards"}},
        UsageCase{"BomForListBoards", {"--list-boards", "--bom"}},
        UsageCase{"PruneForABoard", {"--prune-before", "2024-05-01", "--board", "b"}},
        UsageCase{"DbAndNoHistory", {"--goods", "1", "--new", "--db", "h", "--no-history"}},
        UsageCase{"NoMaxInFlight", {"--goods", "1", "--new", "--max-in-flight", "0"}},
        UsageCase{"TooManyPagesPerSecond", {"--board", "b", "--pages-per-second", "51"}},
        UsageCase{"NanPagesPerSecond", {"--board", "b", "--pages-per-second", "nan"}},
        UsageCase{"InfinitePauseBudget", {"--board", "b", "--pause-budget-s", "inf"}},
        UsageCase{"NotADate", {"--history", "--since", "2024-5-1"}},
        UsageCase{"NoSuchDay", {"--prune-before", "2023-02-29"}},
        UsageCase{"ReplaceWithoutSaving", {"--goods", "1", "--new", "--replace"}},
        UsageCase{"SavedBoardWithoutListing", {"--save-board", "b", "--goods", "1"}},
        UsageCase{"ScheduleNotUnderstood",
                  {"--save-board", "b", "--goods", "1", "--new", "--schedule", "often"}},
        UsageCase{"ScheduleForARun", {"--board", "b", "--schedule", "30m 08:00-22:00 mon on"}},
        UsageCase{"ExportAndDelete", {"--export-board", "a", "--delete-board", "b"}},
        UsageCase{"ReportTimeForARun", {"--board", "b", "--report", "09:00"}},
        UsageCase{"SavedReportWithoutTime",
                  {"--save-board", "b", "--goods", "1", "--new", "--report"}},
        UsageCase{"SavedReportNotATime",
                  {"--save-board", "b", "--goods", "1", "--new", "--report", "25:00"}},
        UsageCase{"ChannelForARun", {"--board", "b", "--channel", "x"}},
        UsageCase{"VersionWithGoods", {"--version", "--goods", "1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeywordLines, SkipsBlankLinesAndDropsLineEndsAndTheByteOrderMark) {
    EXPECT_EQ(cli::keyword_lines("\xEF\xBB\xBF辣条大礼包\r\n\r\n  \t\r\n 辣条 \r\n辣条礼包"),
              (std::vector<std::string>{"辣条大礼包", "辣条", "辣条礼包"}));
    EXPECT_TRUE(cli::keyword_lines("").empty());
    EXPECT_TRUE(cli::keyword_lines("\n\n \r\n").empty());
    EXPECT_EQ(cli::keyword_lines("a b\n"), (std::vector<std::string>{"a b"}));
}

}  // namespace
