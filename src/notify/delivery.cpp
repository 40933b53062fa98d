#include "notify/delivery.h"

#include <chrono>

namespace notify {

std::int64_t now_unix_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

Attempt send_once(const Channel& channel, const Content& content, std::int64_t now_ms,
                  const SendControl& control) {
    Attempt attempt = channel.kind == ChannelKind::email
                          ? send_mail(channel, content, now_ms, control)
                          : post_webhook(channel, content, now_ms, control);
    // Whatever a server or libcurl said is masked before it leaves this module.
    attempt.problem = redacted(attempt.problem, channel);
    attempt.answer = redacted(attempt.answer, channel);
    return attempt;
}

DeliveryResult result_of(const Channel& channel, int attempts, const Attempt& last) {
    DeliveryResult result;
    result.attempts = attempts;
    result.delivered = last.delivered;
    result.cut_off = last.cut_off;
    result.answer = last.answer;
    if (!last.delivered)
        result.error = "通知通道 " + channel.name + "：" + last.problem;
    return result;
}

DeliveryResult send_test(const Channel& channel) {
    const std::int64_t now = now_unix_ms();
    const std::string text = "【Korvel】测试消息\n通知通道 " + channel.name + "（" +
                             std::string(kind_word(channel.kind)) + "）可以收到看板的变动通知。";
    return result_of(channel, 1, send_once(channel, Content{text}, now));
}

}  // namespace notify
