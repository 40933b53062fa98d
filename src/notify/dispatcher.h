#pragma once
// Sends messages on a worker thread of its own, so neither a board run nor
// the window ever waits for a chat robot or a mail server.
//
//   notify::Dispatcher dispatcher;
//   dispatcher.post(channel, run_message, [](notify::DeliveryResult r) { ... });
//
// Messages go out one after another in the order posted. A failure that may
// pass is tried again after a backoff, up to `attempts` tries in all.
//
// A message may come with hooks that run on the worker: `claim` just before
// it is sent (it gives the message to send, or nothing to skip it: another
// process took its notices) and `settle` once the send has ended, also when
// the owner has gone. `done` runs on the worker too, but never once the
// owner has abandoned the dispatcher: a caller that lives on another thread
// hands the result over to it (a queued call).
//
// The destructor lets the queue drain for at most `drain_limit`, then
// abandons the rest: what is still queued is dropped unclaimed (it goes with
// a later run), the send in flight is cut off (settled as cut_off, a send in
// doubt, once its message had left; else as a failure), a wait between tries
// ends with the failure it had, and a message claimed but not yet sent is
// settled with no attempts (its claim handed back).
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "notify/channel.h"
#include "notify/delivery.h"
#include "notify/message.h"

namespace notify {

struct DispatcherOptions {
    int attempts = 3;
    std::chrono::milliseconds first_backoff{2000};  // doubled for each further try
    std::chrono::milliseconds drain_limit{5000};
    // Waits between tries; empty: a real wait that ends early when the
    // dispatcher is abandoned. Tests pass one that only records (it must
    // outlive a worker that may be abandoned, as must now_ms).
    std::function<void(std::chrono::milliseconds)> sleep;
    // Unix time in ms for timestamps and signatures; empty: the system clock.
    std::function<std::int64_t()> now_ms;
};

class Dispatcher {
  public:
    using Done = std::function<void(DeliveryResult)>;

    struct Hooks {
        std::function<std::optional<Content>()> claim;
        std::function<void(const DeliveryResult&)> settle;
        Done done;
    };

    explicit Dispatcher(DispatcherOptions options = {});
    ~Dispatcher();
    Dispatcher(const Dispatcher&) = delete;
    Dispatcher& operator=(const Dispatcher&) = delete;

    // A run message without notices is not sent: `done` gets 0 attempts.
    void post(const Channel& channel, Content content, Done done = {});
    void post(const Channel& channel, Content content, Hooks hooks);

    // Whether the queue is empty and nothing is being sent (for tests and shutdown).
    bool idle() const;

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;  // also held by the worker, which may outlive us
    std::thread worker_;
};

// The backoff before try number `next_try` (2, 3, ...).
std::chrono::milliseconds backoff_before(int next_try, std::chrono::milliseconds first);

}  // namespace notify
