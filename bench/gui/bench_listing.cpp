// One 500-entry listing page as a query handles it: the body taken as text,
// the goods ids extracted into the listing table, the table scanned for a
// target it does not hold (the whole table walked). Target: <= 5 ms.
#include <benchmark/benchmark.h>

#include "ranking/listing_extraction.h"
#include "ranking/listing_scan.h"
#include "sim_catalogue.h"
#include "sim_pages.h"
#include "text/primitives.h"

namespace {

std::string search_page() {
    const sim::Catalogue catalogue(1);
    sim::Options options;
    return sim::pages::search(catalogue, "辣条", sim::Sort::overall, {1, 500}, options);
}

std::string object_page() {
    const sim::Catalogue catalogue(1);
    sim::Options options;
    return sim::pages::new_goods(catalogue, {1, 500}, options);
}

void process(benchmark::State& state, const std::string& body, ranking::QueryKind kind) {
    for (auto _ : state) {
        const std::string text(text::as_text(body));
        std::vector<ranking::ListingRow> table;
        ranking::append_listing_rows(table, kind, text);
        const auto position = ranking::scan_listing(table, "no-such-goods");
        benchmark::DoNotOptimize(position);
        if (table.size() != 500)
            state.SkipWithError("expected 500 rows");
    }
    state.counters["body_kb"] = static_cast<double>(body.size()) / 1024.0;
}

void BM_KeywordListingPage(benchmark::State& state) {
    static const std::string body = search_page();
    process(state, body, ranking::QueryKind::keyword);
}

void BM_NewGoodsListingPage(benchmark::State& state) {
    static const std::string body = object_page();
    process(state, body, ranking::QueryKind::new_goods);
}

BENCHMARK(BM_KeywordListingPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewGoodsListingPage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
