#include "history/csv_export.h"

#include <initializer_list>

#include "history/iso_time.h"
#include "history/store.h"

namespace history {
namespace {

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

void append_row(std::string& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const auto field : fields) {
        if (!first) {
            out += ',';
        }
        first = false;
        out += csv_field(field);
    }
    out += "\r\n";
}

void append_check(std::string& out, const Check& check) {
    const std::string time = iso_utc(check.time_ms);
    const std::string pages = std::to_string(check.pages_read);
    const std::string statuses = join_statuses(check.http_statuses);
    const auto row = [&](std::string_view goods_id, std::string_view role, Outcome status,
                         std::string_view rank, std::string_view reason) {
        append_row(out, {time, check.board, to_text(check.listing), check.key, to_text(check.sort),
                         goods_id, role, to_text(status), rank, reason, pages, statuses});
    };
    if (check.goods.empty()) {
        row({}, {}, check.outcome, {}, check.reason);
    }
    for (const auto& goods : check.goods) {
        const Outcome status = status_of(check, goods);
        const std::string rank =
            status == Outcome::found && goods.rank ? std::to_string(*goods.rank) : "";
        row(goods.goods_id, to_text(goods.role), status, rank,
            goods.status ? goods.reason : check.reason);
    }
}

std::string csv_head() {
    std::string out(byte_order_mark);
    append_row(out, {"time", "board", "listing", "key", "sort", "goods_id", "role", "status",
                     "rank", "reason", "pages", "http_statuses"});
    return out;
}

}  // namespace

std::string csv_field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string to_csv(const std::vector<Check>& checks) {
    std::string out = csv_head();
    for (const auto& check : checks) {
        append_check(out, check);
    }
    return out;
}

Status write_csv(const Store& store, const CheckFilter& filter, std::ostream& out) {
    out << csv_head();
    std::string rows;
    auto walked = store.for_each_check(filter, [&](const Check& check) {
        rows.clear();
        append_check(rows, check);
        return static_cast<bool>(out << rows);
    });
    if (!walked) {
        return walked;
    }
    if (!out) {
        return Error{ErrorCode::storage, "the CSV could not be written"};
    }
    return {};
}

}  // namespace history
