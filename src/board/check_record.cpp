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

history::Outcome goods_status(const ranking::RunOutcome& outcome) {
    switch (outcome.status) {
        case ranking::RunStatus::found:
            return history::Outcome::found;
        case ranking::RunStatus::not_in_top_1000:
            return history::Outcome::not_in_top_1000;
        case ranking::RunStatus::failed:
            break;
    }
    return history::Outcome::failed;
}

// The check as a whole: found when some goods item has a rank, read when
// some goods item was read, else failed (or not checked) with the first
// goods item's reason.
void set_outcome(history::Check& check) {
    bool any_read = false;
    const history::GoodsResult* failure = nullptr;
    check.outcome = history::Outcome::not_checked;
    for (const history::GoodsResult& row : check.goods) {
        const history::Outcome status = history::status_of(check, row);
        if (status == history::Outcome::found) {
            check.outcome = history::Outcome::found;
            return;
        }
        any_read = any_read || status == history::Outcome::not_in_top_1000;
        if (!failure && status == history::Outcome::failed)
            failure = &row;
    }
    if (any_read) {
        check.outcome = history::Outcome::not_in_top_1000;
    } else if (failure) {
        check.outcome = history::Outcome::failed;
        check.reason = failure->reason;
    } else if (!check.goods.empty()) {
        check.reason = check.goods.front().reason;
    }
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

history::GoodsResult goods_result(std::string id, history::Role role,
                                  const ranking::RunOutcome& outcome) {
    history::GoodsResult row{std::move(id), role, {}, goods_status(outcome), {}};
    if (outcome.status == ranking::RunStatus::found)
        row.rank = outcome.rank;
    else if (outcome.status == ranking::RunStatus::failed)
        row.reason = text::gbk_to_utf8(ranking::reason_text(outcome));
    return row;
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
    for (std::size_t i = 0; i < goods.size(); ++i) {
        const auto role = i < own_count ? history::Role::own : history::Role::competitor;
        if (!report.checked || i >= report.outcomes.size()) {
            const std::string reason = text::gbk_to_utf8(
                report.not_checked_reason.empty() ? not_checked_text() : report.not_checked_reason);
            check.goods.push_back({goods[i], role, {}, history::Outcome::not_checked, reason});
        } else {
            check.goods.push_back(goods_result(goods[i], role, report.outcomes[i]));
        }
    }
    set_outcome(check);
    if (check.goods.empty() && report.checked && !report.outcomes.empty() &&
        report.outcomes.front().status == ranking::RunStatus::failed) {
        // No goods item to hold it (the page gave no Goods ID): the check holds the failure.
        check.outcome = history::Outcome::failed;
        check.reason = text::gbk_to_utf8(ranking::reason_text(report.outcomes.front()));
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
