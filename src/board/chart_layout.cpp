#include "board/chart_layout.h"

#include <array>
#include <chrono>
#include <map>
#include <tuple>

namespace board {

namespace {

constexpr std::int64_t kMinute = 60LL * 1000;
constexpr std::int64_t kHour = 60 * kMinute;
constexpr std::int64_t kDay = 24 * kHour;

// Floor division, so times before 1970 still fall on their own hour and day.
std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : (a - b + 1) / b;
}

std::string day_text(std::int64_t local_ms) {
    const std::chrono::sys_days day{std::chrono::days{floor_div(local_ms, kDay)}};
    const std::chrono::year_month_day ymd{day};
    return std::to_string(static_cast<unsigned>(ymd.month())) + "月" +
           std::to_string(static_cast<unsigned>(ymd.day())) + "日";
}

std::string clock_text(std::int64_t local_ms) {
    const std::int64_t minutes = (local_ms - floor_div(local_ms, kDay) * kDay) / kMinute;
    const auto two = [](std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    return two(minutes / 60) + ":" + two(minutes % 60);
}

}  // namespace

std::vector<int> rank_ticks(RankAxis axis, int max_ticks) {
    static constexpr std::array<int, 9> kSteps = {1, 2, 5, 10, 20, 50, 100, 200, 500};
    int step = 1000;
    for (const int s : kSteps) {
        if (axis.bottom / s - (axis.top - 1) / s <= max_ticks) {
            step = s;
            break;
        }
    }
    std::vector<int> ticks;
    if (axis.top == 1 && step >= 5)
        ticks.push_back(1);
    for (int rank = (axis.top + step - 1) / step * step; rank <= axis.bottom; rank += step)
        ticks.push_back(rank);
    return ticks;
}

std::vector<TimeTick> time_ticks(std::int64_t first_ms, std::int64_t last_ms,
                                 std::int64_t utc_offset_ms, int max_ticks) {
    static constexpr std::array<std::int64_t, 18> kSteps = {
        kMinute,   5 * kMinute, 10 * kMinute, 15 * kMinute, 30 * kMinute, kHour,
        2 * kHour, 3 * kHour,   6 * kHour,    12 * kHour,   kDay,         2 * kDay,
        7 * kDay,  14 * kDay,   30 * kDay,    60 * kDay,    90 * kDay,    180 * kDay};
    std::vector<TimeTick> ticks;
    if (last_ms < first_ms || max_ticks < 1)
        return ticks;
    std::int64_t step = 365 * kDay;
    for (const std::int64_t s : kSteps) {
        if ((last_ms - first_ms) / s <= max_ticks) {
            step = s;
            break;
        }
    }
    const std::int64_t local_first = first_ms + utc_offset_ms;
    for (std::int64_t local = (floor_div(local_first - 1, step) + 1) * step;
         local <= last_ms + utc_offset_ms; local += step) {
        const bool midnight = floor_div(local, kDay) * kDay == local;
        ticks.push_back({local - utc_offset_ms, midnight ? day_text(local) : clock_text(local)});
    }
    // Less than a step of time (a single check): its own day and time.
    if (ticks.empty())
        ticks.push_back({first_ms, day_text(local_first) + " " + clock_text(local_first)});
    return ticks;
}

std::vector<std::vector<int>> lanes(const std::vector<ChartSeries>& series) {
    // (time, kind, rank) -> how many series already hold a point there.
    std::map<std::tuple<std::int64_t, PointKind, int>, int> taken;
    std::vector<std::vector<int>> out;
    for (const ChartSeries& s : series) {
        std::vector<int>& lane = out.emplace_back();
        for (const ChartPoint& p : s.points)
            lane.push_back(taken[{p.time_ms, p.kind, p.rank}]++);
    }
    return out;
}

int lane_offset(int lane) {
    const int side = lane % 2 == 1 ? 1 : -1;
    return side * (lane + 1) / 2 * 3;
}

}  // namespace board
