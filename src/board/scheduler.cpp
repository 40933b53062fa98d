#include "board/scheduler.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace board {

namespace {

using std::chrono::duration_cast;
using Seconds = std::chrono::duration<double>;

std::chrono::steady_clock::duration after(double seconds) {
    return duration_cast<std::chrono::steady_clock::duration>(Seconds(seconds));
}

// "name[:port]" between the scheme and the path.
std::string host_of(const std::string& url) {
    const std::size_t scheme = url.find("://");
    const std::size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    return url.substr(start, url.find('/', start) - start);
}

// A failure the same request may not meet again: the connection, a
// time-out, an overloaded or limiting server, a garbled body. Other statuses
// (404, 403, …) are the server's considered answer.
bool transient(const net::PageResult& page) {
    if (page.failure == net::PageFailure::http_status)
        return page.status == 429 || page.status >= 500;
    return true;  // connect, timeout, closing, or a body that is no listing
}

// Rate-limit answers one page may meet before they count as its failures,
// so that a server limiting one page with Retry-After: 0 cannot hold the run.
constexpr int kMostLimitsPerPage = 20;

bool honours_retry_after(const net::PageResult& page) {
    return page.retry_after_s >= 0 && (page.status == 429 || page.status == 503);
}

// What pushed back, in the words a check given up carries: the marketplace
// limiting us, its server failing (5xx, a body that is no listing), or no
// answer at all.
const std::string& push_back_reason(const net::PageResult& page, bool limited) {
    if (limited)
        return rate_limited_text();
    if (page.failure == net::PageFailure::http_status || page.failure == net::PageFailure::none)
        return server_error_text();
    return no_answer_text();
}

}  // namespace

Scheduler::Scheduler(CheckPlan plan, const net::Hosts& hosts, const BoardSettings& settings,
                     std::uint64_t seed, const LearnedPaces& start_pace)
    : plan_(std::move(plan)),
      hosts_(hosts),
      settings_(settings),
      random_(seed),
      checks_(plan_.listings.size()) {
    for (const ranking::Listing& listing : plan_.listings) {
        const std::string host = host_of(ranking::listing_page_url(hosts_, listing, 1));
        check_hosts_.push_back(host);
        hosts_state_.try_emplace(host, HostState{Pace(settings_.pages_per_second, settings_)});
    }
    set_start_pace(start_pace);
    end_if_all_reported();
}

void Scheduler::set_start_pace(const LearnedPaces& start_pace) {
    if (next_ticket_ != 1)
        return;
    for (auto& [name, host] : hosts_state_) {
        const auto learned = start_pace.find(name);
        if (learned != start_pace.end())
            host.pace = Pace(learned->second, settings_);
    }
}

int Scheduler::concurrency() const {
    int lowest = std::max(1, settings_.max_in_flight);
    for (const auto& [name, host] : hosts_state_)
        lowest = std::min(lowest, host.pace.concurrency());
    return lowest;
}

TimePoint Scheduler::paused_until() const {
    TimePoint latest{};
    for (const auto& [name, host] : hosts_state_)
        latest = std::max(latest, host.paused_until);
    return latest;
}

PaceByHost Scheduler::pace_by_host() const {
    PaceByHost paces;
    for (const auto& [name, host] : hosts_state_)
        paces[name] = host.pace.pages_per_second();
    return paces;
}

LearnedPaces Scheduler::learned_paces() const {
    LearnedPaces paces;
    for (const auto& [name, host] : hosts_state_)
        paces[name] = host.pace.learned();
    return paces;
}

bool Scheduler::retrying() const {
    return std::any_of(checks_.begin(), checks_.end(), [](const CheckState& state) {
        return !state.finished && !state.in_flight && state.page_failures > 0;
    });
}

double Scheduler::jittered(double seconds) {
    const double j = std::clamp(settings_.jitter, 0.0, 0.99);
    std::uniform_real_distribution<double> factor(1 - j, 1 + j);
    return seconds * factor(random_);
}

