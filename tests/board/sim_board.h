#pragma once
// Board runs against the simulator on loopback, and the simulator's own
// catalogue as the ground truth of every cell.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "board/board_run.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "text/codepage.h"

namespace boardtest {

// Reports as the handler receives them on the run's control thread.
class Collector {
  public:
    board::BoardRun::ReportHandler handler() {
        return [this](const board::CheckReport& report) {
            std::lock_guard lock(mutex_);
            reports_.push_back(report);
            arrived_.notify_all();
        };
    }
    std::vector<board::CheckReport> reports() const {
        std::lock_guard lock(mutex_);
        return reports_;
    }
    void wait_for_first() {
        std::unique_lock lock(mutex_);
        arrived_.wait(lock, [this] { return !reports_.empty(); });
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<board::CheckReport> reports_;
};

inline sim::Options sim_options(sim::Options options = {}) {
    options.port = 0;
    return options;
}

inline net::Hosts hosts_of(const sim::Server& server) {
    const std::string host = server.host();
    return net::Hosts{host, host, host, host, "sim"};
}

// Quick but still spaced and jittered: the simulator answers at once.
inline board::BoardSettings brisk_settings() {
    board::BoardSettings settings;
    settings.pages_per_second = 50;
    settings.backoff_s = 0.05;
    settings.pause_s = 0.2;
    return settings;
}

// The sample keywords (the first `keywords` of them) under every sort, the
// sample's level-3 category, its tab and the new goods.
inline board::CheckPlan sample_plan(const sim::Catalogue& catalogue, std::vector<std::string> goods,
                                    std::size_t keywords = sim::kSampleKeywords.size()) {
    board::Board b;
    b.name = "sample";
    for (std::size_t i = 0; i < keywords; ++i)
        b.keywords.push_back(text::utf8_to_gbk(sim::kSampleKeywords[i]));
    b.category_ids = {catalogue.sample_categories()[2].id};
    b.tab_id = catalogue.sample_tab().id;
    b.new_goods = true;
    board::CheckPlan plan = board::plan_checks(b);
    plan.goods_ids = std::move(goods);
    return plan;
}

inline std::vector<std::string> truth_listing(const sim::Catalogue& catalogue,
                                              const ranking::Listing& listing) {
    switch (listing.kind) {
        case ranking::QueryKind::keyword:
            return catalogue.keyword_listing(text::gbk_to_utf8(listing.key),
                                             sim::kAllSorts[static_cast<int>(*listing.sort)]);
        case ranking::QueryKind::category:
            return catalogue.category_listing(listing.key);
        case ranking::QueryKind::ishopping:
            return catalogue.tab_listing(listing.key);
        case ranking::QueryKind::new_goods:
            break;
    }
    return catalogue.new_goods_listing();
}

inline sim::ListingKind sim_kind(ranking::QueryKind kind) {
    return std::array{sim::ListingKind::keyword, sim::ListingKind::category, sim::ListingKind::tab,
                      sim::ListingKind::new_goods}[static_cast<int>(kind)];
}

// Where the program must find `id` in `listing`: -1 when not in the first 1000.
inline int truth_position(const sim::Catalogue& catalogue, const ranking::Listing& listing,
                          const std::string& id) {
    return sim::expected_position(sim_kind(listing.kind), truth_listing(catalogue, listing), id);
}

inline ranking::RunOutcome truth_outcome(const sim::Catalogue& catalogue,
                                         const ranking::Listing& listing, const std::string& id) {
    const int position = truth_position(catalogue, listing, id);
    return position > 0 ? ranking::RunOutcome::found_at(position)
                        : ranking::RunOutcome::not_in_top_1000();
}

// Goods standing on page 1 of every listing of the plan where the sample
// does, so that reading them costs no page the sample's read would not.
inline std::vector<std::string> page_one_companions(const sim::Catalogue& catalogue,
                                                    const board::CheckPlan& plan, std::size_t n) {
    std::set<std::string> candidates;
    for (const sim::Goods& goods : catalogue.goods())
        candidates.insert(goods.id);
    candidates.erase(std::string(sim::kSampleGoodsId));
    for (const ranking::Listing& listing : plan.listings) {
        const auto ids = truth_listing(catalogue, listing);
        const std::size_t page = std::min<std::size_t>(ids.size(), 500);
        const std::set<std::string> first_page(ids.begin(), ids.begin() + page);
        if (!first_page.contains(std::string(sim::kSampleGoodsId)))
            continue;
        std::erase_if(candidates, [&](const std::string& id) { return !first_page.contains(id); });
    }
    return {candidates.begin(), std::next(candidates.begin(), std::min(n, candidates.size()))};
}

}  // namespace boardtest
