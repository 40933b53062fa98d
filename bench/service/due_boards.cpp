#include "due_boards.h"

#include <cstdio>
#include <thread>

#include "board/board_text.h"
#include "board/check_record.h"
#include "sim_catalogue.h"
#include "text/codepage.h"

namespace bench {

namespace {

using namespace std::chrono;

constexpr int kNamesTried = 20000;

// The names whose start has come at `now`, at most `count`.
std::vector<std::string> names_due_at(board::Time now, std::size_t count) {
    const board::LocalZone zone = board::LocalZone::system_at(now);
    const board::Time slot = *board::previous_slot(kDaily, now, zone);
    std::vector<std::string> names;
    for (int i = 0; i < kNamesTried && names.size() < count; ++i) {
        std::string name = "基准看板" + std::to_string(i);
        if (slot + board::slot_jitter(kDaily, name, slot) <= now)
            names.push_back(std::move(name));
    }
    return names;
}

}  // namespace

std::vector<std::string> due_names(std::size_t count, seconds room) {
    for (;;) {
        const board::Time now = system_clock::now();
        const board::LocalZone zone = board::LocalZone::system_at(now);
        const board::Time slot = *board::previous_slot(kDaily, now, zone);
        const board::Time slot_end = slot + minutes(kDaily.interval_minutes);
        if (slot_end - now < room) {
            std::fprintf(stderr, "the day's slot is about to end: waiting for the next\n");
            std::this_thread::sleep_until(slot_end + seconds(1));
            continue;
        }
        std::vector<std::string> names = names_due_at(now, count);
        if (names.size() == count)
            return names;
        std::fprintf(stderr, "the day's slot has just begun: waiting for %zu due names\n", count);
        std::this_thread::sleep_for(seconds(10));
    }
}

board::Board due_board(const std::string& name_utf8, const std::vector<std::string>& keywords) {
    board::Board b;
    b.name = text::utf8_to_gbk(name_utf8);
    b.own = {{std::string(sim::kSampleGoodsId), {}, {}, {}}};
    b.keywords = keywords;
    b.schedule = kDaily;
    return b;
}

history::Status save_due_boards(history::Store& store, const std::vector<std::string>& names,
                                const std::vector<std::string>& keywords) {
    const std::int64_t day_ago = board::unix_ms(system_clock::now() - hours(24));
    for (const std::string& name : names) {
        if (auto saved =
                store.save_board(name, board::board_to_text(due_board(name, keywords)), day_ago);
            !saved)
            return saved;
    }
    return {};
}

}  // namespace bench
