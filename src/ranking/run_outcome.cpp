#include "ranking/run_outcome.h"

#include "text/codepage.h"

namespace ranking {

namespace {

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The body's first and last non-blank characters enclose a JSON object or
// array. This is all "a listing without entries" has to show: an error page
// or garbage does not look like that.
bool looks_like_json_container(std::string_view body) {
    if (body.starts_with("\xEF\xBB\xBF"))
        body.remove_prefix(3);
    const auto first = std::find_if_not(body.begin(), body.end(), is_space);
    const auto last = std::find_if_not(body.rbegin(), body.rend(), is_space);
    if (first == body.end())
        return false;
    return (*first == '{' && *last == '}') || (*first == '[' && *last == ']');
}

}  // namespace

std::string reason_text(const RunOutcome& outcome) {
    switch (outcome.reason) {
        case FailReason::connect:
            return GBK("无法连接服务器");
        case FailReason::timeout:
            return GBK("请求超时");
        case FailReason::http_status:
            return GBK("服务器返回错误 ") + std::to_string(outcome.http_status);
        case FailReason::unreadable:
            return GBK("返回内容无法识别");
        case FailReason::no_goods_id:
            return GBK("未取得商品ID");
        case FailReason::goods_gone:
            return GBK("商品不存在或已下架");
        case FailReason::none:
            break;
    }
    return {};
}

std::string_view status_name(RunStatus status) {
    switch (status) {
        case RunStatus::found:
            return "found";
        case RunStatus::not_in_top_1000:
            return "not_in_top_1000";
        case RunStatus::failed:
            break;
    }
    return "failed";
}

std::optional<RunOutcome> page_failure(const net::PageResult& page, std::size_t entries) {
    switch (page.failure) {
        case net::PageFailure::none:
            break;
        case net::PageFailure::timeout:
            return RunOutcome::failed(FailReason::timeout);
        case net::PageFailure::http_status:
            return RunOutcome::failed(FailReason::http_status, page.status);
        case net::PageFailure::connect:
        case net::PageFailure::closing:
            return RunOutcome::failed(FailReason::connect);
    }
    if (page.body.empty() || (entries == 0 && !looks_like_json_container(page.body)))
        return RunOutcome::failed(FailReason::unreadable);
    return std::nullopt;
}

}  // namespace ranking
