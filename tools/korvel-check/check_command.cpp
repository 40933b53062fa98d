// One-off checks: the goods and listings of the command line, read as a
// board without a name and kept in the history as checks without a board.
#include <filesystem>
#include <iostream>

#include "board/check_plan.h"
#include "board/session.h"
#include "commands.h"
#include "goods_lookup.h"
#include "history_access.h"
#include "net/hosts.h"
#include "output_format.h"
#include "result_rows.h"
#include "run_settings.h"
#include "session_progress.h"
#include "stop_signals.h"

namespace cli {

namespace {

std::size_t link_count(const CheckPlan& plan) {
    std::size_t links = 0;
    for (const auto* list : {&plan.own, &plan.competitors}) {
        for (const GoodsInput& goods : *list)
            links += goods.is_link ? 1 : 0;
    }
    return links;
}

// The ids the links gave: their goods pages were read already.
std::vector<std::string> link_ids(const CheckPlan& plan, const ResolvedIds& ids) {
    std::vector<std::string> out;
    const auto add = [&](const std::vector<GoodsInput>& inputs,
                         const std::vector<std::string>& got) {
        for (std::size_t i = 0; i < inputs.size() && i < got.size(); ++i) {
            if (inputs[i].is_link && !got[i].empty())
                out.push_back(got[i]);
        }
    };
    add(plan.own, ids.own);
    add(plan.competitors, ids.competitors);
    return out;
}

}  // namespace

PlanOrProblem plan_from_options(const CheckOptions& options, std::string_view domain_word) {
    // Larger files are not keyword lists; reading stops here.
    constexpr std::size_t kMaxKeywordFileBytes = 16 << 20;
    std::vector<std::string> file_keywords;
    if (options.keywords_file) {
        const auto text = read_file(*options.keywords_file, kMaxKeywordFileBytes);
        if (!text)
            return {{}, "cannot read the keywords file '" + *options.keywords_file + "'"};
        file_keywords = keyword_lines(*text);
    }
    return make_plan(options, file_keywords, domain_word);
}

int run_check(const CheckOptions& options) {
    const std::optional<service::Configuration> settings = load_run_settings(options);
    if (!settings)
        return usage_error("cannot read the settings file '" + *options.config + "'");

    const PlanOrProblem planned = plan_from_options(options, settings->hosts.domain_word);
    if (!planned.problem.empty())
        return usage_error(planned.problem);

    OpenedHistory history;
    if (!options.no_history) {
        history = open_history(options);
        if (!history.store)
            return failure(history.problem);
    }

    ProgressLine lookup;
    std::size_t step = 0;
    const std::size_t links = link_count(planned.plan);
    const ResolvedIds ids = resolve_inputs(
        planned.plan, settings->hosts,
        [&](std::string_view link) { lookup.show(++step, links, "goods " + std::string(link)); });
    lookup.clear();
    board::Board checked = planned.plan.listings;
    const std::vector<GoodsColumn> columns = place_goods(planned.plan, ids, checked);
    // A board without a name: its checks are kept without a board, under no lock.
    board::SessionConfig config;
    config.board = checked;
    config.board.name.clear();
    if (history.store)
        config.history_file = history.store->file();
    config.hosts = settings->hosts;
    config.settings = settings->board;
    config.confirmed_ids = link_ids(planned.plan, ids);
    SessionProgress progress;
    const StopSignals stop_signals;
    board::Session session(std::move(config), &progress);
    const std::vector<ranking::Listing>& listings = session.plan().listings;
    progress.expect(listings);
    std::string store_problem;
    if (!checked.own.empty() || !checked.competitors.empty()) {
        if (std::string refused = session.start(); !refused.empty())
            return failure(refused);
        store_problem = progress.follow(session).store_problem;
    }

    const std::vector<ResultRow> rows = goods_major_rows(columns, listings, progress.reports());
    std::cout << format_rows(rows, options.format, options.bom) << std::flush;
    if (!store_problem.empty())
        return failure("not every check went into the history: " + store_problem);
    if (const int signal = stop_signal(); signal != 0)
        return stopped_exit_code(signal);
    return exit_code_of(rows);
}

}  // namespace cli
