#pragma once
// korvel-check's command line: what it asks for, as typed (UTF-8). Parsing
// checks the shape of the options and which of them go together; make_plan
// (check_plan.h) decides whether the values of a one-off check can be checked.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "board_admin_options.h"

namespace cli {

enum class Format { table, csv, json };

// What the run does: one-off checks (the default), a saved board's run, one
// of the history's chores, one of the saved boards' chores
// (board_admin_options.h), telling the version and settings file, or running
// every saved board on its schedule (--serve, --run-due).
enum class Mode {
    check,
    board,
    history,
    prune,
    list_boards,
    save_board,
    export_board,
    import_board,
    delete_board,
    version,
    test_notify,
    copy_history,
    serve,
    run_due
};

// The scheduler settings given on the command line; they win over the
// [board] section of the settings file.
struct SchedulerOverrides {
    std::optional<int> max_in_flight;
    std::optional<double> pages_per_second;
    std::optional<int> retries;
    std::optional<double> min_pages_per_second;
    std::optional<int> speed_up_after;
    std::optional<int> give_up_after;
    std::optional<double> max_pause_s;
    std::optional<double> pause_budget_s;
};

struct CheckOptions {
    Mode mode = Mode::check;
    std::vector<std::string> goods;        // Goods IDs or goods links
    std::vector<std::string> competitors;  // the same, for the competitors
    std::vector<std::string> keywords;     // from --keyword
    std::optional<std::string> keywords_file;
    std::string sort = "default";  // a sort name, or "all"
    std::vector<std::string> categories;
    std::optional<std::string> tab;
    bool new_goods = false;
    Format format = Format::table;
    // CSV begins with a byte-order mark: --bom, or standard output is a
    // regular file (main decides, so the parsing stays pure).
    bool bom = false;
    std::optional<std::string> config;
    SchedulerOverrides scheduler;

    std::optional<std::string> board;  // a saved board's name
    std::optional<std::string> db;     // the history file or URL; default: the user's file
    bool no_history = false;
    bool retry_failed = false;  // --board: only the cells whose latest check was not read
    bool report = false;        // --board: send the daily report instead of a run
    std::optional<std::string> test_notify;       // a notice channel's name (UTF-8)
    std::optional<std::int64_t> since_ms;         // --since, local midnight
    std::optional<std::int64_t> prune_before_ms;  // --prune-before, local midnight
    BoardAdminOptions admin;
    std::vector<std::string> copy_history;  // --copy-history FROM TO: files or URLs
};

// Either options to run with, or how the program ends at once: the help text
// (exit 0, on stdout) or a usage error (exit 64, on stderr).
struct ParsedCommandLine {
    std::optional<CheckOptions> options;
    int exit_code = 0;
    std::string out;
    std::string err;
};

ParsedCommandLine parse_command_line(int argc, const char* const* argv);

// The keywords of a keywords file (UTF-8, one per line): a byte-order mark
// and surrounding blanks dropped, blank lines skipped.
std::vector<std::string> keyword_lines(std::string_view file_text);

}  // namespace cli
