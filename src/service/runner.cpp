#include "service/runner.h"

#include <algorithm>
#include <condition_variable>
#include <set>

#include "board/board_log.h"
#include "board/board_text.h"
#include "board/check_record.h"
#include "notify/board_report.h"
#include "service/due.h"
#include "service/notice_sinks.h"
#include "text/codepage.h"

namespace service {

namespace {

constexpr std::string_view kSkippedKind = "skipped";

std::int64_t ms_of(board::Time time) {
    return board::unix_ms(time);
}

board::Time time_of(std::int64_t ms) {
    return board::Time(std::chrono::milliseconds(ms));
}

}  // namespace

// A run's session events, handed on to the runner's observers with the
// board they belong to. They wait until run_started has gone out, so every
// observer sees a run begin before anything happens in it.
class Runner::Events final : public board::SessionObserver {
  public:
    Events(std::shared_ptr<Shared> shared, board::Board board)
        : shared_(std::move(shared)), board_(std::move(board)) {}

    void open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }

    void goods_confirmed(const std::vector<board::ConfirmedGoods>& goods) override {
        for (const auto& o : observers())
            o->goods_confirmed(board_, goods);
    }
    void check_recorded(const board::CheckReport& report, const history::Check& check,
                        const std::vector<history::Notice>& notices) override {
        for (const auto& o : observers())
            o->check_recorded(board_, report, check, notices);
    }
    void ended(const board::SessionSummary& summary) override {
        for (const auto& o : observers())
            o->run_ended(board_, summary);
    }

  private:
    Observers observers() {
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [this] { return open_; });
        std::lock_guard shared(shared_->mutex);
        return shared_->observers;
    }

    std::shared_ptr<Shared> shared_;
    board::Board board_;
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

struct Runner::Run {
    std::unique_ptr<Events> events;
    std::unique_ptr<board::Session> session;  // declared last: ends before its events
    bool scheduled = false;
};

Runner::Runner(RunnerConfig config) : config_(std::move(config)) {
    if (config_.history_file.empty()) {
        store_problem_ = "没有历史文件";
        return;
    }
    auto opened = history::Store::open(config_.history_file);
    if (!opened) {
        store_problem_ = opened.error().message;
        return;
    }
    store_.emplace(std::move(opened).value());
}

Runner::~Runner() {
    shutdown();
}

void Runner::add_observer(std::shared_ptr<RunnerObserver> observer) {
    std::lock_guard lock(shared_->mutex);
    shared_->observers.push_back(std::move(observer));
}

void Runner::remove_observer(const RunnerObserver* observer) {
    std::lock_guard lock(shared_->mutex);
    std::erase_if(shared_->observers, [observer](const auto& o) { return o.get() == observer; });
}

Runner::Observers Runner::observers() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->observers;
}

board::LocalZone Runner::zone_at(board::Time now) const {
    return config_.zone_at ? config_.zone_at(now) : board::LocalZone::system_at(now);
}

void Runner::reap() {
    if (run_ && run_->session->done()) {
        run_->session->wait();
        run_.reset();
    }
}

bool Runner::running() const {
    return run_ && !run_->session->done();
}

std::optional<RunningRun> Runner::current() const {
    if (!running())
        return std::nullopt;
    const board::Session& s = *run_->session;
    return RunningRun{s.board(), s.plan(), s.status(), run_->scheduled};
}

void Runner::stop() {
    if (run_)
        run_->session->stop();
}

void Runner::wait() {
    if (run_) {
        run_->session->wait();
        run_.reset();
    }
}

void Runner::shutdown() {
    shut_down_ = true;
    stop();
    wait();
    dispatcher_.reset();  // the last owner: waits for the queue, at most its drain_limit
}

void Runner::set_paused(bool paused) {
    paused_ = paused;
    if (paused)
        waiting_.clear();
}

notify::NotifierConfig Runner::notifier_config(const Configuration& configuration) {
    if (!dispatcher_)
        dispatcher_ = std::make_shared<notify::Dispatcher>(config_.sending);
    return service::notifier_config(configuration, config_.history_file, dispatcher_,
                                    [shared = shared_](const notify::SendReport& report) {
                                        Observers observers;
                                        {
                                            std::lock_guard lock(shared->mutex);
                                            observers = shared->observers;
                                        }
                                        for (const auto& o : observers)
                                            o->send_reported(report);
                                    });
}

std::string Runner::start_now(const board::Board& board,
                              std::optional<std::vector<ranking::Listing>> only, board::Time now) {
    return start_run(board, std::move(only), now, std::nullopt);
}

