#include "check_run.h"

#include "net/event_pump.h"
#include "net/fetch_page.h"
#include "net/hosts.h"
#include "ranking/goods_info.h"
#include "ranking/listing_run.h"
#include "text/codepage.h"
#include "text/primitives.h"

namespace cli {

namespace {

// The window's pauses, so a check from the command line asks the
// marketplace no faster than a click on a query button does.
constexpr int kRunStartPause = 20;
constexpr int kPagePause = 200;
constexpr int kBetweenRunsPause = 10;

using ranking::FailReason;
using ranking::RunOutcome;

// The pages of one listing, fetched on this thread with a pause after each
// page arrives and after its rows are read.
class ListingSteps final : public ranking::RunSteps {
  public:
    explicit ListingSteps(const ranking::Listing& listing) : listing_(listing) {}

    net::PageResult fetch(int page) override {
        std::string url = ranking::listing_page_url(net::hosts(), listing_, page);
        return net::fetch_page_result(url);
    }
    bool page_arrived(const net::PageResult&) override {
        net::pause_responsive(kPagePause);
        return true;
    }
    bool page_read(const ranking::ListingRead&) override {
        net::pause_responsive(kPagePause);
        return true;
    }

  private:
    const ranking::Listing& listing_;
};

// The Goods ID of each input; empty when a link's goods page gave none.
std::vector<std::string> resolve_goods(const CheckPlan& plan, const ProgressReport& progress,
                                       int total_steps) {
    std::vector<std::string> ids;
    int step = 0;
    for (const GoodsInput& goods : plan.goods) {
        if (!goods.is_link) {
            ids.push_back(goods.typed);
            continue;
        }
        progress(++step, total_steps, "goods " + goods.typed);
        const ranking::GoodsInfo info = ranking::fetch_goods_info(text::utf8_to_gbk(goods.typed));
        ids.push_back(text::trim(info.goods_id));
    }
    return ids;
}

// One outcome per goods item; items without an id fail without a fetch.
std::vector<RunOutcome> read_listing(const PlannedListing& planned,
                                     const std::vector<std::string>& ids) {
    std::vector<std::string> targets;
    for (const std::string& id : ids) {
        if (!id.empty())
            targets.push_back(id);
    }
    std::vector<RunOutcome> found_for_targets;
    if (!targets.empty()) {
        net::pause_responsive(kRunStartPause);
        ListingSteps steps(planned.listing);
        // No step abandons a run here, so the read always finishes.
        if (const auto read = ranking::run_listing(planned.listing.kind, targets, steps))
            found_for_targets = read->outcomes();
    }
    std::vector<RunOutcome> outcomes;
    std::size_t next = 0;
    for (const std::string& id : ids) {
        if (id.empty())
            outcomes.push_back(RunOutcome::failed(FailReason::no_goods_id));
        else
            outcomes.push_back(found_for_targets.at(next++));
    }
    return outcomes;
}

}  // namespace

std::vector<ResultRow> run_checks(const CheckPlan& plan, const ProgressReport& progress) {
    int links = 0;
    for (const GoodsInput& goods : plan.goods)
        links += goods.is_link ? 1 : 0;
    const int total = links + static_cast<int>(plan.listings.size());
    const std::vector<std::string> ids = resolve_goods(plan, progress, total);

    std::vector<std::vector<RunOutcome>> outcomes;
    for (std::size_t l = 0; l < plan.listings.size(); ++l) {
        if (l > 0)
            net::pause_responsive(kBetweenRunsPause);
        progress(links + static_cast<int>(l) + 1, total, listing_label(plan.listings[l]));
        outcomes.push_back(read_listing(plan.listings[l], ids));
    }

    std::vector<std::string> labels;
    for (std::size_t g = 0; g < ids.size(); ++g)
        labels.push_back(ids[g].empty() ? plan.goods[g].typed : text::gbk_to_utf8(ids[g]));
    return goods_major_rows(labels, plan.listings, outcomes);
}

}  // namespace cli
