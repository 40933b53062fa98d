// The history's chores: its checks printed, old checks removed, the saved
// boards listed.
#include <iostream>

#include "board/check_csv.h"
#include "commands.h"
#include "exit_codes.h"
#include "history_access.h"
#include "history_output.h"
#include "text/printable.h"

namespace cli {

namespace {

int print_checks(const history::Store& store, const CheckOptions& options) {
    history::CheckFilter filter;
    filter.board = options.board;
    filter.since_ms = options.since_ms;
    if (options.format == Format::csv) {
        const auto written =
            board::write_checks_csv(store, filter, board::goods_names(store), options.bom,
                                    std::cout, board::listing_names_by_board(store));
        std::cout << std::flush;
        return written ? kExitAllRead : failure(written.error().message);
    }
    HistoryPrinter printer(options.format, std::cout);
    const auto visit = [&](auto step) {
        return store.for_each_check(filter, [&](const history::Check& check) {
            step(check);
            return true;
        });
    };
    if (printer.needs_measuring()) {
        if (const auto read = visit([&](const history::Check& c) { printer.measure(c); }); !read)
            return failure(read.error().message);
    }
    if (const auto read = visit([&](const history::Check& c) { printer.write(c); }); !read)
        return failure(read.error().message);
    printer.finish();
    std::cout << std::flush;
    return kExitAllRead;
}

int prune(history::Store& store, std::int64_t before_ms) {
    const auto removed = store.prune_before(before_ms);
    if (!removed)
        return failure(removed.error().message);
    std::cout << "removed " << removed.value() << " checks" << std::endl;
    return kExitAllRead;
}

int list_boards(const history::Store& store) {
    const auto names = store.board_names();
    if (!names)
        return failure(names.error().message);
    for (const std::string& name : names.value())
        std::cout << text::printable(name) << '\n';
    std::cout << std::flush;
    return kExitAllRead;
}

}  // namespace

int run_history_chore(const CheckOptions& options) {
    OpenedHistory history = open_history(options);
    if (!history.store)
        return failure(history.problem);
    switch (options.mode) {
        case Mode::prune:
            return prune(*history.store, options.prune_before_ms.value_or(0));
        case Mode::list_boards:
            return list_boards(*history.store);
        default:
            break;
    }
    return print_checks(*history.store, options);
}

}  // namespace cli
