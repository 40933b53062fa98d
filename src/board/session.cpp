#include "board/session.h"

#include <chrono>
#include <condition_variable>
#include <future>
#include <set>

#include "board/board_lock.h"
#include "board/board_log.h"
#include "board/board_run.h"
#include "board/board_text.h"
#include "board/check_plan.h"
#include "board/check_record.h"
#include "board/goods_captions.h"
#include "board/grid.h"
#include "board/notices.h"
#include "board/pace_memory.h"
#include "history/store.h"
#include "net/fetch_worker.h"
#include "text/codepage.h"

namespace board {

namespace {

std::int64_t now_ms() {
    return unix_ms(std::chrono::system_clock::now());
}

// One goods page, given up after `seconds` or when `abort` fires.
net::PageResult fetch_with_deadline(const std::string& url, net::AbortSignal& abort,
                                    double seconds) {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (!finished.wait_for(lock, std::chrono::duration<double>(seconds), [&] { return done; }))
            abort.abort();
    });
    net::PageResult page;
    try {
        net::FetchRequest request;
        request.url = url;
        page = net::page_result_of(net::fetch_worker(request, &abort));
    } catch (...) {
        page = net::PageResult{{}, 0, net::PageFailure::connect, -1};
    }
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_all();
    watchdog.join();
    if (abort.aborted() && page.failure == net::PageFailure::connect)
        page.failure = net::PageFailure::timeout;
    return page;
}

std::string goods_key(const ConfirmedGoods& goods) {
    // A goods item whose link gave no id is still named, by its link.
    return text::gbk_to_utf8(goods.item.id.empty() ? goods.item.link : goods.item.id);
}

}  // namespace

struct Session::Impl {
    std::optional<history::Store> store;
    std::optional<BoardLock> lock;
    std::unique_ptr<BoardLog> log;
    std::unique_ptr<BoardRun> run;
    std::mutex run_mutex;    // guards `run` against stop() from another thread
    std::string board_name;  // UTF-8
    std::vector<ConfirmedGoods> goods;
    std::vector<std::string> goods_ids;       // every goods item of the board, plan order
    std::vector<std::size_t> read_positions;  // positions of the goods the listings are read for
    std::vector<history::Check> run_checks;
    std::vector<CellKey> cells;  // the cells the run is to check
    std::vector<std::string> own_ids;
    NoticeNames names;
    // The change notices of a dead worker's run this one took over: they go
    // to the sinks with this run's, since that run never reached its end.
    std::vector<history::Notice> inherited;
};

Session::Session(SessionConfig config, SessionObserver* observer)
    : config_(std::move(config)),
      plan_(plan_checks(config_.board)),
      observer_(observer),
      impl_(std::make_unique<Impl>()),
      abort_(std::make_shared<net::AbortSignal>()) {
    impl_->board_name = text::gbk_to_utf8(config_.board.name);
    if (config_.only)
        plan_.listings = *config_.only;
}

Session::~Session() {
    stop();
    if (thread_.joinable())
        thread_.join();
}

void Session::add_sink(std::shared_ptr<NoticeSink> sink) {
    sinks_.push_back(std::move(sink));
}

std::string Session::start() {
    if (!config_.history_file.empty()) {
        auto opened = history::Store::open(config_.history_file);
        if (!opened)
            return opened.error().message;
        impl_->store.emplace(std::move(opened).value());
    }
    summary_.started_ms = config_.started_ms != 0 ? config_.started_ms : now_ms();
    if (impl_->store && !impl_->board_name.empty()) {
        const history::LeaseTerms lease{config_.worker, config_.lease_time, summary_.started_ms};
        impl_->lock.emplace(
            BoardLock::for_history(config_.history_file, impl_->board_name, lease, [this] {
                lease_lost_ = true;
                stop();
            }));
        if (!impl_->lock->held())
            return impl_->lock->message();
        if (std::string unwanted = config_.still_wanted ? config_.still_wanted() : std::string();
            !unwanted.empty()) {
            impl_->lock.reset();
            return unwanted;
        }
        if (const auto dead = impl_->lock->taken_over())
            impl_->inherited = notices_left_by(*dead);
        if (const std::string holder = impl_->lock->lease_holder(); !holder.empty())
            impl_->store->record_only_while_held(impl_->board_name, holder);
    }
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        impl_->lock.reset();
        return "检查无法开始";
    }
    return {};
}

