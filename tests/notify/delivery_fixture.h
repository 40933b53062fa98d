#pragma once
// Sends one message through a real Dispatcher and waits for its result.
#include <chrono>
#include <future>
#include <vector>

#include "notify/dispatcher.h"

namespace test {

constexpr std::int64_t kSendTime = 1700000000000;  // 2023-11-14 22:13:20 UTC

// Options that wait for nothing: the pauses between tries are only recorded.
inline notify::DispatcherOptions recording_options(std::vector<std::chrono::milliseconds>* sleeps) {
    notify::DispatcherOptions options;
    options.sleep = [sleeps](std::chrono::milliseconds pause) { sleeps->push_back(pause); };
    options.now_ms = [] { return kSendTime; };
    return options;
}

inline notify::DeliveryResult deliver(const notify::Channel& channel, notify::Content content,
                                      std::vector<std::chrono::milliseconds>* sleeps) {
    std::promise<notify::DeliveryResult> result;
    notify::Dispatcher dispatcher(recording_options(sleeps));
    dispatcher.post(channel, std::move(content),
                    [&](notify::DeliveryResult r) { result.set_value(std::move(r)); });
    return result.get_future().get();
}

}  // namespace test
