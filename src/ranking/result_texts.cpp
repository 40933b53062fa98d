#include "ranking/result_texts.h"

#include "text/codepage.h"
#include "text/lines.h"

namespace ranking {

namespace {

const std::string& crlf2() {
    static const std::string text = "\r\n\r\n";
    return text;
}

std::string keyword_line(std::string_view keyword, const std::string& tail) {
    return GBK("关键词：") + std::string(keyword) + "  " + tail;
}

std::string rank_text(int position) {
    return GBK("第") + std::to_string(position) + GBK("名");
}

const std::string& not_found_text() {
    return GBK("前1000名没有找到");
}

// What stands where a rank would: 第N名, 前1000名没有找到 or 查询失败（R）.
std::string outcome_text(const RunOutcome& outcome) {
    switch (outcome.status) {
        case RunStatus::found:
            return rank_text(outcome.rank);
        case RunStatus::not_in_top_1000:
            return not_found_text();
        case RunStatus::failed:
            break;
    }
    return GBK("查询失败（") + reason_text(outcome) + GBK("）");
}

ResultWrite keyword_result(const RunResult& r, std::string_view content) {
    // A run that read no page still shows the long progress line.
    const std::string waiting = keyword_progress_line(r.keyword);
    const std::string running = keyword_line(r.keyword, GBK("查询中…"));
    const std::string done = keyword_line(r.keyword, outcome_text(r.outcome));
    std::string whole = text::multi_replace(content, {{waiting, done}, {running, done}});
    whole += crlf2();
    return {ResultWrite::Mode::set, std::move(whole)};
}

const std::string& level_caption(int level) {
    if (level == 2)
        return GBK("二级类目排名：");
    if (level == 3)
        return GBK("三级类目排名：");
    return GBK("一级类目排名：");
}

ResultWrite category_result(const RunResult& r) {
    return {ResultWrite::Mode::append,
            level_caption(r.category_level) + outcome_text(r.outcome) + crlf2()};
}

// 爱逛街 and new goods: a rank is added; "not found" or a failure replaces the
// box and names the goods id.
ResultWrite single_run_result(const RunResult& r) {
    if (r.outcome.status != RunStatus::found) {
        return {ResultWrite::Mode::set,
                GBK("商品ID：") + r.goods_id + "  " + outcome_text(r.outcome) + crlf2()};
    }
    const std::string& caption =
        r.kind == QueryKind::ishopping ? GBK("爱逛街排名：") : GBK("新品排名：");
    return {ResultWrite::Mode::append, caption + rank_text(r.outcome.rank) + crlf2()};
}

}  // namespace

std::string keyword_progress_line(std::string_view keyword) {
    return keyword_line(keyword, GBK("查询中……"));
}

std::string keyword_after_page(std::string_view content, std::string_view keyword) {
    return text::multi_replace(
        content, {{keyword_progress_line(keyword), keyword_line(keyword, GBK("查询中…"))}});
}

ResultWrite result_write(const RunResult& result, std::string_view content) {
    switch (result.kind) {
        case QueryKind::keyword:
            return keyword_result(result, content);
        case QueryKind::category:
            return category_result(result);
        case QueryKind::ishopping:
        case QueryKind::new_goods:
            break;
    }
    return single_run_result(result);
}

}  // namespace ranking