double Scheduler::spacing(const Pace& pace) {
    if (!pace.limited())
        return jittered(pace.spacing_s());
    // Under a limit a spacing shorter than the pace's would cross it, and
    // one exactly as long meets it head-on whenever a request arrives a
    // little sooner after the one before than it was sent (a busy machine
    // or network shifts arrivals by milliseconds): the jitter only
    // lengthens, from a margin of 3 % on.
    const double j = std::clamp(settings_.jitter, 0.0, 0.99) / 6;
    std::uniform_real_distribution<double> factor(1.03, 1.03 + j);
    return pace.spacing_s() * factor(random_);
}

bool Scheduler::host_open(std::size_t check, std::optional<TimePoint> now) const {
    const HostState& host = hosts_state_.at(check_hosts_[check]);
    if (host.in_flight >= host.pace.concurrency())
        return false;
    return !now || (host.paused_until <= *now && host.next_slot <= *now);
}

std::optional<std::size_t> Scheduler::ready_check(TimePoint now) const {
    // Checks already under way go first, so a started check finishes soon
    // and its report is not held back behind new ones.
    std::optional<std::size_t> fresh;
    for (std::size_t i = 0; i < checks_.size(); ++i) {
        const CheckState& state = checks_[i];
        if (state.finished || state.in_flight || !host_open(i, now))
            continue;
        if (state.read && state.ready_at <= now)
            return i;
        if (!state.read && !fresh)
            fresh = i;
    }
    return fresh;
}

std::optional<FetchOrder> Scheduler::next_fetch(TimePoint now) {
    if (done())
        return std::nullopt;
    const auto check = ready_check(now);
    if (!check)
        return std::nullopt;
    return issue(*check, now);
}

FetchOrder Scheduler::issue(std::size_t check, TimePoint now) {
    CheckState& state = checks_[check];
    if (!state.read)
        state.read.emplace(plan_.listings[check].kind, plan_.goods_ids);
    state.in_flight = true;
    FetchOrder order;
    order.ticket = next_ticket_++;
    order.check = check;
    order.page = state.read->next_page();
    order.attempt = state.page_failures + state.page_limits + 1;
    order.url = ranking::listing_page_url(hosts_, plan_.listings[check], order.page);
    order.host = check_hosts_[check];
    HostState& host = hosts_state_.at(order.host);
    orders_[order.ticket] = Order{check, order.host, host.epoch};
    ++host.in_flight;
    host.next_slot = now + after(spacing(host.pace));
    return order;
}

std::optional<TimePoint> Scheduler::next_wake() const {
    if (done())
        return std::nullopt;
    std::optional<TimePoint> earliest;
    for (std::size_t i = 0; i < checks_.size(); ++i) {
        const CheckState& state = checks_[i];
        if (state.finished || state.in_flight || !host_open(i, std::nullopt))
            continue;
        const HostState& host = hosts_state_.at(check_hosts_[i]);
        const TimePoint ready = std::max(
            {state.read ? state.ready_at : TimePoint{}, host.next_slot, host.paused_until});
        if (!earliest || ready < *earliest)
            earliest = ready;
    }
    return earliest;
}

void Scheduler::fetch_done(std::uint64_t ticket, const net::PageResult& page, TimePoint now) {
    const auto it = orders_.find(ticket);
    if (done() || it == orders_.end())
        return;
    const Order order = it->second;
    orders_.erase(it);
    ++answered_;
    HostState& host = hosts_state_.at(order.host);
    --host.in_flight;
    CheckState& state = checks_[order.check];
    state.in_flight = false;
    state.statuses.push_back(page.status);
    // The page is tried on a copy: a failure that will be retried must not
    // settle the goods still missing.
    ranking::ListingRead trial = *state.read;
    trial.add_page(page);
    if (trial.pages_read() == state.read->pages_read()) {
        page_failed(order.check, std::move(trial), page, order, now);
        return;
    }
    host.failures_in_a_row = 0;
    host.push_backs_in_a_row = 0;
    host.pace.page_read();
    state.page_failures = 0;
    state.page_limits = 0;
    state.ready_at = now;
    *state.read = std::move(trial);
    if (!state.read->wants_page())
        finish(order.check);
}

