// One-off checks: the goods and listings of the command line, read as a
// board without a name and kept in the history as checks without a board.
#include <iostream>

#include "board/check_record.h"
#include "board_check.h"
#include "commands.h"
#include "goods_lookup.h"
#include "history_access.h"
#include "net/hosts.h"
#include "output_format.h"
#include "progress_line.h"
#include "result_rows.h"
#include "run_settings.h"

namespace cli {

namespace {

// Larger files are not keyword lists; reading stops here.
constexpr std::size_t kMaxKeywordFileBytes = 16 << 20;

std::size_t link_count(const CheckPlan& plan) {
    std::size_t links = 0;
    for (const auto* list : {&plan.own, &plan.competitors}) {
        for (const GoodsInput& goods : *list)
            links += goods.is_link ? 1 : 0;
    }
    return links;
}

}  // namespace

int run_check(const CheckOptions& options) {
    const std::optional<RunSettings> settings = load_run_settings(options);
    if (!settings)
        return usage_error("cannot read the settings file '" + *options.config + "'");
    net::set_hosts(settings->hosts);

    std::vector<std::string> file_keywords;
    if (options.keywords_file) {
        const auto text = read_file(*options.keywords_file, kMaxKeywordFileBytes);
        if (!text)
            return usage_error("cannot read the keywords file '" + *options.keywords_file + "'");
        file_keywords = keyword_lines(*text);
    }
    const PlanOrProblem planned = make_plan(options, file_keywords, settings->hosts.domain_word);
    if (!planned.problem.empty())
        return usage_error(planned.problem);

    OpenedHistory history;
    if (!options.no_history) {
        history = open_history(options.db);
        if (!history.store)
            return failure(history.problem);
    }

    ProgressLine progress;
    const std::size_t total =
        link_count(planned.plan) + board::plan_checks(planned.plan.listings).listings.size();
    std::size_t step = 0;
    const ResolvedIds ids = resolve_inputs(planned.plan, [&](std::string_view link) {
        progress.show(++step, total, "goods " + std::string(link));
    });
    board::Board checked = planned.plan.listings;
    const std::vector<GoodsColumn> columns = place_goods(planned.plan, ids, checked);
    const board::CheckPlan plan = board::plan_checks(checked);

    std::string store_problem;
    const Reports reports =
        run_plan(plan, settings->scheduler, [&](const board::CheckReport& report) {
            progress.show(++step, total, listing_label(report.listing));
            if (!history.store)
                return;
            const auto added = history.store->add_check(
                board::check_record(report, plan.goods_ids, checked.own.size(), {}));
            if (!added && store_problem.empty())
                store_problem = added.error().message;
        });
    progress.clear();

    const std::vector<ResultRow> rows = goods_major_rows(columns, plan.listings, reports);
    std::cout << format_rows(rows, options.format) << std::flush;
    if (!store_problem.empty())
        return failure("not every check went into the history: " + store_problem);
    return exit_code_of(rows);
}

}  // namespace cli