void Session::stop() {
    stop_requested_ = true;
    abort_->abort();
    std::lock_guard lock(impl_->run_mutex);
    if (impl_->run)
        impl_->run->stop();
}

SessionSummary Session::wait() {
    if (thread_.joinable())
        thread_.join();
    return summary_;
}

namespace {

// A report of the listings read for the confirmed goods, widened to every
// goods item of the board: the others fail with their goods page's reason.
CheckReport widened(const CheckReport& read, const std::vector<ConfirmedGoods>& goods,
                    const std::vector<std::size_t>& read_positions) {
    CheckReport full = read;
    if (!read.checked)
        return full;
    full.outcomes.assign(goods.size(), ranking::RunOutcome::failed(ranking::FailReason::connect));
    for (std::size_t i = 0; i < goods.size(); ++i) {
        if (goods[i].failure)
            full.outcomes[i] = *goods[i].failure;
    }
    for (std::size_t k = 0; k < read_positions.size() && k < read.outcomes.size(); ++k)
        full.outcomes[read_positions[k]] = read.outcomes[k];
    return full;
}

}  // namespace

void Session::run() {
    Impl& s = *impl_;
    const GoodsPageFetch fetch =
        config_.fetch_goods_page
            ? config_.fetch_goods_page
            : GoodsPageFetch([this](const std::string& url, net::AbortSignal& abort) {
                  return fetch_with_deadline(url, abort, config_.settings.request_timeout_s);
              });
    s.goods = confirm_goods(config_.board, config_.hosts, fetch, *abort_, config_.confirmed_ids);
    keep_names(s.goods);
    if (observer_)
        observer_->goods_confirmed(s.goods);

    Board readable = with_confirmed(config_.board, s.goods);
    for (std::size_t i = 0; i < s.goods.size(); ++i) {
        s.goods_ids.push_back(goods_key(s.goods[i]));
        if (!s.goods[i].failure)
            s.read_positions.push_back(i);
    }
    CheckPlan plan = plan_;
    summary_.total = plan.listings.size();
    summary_total_ = summary_.total;

    s.log = std::make_unique<BoardLog>(s.board_name, s.store ? &*s.store : nullptr);
    for (const ranking::Listing& listing : plan.listings)
        s.cells.push_back(cell_key(listing));
    s.own_ids.assign(s.goods_ids.begin(),
                     s.goods_ids.begin() + static_cast<std::ptrdiff_t>(
                                               std::min(readable.own.size(), s.goods_ids.size())));
    s.names = notice_names(readable);
    if (std::string problem = s.log->load(s.cells); !problem.empty())
        summary_.store_problem = problem;

    const std::size_t own_count = config_.board.own.size();
    auto record = [&](const CheckReport& read) {
        const CheckReport report = widened(read, s.goods, s.read_positions);
        history::Check check = check_record(report, s.goods_ids, own_count, s.board_name);
        // A board without a name (one-off checks) keeps its checks but makes no notices.
        std::vector<history::Notice> notices;
        if (!s.board_name.empty())
            notices = s.log->notices_for(check, config_.board.notices, s.names);
        if (const auto refused = s.log->record(check, notices)) {
            if (refused->code == history::ErrorCode::lease_lost) {
                // Another worker runs the board now and checks this cell itself.
                lease_lost_ = true;
                stop();
                return;
            }
            if (summary_.store_problem.empty())
                summary_.store_problem = refused->message;
        }
        ++summary_.recorded;
        summary_.failed += !fully_read(check) && check.outcome != history::Outcome::not_checked;
        summary_.not_checked += check.outcome == history::Outcome::not_checked ? 1 : 0;
        summary_.notices.insert(summary_.notices.end(), notices.begin(), notices.end());
        s.run_checks.push_back(check);
        if (observer_)
            observer_->check_recorded(report, check, notices);
    };

    RunEnd end = RunEnd::finished;
    plan.goods_ids.clear();
    for (std::size_t position : s.read_positions)
        plan.goods_ids.push_back(readable.own.size() > position
                                     ? readable.own[position].id
                                     : readable.competitors[position - readable.own.size()].id);
    if (stop_requested_) {
        end = RunEnd::stopped;
    } else if (plan.goods_ids.empty()) {
        // No goods item to look for: every check fails with its goods' reasons, at no cost.
        for (std::size_t i = 0; i < plan.listings.size(); ++i) {
            CheckReport none;
            none.check = i;
            none.listing = plan.listings[i];
            none.finished_at = std::chrono::system_clock::now();
            record(none);
        }
    } else {
        {
            std::lock_guard lock(s.run_mutex);
            if (!stop_requested_) {
                s.run = std::make_unique<BoardRun>(plan, config_.hosts, config_.settings, record);
                s.run->set_start_pace(learned_pace());
            }
        }
        if (s.run && s.run->start())
            end = s.run->wait_until_done();
        else
            end = RunEnd::stopped;
    }
    finish(end);
}

