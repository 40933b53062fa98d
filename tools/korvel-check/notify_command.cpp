// --test-notify NAME and --board NAME --report, and the notices of a board
// run. Sending never changes a run's exit code; what a channel answered goes
// to stderr, never with its address, secret or password.
#include "notify_command.h"

#include <atomic>
#include <iostream>
#include <mutex>

#include "board/board_text.h"
#include "commands.h"
#include "exit_codes.h"
#include "history_access.h"
#include "notify/board_report.h"
#include "notify/channel_settings.h"
#include "run_settings.h"
#include "service/notice_sinks.h"

namespace cli {

namespace {

// Time for the queue to empty before the program ends. What has not gone by
// then stays queued in the history and goes with the board's next run; a
// send cut off mid-way is not sent again.
constexpr std::chrono::seconds kDrainLimit{10};

std::mutex stderr_mutex;

// The settings file's configuration, what is wrong with it said on stderr.
service::Configuration configuration_of(const std::filesystem::path& settings_file) {
    service::Configuration configuration = service::load_configuration(settings_file);
    for (const std::string& message : configuration.messages)
        std::cerr << kProgramName << ": " << message << '\n';
    return configuration;
}

}  // namespace

void print_report(const notify::SendReport& report) {
    std::lock_guard lock(stderr_mutex);
    if (report.result.delivered)
        std::cerr << kProgramName << ": 通知已发送至 " << report.channel << '\n';
    else
        std::cerr << kProgramName << ": " << report.result.error << '\n';
}

std::shared_ptr<notify::Dispatcher> patient_dispatcher() {
    notify::DispatcherOptions options;
    options.drain_limit = kDrainLimit;
    return std::make_shared<notify::Dispatcher>(options);
}

RunNotices run_notices(const service::Configuration& configuration,
                       const history::Location& history_file) {
    RunNotices notices;
    notices.dispatcher = patient_dispatcher();
    notices.notifier = std::make_shared<notify::BoardNotifier>(
        service::notifier_config(configuration, history_file, notices.dispatcher, print_report));
    return notices;
}

int run_test_notify(const CheckOptions& options) {
    const std::filesystem::path settings_file = run_settings_file(options);
    const service::Configuration configuration = configuration_of(settings_file);
    const notify::Channel* channel =
        notify::find_channel(configuration.channels, *options.test_notify);
    if (channel == nullptr)
        return failure(
            "no notice channel named '" + *options.test_notify + "' in " +
            (settings_file.empty() ? std::string("korvel.ini") : settings_file.string()));
    const notify::DeliveryResult result = notify::send_test(*channel);
    std::cout << (result.delivered ? "已发送" : "未发送") << "：" << channel->name << '\n';
    if (!result.answer.empty())
        std::cout << "服务器回答：" << result.answer << '\n';
    if (!result.delivered)
        return failure(result.error);
    return kExitAllRead;
}

int run_report(const CheckOptions& options) {
    OpenedHistory history = open_history(options);
    if (!history.store)
        return failure(history.problem);
    const LoadedBoard saved = load_board(*history.store, *options.board);
    if (!saved.board)
        return saved.exit_code;
    if (saved.board->channels.empty())
        return failure("the board '" + *options.board + "' sends to no notice channel");
    auto all_sent = std::make_shared<std::atomic<bool>>(true);
    notify::NotifierConfig config = service::notifier_config(
        configuration_of(run_settings_file(options)), history.store->file(), patient_dispatcher(),
        [all_sent](const notify::SendReport& report) {
            *all_sent = *all_sent && report.result.delivered;
            print_report(report);
        });
    const std::string text =
        notify::send_daily_report(config, *history.store, *saved.board, notify::now_unix_ms());
    if (text.empty()) {
        std::cerr << kProgramName << ": nothing checked in the last 7 days; no report sent\n";
        return kExitAllRead;
    }
    std::cout << text << '\n' << std::flush;
    config.dispatcher.reset();  // waits for the sends (bounded)
    return *all_sent ? kExitAllRead : kExitSomeFailed;
}

}  // namespace cli
