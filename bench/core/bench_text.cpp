// Speed of the text layer on listing-sized inputs: goods-id extraction from a
// 500-entry keyword listing, the code-page conversions, and GBK-aware find
// against a plain byte search over the same megabyte.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "pattern/regex_object.h"
#include "text/codepage.h"
#include "text/primitives.h"

namespace {

constexpr int kEntries = 500;
constexpr std::size_t kEntryBytes = 2048;
constexpr std::size_t kMegabyte = 1 << 20;

// UTF-8 Chinese words for goods names and tags.
const std::vector<std::string> kWords = {"辣条", "薯片", "卫龙", "零食", "大礼包", "网红",
                                         "麻辣", "休闲", "小吃", "整箱", "批发",   "包邮"};

std::string goods_name(int i) {
    std::string name;
    for (int k = 0; k < 6; ++k) {
        name += kWords[static_cast<std::size_t>(i * 7 + k * 5) % kWords.size()];
    }
    return name + " 500g";
}

// One entry shaped like a keyword listing entry, padded with further keys to
// about kEntryBytes.
std::string listing_entry(int i) {
    const std::string id = std::to_string(100000000 + i * 7919);
    const std::string image = "http://img.example.invalid/goods/images/2019-0" +
                              std::to_string(1 + i % 9) + "/" + id + "/a8f3c2d1e0b9.jpeg";
    std::string entry = R"({"thumb_url":")" + image + R"(","goods_id":)" + id +
                        R"(,"goods_name":")" + goods_name(i) + R"(","hd_thumb_url":")" + image +
                        R"(","short_name":")" + goods_name(i + 1) + R"(","price":)" +
                        std::to_string(990 + i) + R"(,"normal_price":1990,"market_price":2990,)" +
                        R"("sales":)" + std::to_string(i * 31) + R"(,"cnt":0,"sales_tip":"已拼)" +
                        std::to_string(i) + R"(件","tag_list":[)";
    for (int t = 0; entry.size() < kEntryBytes - 64; ++t) {
        entry += R"({"text":")" + kWords[static_cast<std::size_t>(i + t) % kWords.size()] +
                 R"(","type":)" + std::to_string(t) + R"(,"desc":"满99减10 官方正品"},)";
    }
    entry += R"({"text":"","type":0}],"is_app":0,"mall_id":)" + std::to_string(i) + "}";
    return entry;
}

std::string listing_body() {
    std::string body = R"({"goods_list":[)";
    for (int i = 0; i < kEntries; ++i) {
        body += (i == 0 ? "" : ",") + listing_entry(i);
    }
    return body + R"(],"flip":"","server_time":1560000000})";
}

// A megabyte of Chinese text with a little ASCII, for the conversions.
std::string chinese_text_utf8() {
    std::string text;
    for (int i = 0; text.size() < kMegabyte; ++i) {
        text += goods_name(i) + "，";
    }
    return text;
}

void report_bytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// The keyword-listing pattern: capture 1 the goods id, capture 2 the text from
// the key after the goods id up to the next thumb key.
constexpr std::string_view kKeywordListingPattern = R"re(,"goods_id":(.*?),"(.*?)"thumb)re";

void BM_ListingExtraction(benchmark::State& state) {
    const std::string body = listing_body();
    std::size_t rows = 0;
    for (auto _ : state) {
        const std::string text = text::utf8_to_gbk(body);
        pattern::RegexObject re;
        re.create(kKeywordListingPattern, text);
        std::vector<std::pair<std::string, std::string>> table;
        table.reserve(static_cast<std::size_t>(re.match_count()));
        for (int i = 1; i <= re.match_count(); ++i) {
            table.emplace_back(re.submatch(i, 1), re.submatch(i, 2));
        }
        rows = table.size();
        benchmark::DoNotOptimize(table.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["body_bytes"] = static_cast<double>(body.size());
    report_bytes(state, body.size());
}
BENCHMARK(BM_ListingExtraction)->Unit(benchmark::kMillisecond);

void BM_Utf8ToGbk_Listing(benchmark::State& state) {
    const std::string body = listing_body().substr(0, kMegabyte);
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::utf8_to_gbk(body));
    }
    report_bytes(state, body.size());
}
BENCHMARK(BM_Utf8ToGbk_Listing)->Unit(benchmark::kMicrosecond);

void BM_GbkToUtf8_Listing(benchmark::State& state) {
    const std::string gbk = text::utf8_to_gbk(listing_body()).substr(0, kMegabyte);
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::gbk_to_utf8(gbk));
    }
    report_bytes(state, gbk.size());
}
BENCHMARK(BM_GbkToUtf8_Listing)->Unit(benchmark::kMicrosecond);

void BM_Utf8ToGbk_Chinese(benchmark::State& state) {
    const std::string utf8 = chinese_text_utf8();
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::utf8_to_gbk(utf8));
    }
    report_bytes(state, utf8.size());
}
BENCHMARK(BM_Utf8ToGbk_Chinese)->Unit(benchmark::kMicrosecond);

void BM_GbkToUtf8_Chinese(benchmark::State& state) {
    std::string gbk = text::utf8_to_gbk(chinese_text_utf8());
    while (gbk.size() < kMegabyte) {
        gbk += gbk;
    }
    gbk.resize(kMegabyte);
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::gbk_to_utf8(gbk));
    }
    report_bytes(state, gbk.size());
}
BENCHMARK(BM_GbkToUtf8_Chinese)->Unit(benchmark::kMicrosecond);

// A megabyte of GBK listing text whose only occurrence of the needle is at
// its end, so both searches walk the whole text.
struct FindInput {
    std::string haystack;
    std::string needle = R"("goods_id":987654321,)";
};

FindInput find_input() {
    FindInput in;
    in.haystack = text::utf8_to_gbk(listing_body()).substr(0, kMegabyte - in.needle.size());
    in.haystack += in.needle;
    return in;
}

void BM_Find_GbkAware(benchmark::State& state) {
    const FindInput in = find_input();
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::find(in.haystack, in.needle));
    }
    report_bytes(state, in.haystack.size());
}
BENCHMARK(BM_Find_GbkAware)->Unit(benchmark::kMicrosecond);

void BM_Find_StringView(benchmark::State& state) {
    const FindInput in = find_input();
    const std::string_view haystack = in.haystack;
    for (auto _ : state) {
        benchmark::DoNotOptimize(haystack.find(in.needle));
    }
    report_bytes(state, in.haystack.size());
}
BENCHMARK(BM_Find_StringView)->Unit(benchmark::kMicrosecond);

void BM_Find_GbkAwareIgnoringCase(benchmark::State& state) {
    const FindInput in = find_input();
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::find(in.haystack, in.needle, 1, true));
    }
    report_bytes(state, in.haystack.size());
}
BENCHMARK(BM_Find_GbkAwareIgnoringCase)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
