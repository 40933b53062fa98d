#include "notify/board_notifier.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "board/words.h"
#include "history/store.h"
#include "notify/channel_settings.h"
#include "notify/failing.h"
#include "text/codepage.h"

namespace notify {

namespace {

// How far back a run looks for the board's failing state and for notices a
// killed run made but never sent.
constexpr std::int64_t kLookBackMs = 30LL * 24 * 3600 * 1000;
constexpr std::int64_t kLeftoverMs = 24LL * 3600 * 1000;

std::optional<history::Store> open_store(const std::filesystem::path& file) {
    if (file.empty())
        return std::nullopt;
    auto opened = history::Store::open(file);
    if (!opened)
        return std::nullopt;
    return std::move(opened.value());
}

bool about_failing(const std::string& kind) {
    return kind == kChecksFailingKind || kind == kChecksRecoveredKind;
}

// The channels each notice has a delivery row for.
using Attempted = std::map<std::int64_t, std::set<std::string>>;

Attempted attempted_channels(const history::Store& store,
                             const std::vector<history::Notice>& notices) {
    std::vector<std::int64_t> ids;
    for (const history::Notice& notice : notices)
        ids.push_back(notice.id);
    Attempted out;
    if (const auto rows = store.deliveries(ids)) {
        for (const history::Delivery& row : rows.value())
            out[row.notice_id].insert(row.channel);
    }
    return out;
}

bool tried(const Attempted& attempted, std::int64_t id, const std::string& channel) {
    const auto found = attempted.find(id);
    return found != attempted.end() && found->second.count(channel) > 0;
}

// Notices of earlier runs that never reached the channel because their run
// was killed before it could send: those after the last notice the channel
// was tried with. A channel never tried gets none (no flood of old notices
// when a channel is ticked for the first time).
std::vector<NoticeLine> leftovers(const std::vector<history::Notice>& recent,
                                  const Attempted& attempted, const std::string& channel,
                                  std::int64_t run_started_ms) {
    std::int64_t last_tried = 0;
    for (const history::Notice& notice : recent) {
        if (tried(attempted, notice.id, channel))
            last_tried = std::max(last_tried, notice.id);
    }
    std::vector<history::Notice> missed;
    for (const history::Notice& notice : recent) {
        if (last_tried > 0 && notice.id > last_tried && notice.time_ms < run_started_ms &&
            notice.time_ms >= run_started_ms - kLeftoverMs && !about_failing(notice.kind) &&
            notice.check_id != 0)
            missed.push_back(notice);
    }
    return notice_lines(missed);
}

void record(const std::filesystem::path& file, const std::vector<std::int64_t>& ids,
            const std::string& channel, const DeliveryResult& result) {
    if (ids.empty() || result.attempts == 0)
        return;
    auto store = open_store(file);
    if (!store)
        return;
    const std::int64_t now = now_unix_ms();
    for (std::int64_t id : ids) {
        history::Delivery row{id, channel, result.attempts, result.delivered ? now : 0,
                              result.delivered ? std::string() : result.error};
        (void)store->record_delivery(row);
    }
}

std::vector<std::int64_t> ids_of(const RunMessage& message) {
    std::vector<std::int64_t> ids;
    for (const NoticeLine& line : message.notices) {
        if (line.notice_id != 0)
            ids.push_back(line.notice_id);
    }
    return ids;
}

// The "检查恢复" line becomes a notice of its own, so that the board's state
// survives the process and its delivery can be kept.
void keep_recovery(std::optional<history::Store>& store, const std::string& board,
                   std::int64_t time_ms, RunMessage& message) {
    for (NoticeLine& line : message.notices) {
        if (line.kind != kChecksRecoveredKind || line.notice_id != 0 || !store)
            continue;
        history::Notice notice;
        notice.board = board;
        notice.time_ms = time_ms;
        notice.sort = history::Sort::none;
        notice.kind = line.kind;
        notice.message = line.message;
        if (const auto added = store->add_notice(notice))
            line.notice_id = added.value();
    }
}

}  // namespace

bool was_failing(const std::vector<history::Notice>& notices, std::int64_t before_ms) {
    bool failing = false;
    for (const history::Notice& notice : notices) {
        if (notice.time_ms < before_ms && about_failing(notice.kind))
            failing = notice.kind == kChecksFailingKind;
    }
    return failing;
}

std::vector<NoticeLine> notice_lines(const std::vector<history::Notice>& notices) {
    std::vector<NoticeLine> lines;
    for (const history::Notice& notice : notices) {
        NoticeLine line;
        if (!notice.key.empty() || notice.listing == history::Listing::new_goods)
            line.cell = board::cell_label(notice.listing, notice.key, notice.sort);
        line.before = notice.before;
        line.after = notice.after;
        line.kind = notice.kind;
        line.message = notice.message;
        line.notice_id = notice.id;
        lines.push_back(std::move(line));
    }
    return lines;
}

void send_to_channels(const NotifierConfig& config, const std::string& board,
                      const std::vector<std::string>& channel_names, const Content& content,
                      const std::vector<std::int64_t>& notice_ids) {
    for (const std::string& name : channel_names) {
        const Channel* channel = find_channel(config.channels, name);
        if (channel == nullptr) {
            if (config.on_report) {
                DeliveryResult missing;
                missing.error = "通知通道 " + name + " 未在 korvel.ini 中定义";
                config.on_report({board, name, missing});
            }
            continue;
        }
        config.dispatcher->post(*channel, content,
                                [file = config.history_file, report = config.on_report, board, name,
                                 notice_ids](DeliveryResult result) {
                                    record(file, notice_ids, name, result);
                                    if (report && result.attempts > 0)
                                        report({board, name, std::move(result)});
                                });
    }
}

BoardNotifier::BoardNotifier(NotifierConfig config) : config_(std::move(config)) {}

void BoardNotifier::deliver(const board::Board& board, const board::SessionSummary& run) {
    const std::string name = text::gbk_to_utf8(board.name);
    if (name.empty() || !config_.dispatcher)
        return;
    std::optional<history::Store> store = open_store(config_.history_file);
    std::vector<history::Notice> recent;
    if (store) {
        if (auto read = store->notices(name, run.started_ms - kLookBackMs))
            recent = std::move(read.value());
    }
    RunMessage message{name, run.started_ms, notice_lines(run.notices)};
    FailingDecision decision =
        decide_failing(was_failing(recent, run.started_ms), std::move(message));
    keep_recovery(store, name, run.ended_ms, decision.to_send);
    if (board.channels.empty())
        return;
    const Attempted attempted = store ? attempted_channels(*store, recent) : Attempted{};
    for (const std::string& gbk_channel : board.channels) {
        const std::string channel = text::gbk_to_utf8(gbk_channel);
        RunMessage mine = decision.to_send;
        std::vector<NoticeLine> missed = leftovers(recent, attempted, channel, run.started_ms);
        mine.notices.insert(mine.notices.end(), missed.begin(), missed.end());
        std::erase_if(mine.notices, [&](const NoticeLine& line) {
            return line.notice_id != 0 && tried(attempted, line.notice_id, channel);
        });
        if (mine.notices.empty())
            continue;
        send_to_channels(config_, name, {channel}, mine, ids_of(mine));
    }
}

}  // namespace notify
