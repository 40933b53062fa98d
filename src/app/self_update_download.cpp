#include "app/self_update_download.h"

#include <curl/curl.h>

#include <QCoreApplication>
#include <QPointer>
#include <QProgressBar>
#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>

#include "net/event_pump.h"
#include "text/primitives.h"

namespace app {

namespace {

constexpr int kRunning = 1;
constexpr int kBarMaximum = 1000;

// Shared by the waiting thread and the worker; the worker may outlive the wait.
struct DownloadState {
    std::string address;
    std::filesystem::path target;
    QPointer<QProgressBar> bar;  // dereferenced on the window's thread only
    bool wants_progress = false;
    std::atomic<int> status{kRunning};  // 0 = success, anything else = failure
    std::atomic<bool> abandoned{false};
    int last_position = -1;  // worker thread only
};

class CurlEasy {
  public:
    CurlEasy() : handle_(curl_easy_init()) {}
    ~CurlEasy() {
        if (handle_ != nullptr)
            curl_easy_cleanup(handle_);
    }
    CurlEasy(CurlEasy&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    CurlEasy& operator=(CurlEasy&&) = delete;
    CurlEasy(const CurlEasy&) = delete;
    CurlEasy& operator=(const CurlEasy&) = delete;
    CURL* get() const { return handle_; }

  private:
    CURL* handle_;
};

std::int32_t as_int32(curl_off_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// The bar lives on the window's thread: the worker only posts positions to it.
void post_position(const QPointer<QProgressBar>& bar, int position) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [bar, position] {
            if (bar)
                bar->setValue(position);
        },
        Qt::QueuedConnection);
}

int on_progress(void* user, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t) {
    auto* state = static_cast<DownloadState*>(user);
    if (state->abandoned.load())
        return 1;
    const auto position = progress_position(as_int32(dlnow), as_int32(dltotal));
    if (state->wants_progress && position && *position != state->last_position) {
        state->last_position = *position;
        post_position(state->bar, *position);
    }
    return 0;
}

std::size_t on_data(char* data, std::size_t size, std::size_t count, void* user) {
    auto* out = static_cast<std::ofstream*>(user);
    out->write(data, static_cast<std::streamsize>(size * count));
    return out->good() ? size * count : 0;
}

bool transfer(DownloadState& state, const std::filesystem::path& part) {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    CurlEasy curl;
    if (!out || curl.get() == nullptr)
        return false;
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, state.address.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROXY, "");  // no proxy from the environment
    // A stalled server must not keep the update waiting for ever.
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, on_data);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &out);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, on_progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &state);
    const bool ok = curl_easy_perform(h) == CURLE_OK;
    out.close();
    return ok && !out.fail();
}

void run_download(const std::shared_ptr<DownloadState>& state) {
    std::filesystem::path part = state->target;
    part += ".part";
    std::error_code ec;
    bool ok = transfer(*state, part) && !state->abandoned.load();
    if (ok)
        std::filesystem::rename(part, state->target, ec);
    ok = ok && !ec;
    if (!ok)
        std::filesystem::remove(part, ec);
    state->status.store(ok ? 0 : 2);
    net::event_pump().wake();
}

}  // namespace

std::optional<int> progress_position(std::int32_t progress, std::int32_t maximum) {
    if (maximum == 0)
        return std::nullopt;
    return static_cast<int>(static_cast<double>(progress) * kBarMaximum /
                            static_cast<double>(maximum));
}

bool is_web_address(std::string_view address) {
    const std::string lower = text::to_lower(address);
    for (const std::string_view scheme : {"http://", "https://"}) {
        if (lower.starts_with(scheme) && lower.size() > scheme.size())
            return true;
    }
    return false;
}

bool download_with_progress(const std::string& address, const std::filesystem::path& target,
                            QProgressBar* bar) {
    auto state = std::make_shared<DownloadState>();
    state->address = address;
    state->target = target;
    state->bar = bar;
    state->wants_progress = bar != nullptr;
    if (bar != nullptr) {
        bar->setRange(0, kBarMaximum);
        bar->setValue(0);
    }
    if (!is_web_address(address))
        return false;
    std::thread([state] { run_download(state); }).detach();
    auto& pump = net::event_pump();
    const bool done = pump.wait_until([&] { return state->status.load() != kRunning; },
                                      net::Clock::now() + std::chrono::hours(24));
    if (!done) {
        state->abandoned.store(true);
        return false;
    }
    pump.dispatch_pending();  // the last progress the worker posted reaches the bar
    return state->status.load() == 0;
}

}  // namespace app
