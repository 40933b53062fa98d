// Adds checks to the history file named on the command line, one after the
// other, and prints each id once its transaction has committed. A test kills
// it at an arbitrary moment and then inspects the file.
#include <cstdio>

#include "history/store.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: history_writer FILE\n");
        return 2;
    }
    auto store = history::Store::open(argv[1]);
    if (!store) {
        std::fprintf(stderr, "%s\n", store.error().message.c_str());
        return 1;
    }
    // Bounded, so a writer whose test vanished without closing the pipe stops.
    for (int i = 0; i < 1'000'000; ++i) {
        history::Check check;
        check.board = "早市";
        check.key = "辣条 " + std::to_string(i);
        check.sort = history::Sort::sales;
        check.time_ms = 1'700'000'000'000 + i;
        check.pages_read = 2;
        check.http_statuses = {200, 200};
        check.outcome = history::Outcome::found;
        check.goods = {{"1001", history::Role::own, i % 1000 + 1},
                       {"2002", history::Role::competitor, std::nullopt},
                       {"3003", history::Role::competitor, 1000 - i % 1000}};
        const auto id = store.value().add_check(check);
        if (!id) {
            std::fprintf(stderr, "%s\n", id.error().message.c_str());
            return 1;
        }
        std::printf("%lld\n", static_cast<long long>(id.value()));
        std::fflush(stdout);
    }
    return 0;
}
