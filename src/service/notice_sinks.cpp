#include "service/notice_sinks.h"

namespace service {

notify::NotifierConfig notifier_config(const Configuration& configuration,
                                       const history::Location& history_file,
                                       std::shared_ptr<notify::Dispatcher> dispatcher,
                                       std::function<void(const notify::SendReport&)> on_report) {
    notify::NotifierConfig config;
    config.channels = configuration.channels;
    config.history_file = history_file;
    config.dispatcher = std::move(dispatcher);
    config.on_report = std::move(on_report);
    return config;
}

}  // namespace service
