#include "session_progress.h"

#include <iostream>

#include "board/check_record.h"
#include "check_plan.h"
#include "exit_codes.h"
#include "text/codepage.h"

namespace cli {

SessionProgress::SessionProgress(std::size_t total, Reports& reports,
                                 const std::vector<ranking::Listing>& listings)
    : total_(total), reports_(reports), listings_(listings) {}

void SessionProgress::goods_confirmed(const std::vector<board::ConfirmedGoods>& goods) {
    for (const board::ConfirmedGoods& g : goods) {
        if (g.failure)
            std::cerr << kProgramName << ": goods "
                      << text::gbk_to_utf8(g.item.link.empty() ? g.item.id : g.item.link) << ": "
                      << text::gbk_to_utf8(ranking::reason_text(*g.failure)) << '\n';
    }
}

void SessionProgress::check_recorded(const board::CheckReport& report, const history::Check&,
                                     const std::vector<history::Notice>&) {
    line_.show(++done_, total_, listing_label(report.listing));
    for (std::size_t i = 0; i < listings_.size(); ++i) {
        if (board::cell_key(listings_[i]) == board::cell_key(report.listing))
            reports_[i] = report;
    }
}

void SessionProgress::ended(const board::SessionSummary&) {
    line_.clear();
}

void StderrSink::deliver(const board::Board&, const board::SessionSummary& run) {
    for (const history::Notice& notice : run.notices)
        std::cerr << kProgramName << ": " << notice.message << '\n';
}

}  // namespace cli
