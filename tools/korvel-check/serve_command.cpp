// --serve and --run-due: every saved board of the history on its schedule,
// with its daily report, through the same runner the window ticks. What
// happens goes to stderr, one line each, where journalctl keeps it.
#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <mutex>
#include <thread>

#include "commands.h"
#include "exit_codes.h"
#include "history_access.h"
#include "notify_command.h"
#include "ranking/result_texts.h"
#include "run_settings.h"
#include "service/runner.h"
#include "text/codepage.h"

namespace cli {

namespace {

// How often --serve looks at the boards; a run's end is looked at sooner.
constexpr std::chrono::seconds kTickInterval{5};
constexpr std::chrono::milliseconds kSlice{200};

volatile std::sig_atomic_t ending_signal = 0;

extern "C" void on_end_signal(int signal_number) {
    ending_signal = signal_number;
}

bool asked_to_end() {
    return ending_signal != 0;
}

// What --serve and --run-due tell of the runner's work, and what --run-due
// ends with.
class Journal final : public service::RunnerObserver {
  public:
    void run_started(const board::Board& b, const board::CheckPlan& plan, bool) override {
        line(b, "开始检查，" + std::to_string(plan.listings.size()) + " 项");
    }
    void goods_confirmed(const board::Board& b,
                         const std::vector<board::ConfirmedGoods>& goods) override {
        for (const board::ConfirmedGoods& g : goods) {
            if (g.failure)
                line(b, "商品 " + text::gbk_to_utf8(g.item.link.empty() ? g.item.id : g.item.link) +
                            "：" + text::gbk_to_utf8(ranking::reason_text(*g.failure)));
        }
    }
    void run_ended(const board::Board& b, const board::SessionSummary& run) override {
        for (const history::Notice& notice : run.notices)
            say(notice.message);
        const char* how = run.taken_over ? "检查已停止：租约过期，另一台机器已接手"
                          : run.end == board::SessionEnd::finished ? "检查完成"
                          : run.end == board::SessionEnd::stopped  ? "检查已停止"
                                                                   : "检查中止（被限速）";
        line(b, std::string(how) + "，已记录 " + std::to_string(run.recorded) + "/" +
                    std::to_string(run.total) + " 项，失败 " + std::to_string(run.failed) +
                    " 项，未检查 " + std::to_string(run.not_checked + run.total - run.recorded) +
                    " 项");
        if (!run.store_problem.empty())
            say("not every check went into the history: " + run.store_problem);
        const bool all_read = run.end == board::SessionEnd::finished && run.failed == 0 &&
                              run.not_checked == 0 && run.store_problem.empty();
        std::lock_guard lock(mutex_);
        all_read_ = all_read_ && all_read;
        notices_ = notices_ || !run.notices.empty();
        ended_ = true;
    }
    void start_skipped(const std::string& board_utf8, const std::string& why) override {
        say("看板 " + board_utf8 + "：" + why);
        std::lock_guard lock(mutex_);
        all_read_ = false;
    }
    void report_sent(const board::Board& b, const std::string&) override { line(b, "日报已发出"); }
    void send_reported(const notify::SendReport& report) override { print_report(report); }

    // Whether a run has ended since the last call.
    bool take_ended() {
        std::lock_guard lock(mutex_);
        return std::exchange(ended_, false);
    }
    int exit_code() const {
        std::lock_guard lock(mutex_);
        return !all_read_ ? kExitSomeFailed : notices_ ? kExitNotices : kExitAllRead;
    }

  private:
    void line(const board::Board& b, const std::string& what) {
        say("看板 " + text::gbk_to_utf8(b.name) + "：" + what);
    }
    void say(const std::string& what) {
        std::lock_guard lock(mutex_);
        std::cerr << kProgramName << ": " << what << '\n' << std::flush;
    }

    mutable std::mutex mutex_;
    bool ended_ = false;
    bool all_read_ = true;
    bool notices_ = false;
};

board::Time now() {
    return std::chrono::system_clock::now();
}

// Sleeps in short slices until `limit` has passed, a run has ended or an
// end was asked for.
void rest(Journal& journal, std::chrono::milliseconds limit) {
    for (auto slept = std::chrono::milliseconds(0); slept < limit && !asked_to_end();
         slept += kSlice) {
        if (journal.take_ended())
            return;
        std::this_thread::sleep_for(kSlice);
    }
}

struct Setup {
    std::unique_ptr<service::Runner> runner;
    std::shared_ptr<Journal> journal;
    int exit_code = kExitAllRead;  // when there is no runner
};

Setup set_up(const CheckOptions& options) {
    const std::shared_ptr<service::ConfigurationSource> source = run_settings_source(options);
    if (!source)
        return {nullptr, nullptr,
                usage_error("cannot read the settings file '" + *options.config + "'")};
    OpenedHistory history = open_history(options);
    if (!history.store)
        return {nullptr, nullptr, failure(history.problem)};
    service::RunnerConfig config;
    config.history_file = history.store->file();
    config.configuration = [source, options] {
        service::Configuration configuration = source->current();
        apply_overrides(options, configuration.board);
        return configuration;
    };
    (void)config.configuration();  // what is wrong with the file is said at once
    Setup setup;
    setup.runner = std::make_unique<service::Runner>(std::move(config));
    if (!setup.runner->store_problem().empty())
        return {nullptr, nullptr, failure(setup.runner->store_problem())};
    setup.journal = std::make_shared<Journal>();
    setup.runner->add_observer(setup.journal);
    std::signal(SIGTERM, on_end_signal);
    std::signal(SIGINT, on_end_signal);
    return setup;
}

}  // namespace

int run_serve(const CheckOptions& options) {
    Setup setup = set_up(options);
    if (!setup.runner)
        return setup.exit_code;
    service::Runner& runner = *setup.runner;
    std::cerr << kProgramName << ": 定时检查已启动\n" << std::flush;
    while (!asked_to_end()) {
        runner.tick(now());
        rest(*setup.journal, kTickInterval);
    }
    // The run going stops with what it recorded kept; the notices get a few
    // seconds to go out; the board's lock goes with the run.
    runner.shutdown();
    std::cerr << kProgramName << ": 定时检查已结束\n" << std::flush;
    return kExitAllRead;
}

int run_due(const CheckOptions& options) {
    Setup setup = set_up(options);
    if (!setup.runner)
        return setup.exit_code;
    service::Runner& runner = *setup.runner;
    runner.tick(now());
    while ((runner.running() || runner.waiting()) && !asked_to_end()) {
        rest(*setup.journal, kTickInterval);
        runner.start_next(now());
    }
    runner.shutdown();
    return asked_to_end() ? kExitSomeFailed : setup.journal->exit_code();
}

}  // namespace cli