void Scheduler::page_failed(std::size_t check, ranking::ListingRead&& failed_read,
                            const net::PageResult& page, const Order& order, TimePoint now) {
    CheckState& state = checks_[check];
    if (!transient(page)) {
        *state.read = std::move(failed_read);
        finish(check);
        return;
    }
    const int retry_after = honours_retry_after(page) ? page.retry_after_s : -1;
    // The marketplace asking us to slow down says nothing about the page:
    // the pace answers it, and the run's give-up rules bound it. Only a
    // page limited again and again with no wait asked counts it as failing.
    const bool limited = page.status == 429 || retry_after >= 0;
    if (!limited || ++state.page_limits > kMostLimitsPerPage)
        ++state.page_failures;
    state.last_failure = failed_read;
    HostState& host = hosts_state_.at(order.host);
    // A request sent before the last push-back tells nothing new about the
    // server's mood: it neither counts in a row nor pushes back again.
    if (order.epoch == host.epoch) {
        ++host.failures_in_a_row;
        const bool pushed_back =
            limited || host.failures_in_a_row >= settings_.failures_before_pause;
        if (pushed_back)
            push_back_reason_ = &push_back_reason(page, limited);
        if (pushed_back && !push_back(host, retry_after, now))
            return;
    } else if (retry_after > settings_.max_pause_s) {
        // Old news for the pace, but a wait nobody will take ends the run
        // however the request that met it was timed.
        give_up();
        return;
    }
    if (state.page_failures > settings_.retries || retry_after > settings_.max_pause_s) {
        *state.read = std::move(failed_read);
        finish(check);
        return;
    }
    const double backoff =
        jittered(settings_.backoff_s * std::ldexp(1.0, std::max(0, state.page_failures - 1)));
    state.ready_at = now + after(std::max(backoff, static_cast<double>(retry_after)));
}

bool Scheduler::push_back(HostState& host, int retry_after_s, TimePoint now) {
    ++push_backs_;
    ++host.epoch;
    ++host.push_backs_in_a_row;
    host.failures_in_a_row = 0;
    host.pace.push_back();
    const double pause = retry_after_s >= 0 ? retry_after_s : settings_.pause_s;
    const TimePoint until = std::max(host.paused_until, now + after(pause));
    const double added = Seconds(until - std::max(host.paused_until, now)).count();
    if (host.push_backs_in_a_row >= settings_.give_up_after || pause > settings_.max_pause_s ||
        paused_s_ + added > settings_.pause_budget_s) {
        give_up();
        return false;
    }
    paused_s_ += added;
    host.paused_until = until;
    return true;
}

void Scheduler::finish(std::size_t check) {
    CheckState& state = checks_[check];
    state.finished = true;
    CheckReport report;
    report.check = check;
    report.listing = plan_.listings[check];
    report.outcomes = state.read->outcomes();
    report.pages_read = state.read->pages_read();
    report.statuses = std::move(state.statuses);
    state.read.reset();  // its rows are no longer needed
    reports_.push_back(std::move(report));
    ++reported_;
    end_if_all_reported();
}

void Scheduler::give_up() {
    for (std::size_t i = 0; i < checks_.size(); ++i) {
        CheckState& state = checks_[i];
        if (state.finished)
            continue;
        state.finished = true;
        CheckReport report;
        report.check = i;
        report.listing = plan_.listings[i];
        // A check whose requests failed says so; one never tried is not checked.
        report.checked = state.last_failure.has_value();
        if (!report.checked)
            report.not_checked_reason = *push_back_reason_;
        if (state.last_failure) {
            report.outcomes = state.last_failure->outcomes();
            report.pages_read = state.last_failure->pages_read();
        }
        report.statuses = std::move(state.statuses);
        state.read.reset();
        state.last_failure.reset();
        reports_.push_back(std::move(report));
    }
    orders_.clear();
    for (auto& [name, host] : hosts_state_)
        host.in_flight = 0;
    end_ = RunEnd::gave_up;
}

void Scheduler::end_if_all_reported() {
    if (reported_ == checks_.size())
        end_ = RunEnd::finished;
}

std::vector<CheckReport> Scheduler::take_reports() {
    return std::exchange(reports_, {});
}

void Scheduler::stop() {
    if (done())
        return;
    orders_.clear();
    for (auto& [name, host] : hosts_state_)
        host.in_flight = 0;
    end_ = RunEnd::stopped;
}

}  // namespace board
