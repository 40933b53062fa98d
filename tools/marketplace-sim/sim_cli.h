#pragma once
// The program's command line, read into Options.
#include <optional>
#include <string>
#include <vector>

#include "sim_server.h"

namespace sim {

// The program's defaults: Options with the port Korvel's built-in hosts name.
inline Options program_options() {
    Options options;
    options.port = kProgramPort;
    return options;
}

struct CommandLine {
    Options options = program_options();
    std::string download_file;  // a file whose bytes become the download
    bool help = false;
};

// The arguments after the program name; nullopt and a message on a mistake.
std::optional<CommandLine> parse_command_line(const std::vector<std::string>& args,
                                              std::string& error);
std::string usage();

}  // namespace sim
