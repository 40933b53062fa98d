#include "ranking/ranking_search.h"

#include <QWidget>

#include "net/event_pump.h"
#include "net/fetch_page.h"
#include "net/hosts.h"
#include "ranking/encode_keyword.h"
#include "ranking/listing_extraction.h"
#include "ranking/listing_scan.h"
#include "ranking/listing_urls.h"
#include "ranking/normalize_lines.h"
#include "ranking/query_tabs.h"
#include "ranking/query_widgets.h"
#include "ranking/result_texts.h"
#include "ranking/window_guard.h"
#include "text/lines.h"
#include "text/primitives.h"

namespace ranking {

namespace {

constexpr int kRunStartPause = 20;
constexpr int kPagePause = 200;
constexpr int kChainPause = 10;
constexpr int kPagesPerRun = 2;

enum class Step { next_page, run_done, abandoned };
enum class Chain { next_run, query_done, abandoned };

// One query: a loop over runs, each a loop over at most two pages, so the
// stack stays flat however many keywords or levels are chained. Shared state
// (boxes, holders, sort buttons, targets) is read where it is used, after the
// waits, because other handlers may have run meanwhile.
class RankingSearch {
  public:
    RankingSearch(ui::Context& ctx, QueryKind kind) : ctx_(ctx), guard_(ctx.window), kind_(kind) {}

    void run() {
        Chain chain = Chain::next_run;
        while (chain == Chain::next_run) {
            if (!start_run())
                return;
            Step step = Step::next_page;
            while (step == Step::next_page)
                step = fetch_listing_page();
            if (step == Step::abandoned)
                return;
            chain = chain_next_run();
        }
        if (chain == Chain::query_done)
            restore_buttons(ctx_.window, kind_);
    }

  private:
    ui::ProgramData& data() { return ctx_.data; }

    // False when the window went away during the pause.
    bool pause(int ms) {
        net::pause_responsive(ms);
        return guard_.alive();
    }

    bool start_run() {
        data().超级列表框1.clear();
        page_ = 1;
        if (!pause(kRunStartPause))
            return false;
        if (kind_ == QueryKind::keyword)
            take_next_keyword();
        if (kind_ == QueryKind::category)
            read_level_id();
        return true;
    }

    void take_next_keyword() {
        const std::string remaining = normalize_lines(data().编辑框4);
        keyword_ = text::line_at(remaining, 1);
        data().编辑框4 = text::remove_line(remaining, 1);
        append_control(ctx_.window, query_tab(kind_).result_box, keyword_progress_line(keyword_));
    }

    // Each level takes its id from its holder when the level starts, so a
    // selection changed during the query counts for the levels still to come.
    void read_level_id() {
        const int level = data().current_category_level;
        const std::string& holder =
            level == 3 ? data().编辑框8 : (level == 2 ? data().编辑框7 : data().编辑框6);
        data().current_category_id = text::trim(holder);
    }

    std::string listing_url() {
        const net::Hosts& hosts = net::hosts();
        switch (kind_) {
            case QueryKind::keyword: {
                const std::string sort = sort_value(read_sort_choice(ctx_.window));
                return keyword_listing_url(hosts, encode_keyword(keyword_), page_, sort);
            }
            case QueryKind::category:
                return category_listing_url(hosts, data().current_category_id, page_);
            case QueryKind::ishopping:
                return ishopping_listing_url(hosts, text::trim(data().编辑框15), page_);
            case QueryKind::new_goods:
                break;
        }
        return new_goods_listing_url(hosts, page_);
    }

    Step fetch_listing_page() {
        std::string url = listing_url();
        const std::string body(text::as_text(net::fetch_page(url)));
        if (!guard_.alive())
            return Step::abandoned;
        data().编辑框1 = body;
        if (!pause(kPagePause))
            return Step::abandoned;
        append_listing_rows(data().超级列表框1, kind_, body);
        if (!pause(kPagePause))
            return Step::abandoned;
        data().标签1 = text::decimal_text(static_cast<long long>(data().超级列表框1.size()));
        if (kind_ == QueryKind::keyword)
            shorten_progress_line();
        return scan();
    }

    void shorten_progress_line() {
        const char* box = query_tab(kind_).result_box;
        write_control(ctx_.window, box,
                      keyword_after_page(read_control(ctx_.window, box), keyword_));
    }

    const std::string& target() {
        switch (kind_) {
            case QueryKind::keyword:
                return data().target_keyword;
            case QueryKind::category:
                return data().target_category;
            case QueryKind::ishopping:
                return data().target_ishopping;
            case QueryKind::new_goods:
                break;
        }
        return data().target_new_goods;
    }

    // The table holds every page read so far, so the position counts from the
    // first row of page 1.
    Step scan() {
        if (const auto found = scan_listing(data().超级列表框1, target())) {
            report(found);
            return Step::run_done;
        }
        ++page_;
        if (page_ <= kPagesPerRun)
            return Step::next_page;
        report(std::nullopt);
        return Step::run_done;
    }

    void report(std::optional<int> position) {
        RunResult result{kind_, data().current_category_level, keyword_, target(), position};
        const char* box = query_tab(kind_).result_box;
        const std::string content =
            kind_ == QueryKind::keyword ? read_control(ctx_.window, box) : std::string();
        write_result(ctx_.window, box, result_write(result, content));
    }

    Chain chain_next_run() {
        if (kind_ == QueryKind::keyword) {
            if (text::line_count(data().编辑框4) < 1)
                return Chain::query_done;
        } else if (kind_ == QueryKind::category) {
            if (data().current_category_level >= 3)
                return Chain::query_done;
            ++data().current_category_level;
        } else {
            return Chain::query_done;
        }
        return pause(kChainPause) ? Chain::next_run : Chain::abandoned;
    }

    ui::Context& ctx_;
    WindowGuard guard_;
    QueryKind kind_;
    int page_ = 1;
    std::string keyword_;
};

}  // namespace

void run_ranking_search(ui::Context& ctx, QueryKind kind) {
    RankingSearch(ctx, kind).run();
}

}  // namespace ranking
