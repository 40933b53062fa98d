#include "check_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "exit_codes.h"
#include "local_date.h"
#include "net/ini_section.h"
#include "text/printable.h"

namespace cli {

namespace {

constexpr const char* kDescription =
    "Finds goods items' ranks among the first 1000 entries of marketplace listings, "
    "with the hosts of korvel.ini, and keeps every check in the history.";

constexpr const char* kFooter =
    "Rows come goods by goods: the own goods in the order given, then the competitors;\n"
    "each goods item's rows follow the listings: keywords (each under its sort orders),\n"
    "categories, the tab, new goods.\n"
    "DATE is YYYY-MM-DD and means that day's local midnight.\n"
    "Examples:\n"
    "  korvel-check --goods 4033138 --competitor 96919329 --keyword 辣条 --sort all --format csv\n"
    "  korvel-check --goods 4033138 --category 14 --category 2301 --tab 14 --new --format json\n"
    "  korvel-check --board 我的看板\n"
    "  korvel-check --history --board 我的看板 --since 2024-05-01 --format csv\n"
    "  korvel-check --save-board 我的看板 --goods 4033138 --keyword 辣条 --channel 运营群 --report "
    "09:00\n"
    "  korvel-check --test-notify 运营群\n"
    "  korvel-check --serve          (every saved board on its schedule, until SIGTERM)\n"
    "Exit codes: 0 every check was read and nothing to report, 1 a board's ranks changed\n"
    "(change notices on stderr), 2 some check failed or was not checked, or the history,\n"
    "a saved board or its lock could not be used, 64 usage error (also: no board of that\n"
    "name, a settings or board file that cannot be read or used).";

constexpr std::size_t kMaxCompetitors = 5;

struct Names {
    std::string_view name;
    Format format;
};
constexpr Names kFormats[] = {
    {"table", Format::table}, {"csv", Format::csv}, {"json", Format::json}};

// The modes an option belongs to, as bits of 1 << Mode.
constexpr unsigned bit(Mode mode) {
    return 1u << static_cast<unsigned>(mode);
}
constexpr unsigned kCheck = bit(Mode::check);
constexpr unsigned kRuns = kCheck | bit(Mode::board);
constexpr unsigned kSave = bit(Mode::save_board);
constexpr unsigned kUnattended = bit(Mode::serve) | bit(Mode::run_due);

struct Belonging {
    std::string_view option;
    unsigned modes;
};
constexpr Belonging kBelongings[] = {
    {"--goods", kCheck | kSave},
    {"--competitor", kCheck | kSave},
    {"--keyword", kCheck | kSave},
    {"--keywords-file", kCheck | kSave},
    {"--sort", kCheck | kSave},
    {"--category", kCheck | kSave},
    {"--tab", kCheck | kSave},
    {"--new", kCheck | kSave},
    {"--no-history", kCheck},
    // Scripts pass the settings file to every command, whether it reads it or not.
    {"--config", ~0u},
    {"--max-in-flight", kRuns | kUnattended},
    {"--pages-per-second", kRuns | kUnattended},
    {"--retries", kRuns | kUnattended},
    {"--min-pages-per-second", kRuns | kUnattended},
    {"--speed-up-after", kRuns | kUnattended},
    {"--give-up-after", kRuns | kUnattended},
    {"--max-pause-s", kRuns | kUnattended},
    {"--pause-budget-s", kRuns | kUnattended},
    {"--format", kRuns | bit(Mode::history)},
    {"--bom", kRuns | bit(Mode::history)},
    {"--board", bit(Mode::board) | bit(Mode::history)},
    {"--since", bit(Mode::history)},
    {"--retry-failed", bit(Mode::board)},
    {"--report", bit(Mode::board) | kSave},
    {"--replace", kSave | bit(Mode::import_board)},
    {"--schedule", kSave},
    {"--notice-move-by", kSave},
    {"--notice-top", kSave},
    {"--channel", kSave},
};

struct Dates {
    std::string since;
    std::string prune_before;
};

void declare_check(CLI::App& app, CheckOptions& o, std::string& format) {
    app.add_option("--goods", o.goods, "own Goods ID or goods link (repeatable)");
    app.add_option("--competitor", o.competitors,
                   "a competitor's Goods ID or goods link (repeatable, at most 5)");
    app.add_option("--keyword", o.keywords, "keyword to search (repeatable)");
    app.add_option("--keywords-file", o.keywords_file, "file with one keyword per line (UTF-8)");
    app.add_option("--sort", o.sort, "sort order of keyword searches")
        ->check(CLI::IsMember({"default", "sales", "credit", "price-asc", "price-desc", "all"}))
        ->default_str("default");
    app.add_option("--category", o.categories, "category ID (repeatable)");
    app.add_option("--tab", o.tab, "爱逛街 tab ID");
    app.add_flag("--new", o.new_goods, "the new-goods listing");
    app.add_option("--format", format, "output format")
        ->check(CLI::IsMember({"table", "csv", "json"}))
        ->default_str("table");
    app.add_flag("--bom", o.bom,
                 "begin CSV with a UTF-8 byte-order mark (without it: only when standard output "
                 "is a file)");
    app.add_option("--config", o.config,
                   "settings file (default: the first korvel.ini beside the program, in "
                   "$XDG_CONFIG_HOME/korvel or ~/.config/korvel, in /etc/xdg/korvel)");
}

// A range lets "nan" through (no comparison with it is true), and a
// non-finite pace would lift the limit altogether.
const CLI::Validator kFinite(
    [](std::string& text) {
        double value = 0;
        const char* end = text.data() + text.size();
        const auto [at, error] = std::from_chars(text.data(), end, value);
        return error == std::errc() && at == end && std::isfinite(value)
                   ? std::string()
                   : "'" + text + "' is not a finite number";
    },
    "FINITE");

// The ranges are those the [board] section of korvel.ini accepts.
void declare_scheduler(CLI::App& app, SchedulerOverrides& s) {
    app.add_option("--max-in-flight", s.max_in_flight, "requests at once per host")
        ->check(CLI::Range(1, 16));
    app.add_option("--pages-per-second", s.pages_per_second, "fastest page requests per second")
        ->check(kFinite & CLI::Range(0.01, 50.0));
    app.add_option("--retries", s.retries, "retries of a page that failed")
        ->check(CLI::Range(0, 10));
    app.add_option("--min-pages-per-second", s.min_pages_per_second,
                   "slowest pace push-back brings a host down to")
        ->check(kFinite & CLI::Range(0.001, 50.0));
    app.add_option("--speed-up-after", s.speed_up_after,
                   "pages read in a row before the pace rises")
        ->check(CLI::Range(1, 10000));
    app.add_option("--give-up-after", s.give_up_after,
                   "push-backs in a row, no page read between, that end the run")
        ->check(CLI::Range(1, 100));
    app.add_option("--max-pause-s", s.max_pause_s, "longest Retry-After waited for")
        ->check(kFinite & CLI::Range(0.0, 86400.0));
    app.add_option("--pause-budget-s", s.pause_budget_s, "most pausing in one run")
        ->check(kFinite & CLI::Range(0.0, 604800.0));
}

void declare_history(CLI::App& app, CheckOptions& o, Dates& dates, bool& history,
                     bool& list_boards) {
    app.add_option("--board", o.board, "run the saved board NAME (with --history: show its checks)")
        ->option_text("NAME");
    app.add_option("--db", o.db,
                   "history file or postgresql:// URL (default: [history] url= of the settings "
                   "file, else the file in the user's data directory)")
        ->option_text("FILE|URL");
    app.add_flag("--no-history", o.no_history, "keep nothing in the history");
    app.add_flag("--retry-failed", o.retry_failed,
                 "with --board: check again only the cells whose latest check failed or was not "
                 "checked");
    app.add_flag("--history", history, "print the stored checks (of --board NAME, else all)");
    app.add_option("--since", dates.since, "with --history: checks from DATE on")
        ->option_text("DATE");
    app.add_option("--prune-before", dates.prune_before, "remove the checks older than DATE")
        ->option_text("DATE");
    app.add_flag("--list-boards", list_boards, "print the names of the saved boards");
    app.add_option("--copy-history", o.copy_history,
                   "copy the whole history FROM (a file or a URL) into the empty history TO")
        ->expected(2)
        ->option_text("FROM TO");
}

void declare_version(CLI::App& app, bool& version) {
    app.add_flag("--version", version, "print the version and the settings file in use");
}

void declare_unattended(CLI::App& app, bool& serve, bool& run_due) {
    app.add_flag("--serve", serve,
                 "run every saved board on its schedule, with its daily report, until SIGTERM or "
                 "SIGINT");
    app.add_flag("--run-due", run_due,
                 "run the saved boards that are due now (and due daily reports) once, then end");
}

void declare_notify(CLI::App& app, CheckOptions& o, std::vector<std::string>& report) {
    app.add_option("--report", report,
                   "with --board: send the board's daily report to its notice channels now; "
                   "with --save-board HH:MM: the daily report's time")
        ->expected(0, 1)
        ->option_text("[HH:MM]");
    app.add_option("--test-notify", o.test_notify,
                   "send a test message to the notice channel NAME of korvel.ini")
        ->option_text("NAME");
}

Format format_named(std::string_view name) {
    for (const Names& n : kFormats) {
        if (n.name == name)
            return n.format;
    }
    return Format::table;
}

std::string_view mode_option(Mode mode) {
    switch (mode) {
        case Mode::board:
            return "--board";
        case Mode::history:
            return "--history";
        case Mode::prune:
            return "--prune-before";
        case Mode::list_boards:
            return "--list-boards";
        case Mode::save_board:
        case Mode::export_board:
        case Mode::import_board:
        case Mode::delete_board:
            return board_admin_option(mode);
        case Mode::version:
            return "--version";
        case Mode::test_notify:
            return "--test-notify";
        case Mode::copy_history:
            return "--copy-history";
        case Mode::serve:
            return "--serve";
        case Mode::run_due:
            return "--run-due";
        case Mode::check:
            break;
    }
    return "--goods";
}

// The option of the first mode (in Mode order) among `modes`.
std::string_view first_mode_option(unsigned modes) {
    for (unsigned m = 0; m < 32; ++m) {
        if ((modes & (1u << m)) != 0)
            return mode_option(static_cast<Mode>(m));
    }
    return {};
}

bool wants_a_listing(const CheckOptions& o) {
    return !o.keywords.empty() || o.keywords_file || !o.categories.empty() || o.tab || o.new_goods;
}

ParsedCommandLine usage_error(std::string_view problem) {
    return {std::nullopt, kExitUsage, {}, usage_message(problem)};
}

// The mode, or a problem: --list-boards, --prune-before and --history are
// one chore each; --board alone runs the board.
std::string choose_mode(const CLI::App& app, CheckOptions& o) {
    std::vector<Mode> chores;
    for (Mode m : {Mode::version, Mode::list_boards, Mode::prune, Mode::history, Mode::save_board,
                   Mode::export_board, Mode::import_board, Mode::delete_board, Mode::test_notify,
                   Mode::copy_history, Mode::serve, Mode::run_due}) {
        if (app.count(std::string(mode_option(m))) > 0)
            chores.push_back(m);
    }
    if (chores.size() > 1)
        return std::string(mode_option(chores[0])) + " and " + std::string(mode_option(chores[1])) +
               " cannot be used together";
    o.mode = !chores.empty() ? chores.front() : (o.board ? Mode::board : Mode::check);
    for (const Belonging& b : kBelongings) {
        if ((b.modes & bit(o.mode)) != 0 || app.count(std::string(b.option)) == 0)
            continue;
        if (o.mode == Mode::check)
            return std::string(b.option) + " needs " + std::string(first_mode_option(b.modes));
        return std::string(b.option) + " cannot be used with " + std::string(mode_option(o.mode));
    }
    if (o.db && o.no_history)
        return "--db and --no-history cannot be used together";
    return {};
}

// --report alone sends a board's report; with --save-board it carries the
// report's time.
std::string take_report(const CLI::App& app, const std::vector<std::string>& given,
                        CheckOptions& o) {
    if (app.count("--report") == 0)
        return {};
    // Given without a value, the option holds one empty text.
    const bool has_time = !given.empty() && !given.front().empty();
    if (o.mode == Mode::save_board) {
        if (!has_time)
            return "--report needs a time of day (HH:MM) with --save-board";
        o.admin.report_time = given.front();
        return {};
    }
    if (has_time)
        return "--report takes no time with --board (the board's own report is sent)";
    if (o.retry_failed)
        return "--report and --retry-failed cannot be used together";
    o.report = true;
    return {};
}

std::string check_one_off(const CheckOptions& o) {
    if (o.goods.empty())
        return "give --goods (or --board, --history, --prune-before or --list-boards)";
    if (!wants_a_listing(o))
        return "nothing to check: give --keyword, --keywords-file, --category, --tab or --new";
    // --save-board names this with every other fault of the board it would save.
    if (o.competitors.size() > kMaxCompetitors && o.mode == Mode::check)
        return "at most " + std::to_string(kMaxCompetitors) + " competitors";
    return {};
}

// Dates into local midnights; a problem when one is no date.
std::string take_dates(const Dates& dates, CheckOptions& o) {
    const std::pair<const std::string*, std::optional<std::int64_t>*> fields[] = {
        {&dates.since, &o.since_ms}, {&dates.prune_before, &o.prune_before_ms}};
    for (const auto& [text, ms] : fields) {
        if (text->empty())
            continue;
        *ms = local_midnight_ms(*text);
        if (!*ms)
            return "'" + *text + "' is not a date of the form YYYY-MM-DD";
    }
    return {};
}

using net::trim_blanks;

}  // namespace

std::string usage_message(std::string_view problem) {
    return std::string(kProgramName) + ": " + text::printable(problem) +
           "\nRun with --help for more information.\n";
}

ParsedCommandLine parse_command_line(int argc, const char* const* argv) {
    CLI::App app(kDescription, std::string(kProgramName));
    app.footer(kFooter);
    CheckOptions options;
    std::string format = "table";
    Dates dates;
    bool history = false;
    bool list_boards = false;
    bool version = false;
    std::vector<std::string> report;
    bool serve = false;
    bool run_due = false;
    declare_check(app, options, format);
    declare_scheduler(app, options.scheduler);
    declare_history(app, options, dates, history, list_boards);
    declare_board_admin(app, options.admin);
    declare_version(app, version);
    declare_notify(app, options, report);
    declare_unattended(app, serve, run_due);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return {std::nullopt, kExitAllRead, app.help(), {}};
    } catch (const CLI::ParseError& e) {
        return usage_error(e.what());
    }
    std::string problem = choose_mode(app, options);
    if (problem.empty())
        problem = take_report(app, report, options);
    if (problem.empty() && (options.mode == Mode::check || options.mode == Mode::save_board))
        problem = check_one_off(options);
    if (problem.empty())
        problem = check_board_admin(options.admin);
    if (problem.empty() && options.board && options.board->empty())
        problem = "--board needs a board name";
    if (problem.empty())
        problem = take_dates(dates, options);
    if (!problem.empty())
        return usage_error(problem);
    options.format = format_named(format);
    return {std::move(options), kExitAllRead, {}, {}};
}

std::vector<std::string> keyword_lines(std::string_view file_text) {
    if (file_text.starts_with("\xEF\xBB\xBF"))
        file_text.remove_prefix(3);
    std::vector<std::string> keywords;
    std::size_t start = 0;
    while (start < file_text.size()) {
        const std::size_t end = std::min(file_text.find('\n', start), file_text.size());
        const std::string_view line = trim_blanks(file_text.substr(start, end - start));
        if (!line.empty())
            keywords.emplace_back(line);
        start = end + 1;
    }
    return keywords;
}

}  // namespace cli
