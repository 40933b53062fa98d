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

bool honours_retry_after(const net::PageResult& page) {
    return page.retry_after_s >= 0 && (page.status == 429 || page.status == 503);
}

}  // namespace

Scheduler::Scheduler(CheckPlan plan, const net::Hosts& hosts, const BoardSettings& settings,
                     std::uint64_t seed)
    : plan_(std::move(plan)),
      hosts_(hosts),
      settings_(settings),
      random_(seed),
      checks_(plan_.listings.size()),
      concurrency_(std::max(1, settings.max_in_flight)) {
    for (const ranking::Listing& listing : plan_.listings)
        check_hosts_.push_back(host_of(ranking::listing_page_url(hosts_, listing, 1)));
    end_if_all_reported();
}

std::size_t Scheduler::host_count() const {
    std::vector<std::string> hosts = check_hosts_;
    std::sort(hosts.begin(), hosts.end());
    return static_cast<std::size_t>(std::unique(hosts.begin(), hosts.end()) - hosts.begin());
}

double Scheduler::jittered(double seconds) {
    const double j = std::clamp(settings_.jitter, 0.0, 0.99);
    std::uniform_real_distribution<double> factor(1 - j, 1 + j);
    return seconds * factor(random_);
}

bool Scheduler::too_long(int retry_after_s) const {
    return retry_after_s > settings_.max_retry_after_s;
}

bool Scheduler::host_free(const std::string& host) const {
    const auto it = in_flight_by_host_.find(host);
    return it == in_flight_by_host_.end() || it->second < concurrency_;
}

std::optional<std::size_t> Scheduler::ready_check(TimePoint now) const {
    // Checks already under way go first, so a started check finishes soon
    // and its report is not held back behind new ones.
    std::optional<std::size_t> fresh;
    for (std::size_t i = 0; i < checks_.size(); ++i) {
        const CheckState& state = checks_[i];
        if (state.finished || state.in_flight)
            continue;
        if (!host_free(check_hosts_[i]))
            continue;
        if (state.read && state.ready_at <= now)
            return i;
        if (!state.read && !fresh)
            fresh = i;
    }
    return fresh;
}

std::optional<FetchOrder> Scheduler::next_fetch(TimePoint now) {
    if (done() || now < paused_until_ || now < next_slot_)
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
    order.attempt = state.page_failures + 1;
    order.url = ranking::listing_page_url(hosts_, plan_.listings[check], order.page);
    order.host = host_of(order.url);
    orders_[order.ticket] = Order{check, order.host, epoch_};
    ++in_flight_by_host_[order.host];
    // A rate set in code rather than read from the settings file may be 0.
    const double rate = std::clamp(settings_.pages_per_second, 0.01, 1000.0);
    next_slot_ = now + after(jittered(1.0 / rate));
    return order;
}

std::optional<TimePoint> Scheduler::next_wake() const {
    if (done())
        return std::nullopt;
    std::optional<TimePoint> earliest;
    for (std::size_t i = 0; i < checks_.size(); ++i) {
        const CheckState& state = checks_[i];
        if (state.finished || state.in_flight)
            continue;
        if (!host_free(check_hosts_[i]))
            continue;
        const TimePoint ready = state.read ? state.ready_at : TimePoint{};
        if (!earliest || ready < *earliest)
            earliest = ready;
    }
    if (!earliest)
        return std::nullopt;
    return std::max({*earliest, next_slot_, paused_until_});
}

void Scheduler::fetch_done(std::uint64_t ticket, const net::PageResult& page, TimePoint now) {
    const auto it = orders_.find(ticket);
    if (done() || it == orders_.end())
        return;
    const Order order = it->second;
    orders_.erase(it);
    --in_flight_by_host_[order.host];
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
    failures_in_a_row_ = 0;
    state.page_failures = 0;
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
    ++state.page_failures;
    state.last_failure = failed_read;
    const int retry_after = honours_retry_after(page) ? page.retry_after_s : -1;
    // A request sent before the last push-back tells nothing new about the
    // server's mood: it neither counts in a row nor pushes back again.
    if (order.epoch == epoch_) {
        ++failures_in_a_row_;
        const bool pushed_back =
            page.status == 429 || failures_in_a_row_ >= settings_.failures_before_pause;
        if (pushed_back && !push_back(retry_after, too_long(retry_after), now))
            return;
    }
    if (state.page_failures > settings_.retries || too_long(retry_after)) {
        *state.read = std::move(failed_read);
        finish(check);
        return;
    }
    const double backoff = jittered(settings_.backoff_s * std::ldexp(1.0, state.page_failures - 1));
    state.ready_at = now + after(std::max(backoff, static_cast<double>(retry_after)));
}

bool Scheduler::push_back(int retry_after_s, bool waiting_too_long, TimePoint now) {
    ++push_backs_;
    ++epoch_;
    failures_in_a_row_ = 0;
    if (push_backs_ >= settings_.give_up_after || waiting_too_long) {
        give_up();
        return false;
    }
    concurrency_ = std::max(1, concurrency_ / 2);
    const double pause = retry_after_s >= 0 ? retry_after_s : settings_.pause_s;
    paused_until_ = std::max(paused_until_, now + after(pause));
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
    in_flight_by_host_.clear();
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
    in_flight_by_host_.clear();
    end_ = RunEnd::stopped;
}

}  // namespace board
