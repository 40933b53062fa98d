#pragma once
// The notice channels of a korvel-check run: chosen by the board, defined in
// the settings file, sent on a thread of their own and reported on stderr.
#include <filesystem>
#include <memory>

#include "notify/board_notifier.h"
#include "service/configuration.h"

namespace cli {

struct RunNotices {
    std::shared_ptr<notify::Dispatcher> dispatcher;  // drains (bounded) when the last owner goes
    std::shared_ptr<notify::BoardNotifier> notifier;
};

// The channels of `configuration` for the notices of runs kept in
// `history_file`; what became of each message goes to stderr.
RunNotices run_notices(const service::Configuration& configuration,
                       const history::Location& history_file);

// What became of one message, on stderr.
void print_report(const notify::SendReport& report);

// A dispatcher that may take a while to empty at the end of a one-off command.
std::shared_ptr<notify::Dispatcher> patient_dispatcher();

}  // namespace cli
