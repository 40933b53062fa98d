#include "notify/board_report.h"

#include <algorithm>
#include <map>
#include <optional>

#include "board/check_plan.h"
#include "board/check_record.h"
#include "board/goods_captions.h"
#include "board/notices.h"
#include "board/words.h"
#include "notify/run_text.h"
#include "text/codepage.h"

namespace notify {

namespace {

constexpr std::int64_t kDayMs = 24LL * 3600 * 1000;
constexpr std::int64_t kWeekMs = 7 * kDayMs;

// What the last 7 days read of one goods item in one cell.
struct Tally {
    bool read = false;
    bool failed = false;  // the latest check was not read for it
    std::optional<int> now;
    bool day_ago_read = false;
    std::optional<int> day_ago;
    std::optional<int> best;
};

using Key = std::pair<board::CellKey, std::string>;  // cell, goods id

std::map<Key, Tally> tallies(const history::Store& store, const std::string& board_utf8,
                             const std::vector<std::string>& own_ids, std::int64_t now_ms) {
    std::map<Key, Tally> out;
    history::CheckFilter filter;
    filter.board = board_utf8;
    filter.since_ms = now_ms - kWeekMs;
    filter.until_ms = now_ms + 1;
    (void)store.for_each_check(filter, [&](const history::Check& check) {
        for (const std::string& id : own_ids) {
            if (board::find_goods(check, id) == nullptr)
                continue;
            Tally& tally = out[{board::cell_key(check), id}];
            const history::GoodsResult* goods = board::read_goods(check, id);
            tally.failed = goods == nullptr;
            if (goods == nullptr)
                continue;
            tally.read = true;
            tally.now = goods->rank;
            if (check.time_ms <= now_ms - kDayMs) {
                tally.day_ago_read = true;
                tally.day_ago = goods->rank;
            }
            if (goods->rank)
                tally.best = std::min(tally.best.value_or(*goods->rank), *goods->rank);
        }
        return true;
    });
    return out;
}

std::int64_t local_midnight_ms(std::int64_t now_ms) {
    const std::int64_t offset_ms = std::int64_t{local_utc_offset_minutes(now_ms)} * 60 * 1000;
    const std::int64_t local = now_ms + offset_ms;
    const std::int64_t day_start = local - ((local % kDayMs) + kDayMs) % kDayMs;
    return day_start - offset_ms;
}

}  // namespace

std::vector<ReportRow> report_rows(const history::Store& store, const board::Board& board,
                                   std::int64_t now_ms) {
    std::vector<std::string> own_ids;
    for (const board::GoodsItem& item : board.own)
        own_ids.push_back(item.id);
    const std::map<Key, Tally> read =
        tallies(store, text::gbk_to_utf8(board.name), own_ids, now_ms);
    const board::ListingNames names = board::listing_names(board);
    std::vector<ReportRow> rows;
    for (const ranking::Listing& listing : board::plan_checks(board).listings) {
        const board::CellKey cell = board::cell_key(listing);
        for (const board::GoodsItem& item : board.own) {
            const auto found = read.find({cell, item.id});
            if (found == read.end())
                continue;
            const Tally& tally = found->second;
            ReportRow row;
            row.cell = board::cell_label(cell.listing, cell.key, cell.sort, names);
            if (board.own.size() > 1)
                row.cell = board::goods_caption(item) + " · " + row.cell;
            row.failed = tally.failed;
            row.now = tally.now;
            row.day_ago = tally.day_ago;
            row.day_ago_known = tally.day_ago_read;
            row.best_in_7_days = tally.best;
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::string report_text(const history::Store& store, const board::Board& board,
                        std::int64_t now_ms) {
    return daily_report(text::gbk_to_utf8(board.name), now_ms, local_utc_offset_minutes(now_ms),
                        report_rows(store, board, now_ms));
}

bool report_sent_today(const history::Store& store, const std::string& board_utf8,
                       std::int64_t now_ms) {
    const auto notices = store.notices(board_utf8, local_midnight_ms(now_ms));
    if (!notices)
        return false;
    return std::any_of(notices.value().begin(), notices.value().end(),
                       [&](const history::Notice& n) {
                           return n.kind == kDailyReportKind && n.time_ms <= now_ms;
                       });
}

std::string send_daily_report(const NotifierConfig& config, history::Store& store,
                              const board::Board& board, std::int64_t now_ms) {
    if (board.channels.empty())
        return {};
    const std::vector<ReportRow> rows = report_rows(store, board, now_ms);
    if (rows.empty())
        return {};  // nothing read in the week: nothing worth a message
    const std::string text =
        daily_report(text::gbk_to_utf8(board.name), now_ms, local_utc_offset_minutes(now_ms), rows);
    history::Notice kept;
    kept.board = text::gbk_to_utf8(board.name);
    kept.time_ms = now_ms;
    kept.sort = history::Sort::none;
    kept.kind = std::string(kDailyReportKind);
    kept.message = text.substr(0, text.find('\n'));
    std::vector<std::int64_t> ids;
    if (const auto added = store.add_notice(kept))
        ids.push_back(added.value());
    send_to_channels(config, kept.board, channel_names(board.channels), Content{text}, ids);
    return text;
}

}  // namespace notify
