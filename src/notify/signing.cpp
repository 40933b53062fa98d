#include "notify/signing.h"

#include "net/percent_encode.h"

namespace notify {

std::string dingtalk_sign(std::string_view secret, std::int64_t timestamp_ms) {
    const std::string signed_text = std::to_string(timestamp_ms) + "\n" + std::string(secret);
    // Only letters, digits and "-._~" stay: '+', '/' and '=' of Base64 get encoded.
    return net::percent_encode(base64(hmac_sha256(secret, signed_text)),
                               net::KeptBytes::path_segment);
}

std::string feishu_sign(std::string_view secret, std::int64_t timestamp_s) {
    const std::string key = std::to_string(timestamp_s) + "\n" + std::string(secret);
    return base64(hmac_sha256(key, ""));
}

}  // namespace notify