std::string Runner::start_run(const board::Board& board,
                              std::optional<std::vector<ranking::Listing>> only, board::Time now,
                              std::optional<board::Time> slot) {
    const bool scheduled = slot.has_value();
    if (shut_down_)
        return "程序正在退出";
    reap();
    if (running())
        return "另一个看板正在检查（" + text::gbk_to_utf8(run_->session->board().name) + "）";
    const Configuration configuration =
        config_.configuration ? config_.configuration() : Configuration{};
    board::SessionConfig session;
    session.board = board;
    session.history_file = config_.history_file;
    session.hosts = configuration.hosts;
    session.settings = configuration.board;
    session.only = std::move(only);
    session.fetch_goods_page = config_.fetch_goods_page;
    session.started_ms = ms_of(now);
    session.worker = configuration.service.worker;
    session.lease_time = std::chrono::seconds(configuration.service.lease_s);
    if (slot) {
        session.still_wanted = [this, name = text::gbk_to_utf8(board.name), at = *slot] {
            return ran_since(name, at) ? std::string("本轮已由另一台机器检查") : std::string();
        };
    }
    auto run = std::make_unique<Run>();
    run->scheduled = scheduled;
    run->events = std::make_unique<Events>(shared_, board);
    run->session = std::make_unique<board::Session>(std::move(session), run->events.get());
    if (!board.name.empty())
        run->session->add_sink(
            std::make_shared<notify::BoardNotifier>(notifier_config(configuration)));
    if (std::string refused = run->session->start(); !refused.empty())
        return refused;
    const std::string name = text::gbk_to_utf8(board.name);
    started_[name] = now;
    waiting_.erase(name);
    run_ = std::move(run);
    for (const auto& o : observers())
        o->run_started(board, run_->session->plan(), scheduled);
    run_->events->open();
    return {};
}

void Runner::record_skip(const std::string& name, board::Time now, const std::string& why) {
    started_[name] = now;  // once per slot, even when the history refuses the notice
    history::Notice notice;
    notice.board = name;
    notice.time_ms = ms_of(now);
    notice.kind = std::string(kSkippedKind);
    notice.message = why;
    if (store_)
        (void)store_->add_notice(notice);
    for (const auto& o : observers())
        o->start_skipped(name, why);
}

std::optional<board::Time> Runner::last_start(const std::string& name,
                                              std::int64_t created_ms) const {
    std::optional<board::Time> last;
    auto later = [&last](board::Time t) {
        if (!last || *last < t)
            last = t;
    };
    // A board that never ran waits for the first slot after it was saved.
    if (created_ms > 0)
        later(time_of(created_ms));
    if (const auto run = store_->last_run(name); run && run.value())
        later(time_of(run.value()->started_ms));
    if (const auto it = started_.find(name); it != started_.end())
        later(it->second);
    return last;
}

std::optional<board::PlannedStart> Runner::due_start(const std::string& name, const board::Board& b,
                                                     std::int64_t created_ms, board::Time now,
                                                     board::LocalZone zone) {
    const auto planned = planned_start(*b.schedule, name, last_start(name, created_ms), now, zone);
    if (!planned || now < planned->at)
        return std::nullopt;
    // A start of this slot that was skipped (here or by another process) is not tried again.
    const auto notices = store_->notices(name, ms_of(planned->slot));
    if (notices && std::any_of(notices.value().begin(), notices.value().end(),
                               [](const history::Notice& n) { return n.kind == kSkippedKind; }))
        return std::nullopt;
    return planned;
}

void Runner::look_at(const std::string& name, board::Time now, board::LocalZone zone) {
    const auto saved = store_->load_board(name);
    const auto b = saved ? board::board_from_text(saved.value().definition) : std::nullopt;
    if (!b || !board::validate(*b).empty()) {
        waiting_.erase(name);
        return;
    }
    send_report_if_due(*b, now, zone);
    if (!b->schedule || !b->schedule->enabled || paused_) {
        waiting_.erase(name);
        return;
    }
    if (const auto it = waiting_.find(name); it != waiting_.end()) {
        const auto last = last_start(name, saved.value().created_ms);
        if (last && *last >= it->second.start.slot)
            waiting_.erase(it);  // it ran meanwhile (the window, another process)
        else
            it->second.board = *b;  // waits its turn, and runs as saved when it comes
        return;
    }
    const auto due = due_start(name, *b, saved.value().created_ms, now, zone);
    if (!due)
        return;
    const LeaseVerdict lease = lease_verdict(lease_of(name), due->slot);
    if (lease == LeaseVerdict::running_since_slot)
        return;  // another worker took this slot
    if (lease == LeaseVerdict::running_before_slot ||
        (run_ && !run_->session->done() &&
         text::gbk_to_utf8(run_->session->board().name) == name)) {
        record_skip(name, now, std::string(board::due_reason(board::DueAction::skip)));
        return;
    }
    waiting_[name] = Waiting{*b, *due};
}

void Runner::start_next(board::Time now) {
    reap();
    // A board another worker claimed a moment before us lets the next one go.
    while (!shut_down_ && !waiting_.empty() && !running() && !start_first(now)) {
    }
}

