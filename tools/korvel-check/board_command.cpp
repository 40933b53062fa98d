// A saved board's run from the command line: under the board's lock, into
// the history under the board's name, its grid on stdout and its change
// notices kept and shown on stderr.
#include <filesystem>
#include <iostream>

#include "board/board_lock.h"
#include "board/board_log.h"
#include "board/board_text.h"
#include "board/check_record.h"
#include "board_check.h"
#include "board_grid_text.h"
#include "commands.h"
#include "exit_codes.h"
#include "goods_lookup.h"
#include "history_access.h"
#include "net/hosts.h"
#include "output_format.h"
#include "progress_line.h"
#include "result_rows.h"
#include "run_settings.h"
#include "text/codepage.h"

namespace cli {

namespace {

struct LoadedBoard {
    std::optional<board::Board> board;
    int exit_code = kExitAllRead;  // when there is none
};

// The board saved under `name`, its links turned into ids, ready to check.
LoadedBoard load_board(const history::Store& store, const std::string& name) {
    const auto saved = store.load_board(name);
    if (!saved && saved.error().code == history::ErrorCode::not_found)
        return {std::nullopt, usage_error("no board named '" + name + "' in " + store.path())};
    if (!saved)
        return {std::nullopt, failure(saved.error().message)};
    std::string error;
    std::optional<board::Board> loaded = board::board_from_text(saved.value().definition, &error);
    if (!loaded)
        return {std::nullopt, failure("the board '" + name + "' cannot be read: " + error)};
    if (const std::string link = resolve_board_goods(*loaded); !link.empty())
        return {std::nullopt, failure("the goods page of " + link + " gave no Goods ID")};
    if (const auto faults = board::validate(*loaded); !faults.empty())
        return {std::nullopt, failure("the board '" + name +
                                      "' cannot be checked: " + text::gbk_to_utf8(faults.front()))};
    return {std::move(loaded), kExitAllRead};
}

}  // namespace

int run_board(const CheckOptions& options) {
    const std::optional<RunSettings> settings = load_run_settings(options);
    if (!settings)
        return usage_error("cannot read the settings file '" + *options.config + "'");
    net::set_hosts(settings->hosts);
    OpenedHistory history = open_history(options.db);
    if (!history.store)
        return failure(history.problem);
    history::Store& store = *history.store;
    const std::string& name = *options.board;
    LoadedBoard loaded = load_board(store, name);
    if (!loaded.board)
        return loaded.exit_code;
    const board::Board& checked = *loaded.board;

    const board::BoardLock lock =
        board::BoardLock::try_acquire(std::filesystem::path(store.path()).parent_path(), name);
    if (!lock.held())
        return failure(lock.message());
    board::BoardLog log(name, &store);
    if (const std::string problem = log.load(); !problem.empty())
        return failure(problem);

    const board::CheckPlan plan = board::plan_checks(checked);
    std::vector<history::Check> run_checks;
    std::string store_problem;
    ProgressLine progress;
    const Reports reports =
        run_plan(plan, settings->scheduler, [&](const board::CheckReport& report) {
            progress.show(run_checks.size() + 1, plan.listings.size(),
                          listing_label(report.listing));
            history::Check check =
                board::check_record(report, plan.goods_ids, checked.own.size(), name);
            const std::string problem = log.add(check);
            if (!problem.empty() && store_problem.empty())
                store_problem = problem;
            run_checks.push_back(std::move(check));
        });
    progress.clear();

    const std::vector<history::Notice> notices = log.run_notices(run_checks, checked.notices);
    for (const history::Notice& notice : notices) {
        const auto added = store.add_notice(notice);
        if (!added && store_problem.empty())
            store_problem = added.error().message;
    }
    const std::vector<ResultRow> rows =
        goods_major_rows(board_columns(checked), plan.listings, reports);
    std::cout << (options.format == Format::table ? format_grids(checked, log)
                                                  : format_rows(rows, options.format))
              << std::flush;
    for (const history::Notice& notice : notices)
        std::cerr << kProgramName << ": " << notice.message << '\n';
    if (!store_problem.empty())
        return failure("not every check went into the history: " + store_problem);
    if (exit_code_of(rows) != kExitAllRead)
        return kExitSomeFailed;
    return notices.empty() ? kExitAllRead : kExitNotices;
}

}  // namespace cli
