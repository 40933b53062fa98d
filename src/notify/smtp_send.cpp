#include <curl/curl.h>

#include <algorithm>
#include <cstring>

#include "net/curl_handles.h"
#include "notify/delivery.h"
#include "notify/mail.h"
#include "notify/run_text.h"
#include "notify/smtp_address.h"

namespace notify {

namespace {

struct Upload {
    std::string bytes;
    std::size_t sent = 0;
};

size_t give_upload(char* buffer, size_t size, size_t count, void* user) {
    auto* upload = static_cast<Upload*>(user);
    const std::size_t n = std::min(size * count, upload->bytes.size() - upload->sent);
    std::memcpy(buffer, upload->bytes.data() + upload->sent, n);
    upload->sent += n;
    return n;
}

int check_abort(void* signal, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const net::AbortSignal*>(signal)->aborted() ? 1 : 0;
}

// Failures that another try cannot mend: a refused login, a server without
// TLS, an address the server will not take (5xx).
bool worth_retrying(CURLcode code, long reply) {
    if (reply >= 500)
        return false;
    return code != CURLE_LOGIN_DENIED && code != CURLE_USE_SSL_FAILED &&
           code != CURLE_URL_MALFORMAT && code != CURLE_UNSUPPORTED_PROTOCOL;
}

void set_route(CURL* easy, const Channel& channel, const SmtpAddress& address) {
    curl_easy_setopt(easy, CURLOPT_URL, address.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, kAttemptTimeoutMs);
    // Only a server on this machine may take the login without TLS.
    curl_easy_setopt(
        easy, CURLOPT_USE_SSL,
        static_cast<long>(requires_starttls(address) ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    if (!channel.user.empty()) {
        curl_easy_setopt(easy, CURLOPT_USERNAME, channel.user.c_str());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, channel.password.c_str());
    }
}

}  // namespace

Attempt send_mail(const Channel& channel, const Content& content, std::int64_t now_ms,
                  const SendControl& control) {
    Attempt attempt;
    const std::optional<SmtpAddress> address = parse_smtp_address(channel.smtp, &attempt.problem);
    if (!address)
        return attempt;
    const int offset = local_utc_offset_minutes(now_ms);
    Upload upload{mime_message({channel.from, channel.to, subject_of(content, offset),
                                text_of(content, offset), now_ms}),
                  0};
    const std::string from = "<" + address_of(channel.from) + ">";
    std::vector<std::string> recipients;
    for (const auto& to : channel.to)
        recipients.push_back("<" + address_of(to) + ">");
    const net::HeaderList rcpt(recipients);
    const net::HeaderList resolved(control.resolve);
    net::EasyHandle easy = net::make_easy();
    if (!easy || !rcpt.complete() || !resolved.complete()) {
        attempt.problem = "libcurl could not start";
        return attempt;
    }
    char error_text[CURL_ERROR_SIZE] = {};
    set_route(easy.get(), channel, *address);
    if (!control.resolve.empty())
        curl_easy_setopt(easy.get(), CURLOPT_RESOLVE, resolved.get());
    if (control.abort != nullptr) {
        curl_easy_setopt(easy.get(), CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(easy.get(), CURLOPT_XFERINFOFUNCTION, &check_abort);
        curl_easy_setopt(easy.get(), CURLOPT_XFERINFODATA, control.abort);
    }
    curl_easy_setopt(easy.get(), CURLOPT_ERRORBUFFER, error_text);
    curl_easy_setopt(easy.get(), CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_MAIL_RCPT, rcpt.get());
    curl_easy_setopt(easy.get(), CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_READFUNCTION, &give_upload);
    curl_easy_setopt(easy.get(), CURLOPT_READDATA, &upload);
    curl_easy_setopt(easy.get(), CURLOPT_INFILESIZE_LARGE,
                     static_cast<curl_off_t>(upload.bytes.size()));
    const CURLcode code = curl_easy_perform(easy.get());
    long reply = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &reply);
    attempt.answer = reply > 0 ? "SMTP " + std::to_string(reply) : "no SMTP answer";
    attempt.delivered = code == CURLE_OK;
    if (code == CURLE_ABORTED_BY_CALLBACK) {
        // Only a message handed over whole may have been taken.
        attempt.cut_off = upload.sent == upload.bytes.size();
        attempt.problem = attempt.cut_off ? "发送中断，不知是否送达" : "程序退出，未发出";
    } else if (!attempt.delivered) {
        attempt.problem =
            attempt.answer + "：" + (error_text[0] != '\0' ? error_text : curl_easy_strerror(code));
        attempt.worth_retrying = worth_retrying(code, reply);
    }
    return attempt;
}

}  // namespace notify
