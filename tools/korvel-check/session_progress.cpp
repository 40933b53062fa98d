#include "session_progress.h"

#include <chrono>
#include <iostream>
#include <thread>

#include "board/check_record.h"
#include "board/run_status_text.h"
#include "check_plan.h"
#include "exit_codes.h"
#include "stop_signals.h"
#include "text/codepage.h"
#include "text/printable.h"

namespace cli {

void SessionProgress::expect(const std::vector<ranking::Listing>& listings) {
    listings_ = listings;
    total_ = listings.size();
    reports_.assign(listings.size(), {});
}

void SessionProgress::goods_confirmed(const std::vector<board::ConfirmedGoods>& goods) {
    {
        std::lock_guard lock(mutex_);
        confirmed_ = goods;
    }
    for (const board::ConfirmedGoods& g : goods) {
        if (g.failure)
            std::cerr << kProgramName << ": goods "
                      << text::printable(
                             text::gbk_to_utf8(g.item.link.empty() ? g.item.id : g.item.link))
                      << ": " << text::gbk_to_utf8(ranking::reason_text(*g.failure)) << '\n';
    }
}

std::vector<board::ConfirmedGoods> SessionProgress::confirmed() const {
    std::lock_guard lock(mutex_);
    return confirmed_;
}

void SessionProgress::draw(const std::string& what) {
    line_.show(done_, total_, what + pace_);
}

board::SessionSummary SessionProgress::follow(board::Session& session) {
    // The session's status is read here, never from the observer's calls:
    // those run while the session may be waiting to stop.
    bool stopping = false;
    for (int tick = 1; !session.done(); ++tick) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (!stopping && stop_signal() != 0) {
            stopping = true;
            session.stop();
        }
        if (tick % 5 != 0)
            continue;
        const std::string pace = board::run_pace_text(session.status());
        std::lock_guard lock(mutex_);
        pace_ = pace;
        if (!session.done() && done_ > 0)
            draw(last_);
    }
    return session.wait();
}

void SessionProgress::check_recorded(const board::CheckReport& report, const history::Check&,
                                     const std::vector<history::Notice>&) {
    std::lock_guard lock(mutex_);
    ++done_;
    last_ = listing_label(report.listing);
    draw(last_);
    for (std::size_t i = 0; i < listings_.size(); ++i) {
        if (board::cell_key(listings_[i]) == board::cell_key(report.listing))
            reports_[i] = report;
    }
}

void SessionProgress::ended(const board::SessionSummary&) {
    std::lock_guard lock(mutex_);
    line_.clear();
}

void StderrSink::deliver(const board::Board&, const board::SessionSummary& run) {
    for (const history::Notice& notice : run.notices)
        std::cerr << kProgramName << ": " << text::printable(notice.message) << '\n';
}

}  // namespace cli
