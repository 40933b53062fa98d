#include "notify/dispatcher.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace notify {

struct Dispatcher::Shared {
    struct Job {
        Channel channel;
        Content content;
        Done done;
    };

    explicit Shared(DispatcherOptions o) : options(std::move(o)) {}

    DispatcherOptions options;
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> queue;
    bool busy = false;
    bool stopping = false;
    std::atomic<bool> abandoned{false};
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

    // Nothing when abandoned before the last try ended.
    std::optional<DeliveryResult> deliver(const Job& job) {
        if (const auto* run = std::get_if<RunMessage>(&job.content); run && run->notices.empty())
            return DeliveryResult{};
        Attempt last;
        int tries = 0;
        while (tries < options.attempts) {
            last = send_once(job.channel, job.content, now());
            ++tries;
            if (last.delivered || !last.worth_retrying || tries == options.attempts)
                break;
            if (!sleep(backoff_before(tries + 1, options.first_backoff)))
                return std::nullopt;
        }
        if (abandoned)
            return std::nullopt;
        return result_of(job.channel, tries, last);
    }

    void report(const Job& job, DeliveryResult result) {
        std::lock_guard guard(callback_mutex);
        if (!abandoned && job.done)
            job.done(std::move(result));
    }

    static void run(const std::shared_ptr<Shared>& self) {
        for (;;) {
            std::unique_lock lock(self->mutex);
            self->changed.wait(
                lock, [&] { return self->abandoned || self->stopping || !self->queue.empty(); });
            if (self->abandoned || self->queue.empty())
                return;
            Job job = std::move(self->queue.front());
            self->queue.pop_front();
            self->busy = true;
            lock.unlock();
            if (auto result = self->deliver(job))
                self->report(job, *std::move(result));
            lock.lock();
            self->busy = false;
            self->changed.notify_all();
        }
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
    if (drained) {
        lock.unlock();
        worker_.join();
        return;
    }
    shared_->queue.clear();
    lock.unlock();
    {
        std::lock_guard guard(shared_->callback_mutex);
        std::lock_guard inner(shared_->mutex);
        shared_->abandoned = true;
    }
    shared_->changed.notify_all();
    // The send in flight has its own time limit; the worker ends after it.
    worker_.detach();
}

void Dispatcher::post(const Channel& channel, Content content, Done done) {
    std::lock_guard lock(shared_->mutex);
    shared_->queue.push_back({channel, std::move(content), std::move(done)});
    shared_->changed.notify_all();
}

bool Dispatcher::idle() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->queue.empty() && !shared_->busy;
}

}  // namespace notify
