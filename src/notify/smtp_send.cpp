#include <curl/curl.h>

#include <algorithm>
#include <cstring>

#include "net/curl_handles.h"
#include "notify/delivery.h"
#include "notify/mail.h"
#include "notify/run_text.h"

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

// Failures that another try cannot mend: a refused login, a server without
// TLS, an address the server will not take (5xx).
bool worth_retrying(CURLcode code, long reply) {
    if (reply >= 500)
        return false;
    return code != CURLE_LOGIN_DENIED && code != CURLE_USE_SSL_FAILED &&
           code != CURLE_URL_MALFORMAT && code != CURLE_UNSUPPORTED_PROTOCOL;
}

void set_route(CURL* easy, const Channel& channel) {
    curl_easy_setopt(easy, CURLOPT_URL, channel.smtp.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, kAttemptTimeoutMs);
    curl_easy_setopt(
        easy, CURLOPT_USE_SSL,
        static_cast<long>(requires_starttls(channel.smtp) ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    if (!channel.user.empty()) {
        curl_easy_setopt(easy, CURLOPT_USERNAME, channel.user.c_str());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, channel.password.c_str());
    }
}

}  // namespace

Attempt send_mail(const Channel& channel, const Content& content, std::int64_t now_ms) {
    const int offset = local_utc_offset_minutes(now_ms);
    Upload upload{mime_message({channel.from, channel.to, subject_of(content, offset),
                                text_of(content, offset), now_ms}),
                  0};
    const std::string from = "<" + address_of(channel.from) + ">";
    std::vector<std::string> recipients;
    for (const auto& to : channel.to)
        recipients.push_back("<" + address_of(to) + ">");
    const net::HeaderList rcpt(recipients);
    net::EasyHandle easy = net::make_easy();
    Attempt attempt;
    if (!easy || !rcpt.complete()) {
        attempt.problem = "libcurl could not start";
        return attempt;
    }
    char error_text[CURL_ERROR_SIZE] = {};
    set_route(easy.get(), channel);
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
    if (!attempt.delivered) {
        attempt.problem =
            attempt.answer + "：" + (error_text[0] != '\0' ? error_text : curl_easy_strerror(code));
        attempt.worth_retrying = worth_retrying(code, reply);
    }
    return attempt;
}

}  // namespace notify
