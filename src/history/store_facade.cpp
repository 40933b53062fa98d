// The Store every caller sees: it picks the engine by the location, checks
// each record against the history's rules before either engine gets it, and
// hands the rest through.
#include <cmath>

#include "history/engine.h"
#include "history/sqlite_engine.h"
#include "history/store.h"
#if KORVEL_WITH_POSTGRESQL
#include "history/pg_engine.h"
#endif

namespace history {
namespace {

Error invalid(std::string_view what, const std::string& problem) {
    return Error{ErrorCode::invalid_record,
                 "the " + std::string(what) + " cannot be saved: " + problem};
}

Result<std::unique_ptr<Engine>> open_engine(const Location& location) {
    if (!location.is_server()) {
        return SqliteEngine::open(location.text());
    }
#if KORVEL_WITH_POSTGRESQL
    return PgEngine::open(location);
#else
    return Error{ErrorCode::cannot_open, "this build of Korvel keeps its history in a file only; " +
                                             location.shown() + " is a PostgreSQL server"};
#endif
}

}  // namespace

Result<Store> Store::open(const Location& location) {
    auto engine = open_engine(location);
    if (!engine) {
        return engine.error();
    }
    return Store(std::move(engine).value(), location);
}

Store::Store(std::unique_ptr<Engine> engine, Location location)
    : engine_(std::move(engine)), location_(std::move(location)), shown_(location_.shown()) {}

Store::Store(Store&&) noexcept = default;
Store& Store::operator=(Store&&) noexcept = default;
Store::~Store() = default;

Result<std::int64_t> Store::add_check(const Check& check) {
    std::vector<Notice> none;
    return record_check(check, none);
}

void Store::record_only_while_held(const std::string& board, const std::string& holder) {
    engine_->record_only_while_held(board, holder);
}

Result<std::int64_t> Store::record_check(const Check& check, std::vector<Notice>& notices) {
    if (auto problem = check_problem(check)) {
        return invalid("check", *problem);
    }
    for (const auto& notice : notices) {
        if (auto problem = notice_problem(notice)) {
            return invalid("check", "its notice: " + *problem);
        }
    }
    auto recorded = engine_->record_check(check, notices);
    if (!recorded) {
        return recorded.error();
    }
    // Written back only once kept, so a failed call leaves the notices as given.
    for (std::size_t i = 0; i < notices.size(); ++i) {
        notices[i].id = recorded.value().notices.at(i);
        notices[i].check_id = recorded.value().check;
    }
    return recorded.value().check;
}

Result<std::vector<Check>> Store::checks(const CheckFilter& filter) const {
    std::vector<Check> checks;
    auto walked = for_each_check(filter, [&](const Check& check) {
        checks.push_back(check);
        return true;
    });
    if (!walked) {
        return walked.error();
    }
    return checks;
}

Status Store::for_each_check(const CheckFilter& filter,
                             const std::function<bool(const Check&)>& visit) const {
    return engine_->for_each_check(filter, visit);
}

Result<std::int64_t> Store::count_checks(const std::optional<std::string>& board) const {
    return engine_->count_checks(board);
}

Result<std::int64_t> Store::prune_before(std::int64_t time_ms) {
    return engine_->prune_before(time_ms);
}

Result<std::int64_t> Store::count_matching(const CheckFilter& filter) const {
    return engine_->count_matching(filter);
}

Result<std::vector<CellBest>> Store::best_ranks(const std::string& board) const {
    return engine_->best_ranks(board);
}

Result<std::vector<CellBest>> Store::best_ranks_between(const std::string& board,
                                                        std::int64_t since_ms,
                                                        std::int64_t until_ms) const {
    return engine_->best_ranks_between(board, since_ms, until_ms);
}

Result<std::vector<CellDay>> Store::cell_days(const std::string& board, Listing listing,
                                              const std::string& key, Sort sort,
                                              std::int64_t before_day) const {
    return engine_->cell_days(board, listing, key, sort, before_day);
}

Result<std::int64_t> Store::data_version() const {
    return engine_->data_version();
}

Result<std::vector<std::string>> Store::board_names() const {
    return engine_->board_names();
}

Result<Board> Store::load_board(const std::string& name) const {
    return engine_->load_board(name);
}

Status Store::save_board(const std::string& name, const std::string& definition,
                         std::int64_t now_ms) {
    if (name.empty() || !is_utf8(name)) {
        return Error{ErrorCode::invalid_record, "a board needs a name in UTF-8 text"};
    }
    return engine_->save_board(name, definition, now_ms);
}

Result<bool> Store::delete_board(const std::string& name) {
    return engine_->delete_board(name);
}

Result<std::int64_t> Store::add_notice(const Notice& notice) {
    if (auto problem = notice_problem(notice)) {
        return invalid("notice", *problem);
    }
    return engine_->add_notice(notice);
}

Result<std::vector<Notice>> Store::notices(const std::string& board,
                                           std::optional<std::int64_t> since_ms,
                                           std::optional<std::size_t> newest_limit) const {
    return engine_->notices(board, since_ms, newest_limit);
}

Status Store::record_delivery(const Delivery& delivery) {
    if (auto problem = delivery_problem(delivery)) {
        return invalid("delivery", *problem);
    }
    return engine_->record_delivery(delivery);
}

Result<std::vector<Delivery>> Store::deliveries(const std::vector<std::int64_t>& notice_ids) const {
    return engine_->deliveries(notice_ids);
}

Status Store::queue_deliveries(const std::vector<std::int64_t>& notice_ids,
                               const std::string& channel) {
    if (channel.empty()) {
        return invalid("delivery", "no channel");
    }
    return engine_->queue_deliveries(notice_ids, channel);
}

Result<bool> Store::claim_delivery(std::int64_t notice_id, const std::string& channel,
                                   const std::string& claim, std::int64_t now_ms) {
    if (channel.empty() || claim.empty()) {
        return Error{ErrorCode::invalid_record, "a claim needs a channel and a claimant"};
    }
    return engine_->claim_delivery(notice_id, channel, claim, now_ms);
}

Result<bool> Store::settle_delivery(const Delivery& outcome, const std::string& claim) {
    if (auto problem = delivery_problem(outcome)) {
        return invalid("delivery", *problem);
    }
    return engine_->settle_delivery(outcome, claim);
}

Status Store::release_delivery(std::int64_t notice_id, const std::string& channel,
                               const std::string& claim) {
    return engine_->release_delivery(notice_id, channel, claim);
}

Status Store::save_pace(const PaceRecord& pace) {
    if (pace.host.empty() || !is_utf8(pace.host)) {
        return Error{ErrorCode::invalid_record, "a pace needs a host in UTF-8 text"};
    }
    const auto positive = [](double x) { return std::isfinite(x) && x > 0; };
    if (!positive(pace.pages_per_second) ||
        !(pace.pushed_back_at == 0 || positive(pace.pushed_back_at)) ||
        pace.pages_since_push_back < 0) {
        return Error{ErrorCode::invalid_record, "a pace is a positive number of pages a second"};
    }
    return engine_->save_pace(pace);
}

Result<std::optional<PaceRecord>> Store::load_pace(const std::string& host) const {
    return engine_->load_pace(host);
}

Result<std::int64_t> Store::add_run(const RunRecord& run) {
    if (auto problem = run_problem(run)) {
        return invalid("run", *problem);
    }
    return engine_->add_run(run);
}

Result<std::optional<RunRecord>> Store::last_run(const std::string& board) const {
    return engine_->last_run(board);
}

Result<std::vector<std::int64_t>> Store::run_starts(const std::string& board,
                                                    std::int64_t since_ms) const {
    return engine_->run_starts(board, since_ms);
}

Result<std::optional<BoardLease>> Store::board_lease(const std::string& board) const {
    return engine_->board_lease(board);
}

Result<bool> Store::integrity_ok() const {
    return engine_->integrity_ok();
}

}  // namespace history
