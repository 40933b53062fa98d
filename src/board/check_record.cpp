#include "board/check_record.h"

#include <algorithm>

#include "text/codepage.h"

namespace board {

namespace {

history::Listing history_listing(ranking::QueryKind kind) {
    switch (kind) {
        case ranking::QueryKind::keyword:
            return history::Listing::keyword;
        case ranking::QueryKind::category:
            return history::Listing::category;
        case ranking::QueryKind::ishopping:
            return history::Listing::tab;
        case ranking::QueryKind::new_goods:
            break;
    }
    return history::Listing::new_goods;
}

history::Sort history_sort(const std::optional<ranking::Sort>& sort) {
    if (!sort)
        return history::Sort::none;
    switch (*sort) {
        case ranking::Sort::general:
            return history::Sort::default_order;
        case ranking::Sort::sales:
            return history::Sort::sales;
        case ranking::Sort::credit:
            return history::Sort::credit;
        case ranking::Sort::price_low:
            return history::Sort::price_asc;
        case ranking::Sort::price_high:
            break;
    }
    return history::Sort::price_desc;
}

const ranking::RunOutcome* first_failure(const std::vector<ranking::RunOutcome>& outcomes) {
    const auto it = std::find_if(outcomes.begin(), outcomes.end(), [](const auto& o) {
        return o.status == ranking::RunStatus::failed;
    });
    return it == outcomes.end() ? nullptr : &*it;
}

void set_outcome(history::Check& check, const std::vector<ranking::RunOutcome>& outcomes) {
    if (const ranking::RunOutcome* failure = first_failure(outcomes)) {
        check.outcome = history::Outcome::failed;
        check.reason = text::gbk_to_utf8(ranking::reason_text(*failure));
        return;
    }
    const bool any_found = std::any_of(outcomes.begin(), outcomes.end(), [](const auto& o) {
        return o.status == ranking::RunStatus::found;
    });
    check.outcome = any_found ? history::Outcome::found : history::Outcome::not_in_top_1000;
}

}  // namespace

CellKey cell_key(const ranking::Listing& listing) {
    return {history_listing(listing.kind), text::gbk_to_utf8(listing.key),
            history_sort(listing.sort)};
}

std::string cell_key_text(const CellKey& key) {
    return std::string(history::to_text(key.listing)) + '\x1F' + key.key + '\x1F' +
           std::string(history::to_text(key.sort));
}

CellKey cell_key(const history::Check& check) {
    return {check.listing, check.key, check.sort};
}

std::int64_t unix_ms(std::chrono::system_clock::time_point time) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

history::Check check_record(const CheckReport& report, const std::vector<std::string>& goods,
                            std::size_t own_count, std::string_view board_name) {
    history::Check check;
    const CellKey key = cell_key(report.listing);
    check.board = std::string(board_name);
    check.listing = key.listing;
    check.key = key.key;
    check.sort = key.sort;
    check.time_ms = unix_ms(report.finished_at);
    check.pages_read = report.pages_read;
    check.http_statuses = report.statuses;
    if (!report.checked) {
        check.outcome = history::Outcome::not_checked;
        check.reason = text::gbk_to_utf8(not_checked_text());
    } else {
        set_outcome(check, report.outcomes);
    }
    const bool keep_ranks = check.outcome == history::Outcome::found;
    for (std::size_t i = 0; i < goods.size(); ++i) {
        history::GoodsResult row{
            goods[i], i < own_count ? history::Role::own : history::Role::competitor, {}};
        if (keep_ranks && i < report.outcomes.size() &&
            report.outcomes[i].status == ranking::RunStatus::found)
            row.rank = report.outcomes[i].rank;
        check.goods.push_back(std::move(row));
    }
    return check;
}

history::Check single_check_record(const ranking::Listing& listing, std::string_view goods_id,
                                   const ranking::RunOutcome& outcome, int pages_read,
                                   std::vector<int> statuses, std::int64_t time_ms) {
    CheckReport report;
    report.listing = listing;
    report.outcomes = {outcome};
    report.pages_read = pages_read;
    report.statuses = std::move(statuses);
    std::vector<std::string> goods;
    if (!goods_id.empty())
        goods.emplace_back(goods_id);
    history::Check check = check_record(report, goods, goods.size(), {});
    check.time_ms = time_ms;
    return check;
}

}  // namespace board
