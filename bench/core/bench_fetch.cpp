// Page fetch over loopback: a 1 MB page end to end through fetch_page (target:
// median <= 30 ms), and the CPU the waiting thread spends while fetch_page
// waits 2 s for a server that does not answer (target: <= 2 % of the wait).
#include <benchmark/benchmark.h>

#include <ctime>

#include "net/fetch_page.h"
#include "net/goods_page.h"
#include "plain/raw_http_server.h"

namespace {

double thread_cpu_seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

const std::string& megabyte_page() {
    static const std::string page = [] {
        std::string bytes(1u << 20, '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<char>('a' + i % 26);
        }
        return bytes;
    }();
    return page;
}

void BM_FetchPageOneMegabyte(benchmark::State& state) {
    test::RawHttpServer server(test::Reply::ok(megabyte_page()));
    for (auto _ : state) {
        std::string url = server.url("/listing");
        const std::string body = net::fetch_page(url);
        if (body.size() != megabyte_page().size()) {
            state.SkipWithError("short page");
            break;
        }
        benchmark::DoNotOptimize(body.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(megabyte_page().size()));
}
BENCHMARK(BM_FetchPageOneMegabyte)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_GoodsPageOneMegabyte(benchmark::State& state) {
    test::RawHttpServer server(test::Reply::ok(megabyte_page()));
    for (auto _ : state) {
        std::string url = server.url("/goods2.html?goods_id=1");
        const std::string body = net::网页_访问(url);
        benchmark::DoNotOptimize(body.data());
    }
}
BENCHMARK(BM_GoodsPageOneMegabyte)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_WaitingThreadCpuDuringTimeout(benchmark::State& state) {
    test::Reply held = test::Reply::ok("never in time");
    held.hold = true;
    test::RawHttpServer server(held);
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        std::string url = server.url("/slow");
        net::FetchOptions options;
        options.timeout_seconds = 2;
        const double cpu_start = thread_cpu_seconds();
        const auto wall_start = std::chrono::steady_clock::now();
        const std::string body = net::fetch_page(url, options);
        wall +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
        cpu += thread_cpu_seconds() - cpu_start;
        if (body != net::timeout_message()) {
            state.SkipWithError("expected the timeout message");
            break;
        }
    }
    state.counters["wait_s"] = wall;
    state.counters["cpu_ms"] = cpu * 1000;
    state.counters["cpu_pct_of_wait"] = wall > 0 ? 100 * cpu / wall : 0;
}
BENCHMARK(BM_WaitingThreadCpuDuringTimeout)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
