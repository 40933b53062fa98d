#pragma once
// What korvel-check shows and keeps of a board session: the progress line on
// stderr, goods whose page names none, each report for the output rows, and
// the run's notices on stderr (where journalctl keeps them).
#include <mutex>
#include <string>
#include <vector>

#include "board/session.h"
#include "progress_line.h"
#include "result_rows.h"

namespace cli {

class SessionProgress final : public board::SessionObserver {
  public:
    // The listings the session will read (its plan), before it starts: each
    // listing's report is kept at its index.
    void expect(const std::vector<ranking::Listing>& listings);
    // The reports by listing, once the session has ended.
    const Reports& reports() const { return reports_; }

    void goods_confirmed(const std::vector<board::ConfirmedGoods>& goods) override;
    void check_recorded(const board::CheckReport& report, const history::Check& check,
                        const std::vector<history::Notice>& notices) override;
    void ended(const board::SessionSummary& summary) override;

    // Waits for the session, redrawing the line every second so a pause
    // shows while no check finishes; stops it when a stop signal came
    // (stop_signals.h).
    board::SessionSummary follow(board::Session& session);
    // The goods as their pages confirmed them (after follow()).
    std::vector<board::ConfirmedGoods> confirmed() const;

  private:
    void draw(const std::string& what);

    mutable std::mutex mutex_;
    std::vector<board::ConfirmedGoods> confirmed_;
    std::string last_;  // the listing last shown
    std::string pace_;  // " · 2.5 页/秒 …" as last read
    ProgressLine line_;
    std::size_t done_ = 0;
    std::size_t total_ = 0;
    Reports reports_;
    std::vector<ranking::Listing> listings_;
};

class StderrSink final : public board::NoticeSink {
  public:
    void deliver(const board::Board& board, const board::SessionSummary& run) override;
};

}  // namespace cli