void Session::keep_names(const std::vector<ConfirmedGoods>& goods) {
    Impl& s = *impl_;
    if (!s.store || s.board_name.empty())
        return;
    // The saved board as it is now: it may have been edited since this run began.
    const auto saved = s.store->load_board(s.board_name);
    if (!saved)
        return;
    std::optional<Board> kept = board_from_text(saved.value().definition);
    if (!kept || !take_names(*kept, goods))
        return;
    if (const auto stored = s.store->save_board(s.board_name, board_to_text(*kept), now_ms());
        !stored && summary_.store_problem.empty())
        summary_.store_problem = stored.error().message;
}

RunSummary Session::run_counts() const {
    const Impl& s = *impl_;
    std::set<CellKey> reached;
    for (const history::Check& check : s.run_checks)
        reached.insert(cell_key(check));
    std::vector<const CellData*> cells;
    for (const CellKey& key : s.cells)
        cells.push_back(reached.contains(key) ? &s.log->cell(key) : nullptr);
    return run_summary(cells, s.own_ids);
}

std::vector<history::Notice> Session::notices_left_by(const history::RunRecord& dead) const {
    std::vector<history::Notice> left;
    const auto stored = impl_->store->notices(impl_->board_name, dead.started_ms);
    if (!stored)
        return left;
    for (const history::Notice& notice : stored.value()) {
        if (notice.check_id != 0 && notice.time_ms >= dead.started_ms)
            left.push_back(notice);
    }
    return left;
}

std::string Session::pace_key(const std::string& host) const {
    return board::pace_key(host, config_.worker, config_.history_file.is_server());
}

LearnedPaces Session::learned_pace() const {
    if (!impl_->store)
        return {};
    std::vector<StoredPace> stored;
    for (const std::string& host : {config_.hosts.search_api, config_.hosts.operations_api}) {
        const auto kept = impl_->store->load_pace(pace_key(host));
        if (kept && kept.value()) {
            const history::PaceRecord& record = *kept.value();
            stored.push_back(
                {host,
                 {record.pages_per_second, record.pushed_back_at, record.pages_since_push_back},
                 record.time_ms});
        }
    }
    return learned_start_pace(stored, now_ms(), config_.settings);
}

RunStatus Session::status() const {
    std::lock_guard lock(impl_->run_mutex);
    if (impl_->run)
        return impl_->run->status();
    RunStatus status;
    status.total = summary_total_;
    return status;
}

