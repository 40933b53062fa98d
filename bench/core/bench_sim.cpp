// The simulator's speed: one 500-entry listing page over HTTP (target: at
// most 20 ms), and 50 requests at once (all must be answered).
#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>
#include <vector>

#include "sim_catalogue.h"
#include "sim_client.h"
#include "sim_server.h"

namespace {

sim::Server& running_server() {
    static sim::Server server([] {
        sim::Options o;
        o.port = 0;
        return o;
    }());
    static const bool started = server.start();
    (void)started;
    return server;
}

// "辣条" as the program sends it.
const std::string kPageOne = "/search?q=%E8%BE%A3%E6%9D%A1&requery=0&page=1&size=500&sort=default";

void BM_KeywordPageOf500OverHttp(benchmark::State& state) {
    auto& server = running_server();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto reply = sim::http_get(server.port(), kPageOne);
        if (!reply.answered || reply.status != 200) {
            state.SkipWithError("no answer");
            break;
        }
        bytes = reply.body.size();
    }
    state.counters["body_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_KeywordPageOf500OverHttp)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CategoryPageOf500OverHttp(benchmark::State& state) {
    auto& server = running_server();
    for (auto _ : state) {
        const auto reply = sim::http_get(
            server.port(),
            "/operation/14/groups?offset=0&opt_type=1&size=500&sort_type=DEFAULT&qmxuid=0");
        benchmark::DoNotOptimize(reply.body.data());
    }
}
BENCHMARK(BM_CategoryPageOf500OverHttp)->Unit(benchmark::kMillisecond)->UseRealTime();

// Building the same page without the network: the share of the catalogue.
void BM_KeywordListingOrder(benchmark::State& state) {
    const sim::Catalogue catalogue(1);
    for (auto _ : state) {
        auto ids = catalogue.keyword_listing("辣条", sim::Sort::overall);
        benchmark::DoNotOptimize(ids.data());
    }
}
BENCHMARK(BM_KeywordListingOrder)->Unit(benchmark::kMillisecond);

void BM_FiftyConcurrentRequests(benchmark::State& state) {
    auto& server = running_server();
    constexpr int kClients = 50;
    int answered_last = 0;
    for (auto _ : state) {
        std::atomic<int> answered{0};
        std::vector<std::thread> clients;
        for (int i = 0; i < kClients; ++i) {
            clients.emplace_back([&] {
                const auto reply = sim::http_get(server.port(), kPageOne, {}, 30000);
                if (reply.answered && reply.status == 200) {
                    ++answered;
                }
            });
        }
        for (auto& c : clients) {
            c.join();
        }
        answered_last = answered.load();
        if (answered_last != kClients) {
            state.SkipWithError("not every request was answered");
            break;
        }
    }
    state.counters["answered"] = answered_last;
}
BENCHMARK(BM_FiftyConcurrentRequests)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
