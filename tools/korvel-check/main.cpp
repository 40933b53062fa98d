// korvel-check: the ranking checks of the window and its boards, from the
// command line.
#include <iostream>
#include <string>
#include <vector>

#include "check_options.h"
#include "command_arguments.h"
#include "commands.h"
#include "output_format.h"
#include "run_settings.h"

int main(int argc, char** argv) {
    cli::use_bytes_as_written();
    const std::vector<std::string> arguments = cli::utf8_arguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments)
        pointers.push_back(argument.c_str());
    cli::ParsedCommandLine parsed =
        cli::parse_command_line(static_cast<int>(pointers.size()), pointers.data());
    if (!parsed.options) {
        std::cout << parsed.out << std::flush;
        std::cerr << parsed.err << std::flush;
        return parsed.exit_code;
    }
    // A spreadsheet opening the file needs the mark to read UTF-8; a program
    // reading a pipe is better off without it.
    parsed.options->bom = parsed.options->bom || cli::standard_output_is_file();
    // A settings file named but not there is the command line's fault, whatever the command.
    if (parsed.options->config && cli::run_settings_file(*parsed.options).empty())
        return cli::usage_error("cannot read the settings file '" + *parsed.options->config + "'");
    switch (parsed.options->mode) {
        case cli::Mode::check:
            return cli::run_check(*parsed.options);
        case cli::Mode::board:
            return parsed.options->report ? cli::run_report(*parsed.options)
                                          : cli::run_board(*parsed.options);
        case cli::Mode::save_board:
        case cli::Mode::export_board:
        case cli::Mode::import_board:
        case cli::Mode::delete_board:
            return cli::run_board_admin(*parsed.options);
        case cli::Mode::version:
            return cli::run_version(*parsed.options);
        case cli::Mode::test_notify:
            return cli::run_test_notify(*parsed.options);
        case cli::Mode::copy_history:
            return cli::run_copy_history(*parsed.options);
        case cli::Mode::serve:
            return cli::run_serve(*parsed.options);
        case cli::Mode::run_due:
            return cli::run_due(*parsed.options);
        case cli::Mode::history:
        case cli::Mode::prune:
        case cli::Mode::list_boards:
            break;
    }
    return cli::run_history_chore(*parsed.options);
}
