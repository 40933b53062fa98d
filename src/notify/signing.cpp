#include "notify/signing.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "net/percent_encode.h"

namespace notify {

std::string hmac_sha256(std::string_view key, std::string_view data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const unsigned char empty = 0;
    const auto* bytes = data.empty() ? &empty : reinterpret_cast<const unsigned char*>(data.data());
    if (HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()), bytes, data.size(), digest,
             &length) == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(digest), length);
}

std::string base64(std::string_view bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3), '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                        reinterpret_cast<const unsigned char*>(bytes.data()),
                                        static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(written));
    return out;
}

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
