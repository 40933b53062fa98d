#include "net/fetch_page.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "net/curl_handles.h"
#include "net/event_pump.h"
#include "net/fetch_worker.h"
#include "net/live_workers.h"
#include "net/response_parts.h"
#include "net/target_url.h"
#include "text/codepage.h"
#include "text/primitives.h"

namespace net {

const std::string& timeout_message() {
    // clang-format off
    return GBK("超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时返回＂的值设置长一些。");
    // clang-format on
}

namespace {

constexpr std::int64_t kDefaultTimeoutMs = 60000;

// What the caller and its worker share. The caller reads the response only
// after `done`; the worker wakes the caller's pump only while the caller is
// still waiting on it (`waiter`), so a worker that outlives the wait touches
// nothing but this record.
struct FetchJob : WorkerJob {
    FetchRequest request;
    FetchResponse response;
    std::atomic<bool> done{false};
    std::mutex waiter_mutex;
    EventPump* waiter = nullptr;

    void watch(EventPump* pump) {
        std::lock_guard lock(waiter_mutex);
        waiter = pump;
    }
    void finish(FetchResponse&& result) {
        response = std::move(result);
        std::lock_guard lock(waiter_mutex);
        done.store(true);
        if (waiter != nullptr) {
            waiter->wake();
        }
    }
};

FetchRequest request_from(const std::string& url, const FetchOptions& options) {
    FetchRequest request;
    request.url = url;
    request.post = options.method.value_or(0) == 1;
    request.proxy = options.proxy.value_or("");
    request.headers = options.headers.value_or("");
    request.post_data = options.post_data.value_or("");
    request.cookie = options.cookie.value_or("");
    request.allow_redirect = options.allow_redirect.value_or(true);
    return request;
}

bool start_worker(const std::shared_ptr<FetchJob>& job) {
    register_worker(job.get());
    try {
        std::thread([job] {
            FetchResponse response;
            try {
                response = fetch_worker(job->request, &job->abort);
            } catch (...) {
                response = {};  // out of memory: the caller gets an empty page
            }
            job->finish(std::move(response));
            unregister_worker(job.get());
        }).detach();
        return true;
    } catch (...) {
        unregister_worker(job.get());
        return false;
    }
}

enum class Outcome { finished, timed_out, closing };

// Reaching the deadline is a timeout whatever ended the last wait, even a
// worker that has just finished.
Outcome wait_for(const FetchJob& job, EventPump& pump, Clock::time_point deadline) {
    for (;;) {
        const bool finished = pump.wait_until([&job] { return job.done.load(); }, deadline);
        const bool timed_out = Clock::now() >= deadline;
        pump.dispatch_pending();
        if (timed_out) {
            return Outcome::timed_out;
        }
        if (finished) {
            return Outcome::finished;
        }
        if (pump.closing()) {
            return Outcome::closing;
        }
    }
}

Clock::time_point deadline_from(Clock::time_point start, const FetchOptions& options) {
    const std::int64_t ms = options.timeout_seconds
                                ? static_cast<std::int64_t>(*options.timeout_seconds) * 1000
                                : kDefaultTimeoutMs;
    return start + std::chrono::milliseconds(ms);
}

}  // namespace

namespace {

// One whole fetch_page exchange: the worker, the wait and the abandonment.
// `outcome` says how the wait ended; the response is read only when finished.
struct Fetched {
    Outcome outcome = Outcome::closing;
    FetchResponse response;
};

std::optional<Fetched> run_fetch(std::string& url, const FetchOptions& options) {
    const std::string trimmed = text::trim(url);
    if (trimmed.empty()) {
        return std::nullopt;
    }
    const std::string normalised = with_scheme(trimmed);
    if (normalised != trimmed) {
        url = normalised;
    }
    prepare_workers();
    auto job = std::make_shared<FetchJob>();
    job->request = request_from(normalised, options);
    EventPump& pump = event_pump();
    job->watch(&pump);
    if (!start_worker(job)) {
        job->watch(nullptr);
        return std::nullopt;
    }
    Fetched fetched;
    fetched.outcome = wait_for(*job, pump, deadline_from(Clock::now(), options));
    job->watch(nullptr);
    if (fetched.outcome != Outcome::finished) {
        job->abort.abort();  // abandoned: its late result reaches no one
        return fetched;
    }
    fetched.response = std::move(job->response);
    return fetched;
}

void copy_out(const FetchResponse& response, const FetchOptions& options) {
    if (options.response_headers != nullptr) {
        *options.response_headers = response.header_block;
    }
    if (options.response_cookies != nullptr) {
        *options.response_cookies = response.cookies;
    }
}

PageFailure failure_of(const FetchResponse& response) {
    switch (response.error) {
        case TransferError::none:
            break;
        case TransferError::timeout:
            return PageFailure::timeout;
        case TransferError::abandoned:
            return PageFailure::closing;
        case TransferError::connect:
            return PageFailure::connect;
    }
    if (response.status < 200 || response.status > 299) {
        return PageFailure::http_status;
    }
    return PageFailure::none;
}

}  // namespace

std::string fetch_page(std::string& url, const FetchOptions& options) {
    std::optional<Fetched> fetched = run_fetch(url, options);
    if (!fetched) {
        return {};
    }
    if (fetched->outcome != Outcome::finished) {
        return fetched->outcome == Outcome::timed_out ? timeout_message() : std::string();
    }
    copy_out(fetched->response, options);
    return apply_conversion(std::move(fetched->response.body), options.conversion);
}

PageResult page_result_of(FetchResponse&& response) {
    PageResult result;
    result.failure = failure_of(response);
    result.status = response.status;
    result.retry_after_s = retry_after_seconds(response.header_block);
    result.body = std::move(response.body);
    return result;
}

PageResult fetch_page_result(std::string& url, const FetchOptions& options) {
    std::optional<Fetched> fetched = run_fetch(url, options);
    if (!fetched) {
        return PageResult{{}, 0, PageFailure::connect, -1};
    }
    if (fetched->outcome != Outcome::finished) {
        const bool timed_out = fetched->outcome == Outcome::timed_out;
        return PageResult{{}, 0, timed_out ? PageFailure::timeout : PageFailure::closing, -1};
    }
    copy_out(fetched->response, options);
    PageResult result = page_result_of(std::move(fetched->response));
    result.body = apply_conversion(std::move(result.body), options.conversion);
    return result;
}

}  // namespace net
