#include "board_admin_options.h"

#include <CLI/CLI.hpp>

#include "board/schedule_text.h"
#include "check_options.h"

namespace cli {

namespace {

// The range the board's text form accepts for both thresholds.
constexpr int kMaxThreshold = 1000;

}  // namespace

void declare_board_admin(CLI::App& app, BoardAdminOptions& o) {
    app.add_option("--save-board", o.save,
                   "save the goods and listings given as the board NAME (runs nothing)")
        ->option_text("NAME");
    app.add_flag("--replace", o.replace,
                 "with --save-board or --import-board: replace a board of the same name");
    app.add_option("--schedule", o.schedule,
                   "with --save-board: re-check schedule, e.g. \"30m 08:00-22:00 mon,tue,wed on\"")
        ->option_text("TEXT");
    app.add_option("--notice-move-by", o.notice_move_by,
                   "with --save-board: places the own rank must move for a notice")
        ->check(CLI::Range(1, kMaxThreshold));
    app.add_option("--notice-top", o.notice_top,
                   "with --save-board: notice when the own goods enter or leave the top N")
        ->check(CLI::Range(1, kMaxThreshold));
    app.add_option("--channel", o.channels,
                   "with --save-board: send the board's notices to the channel NAME of korvel.ini "
                   "(repeatable)")
        ->option_text("NAME");
    app.add_option("--export-board", o.export_name, "print the board NAME in its text form")
        ->option_text("NAME");
    app.add_option("--import-board", o.import_file, "save the board a text form FILE describes")
        ->option_text("FILE");
    app.add_option("--delete-board", o.delete_name, "remove the saved board NAME")
        ->option_text("NAME");
}

std::string_view board_admin_option(Mode mode) {
    switch (mode) {
        case Mode::save_board:
            return "--save-board";
        case Mode::export_board:
            return "--export-board";
        case Mode::import_board:
            return "--import-board";
        case Mode::delete_board:
            return "--delete-board";
        default:
            return {};
    }
}

std::string check_board_admin(const BoardAdminOptions& o) {
    for (const auto* name : {&o.save, &o.export_name, &o.delete_name}) {
        if (*name && name->value().empty())
            return "a board needs a name";
    }
    for (const std::string& channel : o.channels) {
        if (channel.empty())
            return "--channel needs a channel name";
    }
    if (o.report_time && !board::clock_minute(*o.report_time))
        return "--report '" + *o.report_time + "' is not a time of day (HH:MM)";
    if (o.schedule) {
        const board::ParsedSchedule parsed = board::schedule_from_text(*o.schedule);
        if (!parsed.schedule)
            return "--schedule '" + *o.schedule + "': " + parsed.error;
    }
    return {};
}

}  // namespace cli
