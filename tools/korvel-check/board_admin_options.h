#pragma once
// The saved boards' chores on the command line: --save-board NAME keeps the
// one-off options as a board (with a schedule, notice thresholds, notice
// channels and a daily report, in the words of the board's text form),
// --export-board NAME prints a board's text form, --import-board FILE saves
// one from it, --delete-board NAME.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
}

namespace cli {

enum class Mode;

struct BoardAdminOptions {
    std::optional<std::string> save;         // --save-board NAME
    std::optional<std::string> export_name;  // --export-board NAME
    std::optional<std::string> import_file;  // --import-board FILE
    std::optional<std::string> delete_name;  // --delete-board NAME
    bool replace = false;                    // a board of that name may be replaced
    std::optional<std::string> schedule;     // "30m 08:00-22:00 mon,tue on"
    std::optional<int> notice_move_by;
    std::optional<int> notice_top;
    std::vector<std::string> channels;       // --channel NAME: notice channels of korvel.ini
    std::optional<std::string> report_time;  // --report HH:MM: the daily report's time
};

void declare_board_admin(CLI::App& app, BoardAdminOptions& options);

// The option that chooses one of the chores' modes.
std::string_view board_admin_option(Mode mode);

// What is wrong with the given values (a usage error), or empty.
std::string check_board_admin(const BoardAdminOptions& options);

}  // namespace cli
