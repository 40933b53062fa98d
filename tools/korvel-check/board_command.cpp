// A saved board's run from the command line: one board::Session (lock,
// goods pages, polite reads, every check and its notices in the history),
// its grid on stdout and its change notices on stderr.
#include <chrono>
#include <filesystem>
#include <iostream>
#include <mutex>

#include "board/board_log.h"
#include "board/board_text.h"
#include "board/check_record.h"
#include "board/goods_captions.h"
#include "board/goods_confirm.h"
#include "board/session.h"
#include "board_grid_text.h"
#include "commands.h"
#include "exit_codes.h"
#include "history_access.h"
#include "notify_command.h"
#include "output_format.h"
#include "result_rows.h"
#include "run_settings.h"
#include "session_progress.h"
#include "stop_signals.h"
#include "text/codepage.h"

namespace cli {

namespace {

// A goods link is printed under the Goods ID its page gave; the names stay
// as the board keeps them.
board::Board with_confirmed_ids(board::Board b, const std::vector<board::ConfirmedGoods>& goods) {
    const board::Board confirmed = board::with_confirmed(b, goods);
    for (std::size_t i = 0; i < b.own.size(); ++i)
        b.own[i].id = confirmed.own[i].id;
    for (std::size_t i = 0; i < b.competitors.size(); ++i)
        b.competitors[i].id = confirmed.competitors[i].id;
    return b;
}

}  // namespace

// The board saved under `name`, ready to check.
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
    if (const auto faults = board::validate(*loaded); !faults.empty())
        return {std::nullopt, failure("the board '" + name +
                                      "' cannot be checked: " + text::gbk_to_utf8(faults.front()))};
    return {std::move(loaded), kExitAllRead};
}

int run_board(const CheckOptions& options) {
    const std::optional<service::Configuration> settings = load_run_settings(options);
    if (!settings)
        return usage_error("cannot read the settings file '" + *options.config + "'");
    OpenedHistory history = open_history(options);
    if (!history.store)
        return failure(history.problem);
    history::Store& store = *history.store;
    const std::string& name = *options.board;
    LoadedBoard loaded = load_board(store, name);
    if (!loaded.board)
        return loaded.exit_code;
    const board::Board& checked = *loaded.board;

    board::SessionConfig config;
    config.board = checked;
    config.history_file = store.file();
    config.hosts = settings->hosts;
    config.settings = settings->board;
    config.worker = settings->service.worker;
    config.lease_time = std::chrono::seconds(settings->service.lease_s);
    const board::GridLayout layout = board::grid_layout(checked);
    board::BoardLog log(name, &store);
    if (options.retry_failed) {
        if (const std::string problem = log.load(board::board_cells(layout)); !problem.empty())
            return failure(problem);
        // The cells a stopped run of the whole board did not reach go again too.
        std::set<board::CellKey> unreached;
        if (const auto last = store.last_run(name); last && last.value())
            unreached = board::unreached_by(checked, log, *last.value());
        config.only = board::listings_to_recheck(checked, log, unreached);
        if (config.only->empty()) {
            std::cerr << kProgramName << ": no failed or unchecked cell to check again\n";
            return kExitAllRead;
        }
    }
    // Declared before the session, so the sends it starts drain after it ends.
    const RunNotices notices = run_notices(*settings, store.file());
    SessionProgress progress;
    const StopSignals stop_signals;
    board::Session session(std::move(config), &progress);
    const std::vector<ranking::Listing>& listings = session.plan().listings;
    progress.expect(listings);
    session.add_sink(std::make_shared<StderrSink>());
    session.add_sink(notices.notifier);
    if (const std::string refused = session.start(); !refused.empty())
        return failure(refused);
    const board::SessionSummary summary = progress.follow(session);

    if (const std::string problem = log.load(board::board_cells(layout)); !problem.empty())
        return failure(problem);
    // Links as the IDs their pages confirmed, with the names the session saved.
    board::Board ran = with_confirmed_ids(checked, progress.confirmed());
    board::take_names(ran, progress.confirmed());
    const std::vector<ResultRow> rows =
        goods_major_rows(board_columns(ran), listings, progress.reports());
    std::cout << (options.format == Format::table ? format_grids(ran, log)
                                                  : format_rows(rows, options.format, options.bom))
              << std::flush;
    if (!summary.store_problem.empty())
        return failure("not every check went into the history: " + summary.store_problem);
    if (const int signal = stop_signal(); signal != 0)
        return stopped_exit_code(signal);
    if (exit_code_of(rows) != kExitAllRead)
        return kExitSomeFailed;
    return summary.notices.empty() ? kExitAllRead : kExitNotices;
}

}  // namespace cli
