#include "net/file_download.h"

#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "net/abort_signal.h"
#include "net/curl_handles.h"
#include "net/event_pump.h"
#include "net/live_workers.h"
#include "text/primitives.h"

namespace net {

namespace {

// A stalled server must not keep the caller waiting for ever: no connection
// within 30 s, or no byte for 60 s, ends the download.
constexpr long kConnectTimeoutS = 30;
constexpr long kStallTimeS = 60;
constexpr int kPollMs = 1000;  // an abort wakes the poll at once
constexpr auto kLongestWait = std::chrono::hours(24);
// How long an abandoning caller lets the aborted worker close its file, so
// that the file can be removed also where an open file cannot be.
constexpr auto kAbandonGrace = std::chrono::milliseconds(200);

enum class JobState { running, complete, failed };

// What the caller and its worker share; the worker may outlive the wait.
struct DownloadJob : WorkerJob {
    std::string address;
    std::filesystem::path target;
    std::filesystem::path part;
    DownloadProgress on_progress;

    // Held while the part file is created, renamed or removed and while the
    // state changes, so an abandoning caller and the worker always agree on
    // what is on disk.
    std::mutex files;
    std::condition_variable ended;
    JobState state = JobState::running;  // under `files`
    std::atomic<bool> finished{false};   // state is no longer running

    // The worker wakes the caller's pump only while the caller still waits.
    std::mutex waiter_mutex;
    EventPump* waiter = nullptr;

    void watch(EventPump* pump) {
        std::lock_guard lock(waiter_mutex);
        waiter = pump;
    }
    void wake_waiter() {
        std::lock_guard lock(waiter_mutex);
        if (waiter != nullptr)
            waiter->wake();
    }
};

std::size_t take_data(char* data, std::size_t size, std::size_t count, void* user) {
    auto* out = static_cast<std::ofstream*>(user);
    out->write(data, static_cast<std::streamsize>(size * count));
    return out->good() ? size * count : 0;
}

int report_progress(void* user, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t) {
    auto* job = static_cast<DownloadJob*>(user);
    if (job->abort.aborted())
        return 1;
    if (job->on_progress)
        job->on_progress(received, total);
    return 0;
}

void configure(CURL* easy, DownloadJob& job, std::ofstream& out) {
    curl_easy_setopt(easy, CURLOPT_URL, job.address.c_str());
    // Only http and https are ever spoken, on redirects too.
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROXY, "");  // no proxy from the environment
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutS);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kStallTimeS);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &take_data);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &out);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &report_progress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &job);
}

bool finished_well(CURLM* multi) {
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg == CURLMSG_DONE)
            return message->data.result == CURLE_OK;
    }
    return false;
}

// Reads and waits on the sockets until the file is in or the job is aborted.
bool drive(CURLM* multi, const AbortSignal& abort) {
    for (;;) {
        if (abort.aborted())
            return false;
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK)
            return false;
        if (running == 0)
            return finished_well(multi);
        if (curl_multi_poll(multi, nullptr, 0, kPollMs, nullptr) != CURLM_OK)
            return false;
    }
}

// The part file is only created while the download is still wanted: once the
// caller has abandoned it, nothing may appear on disk any more.
bool open_part(DownloadJob& job, std::ofstream& out) {
    std::lock_guard lock(job.files);
    if (job.abort.aborted())
        return false;
    out.open(job.part, std::ios::binary | std::ios::trunc);
    return out.is_open();
}

// True when the whole body is in the part file.
bool transfer(DownloadJob& job) {
    EasyHandle easy = make_easy();
    MultiHandle multi = make_multi();
    std::ofstream out;
    if (!easy || !multi || !open_part(job, out))
        return false;
    configure(easy.get(), job, out);
    if (curl_multi_add_handle(multi.get(), easy.get()) != CURLM_OK)
        return false;
    job.abort.set_waker([m = multi.get()] { curl_multi_wakeup(m); });
    const bool ok = drive(multi.get(), job.abort);
    job.abort.set_waker(nullptr);
    curl_multi_remove_handle(multi.get(), easy.get());
    out.close();
    return ok && !out.fail();
}

void finish(DownloadJob& job, bool transferred) {
    {
        std::lock_guard lock(job.files);
        std::error_code ec;
        bool ok = transferred && !job.abort.aborted();
        if (ok)
            std::filesystem::rename(job.part, job.target, ec);
        ok = ok && !ec;
        if (!ok)
            std::filesystem::remove(job.part, ec);
        job.state = ok ? JobState::complete : JobState::failed;
        job.finished.store(true);
    }
    job.ended.notify_all();
    job.wake_waiter();
}

bool start_worker(const std::shared_ptr<DownloadJob>& job) {
    register_worker(job.get());
    try {
        std::thread([job] {
            bool transferred = false;
            try {
                transferred = transfer(*job);
            } catch (...) {
                transferred = false;  // out of memory: the download failed
            }
            finish(*job, transferred);
            unregister_worker(job.get());
        }).detach();
        return true;
    } catch (...) {
        unregister_worker(job.get());
        return false;
    }
}

// The wait is over, finished or not. An unfinished download is aborted and
// its part file removed before the caller goes on (the program may end right
// after), whether or not the worker manages to leave in time.
DownloadOutcome settle(DownloadJob& job) {
    const bool abandoned = !job.finished.load();
    if (abandoned)
        job.abort.abort();
    std::unique_lock lock(job.files);
    if (abandoned) {
        job.ended.wait_for(lock, kAbandonGrace, [&job] { return job.state != JobState::running; });
        std::error_code ec;
        if (job.state == JobState::running)
            std::filesystem::remove(job.part, ec);
    }
    // A download that completed just before the abort is kept: the whole file is there.
    if (job.state == JobState::complete)
        return DownloadOutcome::complete;
    return abandoned ? DownloadOutcome::abandoned : DownloadOutcome::failed;
}

}  // namespace

bool is_web_address(std::string_view address) {
    const std::string lower = text::to_lower(address);
    for (const std::string_view scheme : {"http://", "https://"}) {
        if (lower.starts_with(scheme) && lower.size() > scheme.size())
            return true;
    }
    return false;
}

DownloadOutcome download_file(const std::string& address, const std::filesystem::path& target,
                              DownloadProgress on_progress) {
    if (!is_web_address(address))
        return DownloadOutcome::failed;
    EventPump& pump = event_pump();
    if (pump.closing())
        return DownloadOutcome::abandoned;
    prepare_workers();
    auto job = std::make_shared<DownloadJob>();
    job->address = address;
    job->target = target;
    job->part = target;
    job->part += ".part";
    job->on_progress = std::move(on_progress);
    job->watch(&pump);
    if (!start_worker(job)) {
        job->watch(nullptr);
        return DownloadOutcome::failed;
    }
    pump.wait_until([&] { return job->finished.load() || pump.closing(); },
                    Clock::now() + kLongestWait);
    job->watch(nullptr);
    return settle(*job);
}

}  // namespace net
