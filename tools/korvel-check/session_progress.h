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
    // `reports` gets each listing's report at its index in `listings`.
    SessionProgress(std::size_t total, Reports& reports,
                    const std::vector<ranking::Listing>& listings);

    void goods_confirmed(const std::vector<board::ConfirmedGoods>& goods) override;
    void check_recorded(const board::CheckReport& report, const history::Check& check,
                        const std::vector<history::Notice>& notices) override;
    void ended(const board::SessionSummary& summary) override;

    // Waits for the session, redrawing the line every second so a pause
    // shows while no check finishes.
    board::SessionSummary follow(board::Session& session);
    // The goods as their pages confirmed them (a link's Goods ID).
    std::vector<board::ConfirmedGoods> confirmed();

  private:
    void draw(const std::string& what);

    std::mutex mutex_;
    std::string last_;  // the listing last shown
    std::string pace_;  // " · 2.5 页/秒 …" as last read
    ProgressLine line_;
    std::size_t done_ = 0;
    std::vector<board::ConfirmedGoods> confirmed_;
    std::size_t total_;
    Reports& reports_;
    const std::vector<ranking::Listing>& listings_;
};

class StderrSink final : public board::NoticeSink {
  public:
    void deliver(const board::Board& board, const board::SessionSummary& run) override;
};

}  // namespace cli
