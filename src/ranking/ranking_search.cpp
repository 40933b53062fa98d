#include "ranking/ranking_search.h"

#include "net/event_pump.h"
#include "net/fetch_page.h"
#include "ranking/listing_run.h"
#include "ranking/normalize_lines.h"
#include "ranking/result_texts.h"
#include "text/codepage.h"
#include "text/lines.h"
#include "text/primitives.h"

namespace ranking {

namespace {

constexpr int kRunStartPause = 20;
constexpr int kPagePause = 200;
constexpr int kChainPause = 10;

enum class Chain { next_run, query_done, abandoned };

// One query: a loop over runs, each a loop over at most two pages, so the
// stack stays flat however many keywords or levels are chained. Shared state
// (holders, sort buttons, targets) is read where it is used, after the
// waits, because other handlers may have run meanwhile.
class RankingSearch final : public RunSteps {
  public:
    RankingSearch(QueryView& view, QueryState& state, QueryKind kind, bool have_goods)
        : view_(view), state_(state), watch_(view.watch()), kind_(kind), have_goods_(have_goods) {}

    void run() {
        Chain chain = Chain::next_run;
        while (chain == Chain::next_run) {
            if (!start_run())
                return;
            const std::optional<RunOutcome> outcome = run_once();
            if (!outcome)
                return;
            report(*outcome);
            chain = chain_next_run();
        }
        if (chain == Chain::query_done)
            restore_buttons();
    }

    net::PageResult fetch(int page) override {
        std::string url = listing_page_url(state_.hosts, listing(), page);
        return net::fetch_page_result(url);
    }

    bool page_arrived(const net::PageResult& page) override {
        if (!watch_.alive())
            return false;
        state_.last_response = page.body;
        return pause(kPagePause);
    }

    bool page_read(const ListingRead& read) override {
        if (!pause(kPagePause))
            return false;
        state_.row_count = text::decimal_text(static_cast<long long>(read.rows().size()));
        if (kind_ == QueryKind::keyword)
            shorten_progress_line();
        return true;
    }

  private:
    // False when the window went away during the pause.
    bool pause(int ms) {
        net::pause_responsive(ms);
        return watch_.alive();
    }

    bool start_run() {
        state_.row_count.clear();
        if (!pause(kRunStartPause))
            return false;
        if (kind_ == QueryKind::keyword)
            take_next_keyword();
        if (kind_ == QueryKind::category)
            read_level_id();
        return true;
    }

    std::optional<RunOutcome> run_once() {
        if (!have_goods_) {
            const RunOutcome failed = RunOutcome::failed(FailReason::no_goods_id);
            view_.run_finished(listing(), target(), failed, 0, {});
            return failed;
        }
        const std::optional<ListingRead> read = run_listing(kind_, {target()}, *this);
        if (!read)
            return std::nullopt;
        const RunOutcome outcome = read->outcomes().front();
        view_.run_finished(listing(), text::trim(target()), outcome, read->pages_read(),
                           read->statuses());
        return outcome;
    }

    void take_next_keyword() {
        const std::string remaining = normalize_lines(state_.remaining_keywords);
        keyword_ = text::line_at(remaining, 1);
        state_.remaining_keywords = text::remove_line(remaining, 1);
        view_.append_result_text(kind_, keyword_progress_line(keyword_));
    }

    // Each level takes its id from its holder when the level starts, so a
    // selection changed during the query counts for the levels still to come.
    void read_level_id() {
        const int level = state_.current_category_level;
        const Choice holder =
            level == 3 ? Choice::level3 : (level == 2 ? Choice::level2 : Choice::level1);
        state_.current_category_id = text::trim(view_.chosen_id(holder));
    }

    // The sort buttons are read for every page: a change during the query
    // applies from the next page on.
    Listing listing() const {
        switch (kind_) {
            case QueryKind::keyword:
                return {kind_, keyword_, chosen_sort(view_.sort_choice())};
            case QueryKind::category:
                return {kind_, state_.current_category_id, std::nullopt};
            case QueryKind::ishopping:
                return {kind_, text::trim(view_.chosen_id(Choice::tab)), std::nullopt};
            case QueryKind::new_goods:
                break;
        }
        return {kind_, {}, std::nullopt};
    }

    void shorten_progress_line() {
        view_.set_result_text(kind_, keyword_after_page(view_.result_text(kind_), keyword_));
    }

    const std::string& target() const {
        switch (kind_) {
            case QueryKind::keyword:
                return state_.target_keyword;
            case QueryKind::category:
                return state_.target_category;
            case QueryKind::ishopping:
                return state_.target_ishopping;
            case QueryKind::new_goods:
                break;
        }
        return state_.target_new_goods;
    }

    void report(const RunOutcome& outcome) {
        const RunResult result{kind_, state_.current_category_level, keyword_, target(), outcome};
        const std::string content =
            kind_ == QueryKind::keyword ? view_.result_text(kind_) : std::string();
        const ResultWrite write = result_write(result, content);
        if (write.mode == ResultWrite::Mode::append)
            view_.append_result_text(kind_, write.text);
        else
            view_.set_result_text(kind_, write.text);
    }

    Chain chain_next_run() {
        if (kind_ == QueryKind::keyword) {
            if (text::line_count(state_.remaining_keywords) < 1)
                return Chain::query_done;
        } else if (kind_ == QueryKind::category) {
            if (state_.current_category_level >= 3)
                return Chain::query_done;
            ++state_.current_category_level;
        } else {
            return Chain::query_done;
        }
        return pause(kChainPause) ? Chain::next_run : Chain::abandoned;
    }

    // The pressed button enabled and captioned "查询" first, then the other three.
    void restore_buttons() {
        view_.enable_button(kind_, true);
        view_.set_button_caption(kind_, GBK("查询"));
        for (QueryKind other : kAllKinds) {
            if (other != kind_)
                view_.enable_button(other, true);
        }
    }

    QueryView& view_;
    QueryState& state_;
    net::LifetimeWatch watch_;
    QueryKind kind_;
    bool have_goods_;
    std::string keyword_;
};

}  // namespace

void run_ranking_search(QueryView& view, QueryState& state, QueryKind kind, bool have_goods) {
    RankingSearch(view, state, kind, have_goods).run();
}

}  // namespace ranking
