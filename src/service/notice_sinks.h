#pragma once
// The standard notice sink of a board run: the chat groups and mailboxes the
// configuration defines, sent on one dispatcher's thread, every delivery kept
// in the history. The window, `korvel-check --board` and the runner build it
// here, so a run sends the same messages whoever started it.
#include <filesystem>
#include <functional>
#include <memory>

#include "notify/board_notifier.h"
#include "service/configuration.h"

namespace service {

// `on_report` gets what became of each message (on the dispatcher's thread).
notify::NotifierConfig notifier_config(const Configuration& configuration,
                                       const history::Location& history_file,
                                       std::shared_ptr<notify::Dispatcher> dispatcher,
                                       std::function<void(const notify::SendReport&)> on_report);

}  // namespace service