void Session::finish(RunEnd end) {
    Impl& s = *impl_;
    {
        std::lock_guard lock(s.run_mutex);
        if (s.run) {
            // The pace each host ended with starts the next run (of any board).
            for (const auto& [host, pace] : s.run->status().learned) {
                if (s.store)
                    (void)s.store->save_pace({pace_key(host), pace.pages_per_second, now_ms(),
                                              pace.pushed_back_at, pace.pages_since_push_back});
            }
        }
        s.run.reset();  // joins its threads: every report has been recorded
    }
    summary_.end = end == RunEnd::gave_up   ? SessionEnd::gave_up
                   : end == RunEnd::stopped ? SessionEnd::stopped
                                            : SessionEnd::finished;
    std::optional<history::Notice> failing;
    if (!s.board_name.empty())
        failing = failing_notice(s.run_checks);
    if (failing) {
        failing->board = s.board_name;
        if (s.store) {
            if (const auto added = s.store->add_notice(*failing))
                failing->id = added.value();
            else if (summary_.store_problem.empty())
                summary_.store_problem = added.error().message;
        }
        summary_.notices.insert(summary_.notices.begin(), *failing);
    }
    summary_.notices.insert(summary_.notices.begin(), s.inherited.begin(), s.inherited.end());
    if (!s.board_name.empty() && s.log)
        summary_.counts = run_counts();
    summary_.ended_ms = now_ms();
    summary_.taken_over = lease_lost_;
    if (s.store && !s.board_name.empty() && !summary_.taken_over) {
        history::RunRecord record;
        record.board = s.board_name;
        record.started_ms = summary_.started_ms;
        record.ended_ms = summary_.ended_ms;
        record.how_ended = summary_.end == SessionEnd::finished  ? "done"
                           : summary_.end == SessionEnd::stopped ? "stopped"
                                                                 : "gave_up";
        // A stopped run counts the checks it never reached as not checked.
        const std::size_t planned = std::max(summary_.total, summary_.recorded);
        record.checks = static_cast<int>(planned);
        record.failed = static_cast<int>(summary_.failed);
        record.not_checked = static_cast<int>(summary_.not_checked + planned - summary_.recorded);
        (void)s.store->add_run(record);
    }
    s.lock.reset();
    if (!s.board_name.empty()) {
        for (const auto& sink : sinks_)
            sink->deliver(config_.board, summary_);
    }
    if (observer_)
        observer_->ended(summary_);
    done_ = true;
}

}  // namespace board

namespace board {

std::vector<ranking::Listing> listings_to_recheck(const Board& board, const BoardLog& log,
                                                  const std::set<CellKey>& unreached) {
    std::vector<ranking::Listing> again;
    for (const ranking::Listing& listing : plan_checks(board).listings) {
        const CellKey key = cell_key(listing);
        const std::vector<history::Check>& recent = log.cell(key).recent;
        if (recent.empty() || !fully_read(recent.back()) || unreached.contains(key))
            again.push_back(listing);
    }
    return again;
}

std::set<CellKey> unchecked_since(const std::set<CellKey>& cells, const BoardLog& log,
                                  std::int64_t since_ms) {
    std::set<CellKey> out;
    for (const CellKey& key : cells) {
        const std::vector<history::Check>& recent = log.cell(key).recent;
        if (recent.empty() || recent.back().time_ms < since_ms)
            out.insert(key);
    }
    return out;
}

std::set<CellKey> unreached_by(const Board& board, const BoardLog& log,
                               const history::RunRecord& last_run) {
    const std::vector<ranking::Listing> listings = plan_checks(board).listings;
    // A re-check of some cells, or a board changed since, says nothing of the rest.
    if (last_run.how_ended != "stopped" ||
        static_cast<std::size_t>(last_run.checks) != listings.size())
        return {};
    std::set<CellKey> cells;
    for (const ranking::Listing& listing : listings)
        cells.insert(cell_key(listing));
    return unchecked_since(cells, log, last_run.started_ms);
}

}  // namespace board
