#include "notify/board_notifier.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <optional>
#include <random>

#include "board/words.h"
#include "history/store.h"
#include "notify/channel_settings.h"
#include "notify/failing.h"
#include "notify/run_text.h"
#include "text/codepage.h"

namespace notify {

namespace {

// How far back a run looks for the board's failing state, and how long a
// notice that did not reach a channel waits for a later run to carry it.
constexpr std::int64_t kLookBackMs = 30LL * 24 * 3600 * 1000;
constexpr std::int64_t kLeftoverMs = 24LL * 3600 * 1000;

std::optional<history::Store> open_store(const history::Location& file) {
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

// Kinds that a run message may carry late: a board's own change notices,
// not a daily report or a skipped start.
bool run_kind(const std::string& kind) {
    return kind != "daily_report" && kind != "skipped";
}

// A claimant's name, unique across processes and machines sharing a history.
std::string new_claim() {
    static const std::string process = [] {
        std::random_device random;
        const auto high = static_cast<unsigned long long>(random()) << 32;
        return std::to_string(high | random());
    }();
    static std::atomic<std::uint64_t> next{0};
    return process + "-" + std::to_string(++next);
}

std::vector<std::int64_t> ids_of(const Content& content) {
    std::vector<std::int64_t> ids;
    if (const auto* run = std::get_if<RunMessage>(&content)) {
        for (const NoticeLine& line : run->notices) {
            if (line.notice_id != 0)
                ids.push_back(line.notice_id);
        }
    }
    return ids;
}

// The message as far as this sender got its notices: a run's lines whose
// notice another sender took are dropped; a text goes whole or not at all.
std::optional<Content> claimed_content(const history::Location& file, const std::string& channel,
                                       const std::string& claim, const Content& content,
                                       const std::vector<std::int64_t>& text_ids,
                                       std::vector<std::int64_t>& claimed) {
    auto store = open_store(file);
    if (!store)
        return content;  // nothing kept, nothing to share
    const auto take = [&](std::int64_t id) {
        const auto got = store->claim_delivery(id, channel, claim, now_unix_ms());
        if (got && got.value())
            claimed.push_back(id);
        return got && got.value();
    };
    if (const auto* run = std::get_if<RunMessage>(&content)) {
        RunMessage mine = *run;
        std::erase_if(mine.notices, [&](const NoticeLine& line) {
            return line.notice_id != 0 && !take(line.notice_id);
        });
        if (mine.notices.empty())
            return std::nullopt;
        return mine;
    }
    for (const std::int64_t id : text_ids) {
        if (!take(id))
            return std::nullopt;
    }
    return content;
}

void settle(const history::Location& file, const std::string& channel, const std::string& claim,
            const std::vector<std::int64_t>& claimed, const DeliveryResult& result) {
    auto store = open_store(file);
    if (!store)
        return;
    for (const std::int64_t id : claimed) {
        if (result.attempts == 0) {
            (void)store->release_delivery(id, channel, claim);
            continue;
        }
        history::Delivery outcome;
        outcome.notice_id = id;
        outcome.channel = channel;
        outcome.attempts = result.attempts;
        outcome.delivered_ms = result.delivered ? now_unix_ms() : 0;
        outcome.error = result.delivered ? std::string() : result.error;
        // A send cut off mid-way may have arrived: its claim stays, so no
        // later run sends it again.
        outcome.claim = result.cut_off ? claim : std::string();
        (void)store->settle_delivery(outcome, claim);
    }
}

// Each notice's row for one channel.
std::map<std::int64_t, history::Delivery> rows_for(const history::Store& store,
                                                   const std::vector<history::Notice>& notices,
                                                   const std::string& channel) {
    std::vector<std::int64_t> ids;
    for (const history::Notice& notice : notices)
        ids.push_back(notice.id);
    std::map<std::int64_t, history::Delivery> rows;
    if (const auto read = store.deliveries(ids)) {
        for (const history::Delivery& row : read.value()) {
            if (row.channel == channel)
                rows[row.notice_id] = row;
        }
    }
    return rows;
}

// Notices of the last 24 hours that have not reached the channel and may
// still go: queued ones whose run ended before it could send them, ones a
// killed run made after the last notice the channel was meant to get (a
// channel never used gets no flood of old notices), and ones whose one send
// failed. Each goes out marked 补发.
std::vector<history::Notice> leftovers(const std::vector<history::Notice>& recent,
                                       const std::map<std::int64_t, history::Delivery>& rows,
                                       std::int64_t run_started_ms) {
    std::int64_t last_meant = 0;
    for (const auto& [id, row] : rows)
        last_meant = std::max(last_meant, id);
    std::vector<history::Notice> missed;
    for (const history::Notice& notice : recent) {
        if (notice.time_ms >= run_started_ms || notice.time_ms < run_started_ms - kLeftoverMs ||
            !run_kind(notice.kind))
            continue;
        const auto row = rows.find(notice.id);
        const bool unsent = row == rows.end() && last_meant > 0 && notice.id > last_meant &&
                            notice.check_id != 0 && !about_failing(notice.kind);
        const bool waiting = row != rows.end() && row->second.queued();
        const bool failed_once = row != rows.end() && row->second.claim.empty() &&
                                 !row->second.delivered() && row->second.sends == 1;
        if (unsent || waiting || failed_once)
            missed.push_back(notice);
    }
    return missed;
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

RunCounts counts_of(const board::RunSummary& summary) {
    return {summary.rose + summary.entered, summary.fell + summary.left, summary.top10,
            summary.failed + summary.not_checked};
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

std::vector<NoticeLine> notice_lines(const std::vector<history::Notice>& notices,
                                     const board::ListingNames& names) {
    std::vector<NoticeLine> lines;
    for (const history::Notice& notice : notices) {
        NoticeLine line;
        if (!notice.key.empty() || notice.listing == history::Listing::new_goods)
            line.cell = board::cell_label(notice.listing, notice.key, notice.sort, names);
        line.before = notice.before;
        line.after = notice.after;
        line.kind = notice.kind;
        line.message = notice.message;
        line.notice_id = notice.id;
        line.goods_id = notice.goods_id;
        lines.push_back(std::move(line));
    }
    return lines;
}

void post_to_channel(const NotifierConfig& config, const std::string& board,
                     const std::string& name, const Content& content,
                     const std::vector<std::int64_t>& text_ids) {
    const Channel* channel = find_channel(config.channels, name);
    if (channel == nullptr) {
        if (config.on_report) {
            DeliveryResult missing;
            missing.error = "通知通道 " + name + " 未在 korvel.ini 中定义";
            config.on_report({board, name, missing});
        }
        return;
    }
    auto claimed = std::make_shared<std::vector<std::int64_t>>();
    const std::string claim = new_claim();
    Dispatcher::Hooks hooks;
    hooks.claim = [file = config.history_file, name, claim, content, text_ids, claimed] {
        return claimed_content(file, name, claim, content, text_ids, *claimed);
    };
    hooks.settle = [file = config.history_file, name, claim, claimed](const DeliveryResult& r) {
        settle(file, name, claim, *claimed, r);
    };
    hooks.done = [report = config.on_report, board, name](DeliveryResult result) {
        if (report && result.attempts > 0)
            report({board, name, std::move(result)});
    };
    config.dispatcher->post(*channel, content, std::move(hooks));
}

void send_to_channels(const NotifierConfig& config, const std::string& board,
                      const std::vector<std::string>& channel_names, const Content& content,
                      const std::vector<std::int64_t>& notice_ids) {
    for (const std::string& name : channel_names)
        post_to_channel(config, board, name, content, notice_ids);
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
    const board::ListingNames names = board::listing_names(board);
    RunMessage message{name, run.started_ms, notice_lines(run.notices, names)};
    if (run.counts)
        message.counts = counts_of(*run.counts);
    FailingDecision decision =
        decide_failing(was_failing(recent, run.started_ms), std::move(message));
    keep_recovery(store, name, run.ended_ms, decision.to_send);
    if (board.channels.empty())
        return;
    const std::vector<std::int64_t> run_ids = ids_of(decision.to_send);
    for (const std::string& gbk_channel : board.channels) {
        const std::string channel = text::gbk_to_utf8(gbk_channel);
        RunMessage mine = decision.to_send;
        if (store) {
            const auto rows = rows_for(*store, recent, channel);
            std::vector<NoticeLine> late =
                notice_lines(leftovers(recent, rows, run.started_ms), names);
            // A dead worker's notices that this run took over are its own lines.
            std::erase_if(late, [&](const NoticeLine& line) {
                return std::find(run_ids.begin(), run_ids.end(), line.notice_id) != run_ids.end();
            });
            for (NoticeLine& line : late)
                line.late = true;
            mine.notices.insert(mine.notices.end(), late.begin(), late.end());
            // Queued before the message waits its turn, so that another
            // process sees these notices as meant for the channel.
            (void)store->queue_deliveries(run_ids, channel);
        }
        if (mine.notices.empty())
            continue;
        order_by_importance(mine.notices);
        post_to_channel(config_, name, channel, mine, {});
    }
}

}  // namespace notify
