#include "board/check_csv.h"

#include "board/words.h"
#include "history/csv_export.h"
#include "history/local_time.h"

namespace board {
namespace {

using history::csv_field;
using history::csv_text;

const std::vector<std::string> kColumns = {
    "time",      "board",       "listing",    "key",       "listing_text", "sort",
    "sort_text", "goods_id",    "goods_name", "shop_name", "role",         "role_text",
    "status",    "status_text", "rank",       "reason",    "pages",        "http_statuses"};

std::string role_word(history::Role role) {
    return std::string(role == history::Role::own ? kOwnWord : kCompetitorWord);
}

void append_check(std::string& out, const history::Check& check, const NamesById& names,
                  const ListingNamesByBoard& listings) {
    const std::string time = history::local_time_with_offset(check.time_ms);
    static const ListingNames kNoListingNames;
    const auto board_names = listings.find(check.board);
    const std::string listing_text =
        listing_label(check.listing, check.key,
                      board_names == listings.end() ? kNoListingNames : board_names->second);
    for (const GoodsOutcome& g : goods_outcomes(check)) {
        static const GoodsNames kNone;
        const auto named = names.find(g.goods_id);
        const GoodsNames& n = g.goods_id.empty() || named == names.end() ? kNone : named->second;
        const bool found = g.status == history::Outcome::found && g.rank;
        out += history::csv_line(
            {time, csv_text(check.board), std::string(history::to_text(check.listing)),
             csv_text(check.key), csv_text(listing_text), std::string(history::to_text(check.sort)),
             std::string(sort_word(check.sort)), csv_text(g.goods_id), csv_text(n.name),
             csv_text(n.shop), g.role ? std::string(history::to_text(*g.role)) : "",
             g.role ? role_word(*g.role) : "", std::string(history::to_text(g.status)),
             status_word(g.status, g.rank), found ? std::to_string(*g.rank) : "",
             csv_text(g.reason), std::to_string(check.pages_read),
             csv_field(history::join_statuses(check.http_statuses))});
    }
}

std::string csv_head(bool byte_order_mark) {
    std::string out(byte_order_mark ? history::kByteOrderMark : "");
    return out + history::csv_line(kColumns);
}

}  // namespace

std::string status_word(history::Outcome status, std::optional<int> rank) {
    switch (status) {
        case history::Outcome::found:
            return rank ? "第" + std::to_string(*rank) + "名" : std::string(kNotInTopWord);
        case history::Outcome::not_in_top_1000:
            return std::string(kNotInTopWord);
        case history::Outcome::failed:
            return std::string(kFailedWord);
        case history::Outcome::not_checked:
            break;
    }
    return std::string(kNotCheckedWord);
}

std::string checks_csv(const std::vector<history::Check>& checks, const NamesById& names,
                       bool byte_order_mark, const ListingNamesByBoard& listings) {
    std::string out = csv_head(byte_order_mark);
    for (const history::Check& check : checks)
        append_check(out, check, names, listings);
    return out;
}

std::vector<GoodsOutcome> goods_outcomes(const history::Check& check) {
    if (check.goods.empty())
        return {{{}, {}, check.outcome, std::nullopt, check.reason}};
    std::vector<GoodsOutcome> out;
    for (const history::GoodsResult& goods : check.goods) {
        out.push_back({goods.goods_id, goods.role, history::status_of(check, goods), goods.rank,
                       goods.status ? goods.reason : check.reason});
    }
    return out;
}

history::Status stream_checks_csv(
    const history::Store& store, const history::CheckFilter& filter, std::string_view head,
    const std::function<void(std::string& rows, const history::Check& check)>& rows,
    std::ostream& out) {
    out << head;
    std::string text;
    auto walked = store.for_each_check(filter, [&](const history::Check& check) {
        text.clear();
        rows(text, check);
        return static_cast<bool>(out << text);
    });
    if (!walked)
        return walked;
    if (!out)
        return history::Error{history::ErrorCode::storage, "the CSV could not be written"};
    return {};
}

history::Status write_checks_csv(const history::Store& store, const history::CheckFilter& filter,
                                 const NamesById& names, bool byte_order_mark, std::ostream& out,
                                 const ListingNamesByBoard& listings) {
    return stream_checks_csv(
        store, filter, csv_head(byte_order_mark),
        [&](std::string& rows, const history::Check& check) {
            append_check(rows, check, names, listings);
        },
        out);
}

}  // namespace board
