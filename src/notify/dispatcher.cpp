#include "notify/dispatcher.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace notify {

namespace {

// How long an abandoned worker may take to settle the send it cut off.
constexpr std::chrono::seconds kSettleLimit{3};

bool without_notices(const Content& content) {
    const auto* run = std::get_if<RunMessage>(&content);
    return run != nullptr && run->notices.empty();
}

}  // namespace

struct Dispatcher::Shared {
    struct Job {
        Channel channel;
        Content content;
        Hooks hooks;
    };

    explicit Shared(DispatcherOptions o) : options(std::move(o)) {}

    DispatcherOptions options;
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> queue;
    bool busy = false;
    bool stopping = false;
    bool finished = false;  // the worker has left its loop
    std::atomic<bool> abandoned{false};
    net::AbortSignal abort;
    // Held while `done` runs, so that once the owner has abandoned us no
    // callback is under way or can start.
    std::mutex callback_mutex;

    std::int64_t now() const { return options.now_ms ? options.now_ms() : now_unix_ms(); }

    // False when abandoned during the wait.
    bool sleep(std::chrono::milliseconds pause) {
        if (abandoned)
            return false;
        if (options.sleep) {
            options.sleep(pause);
            return !abandoned;
        }
        std::unique_lock lock(mutex);
        return !changed.wait_for(lock, pause, [&] { return abandoned.load(); });
    }

    // The tries of one message; abandoning ends them with the last failure.
    DeliveryResult deliver(const Job& job, const Content& content) {
        if (abandoned)
            return DeliveryResult{};  // never sent: its claim is handed back
        Attempt last;
        int tries = 0;
        SendControl control;
        control.abort = &abort;
        while (tries < options.attempts) {
            last = send_once(job.channel, content, now(), control);
            ++tries;
            if (last.delivered || !last.worth_retrying || tries == options.attempts)
                break;
            if (!sleep(backoff_before(tries + 1, options.first_backoff)))
                break;
        }
        return result_of(job.channel, tries, last);
    }

    void report(const Job& job, DeliveryResult result) {
        std::lock_guard guard(callback_mutex);
        if (!abandoned && job.hooks.done)
            job.hooks.done(std::move(result));
    }

    void handle(const Job& job) {
        if (without_notices(job.content)) {
            report(job, DeliveryResult{});
            return;
        }
        std::optional<Content> content = job.content;
        if (job.hooks.claim)
            content = job.hooks.claim();
        if (!content || without_notices(*content))
            return;  // another sender has its notices
        const DeliveryResult result = deliver(job, *content);
        if (job.hooks.settle)
            job.hooks.settle(result);
        report(job, result);
    }

    static void run(const std::shared_ptr<Shared>& self) {
        for (;;) {
            std::unique_lock lock(self->mutex);
            self->changed.wait(
                lock, [&] { return self->abandoned || self->stopping || !self->queue.empty(); });
            if (self->abandoned || self->queue.empty())
                break;
            Job job = std::move(self->queue.front());
            self->queue.pop_front();
            self->busy = true;
            lock.unlock();
            self->handle(job);
            lock.lock();
            self->busy = false;
            self->changed.notify_all();
        }
        std::lock_guard lock(self->mutex);
        self->finished = true;
        self->changed.notify_all();
    }
};

std::chrono::milliseconds backoff_before(int next_try, std::chrono::milliseconds first) {
    return first * (1 << std::max(0, next_try - 2));
}

Dispatcher::Dispatcher(DispatcherOptions options)
    : shared_(std::make_shared<Shared>(std::move(options))) {
    worker_ = std::thread([shared = shared_] { Shared::run(shared); });
}

Dispatcher::~Dispatcher() {
    std::unique_lock lock(shared_->mutex);
    shared_->stopping = true;
    shared_->changed.notify_all();
    const bool drained = shared_->changed.wait_for(lock, shared_->options.drain_limit, [&] {
        return shared_->queue.empty() && !shared_->busy;
    });
    if (!drained) {
        // What never started stays unclaimed for a later run.
        shared_->queue.clear();
        lock.unlock();
        {
            std::lock_guard guard(shared_->callback_mutex);
            std::lock_guard inner(shared_->mutex);
            shared_->abandoned = true;
        }
        shared_->abort.abort();
        shared_->changed.notify_all();
        lock.lock();
    }
    // The send in flight, cut off, settles within moments; a worker that
    // still hangs (a name lookup libcurl cannot cut short) is left behind.
    const bool finished =
        shared_->changed.wait_for(lock, kSettleLimit, [&] { return shared_->finished; });
    lock.unlock();
    if (finished)
        worker_.join();
    else
        worker_.detach();
}

void Dispatcher::post(const Channel& channel, Content content, Done done) {
    Hooks hooks;
    hooks.done = std::move(done);
    post(channel, std::move(content), std::move(hooks));
}

void Dispatcher::post(const Channel& channel, Content content, Hooks hooks) {
    std::lock_guard lock(shared_->mutex);
    shared_->queue.push_back({channel, std::move(content), std::move(hooks)});
    shared_->changed.notify_all();
}

bool Dispatcher::idle() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->queue.empty() && !shared_->busy;
}

}  // namespace notify
