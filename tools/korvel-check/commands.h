#pragma once
// What korvel-check does for each mode of its command line, and the few
// things every mode shares. Each returns the exit code (exit_codes.h).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/board.h"
#include "check_options.h"
#include "check_plan.h"
#include "exit_codes.h"
#include "history/store.h"

namespace cli {

struct LoadedBoard {
    std::optional<board::Board> board;
    int exit_code = kExitAllRead;  // when there is none
};

// The board saved under `name` (UTF-8), ready to check; else why not, said
// on stderr, and the exit code.
LoadedBoard load_board(const history::Store& store, const std::string& name);

// One-off checks of the goods and listings on the command line.
int run_check(const CheckOptions& options);
// A run of the board saved in the history under --board NAME.
int run_board(const CheckOptions& options);
// --history, --prune-before or --list-boards.
int run_history_chore(const CheckOptions& options);
// --save-board, --export-board, --import-board or --delete-board.
int run_board_admin(const CheckOptions& options);
// --board NAME --report: the board's daily report to its notice channels.
int run_report(const CheckOptions& options);
// --test-notify NAME: a test message to one channel, and the server's answer.
int run_test_notify(const CheckOptions& options);
// --version: the version and the settings file a run would read.
int run_version(const CheckOptions& options);
// --copy-history FROM TO: a whole history into an empty one.
int run_copy_history(const CheckOptions& options);
// --serve: every saved board on its schedule until SIGTERM or SIGINT.
int run_serve(const CheckOptions& options);
// --run-due: the boards (and daily reports) due now, once.
int run_due(const CheckOptions& options);

// A usage message on stderr; returns 64. With `details` (a file's faults),
// one indented line each instead of the help hint.
int usage_error(std::string_view problem, const std::vector<std::string>& details = {});
// "korvel-check: <problem>" on stderr; returns 2.
int failure(std::string_view problem);
// Every message korvel-check prints is one line per line it means: control
// characters a stored name or a file holds are shown as escapes.

// At most `limit` bytes of the file; nullopt when it cannot be opened.
std::optional<std::string> read_file(const std::string& path, std::size_t limit);

// The goods and listings the one-off options name, keywords file included;
// its problem is a usage error.
PlanOrProblem plan_from_options(const CheckOptions& options, std::string_view domain_word);

}  // namespace cli
