#pragma once
// How one run ended, for one goods item: found at N, not among the first
// 1000 (every page it needed arrived and was read), or failed with a reason.
// A failure is never a "not among the first 1000".
#include <optional>
#include <string>

#include "net/fetch_page.h"

namespace ranking {

enum class RunStatus { found, not_in_top_1000, failed };

enum class FailReason {
    none,
    connect,      // 无法连接服务器
    timeout,      // 请求超时
    http_status,  // 服务器返回错误 NNN
    unreadable,   // 返回内容无法识别
    no_goods_id,  // 未取得商品ID: the goods page gave no Goods ID
    goods_gone,   // 商品不存在或已下架: a board's goods page was read and names no goods
};

struct RunOutcome {
    RunStatus status = RunStatus::failed;
    int rank = 0;  // found only
    FailReason reason = FailReason::none;
    int http_status = 0;  // http_status failures

    static RunOutcome found_at(int rank) { return {RunStatus::found, rank, FailReason::none, 0}; }
    static RunOutcome not_in_top_1000() {
        return {RunStatus::not_in_top_1000, 0, FailReason::none, 0};
    }
    static RunOutcome failed(FailReason reason, int http_status = 0) {
        return {RunStatus::failed, 0, reason, http_status};
    }
    bool operator==(const RunOutcome&) const = default;
};

// The reason as the window shows it (GBK), e.g. "服务器返回错误 503".
std::string reason_text(const RunOutcome& outcome);

// "found", "not_in_top_1000" or "failed".
std::string_view status_name(RunStatus status);

// Why a fetched page cannot be read as a listing; nullopt when it can. A page
// fails when its fetch failed, its status is not 2xx, or its body is empty or
// yields no entry and is not a JSON object or array (an error page, garbage).
// A listing with fewer entries than asked for, or a JSON listing with none,
// is read normally; the keys inside do not matter.
std::optional<RunOutcome> page_failure(const net::PageResult& page, std::size_t entries);

}  // namespace ranking
