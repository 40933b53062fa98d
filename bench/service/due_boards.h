#pragma once
// Boards that are due the moment they are saved: a daily schedule, saved as
// if created a day ago, under names whose jittered start in today's slot has
// come (the jitter is drawn from the board's name and the slot), so every
// worker finds all of them due at once and none waits for its start.
#include <chrono>
#include <string>
#include <vector>

#include "board/board.h"
#include "history/store.h"

namespace bench {

inline const board::Schedule kDaily{true, 24 * 60, 0, 0, board::kEveryDay};

// `count` board names (UTF-8) whose start in the present slot of kDaily has
// come, in a slot with at least `room` left (a measurement must not see the
// next slot begin). Waits, saying so on stderr, while there are not enough.
std::vector<std::string> due_names(std::size_t count, std::chrono::seconds room);

// The sample goods as the own goods item in every keyword (GBK) under every sort.
board::Board due_board(const std::string& name_utf8, const std::vector<std::string>& keywords);

// Saves a board of each name, created a day before now.
history::Status save_due_boards(history::Store& store, const std::vector<std::string>& names,
                                const std::vector<std::string>& keywords);

}  // namespace bench