// Tries the waiting board that came due first; false when another worker
// had just claimed it.
bool Runner::start_first(board::Time now) {
    const auto first = std::min_element(waiting_.begin(), waiting_.end(), [](auto& a, auto& b) {
        return a.second.start.at < b.second.start.at;
    });
    const std::string name = first->first;
    const board::Board b = first->second.board;
    const board::Time slot = first->second.start.slot;
    waiting_.erase(first);
    std::optional<std::vector<ranking::Listing>> only;
    if (lease_verdict(lease_of(name), slot) == LeaseVerdict::abandoned_since_slot)
        only = unchecked_listings(b, slot);
    const std::string refused = start_run(b, std::move(only), now, slot);
    if (refused.empty())
        return true;
    // Another worker claimed it a moment before us, or ran it while it waited
    // here: its run, not a skip.
    if (const auto lease = lease_of(name); (lease && lease->live) || ran_since(name, slot))
        return false;
    record_skip(name, now, "定时检查未开始：" + refused);
    return true;
}

bool Runner::ran_since(const std::string& name, board::Time slot) const {
    const auto last = store_->last_run(name);
    return last && last.value() && last.value()->started_ms >= ms_of(slot) &&
           last.value()->how_ended != "abandoned";
}

std::optional<history::BoardLease> Runner::lease_of(const std::string& name) const {
    auto lease = store_->board_lease(name);
    return lease ? lease.value() : std::nullopt;
}

// The listings of `b` with no check since `slot`: what a run of the slot
// that died before its end left to do. Each cell gets one check per slot.
std::vector<ranking::Listing> Runner::unchecked_listings(const board::Board& b, board::Time slot) {
    const std::vector<ranking::Listing> listings = board::plan_checks(b).listings;
    std::vector<board::CellKey> cells;
    for (const ranking::Listing& listing : listings)
        cells.push_back(board::cell_key(listing));
    board::BoardLog log(text::gbk_to_utf8(b.name), &*store_);
    if (!log.load(cells).empty())
        return listings;  // unreadable: better a cell twice than one lost
    const std::set<board::CellKey> open = board::unchecked_since(
        std::set<board::CellKey>(cells.begin(), cells.end()), log, ms_of(slot));
    std::vector<ranking::Listing> left;
    for (const ranking::Listing& listing : listings) {
        if (open.contains(board::cell_key(listing)))
            left.push_back(listing);
    }
    return left;
}

void Runner::tick(board::Time now) {
    reap();
    if (!store_ || shut_down_)
        return;
    const auto names = store_->board_names();
    if (!names)
        return;
    const board::LocalZone zone = zone_at(now);
    for (const std::string& name : names.value())
        look_at(name, now, zone);
    std::erase_if(waiting_, [&](const auto& entry) {
        return !std::binary_search(names.value().begin(), names.value().end(), entry.first);
    });
    start_next(now);
}

void Runner::send_report_if_due(const board::Board& b, board::Time now, board::LocalZone zone) {
    if (!b.report_minute || b.channels.empty())
        return;
    const auto local =
        std::chrono::floor<std::chrono::minutes>(now.time_since_epoch()) + zone.utc_offset;
    const int minute_of_day = static_cast<int>(
        ((local.count() % board::kMinutesPerDay) + board::kMinutesPerDay) % board::kMinutesPerDay);
    const std::string name = text::gbk_to_utf8(b.name);
    if (minute_of_day < *b.report_minute || notify::report_sent_today(*store_, name, ms_of(now)))
        return;
    const Configuration configuration =
        config_.configuration ? config_.configuration() : Configuration{};
    const std::string text =
        notify::send_daily_report(notifier_config(configuration), *store_, b, ms_of(now));
    if (text.empty())
        return;  // nothing checked in the last 7 days: nothing to report
    for (const auto& o : observers())
        o->report_sent(b, text);
}

std::optional<board::Time> Runner::next_start(const std::string& name, board::Time now) {
    if (const auto it = waiting_.find(name); it != waiting_.end())
        return it->second.start.at;
    if (!store_)
        return std::nullopt;
    const auto saved = store_->load_board(name);
    const auto b = saved ? board::board_from_text(saved.value().definition) : std::nullopt;
    if (!b || !b->schedule || !b->schedule->enabled)
        return std::nullopt;
    const auto planned = planned_start(
        *b->schedule, name, last_start(name, saved.value().created_ms), now, zone_at(now));
    if (!planned)
        return std::nullopt;
    return planned->at;
}

bool Runner::has_schedules() const {
    if (!store_)
        return false;
    const auto names = store_->board_names();
    if (!names)
        return false;
    return std::any_of(names.value().begin(), names.value().end(), [this](const std::string& n) {
        const auto saved = store_->load_board(n);
        const auto b = saved ? board::board_from_text(saved.value().definition) : std::nullopt;
        return b && b->schedule && b->schedule->enabled;
    });
}

}  // namespace service
